// A hash table of positions for the level tools' searches: the nodes live in
// one vector in the order they were added, the table holds their indices,
// each beside the upper half of its hash so that a probe seldom has to read a
// node to pass it by (the tables outgrow the caches: reads are what costs).
// A position is its box set and its zone (the lowest cell the figure can reach).
#pragma once

#include <cstdint>
#include <vector>

#include "tools/levels/puzzle.h"

namespace qb::levels {

template <typename Node>
class PositionTable {
 public:
  // Starts small (the many short searches would pay more for clearing a large
  // table than they spend searching) and doubles as it fills.
  PositionTable() : slots_(1 << 8, kEmpty) {}

  std::vector<Node>& nodes() { return nodes_; }
  const std::vector<Node>& nodes() const { return nodes_; }
  std::size_t size() const { return nodes_.size(); }

  // The index of the node holding the same position as `n`, or -1.
  std::int32_t Find(const Bits& boxes, int zone) const {
    const std::size_t mask = slots_.size() - 1;
    const std::uint64_t h = Hash(boxes, zone);
    const std::uint64_t tag = h >> 32;
    for (std::size_t s = h & mask;; s = (s + 1) & mask) {
      const std::uint64_t slot = slots_[s];
      if (slot == kEmpty) return -1;
      const auto k = static_cast<std::int32_t>(slot & 0xFFFFFFFFu);
      if ((slot >> 32) == tag && nodes_[k].zone == zone && nodes_[k].boxes == boxes) return k;
    }
  }

  // Starts fetching the slot where a Find for this position will look first.
  void Prefetch(const Bits& boxes, int zone) const {
    __builtin_prefetch(&slots_[Hash(boxes, zone) & (slots_.size() - 1)]);
  }

  std::int32_t Add(const Node& n) {
    if ((nodes_.size() + 1) * 2 > slots_.size()) {
      slots_.assign(slots_.size() * 2, kEmpty);
      for (std::size_t k = 0; k < nodes_.size(); ++k) Place(static_cast<std::int32_t>(k));
    }
    nodes_.push_back(n);
    const auto k = static_cast<std::int32_t>(nodes_.size() - 1);
    Place(k);
    return k;
  }

 private:
  static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
  static std::uint64_t Hash(const Bits& boxes, int zone) {
    const std::uint64_t h = boxes.hash() ^ (static_cast<std::uint64_t>(zone) * 0x9E3779B97F4A7C15ull);
    return h ^ (h >> 31);
  }
  void Place(std::int32_t k) {
    const std::size_t mask = slots_.size() - 1;
    const std::uint64_t h = Hash(nodes_[k].boxes, nodes_[k].zone);
    std::size_t s = h & mask;
    while (slots_[s] != kEmpty) s = (s + 1) & mask;
    slots_[s] = (h >> 32) << 32 | static_cast<std::uint32_t>(k);
  }

  std::vector<Node> nodes_;
  std::vector<std::uint64_t> slots_;  // upper half of the hash, node index; kEmpty when free
};

}  // namespace qb::levels
