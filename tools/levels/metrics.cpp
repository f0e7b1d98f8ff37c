#include "tools/levels/metrics.h"

#include <algorithm>
#include <map>
#include <queue>
#include <set>
#include <tuple>

#include "tools/levels/position_table.h"
#include "tools/levels/rules.h"
#include "tools/levels/solver.h"

namespace qb::levels {

namespace {

int Opposite(int d) { return (d + 2) % 4; }

struct EffortNode {
  Bits boxes;
  std::uint8_t zone;
  bool closed;
  std::int32_t g;
};

struct Place {
  Bits boxes;
  std::uint8_t zone;
};

}  // namespace

EffortResult MeasureEffort(const Puzzle& p, std::uint64_t budget) {
  const Rules rules(p);
  EffortResult res;
  PositionTable<EffortNode> table;
  // Open list: lowest f first; among equals the lowest estimate (the deepest), then first come.
  using Entry = std::tuple<int, int, std::uint32_t, std::int32_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
  std::uint32_t seq = 0;
  const int h0 = rules.Estimate(p.boxes);
  if (h0 >= kFar) {
    res.complete = true;
    return res;
  }
  table.Add({p.boxes, static_cast<std::uint8_t>(rules.Zone(p.boxes, p.figure)), false, 0});
  open.emplace(h0, h0, seq++, 0);
  while (!open.empty()) {
    const auto [f, h, order, idx] = open.top();
    open.pop();
    EffortNode& node = table.nodes()[idx];
    if (node.closed || node.g != f - h) continue;
    if (rules.Goal(node.boxes)) {
      res.found = res.complete = true;
      res.pushes = node.g;
      return res;
    }
    if (res.expanded >= budget) return res;
    ++res.expanded;
    node.closed = true;
    const int g = node.g + 1;
    const Bits boxes = node.boxes;
    rules.EachPush(boxes, node.zone, [&](int, int, const Bits& next, int zone) {
      const int nh = rules.Estimate(next);
      if (nh >= kFar) return;
      std::int32_t at = table.Find(next, zone);
      if (at >= 0) {
        EffortNode& seen = table.nodes()[at];
        if (seen.closed || seen.g <= g) return;
        seen.g = g;
      } else {
        at = table.Add({next, static_cast<std::uint8_t>(zone), false, g});
      }
      open.emplace(g + nh, nh, seq++, at);
    }, [&](const Bits& next, int zone) { table.Prefetch(next, zone); });
  }
  res.complete = true;  // everything explored: no solution
  return res;
}

struct Exploration::Impl {
  explicit Impl(const Puzzle& p) : puzzle(p), rules(puzzle) {}
  Puzzle puzzle;
  Rules rules;
  PositionTable<Place> table;
  std::vector<std::uint8_t> solvable;
  bool complete = false;
};

Exploration::Exploration(const Puzzle& p, std::size_t budget) : impl_(std::make_unique<Impl>(p)) {
  Impl& m = *impl_;
  const Rules& rules = m.rules;
  auto& nodes = m.table.nodes();
  m.table.Add({p.boxes, static_cast<std::uint8_t>(rules.Zone(p.boxes, p.figure))});
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    if (nodes.size() > budget) return;
    const Place at = nodes[k];
    rules.EachPush(at.boxes, at.zone, [&](int, int, const Bits& next, int zone) {
      if (m.table.Find(next, zone) < 0) m.table.Add({next, static_cast<std::uint8_t>(zone)});
    }, [&](const Bits& next, int zone) { m.table.Prefetch(next, zone); });
  }
  m.complete = true;
  // Mark backwards from the goals: a position is live when a push leads to a live one.
  m.solvable.assign(nodes.size(), 0);
  std::vector<std::int32_t> queue;
  for (std::size_t k = 0; k < nodes.size(); ++k)
    if (rules.Goal(nodes[k].boxes)) {
      m.solvable[k] = 1;
      queue.push_back(static_cast<std::int32_t>(k));
    }
  const Bits floor = rules.floor();
  for (std::size_t q = 0; q < queue.size(); ++q) {
    const Place at = nodes[queue[q]];
    const Bits open = floor & ~at.boxes;
    const Bits reach = Flood(open, at.zone);
    // Undo a push: the box on x came from y = x - d, pushed by the figure from s = y - d.
    at.boxes.each([&](int x) {
      for (int d = 0; d < 4; ++d) {
        const int y = Step(x, Opposite(d));
        if (y < 0 || !reach.test(y)) continue;
        const int s = Step(y, Opposite(d));
        if (s < 0 || !open.test(s)) continue;
        Bits before = at.boxes;
        before.reset(x);
        before.set(y);
        const std::int32_t k = m.table.Find(before, rules.Zone(before, s));
        if (k < 0 || m.solvable[k]) continue;
        m.solvable[k] = 1;
        queue.push_back(k);
      }
    });
  }
}

