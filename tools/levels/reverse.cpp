#include "tools/levels/reverse.h"

#include "tools/levels/solver.h"

namespace qb::levels {

namespace {

int Opposite(int d) { return (d + 2) % 4; }

class Table {
 public:
  explicit Table(std::vector<PullNode>& nodes) : nodes_(nodes), slots_(1 << 16, -1) {}

  bool Contains(const PullNode& n) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = Hash(n) & mask;; s = (s + 1) & mask) {
      const std::int32_t k = slots_[s];
      if (k < 0) return false;
      if (nodes_[k].zone == n.zone && nodes_[k].boxes == n.boxes) return true;
    }
  }

  void Add(const PullNode& n) {
    if ((nodes_.size() + 1) * 2 > slots_.size()) {
      slots_.assign(slots_.size() * 2, -1);
      for (std::size_t k = 0; k < nodes_.size(); ++k) Place(static_cast<std::int32_t>(k));
    }
    nodes_.push_back(n);
    Place(static_cast<std::int32_t>(nodes_.size() - 1));
  }

 private:
  static std::uint64_t Hash(const PullNode& n) { return n.boxes.hash() ^ (n.zone * 0x9E3779B1ull); }
  void Place(std::int32_t k) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t s = Hash(nodes_[k]) & mask;
    while (slots_[s] >= 0) s = (s + 1) & mask;
    slots_[s] = k;
  }
  std::vector<PullNode>& nodes_;
  std::vector<std::int32_t> slots_;
};

}  // namespace

PullSearch SearchPulls(const Bits& walls, const Bits& solved, std::size_t budget) {
  PullSearch s;
  Table table(s.nodes);
  const Bits floor = ~walls;
  const Bits free0 = floor & ~solved;
  Bits seen;
  free0.each([&](int i) {
    if (seen.test(i)) return;
    const Bits zone = Flood(free0, i);
    seen = seen | zone;
    table.Add({solved, static_cast<std::uint8_t>(i), 0, 0, -1, 0});
  });
  for (std::size_t k = 0; k < s.nodes.size(); ++k) {
    if (s.nodes.size() >= budget) return s;
    const PullNode node = s.nodes[k];
    const Bits open = floor & ~node.boxes;
    const Bits reach = Flood(open, node.zone);
    node.boxes.each([&](int b) {
      for (int d = 0; d < 4; ++d) {
        const int stand = Step(b, d);
        if (stand < 0 || !reach.test(stand)) continue;
        const int back = Step(stand, d);
        if (back < 0 || !open.test(back)) continue;
        PullNode next = node;
        next.boxes.reset(b);
        next.boxes.set(stand);
        next.zone = static_cast<std::uint8_t>(Flood(floor & ~next.boxes, back).lowest());
        if (table.Contains(next)) continue;
        next.from = static_cast<std::uint8_t>(stand);
        next.dir = static_cast<std::uint8_t>(Opposite(d));
        next.parent = static_cast<std::int32_t>(k);
        next.depth = node.depth + 1;
        table.Add(next);
      }
    });
  }
  s.complete = true;
  return s;
}

std::string SolutionFrom(const PullSearch& s, const Bits& walls, std::int32_t k, int figure) {
  const Bits floor = ~walls;
  std::string out;
  int fig = figure;
  for (; s.nodes[k].parent >= 0; k = s.nodes[k].parent) {
    const PullNode& n = s.nodes[k];
    const int d = n.dir;
    out += WalkPath(floor & ~n.boxes, fig, Step(n.from, Opposite(d)));
    out += static_cast<char>(kLetter[d] - 32);
    fig = n.from;
  }
  return out;
}

}  // namespace qb::levels
