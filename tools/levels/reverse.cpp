#include "tools/levels/reverse.h"

#include "tools/levels/solver.h"

namespace qb::levels {

namespace {

int Opposite(int d) { return (d + 2) % 4; }

}  // namespace

PullSearch SearchPulls(const Bits& walls, const Bits& solved, std::size_t budget, int min_depth) {
  PullSearch s;
  PositionTable<PullNode>& table = s.table;
  auto& nodes = table.nodes();
  const Bits floor = ~walls;
  const Bits free0 = floor & ~solved;
  Bits seen;
  free0.each([&](int i) {
    if (seen.test(i)) return;
    const Bits zone = Flood(free0, i);
    seen = seen | zone;
    table.Add({solved, static_cast<std::uint8_t>(i), 0, 0, -1, 0});
  });
  s.complete = true;
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    if (nodes.size() >= budget || (nodes.size() >= budget / 4 && nodes[k].depth < min_depth)) {
      s.complete = false;
      break;
    }
    const PullNode node = nodes[k];
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
        if (table.Find(next.boxes, next.zone) >= 0) continue;
        next.from = static_cast<std::uint8_t>(stand);
        next.dir = static_cast<std::uint8_t>(Opposite(d));
        next.parent = static_cast<std::int32_t>(k);
        next.depth = node.depth + 1;
        table.Add(next);
      }
    });
  }
  return s;
}

std::string SolutionFrom(const PullSearch& s, const Bits& walls, std::int32_t k, int figure) {
  const Bits floor = ~walls;
  std::string out;
  int fig = figure;
  for (; s.nodes()[k].parent >= 0; k = s.nodes()[k].parent) {
    const PullNode& n = s.nodes()[k];
    const int d = n.dir;
    out += WalkPath(floor & ~n.boxes, fig, Step(n.from, Opposite(d)));
    out += static_cast<char>(kLetter[d] - 32);
    fig = n.from;
  }
  return out;
}

}  // namespace qb::levels