Exploration::~Exploration() = default;
bool Exploration::complete() const { return impl_->complete; }
std::size_t Exploration::positions() const { return impl_->table.size(); }

bool Exploration::Dead(const Bits& boxes, int zone) const {
  const Impl& m = *impl_;
  if (!m.complete) return false;
  const std::int32_t k = m.table.Find(boxes, zone);
  return k >= 0 && !m.solvable[k];
}

int Exploration::HiddenFatalSteps(const std::string& moves) const {
  if (!impl_->complete) return -1;
  return CountFatalSteps(impl_->puzzle, moves, [&](const Bits& boxes, int zone) { return Dead(boxes, zone); });
}

std::vector<std::pair<int, int>> FatalPushes(const Puzzle& at, const DeadTest& dead) {
  const Rules rules(at);
  std::vector<std::pair<int, int>> fatal;
  rules.EachPush(at.boxes, rules.Zone(at.boxes, at.figure), [&](int box, int d, const Bits& next, int zone) {
    if (dead(next, zone)) fatal.emplace_back(box, d);
  });
  return fatal;
}

int CountFatalSteps(const Puzzle& p, const std::string& moves, const DeadTest& dead) {
  Puzzle at = p;
  int steps = 0;
  for (char ch : moves) {
    if (ch >= 'A' && ch <= 'Z') steps += !FatalPushes(at, dead).empty();
    if (!Replay(at, std::string(1, ch))) return -1;
  }
  return Solved(at) ? steps : -1;
}

SolutionFacts StudySolution(const Puzzle& p, const std::string& moves) {
  SolutionFacts facts;
  std::array<int, kCells> id;
  id.fill(-1);
  int boxes = 0;
  p.boxes.each([&](int b) { id[b] = boxes++; });
  std::vector<char> moved(boxes, 0);
  std::map<std::pair<int, int>, std::set<int>> pushed_from;
  std::vector<std::tuple<int, int, int>> pushes;  // cell, direction, box
  Puzzle at = p;
  for (char ch : moves) {
    const int before = at.figure;
    if (!Replay(at, std::string(1, ch))) return facts;
    ++facts.moves;
    if (ch < 'a') {
      const int d = at.figure - before == 1 ? 2 : at.figure - before == -1 ? 0 : at.figure - before == kW ? 3 : 1;
      const int box = id[at.figure];
      id[Step(at.figure, d)] = box;
      id[at.figure] = -1;
      moved[box] = 1;
      pushes.emplace_back(at.figure, d, box);
      pushed_from[{at.figure, d}].insert(box);
    }
  }
  facts.replays = Solved(at);
  facts.pushes = static_cast<int>(pushes.size());
  int ferried = 0;
  for (std::size_t k = 0; k < pushes.size(); ++k) {
    const auto [cell, d, box] = pushes[k];
    if (k == 0 || std::get<1>(pushes[k - 1]) != d || std::get<2>(pushes[k - 1]) != box) ++facts.box_lines;
    ferried += pushed_from[{cell, d}].size() >= 3;
  }
  facts.ferry_share = pushes.empty() ? 0 : static_cast<double>(ferried) / static_cast<double>(pushes.size());
  int k = 0;
  p.boxes.each([&](int b) {
    if (!moved[k++]) facts.unmoved.set(b);
  });
  return facts;
}

Puzzle Core(const Puzzle& p, const Bits& unmoved) {
  Puzzle core = p;
  core.walls = core.walls | unmoved;
  core.boxes = core.boxes & ~unmoved;
  core.targets = core.targets & ~unmoved;
  return core;
}

