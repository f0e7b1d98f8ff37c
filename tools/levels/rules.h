// The simple dead ends a player sees at a glance, shared by every measure
// that plays like one: dead squares (cells from which no push brings a box to
// a target) and 2x2 blocks of walls and boxes holding a box off a target.
#pragma once

#include <algorithm>
#include <array>
#include <vector>

#include "tools/levels/puzzle.h"
#include "tools/levels/solver.h"

namespace qb::levels {

inline constexpr int kFar = 10000;

// The simple pruning shared by every measure: dead squares and 2x2 blocks.
// With spare boxes neither means a dead end, so nothing is pruned.
class Rules {
 public:
  explicit Rules(const Puzzle& p) : p_(p), floor_(~p.walls) {
    surplus_ = p.boxes.count() != p.targets.count();
    const PushDistances pd = ComputePushDistances(p);
    dead_ = pd.dead;
    nearest_.fill(kFar);
    for (int i = 0; i < kCells; ++i)
      for (const auto& dist : pd.to)
        if (dist[i] >= 0) nearest_[i] = std::min(nearest_[i], static_cast<int>(dist[i]));
    targets_ = pd.target_cells;
    to_ = pd.to;
  }

  const Puzzle& puzzle() const { return p_; }
  // Pushes a lone box needs from `cell` to the nearest target (kFar: never).
  int Nearest(int cell) const { return nearest_[cell]; }
  const Bits& floor() const { return floor_; }

  bool Goal(const Bits& boxes) const { return (p_.targets & ~boxes).none(); }

  // Whether the box just pushed onto `dest` stands on a dead square or completes a 2x2 block.
  bool Flagged(const Bits& boxes, int dest) const {
    if (surplus_) return false;
    if (dead_.test(dest)) return true;
    const int c = dest % kW, r = dest / kW;
    for (int dc = -1; dc <= 0; ++dc)
      for (int dr = -1; dr <= 0; ++dr) {
        bool solid = true, off_target = false;
        for (int k = 0; k < 4 && solid; ++k) {
          const int cc = c + dc + k % 2, rr = r + dr + k / 2;
          if (cc < 0 || cc >= kW || rr < 0 || rr >= kH) continue;  // the board's edge blocks like a wall
          const int i = rr * kW + cc;
          if (boxes.test(i)) {
            off_target = off_target || !p_.targets.test(i);
          } else if (!p_.walls.test(i)) {
            solid = false;
          }
        }
        if (solid && off_target) return true;
      }
    return false;
  }

  // The sum over boxes of the pushes to the nearest target (with spare boxes:
  // over targets, of the pushes from the nearest box).
  int Estimate(const Bits& boxes) const {
    int total = 0;
    if (!surplus_) {
      boxes.each([&](int b) { total += nearest_[b]; });
      return std::min(total, kFar);
    }
    for (const auto& dist : to_) {
      int best = kFar;
      boxes.each([&](int b) {
        if (dist[b] >= 0) best = std::min(best, static_cast<int>(dist[b]));
      });
      total += best;
    }
    return std::min(total, kFar);
  }

  // Calls f(box, direction, next boxes, next zone) for every legal push that no
  // pruning flags. All pushes are found first and shown to `ahead` (a search
  // asks its table to fetch their slots), then handed to f in the same order:
  // the table's reads then wait on memory side by side, not one by one.
  template <typename F, typename Ahead>
  void EachPush(const Bits& boxes, int zone, F f, Ahead ahead) const {
    struct Push {
      std::array<std::uint16_t, 12> rows;  // the next boxes; no initialiser, so the buffer costs nothing to set up
      std::uint8_t box, dir, zone;
    };
    std::array<Push, 4 * kCells> pushes;
    int n = 0;
    const Bits open = floor_ & ~boxes;
    const Bits reach = Flood(open, zone);
    boxes.each([&](int b) {
      for (int d = 0; d < 4; ++d) {
        const int stand = Step(b, (d + 2) % 4), dest = Step(b, d);
        if (stand < 0 || dest < 0 || !reach.test(stand) || !open.test(dest)) continue;
        Bits next = boxes;
        next.reset(b);
        next.set(dest);
        if (Flagged(next, dest)) continue;
        Push& push = pushes[static_cast<std::size_t>(n++)];
        push.rows = next.row;
        push.box = static_cast<std::uint8_t>(b);
        push.dir = static_cast<std::uint8_t>(d);
        push.zone = static_cast<std::uint8_t>(Flood(floor_ & ~next, b).lowest());
        ahead(next, push.zone);
      }
    });
    for (int k = 0; k < n; ++k) {
      const Push& push = pushes[static_cast<std::size_t>(k)];
      Bits next;
      next.row = push.rows;
      f(push.box, push.dir, next, push.zone);
    }
  }
  template <typename F>
  void EachPush(const Bits& boxes, int zone, F f) const {
    EachPush(boxes, zone, f, [](const Bits&, int) {});
  }

  int Zone(const Bits& boxes, int figure) const { return Flood(floor_ & ~boxes, figure).lowest(); }

 private:
  const Puzzle& p_;
  Bits floor_, dead_;
  bool surplus_ = false;
  std::array<int, kCells> nearest_{};
  std::vector<int> targets_;
  std::vector<std::array<std::int16_t, kCells>> to_;
};

}  // namespace qb::levels