BoardShape ShapeOf(const Puzzle& p) {
  BoardShape shape;
  shape.walk = Flood(~p.walls, p.figure);
  const Bits& walk = shape.walk;
  // Loops: islands of cells outside the walk that the walk closes in (eight-way
  // neighbours, the ring beyond the board's edge counting as outside).
  {
    constexpr int W = kW + 2, H = kH + 2;
    std::vector<int> mark(W * H, 0);
    auto out = [&](int c, int r) { return c == 0 || r == 0 || c == W - 1 || r == H - 1 || !walk.test((r - 1) * kW + c - 1); };
    int label = 0;
    for (int start = 0; start < W * H; ++start) {
      if (mark[start] || !out(start % W, start / W)) continue;
      ++label;
      bool edge = false;
      std::vector<int> stack{start};
      mark[start] = label;
      while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        const int c = i % W, r = i / W;
        edge = edge || c == 0 || r == 0 || c == W - 1 || r == H - 1;
        for (int dr = -1; dr <= 1; ++dr)
          for (int dc = -1; dc <= 1; ++dc) {
            const int cc = c + dc, rr = r + dr;
            if (cc < 0 || rr < 0 || cc >= W || rr >= H || mark[rr * W + cc] || !out(cc, rr)) continue;
            mark[rr * W + cc] = label;
            stack.push_back(rr * W + cc);
          }
      }
      shape.loops += !edge;
    }
  }
  // Rooms: the walk less its corridor cells (those closed in on both sides
  // along a row or a column), in connected parts of four cells or more.
  auto in = [&](int i, int d) {
    const int n = Step(i, d);
    return n >= 0 && walk.test(n);
  };
  Bits wide;
  walk.each([&](int i) {
    if ((in(i, 0) || in(i, 2)) && (in(i, 1) || in(i, 3))) wide.set(i);
  });
  Bits seen;
  wide.each([&](int i) {
    if (seen.test(i)) return;
    const Bits part = Flood(wide, i);
    seen = seen | part;
    Room room;
    room.cells = part.count();
    if (room.cells < 4) return;
    int c0 = kW, c1 = -1, r0 = kH, r1 = -1;
    part.each([&](int k) {
      c0 = std::min(c0, k % kW);
      c1 = std::max(c1, k % kW);
      r0 = std::min(r0, k / kW);
      r1 = std::max(r1, k / kW);
    });
    room.width = c1 - c0 + 1;
    room.height = r1 - r0 + 1;
    room.rectangle = room.cells == room.width * room.height;
    shape.rooms.push_back(room);
    const int lo = std::min(room.width, room.height), hi = std::max(room.width, room.height);
    shape.small_rooms += room.rectangle && lo == 3 && (hi == 3 || hi == 4);
  });
  std::vector<std::tuple<int, int, int>> sizes;
  for (const Room& r : shape.rooms)
    sizes.emplace_back(r.cells, std::max(r.width, r.height), std::min(r.width, r.height));
  std::sort(sizes.rbegin(), sizes.rend());
  for (const auto& [cells, hi, lo] : sizes) {
    if (!shape.arrangement.empty()) shape.arrangement += ",";
    shape.arrangement += std::to_string(lo);
    shape.arrangement += 'x';
    shape.arrangement += std::to_string(hi);
    if (cells != lo * hi) {
      shape.arrangement += '~';
      shape.arrangement += std::to_string(cells);
    }
  }
  return shape;
}

namespace {

// A cell set as rows of bits, moved to its bounding box's corner.
struct Mask {
  int width = 0, height = 0, cells = 0;
  std::array<std::uint64_t, 16> row{};
};

Mask Transformed(const Bits& b, int t) {
  std::vector<std::pair<int, int>> cells;
  b.each([&](int i) {
    int x = i % kW, y = i / kW;
    if (t & 4) std::swap(x, y);
    if (t & 1) x = -x;
    if (t & 2) y = -y;
    cells.emplace_back(x, y);
  });
  Mask m;
  if (cells.empty()) return m;
  int x0 = 1 << 20, y0 = 1 << 20, x1 = -(1 << 20), y1 = -(1 << 20);
  for (auto [x, y] : cells) {
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  }
  m.width = x1 - x0 + 1;
  m.height = y1 - y0 + 1;
  m.cells = static_cast<int>(cells.size());
  for (auto [x, y] : cells) m.row[y - y0] |= 1ull << (x - x0);
  return m;
}

}  // namespace

double Overlap(const Bits& a, const Bits& b) {
  const Mask ma = Transformed(a, 0);
  if (ma.cells == 0) return 0;
  int best = 0;
  for (int t = 0; t < 8; ++t) {
    const Mask mb = Transformed(b, t);
    if (mb.cells == 0) return 0;
    for (int dy = -(mb.height - 1); dy < ma.height; ++dy)
      for (int dx = -(mb.width - 1); dx < ma.width; ++dx) {
        int inter = 0;
        for (int y = std::max(0, dy); y < std::min(ma.height, dy + mb.height); ++y) {
          const std::uint64_t r = mb.row[y - dy];
          inter += std::popcount(ma.row[y] & (dx >= 0 ? r << dx : r >> -dx));
        }
        best = std::max(best, inter);
      }
  }
  const int total = a.count() + b.count() - best;
  return static_cast<double>(best) / total;
}

}  // namespace qb::levels
