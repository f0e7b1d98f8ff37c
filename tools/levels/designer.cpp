#include "tools/levels/designer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

#include "tools/levels/human.h"
#include "tools/levels/position_table.h"
#include "tools/levels/reverse.h"
#include "tools/levels/rules.h"
#include "tools/levels/solver.h"

namespace qb::levels {

namespace {

bool OnRim(int i) { return i % kW == 0 || i / kW == 0 || i % kW == kW - 1 || i / kW == kH - 1; }

Bits Rim() {
  Bits b;
  for (int i = 0; i < kCells; ++i)
    if (OnRim(i)) b.set(i);
  return b;
}

bool Connected(const Bits& floor) {
  const int s = floor.lowest();
  return s >= 0 && Flood(floor, s) == floor;
}

void FillRect(Bits& b, int c0, int r0, int w, int h) {
  for (int r = r0; r < r0 + h; ++r)
    for (int c = c0; c < c0 + w; ++c)
      if (c >= 0 && c < kW && r >= 0 && r < kH) b.set(r * kW + c);
}

int FloorNeighbours(const Bits& floor, int i) {
  int n = 0;
  for (int d = 0; d < 4; ++d) {
    const int j = Step(i, d);
    n += j >= 0 && floor.test(j);
  }
  return n;
}

struct Box2 {
  int c0, r0, w, h;
};

struct Skeleton {
  Bits floor, targets;
  Box2 area{};
  std::string kind;
};

std::pair<int, int> FloorRange(Size s) {
  switch (s) {
    case Size::Compact: return {20, 48};
    case Size::Medium: return {42, 72};
    case Size::Large: return {66, 104};
    case Size::Full: return {84, 150};
  }
  return {0, 0};
}

// A random cell of `b`, or -1.
// Lays the rooms out left to right and joins each to the next by a corridor
// bent once; with three rooms or more, the last joins the first at
// `loop_percent` chance.
void ConnectRooms(Rng& rng, std::vector<Box2>& rects, int loop_percent, Bits& floor) {
  std::sort(rects.begin(), rects.end(), [](const Box2& x, const Box2& y) { return x.c0 + x.w / 2 < y.c0 + y.w / 2; });
  for (const auto& r : rects) FillRect(floor, r.c0, r.r0, r.w, r.h);
  auto corridor = [&](const Box2& x, const Box2& y) {
    int c = x.c0 + rng.Below(x.w), r = x.r0 + rng.Below(x.h);
    const int tc = y.c0 + rng.Below(y.w), tr = y.r0 + rng.Below(y.h);
    const bool across_first = rng.Chance(50);
    for (int leg = 0; leg < 2; ++leg) {
      if ((leg == 0) == across_first) {
        while (c != tc) { c += c < tc ? 1 : -1; floor.set(r * kW + c); }
      } else {
        while (r != tr) { r += r < tr ? 1 : -1; floor.set(r * kW + c); }
      }
    }
  };
  for (std::size_t k = 1; k < rects.size(); ++k) corridor(rects[k - 1], rects[k]);
  if (rects.size() >= 3 && rng.Chance(loop_percent)) corridor(rects.front(), rects.back());
}

int Pick(Rng& rng, const Bits& b) {
  const int n = b.count();
  if (n == 0) return -1;
  int k = rng.Below(n), found = -1;
  b.each([&](int i) {
    if (k-- == 0) found = i;
  });
  return found;
}

// The first k cells met by a breadth-first walk over `floor` from `seed`, neighbours shuffled.
Bits Cluster(Rng& rng, const Bits& floor, int seed, int k) {
  Bits out;
  if (!floor.test(seed)) return out;  // a pillar: no cluster
  std::vector<int> queue{seed};
  out.set(seed);
  for (std::size_t q = 0; q < queue.size() && static_cast<int>(queue.size()) < k; ++q) {
    int order[4] = {0, 1, 2, 3};
    for (int a = 3; a > 0; --a) std::swap(order[a], order[rng.Below(a + 1)]);
    for (int d : order) {
      const int j = Step(queue[q], d);
      if (j < 0 || !floor.test(j) || out.test(j) || static_cast<int>(queue.size()) >= k) continue;
      out.set(j);
      queue.push_back(j);
    }
  }
  return out;
}

bool RimOpen(const Bits& floor) {
  // some rim cell is neither floor's wall nor wall: a rim cell with no floor among its 8 neighbours, or floor itself
  for (int i = 0; i < kCells; ++i) {
    if (!OnRim(i)) continue;
    if (floor.test(i)) return true;
    bool near = false;
    for (int dr = -1; dr <= 1; ++dr)
      for (int dc = -1; dc <= 1; ++dc) {
        const int c = i % kW + dc, r = i / kW + dr;
        near = near || (c >= 0 && c < kW && r >= 0 && r < kH && floor.test(r * kW + c));
      }
    if (!near) return true;
  }
  return false;
}

std::optional<Skeleton> TrySkeleton(Rng& rng, const DesignerOptions& o) {
  Skeleton sk;
  int w = 0, h = 0, rooms = 0;
  switch (o.size) {
    case Size::Compact: w = rng.Between(6, 9); h = rng.Between(5, 7); rooms = rng.Between(2, 3); break;
    case Size::Medium: w = rng.Between(9, 12); h = rng.Between(7, 9); rooms = rng.Between(2, 3); break;
    case Size::Large: w = rng.Between(12, 15); h = rng.Between(8, 11); rooms = rng.Between(3, 4); break;
    case Size::Full: w = rng.Between(14, 16); h = rng.Between(10, 11); rooms = rng.Between(4, 6); break;
  }
  const int lo = o.flags.closed ? 1 : 0, span_w = o.flags.closed ? kW - 2 : kW, span_h = o.flags.closed ? kH - 2 : kH;
  w = std::min(w, span_w);
  h = std::min(h, span_h);
  sk.area = {lo + rng.Below(span_w - w + 1), lo + rng.Below(span_h - h + 1), w, h};
  const Box2& a = sk.area;
  std::vector<Box2> rects;
  for (int k = 0; k < rooms; ++k) {
    const int rw = std::min(a.w, rng.Between(2, o.size == Size::Compact ? 4 : 5));
    const int rh = std::min(a.h, rng.Between(2, o.size == Size::Compact ? 3 : 4));
    rects.push_back({a.c0 + rng.Below(a.w - rw + 1), a.r0 + rng.Below(a.h - rh + 1), rw, rh});
  }
  ConnectRooms(rng, rects, 35, sk.floor);
  // parking bays: one-cell niches off corridor cells
  const int bays = o.size == Size::Compact ? rng.Between(0, 1) : rng.Between(1, 3);
  for (int k = 0, tries = 0; k < bays && tries < 200; ++tries) {
    const int i = Pick(rng, sk.floor);
    if (FloorNeighbours(sk.floor, i) != 2) continue;
    const int d = rng.Below(4), j = Step(i, d);
    if (j < 0 || sk.floor.test(j) || (o.flags.closed && OnRim(j)) || FloorNeighbours(sk.floor, j) != 1) continue;
    sk.floor.set(j);
    ++k;
  }
  // pillars in the wider rooms
  const int pillars = rng.Between(0, o.size == Size::Compact ? 1 : 3);
  for (int k = 0, tries = 0; k < pillars && tries < 100; ++tries) {
    const int i = Pick(rng, sk.floor);
    if (FloorNeighbours(sk.floor, i) != 4) continue;
    Bits f = sk.floor;
    f.reset(i);
    if (!Connected(f)) continue;
    sk.floor = f;
    ++k;
  }
  if (o.flags.figure_on_edge && (sk.floor & Rim()).none()) {
    // the figure starts on the edge: a bay reaching it
    for (int tries = 0; tries < 400; ++tries) {
      const int i = Pick(rng, sk.floor), d = rng.Below(4), j = Step(i, d);
      if (j >= 0 && OnRim(j)) {
        sk.floor.set(j);
        break;
      }
    }
  }
  if (!o.flags.closed && !RimOpen(sk.floor)) {
    // open the rim: a bay from the floor out onto the board's edge
    for (int tries = 0; tries < 200; ++tries) {
      const int i = Pick(rng, sk.floor), d = rng.Below(4), j = Step(i, d);
      if (j >= 0 && OnRim(j) && !sk.floor.test(j)) {
        sk.floor.set(j);
        break;
      }
    }
  }
  const auto [fmin, fmax] = FloorRange(o.size);
  const int n = sk.floor.count();
  if (n < fmin || n > fmax || n < 3 * o.boxes || !Connected(sk.floor)) return std::nullopt;
  // the goal area
  const int kind = o.boxes <= 7 ? rng.Below(4) : rng.Below(3);
  if (kind == 3) {
    // a dead-end goal corridor dug out of a room's side: it fills from its far end
    for (int tries = 0; tries < 200; ++tries) {
      const int i = Pick(rng, sk.floor), d = rng.Below(4);
      const int len = std::min(o.boxes, rng.Between(2, 4));
      Bits dug;
      int at = i;
      bool ok = true;
      for (int s = 0; s < len && ok; ++s) {
        at = Step(at, d);
        ok = at >= 0 && !sk.floor.test(at) && !(o.flags.closed && OnRim(at));
        if (!ok) break;
        // the corridor touches the floor only through its mouth
        for (int e = 0; e < 4 && ok; ++e) {
          const int j = Step(at, e);
          ok = j < 0 || !sk.floor.test(j) || j == i || dug.test(j);
        }
        dug.set(at);
      }
      if (!ok) continue;
      sk.floor = sk.floor | dug;
      sk.targets = dug;
      if (o.boxes > len) {
        Bits rest = Cluster(rng, sk.floor & ~dug, i, o.boxes - len);
        sk.targets = sk.targets | rest;
      }
      sk.kind = "goal corridor";
      break;
    }
    if (sk.kind.empty()) return std::nullopt;
  } else if (kind == 2 && rects.size() >= 2) {
    // targets spread over two rooms
    const auto& r1 = rects.front();
    const auto& r2 = rects.back();
    const int half = o.boxes / 2;
    sk.targets = Cluster(rng, sk.floor, (r1.r0 + rng.Below(r1.h)) * kW + r1.c0 + rng.Below(r1.w), half);
    sk.targets = sk.targets |
                 Cluster(rng, sk.floor & ~sk.targets, (r2.r0 + rng.Below(r2.h)) * kW + r2.c0 + rng.Below(r2.w),
                         o.boxes - half);
    sk.kind = "two goal rooms";
  } else {
    const auto& r = rects[rng.Below(static_cast<int>(rects.size()))];
    sk.targets = Cluster(rng, sk.floor, (r.r0 + rng.Below(r.h)) * kW + r.c0 + rng.Below(r.w), o.boxes);
    sk.kind = "goal room";
  }
  if (sk.targets.count() != o.boxes) return std::nullopt;
  return sk;
}

struct Push {
  int from, to;
};

struct Eval {
  std::size_t spent = 0;  // positions the search took
  double score = -1;
  Bits boxes;
  int figure = -1;
  std::string moves;
  int pushes = 0, ci = 0;
};

// Lone-box push distances over the floor to each cell that can be a box's last cell.
struct Distances {
  std::array<int, kCells> index{};
  std::vector<std::array<std::int16_t, kCells>> to;
  Distances(const Bits& walls, const Bits& ends) {
    Puzzle p;
    p.walls = walls;
    p.targets = ends;
    const PushDistances pd = ComputePushDistances(p);
    index.fill(-1);
    for (std::size_t k = 0; k < pd.target_cells.size(); ++k) index[pd.target_cells[k]] = static_cast<int>(k);
    to = pd.to;
  }
  int At(int end, int cell) const {
    const int v = to[index[end]][cell];
    return v < 0 ? 9999 : v;
  }
};

// The counterintuitive pushes of a push list that ends with every box on `ends`.
int Counterintuitive(const std::vector<Push>& pushes, const Distances& dist, const Bits& ends) {
  std::array<int, kCells> fin;
  fin.fill(-1);
  ends.each([&](int i) { fin[i] = i; });
  std::vector<int> end_of(pushes.size());
  for (std::size_t k = pushes.size(); k-- > 0;) {
    fin[pushes[k].from] = fin[pushes[k].to];
    end_of[k] = fin[pushes[k].to];
  }
  int n = 0;
  for (std::size_t k = 0; k < pushes.size(); ++k)
    if (end_of[k] >= 0 && dist.At(end_of[k], pushes[k].to) > dist.At(end_of[k], pushes[k].from)) ++n;
  return n;
}

bool EveryBoxMoves(const Bits& boxes, const std::vector<Push>& pushes) {
  std::array<int, kCells> id;
  id.fill(-1);
  int n = 0;
  boxes.each([&](int i) { id[i] = n++; });
  std::vector<bool> moved(n, false);
  for (const auto& p : pushes) {
    moved[id[p.from]] = true;
    id[p.to] = id[p.from];
    id[p.from] = -1;
  }
  return std::all_of(moved.begin(), moved.end(), [](bool m) { return m; });
}

Eval Evaluate(const Bits& floor, const Bits& targets, const DesignerOptions& o, std::size_t budget, Rng& rng) {
  Eval best;
  const Bits walls = ~floor;
  const PullSearch s = SearchPulls(walls, targets, budget);
  const auto& nodes = s.nodes();
  best.spent = nodes.size();
  if (nodes.size() < 2) return best;
  const Distances dist(walls, targets);
  const int deepest = nodes.back().depth;
  std::vector<std::int32_t> cand;
  const int shallowest = std::min(deepest - 5, deepest * 3 / 5);
  for (auto k = static_cast<std::int32_t>(nodes.size()) - 1; k >= 0 && nodes[k].depth >= shallowest; --k)
    cand.push_back(k);
  const std::size_t stride = std::max<std::size_t>(1, cand.size() / 1500);
  for (std::size_t c = 0; c < cand.size(); c += stride) {
    const std::int32_t k = cand[c];
    const Bits& boxes = nodes[k].boxes;
    if ((boxes & targets).none() == o.flags.box_on_target) continue;
    std::vector<Push> pushes;
    for (std::int32_t n = k; nodes[n].parent >= 0; n = nodes[n].parent)
      pushes.push_back({nodes[n].from, Step(nodes[n].from, nodes[n].dir)});
    if (!EveryBoxMoves(boxes, pushes)) continue;
    const int ci = Counterintuitive(pushes, dist, targets);
    const double score = static_cast<double>(pushes.size()) + 5.0 * ci;
    if (score <= best.score) continue;
    // where the figure may stand
    const Bits zone = Flood(floor & ~boxes, nodes[k].zone);
    Bits allowed;
    zone.each([&](int i) {
      if (targets.test(i) == o.flags.figure_on_target && OnRim(i) == o.flags.figure_on_edge) allowed.set(i);
    });
    const int fig = Pick(rng, allowed);
    if (fig < 0) continue;
    best.score = score;
    best.boxes = boxes;
    best.figure = fig;
    best.pushes = static_cast<int>(pushes.size());
    best.ci = ci;
    best.moves = SolutionFrom(s, walls, k, fig);
  }
  return best;
}

// Cells the figure or a box stands on at some point of the solution.
Bits Touched(const Bits& floor, const Bits& boxes, int figure, const std::string& moves) {
  Puzzle p;
  p.walls = ~floor;
  p.boxes = boxes;
  p.figure = figure;
  Bits t = boxes;
  t.set(figure);
  for (char ch : moves) {
    Replay(p, std::string(1, ch));
    t.set(p.figure);
    t = t | p.boxes;
  }
  return t;
}

std::string Cell(int i) { return "(" + std::to_string(i % kW + 1) + ", " + std::to_string(i / kW + 1) + ")"; }

// One sentence on what the solution asks: the goal area's kind and the box that
// goes the wrong way longest, or the box that has to leave its target.
std::string Idea(const Skeleton& sk, const Designed& d, const Bits& start_boxes) {
  std::string head;
  if (sk.kind == "goal corridor")
    head = "the dead-end goal corridor fills from its far end, so the boxes must come in the right order";
  else if (sk.kind == "two goal rooms")
    head = "two goal rooms, and the boxes must cross between them in the right order";
  else
    head = "the goal room fills from the back, one box at a time";
  Puzzle p = d.puzzle;
  p.boxes = start_boxes;
  return DescribeSolution(p, d.solution, head);
}


// A big board's skeleton: three to six rooms of 3x3 to 6x5 over most of the
// grid, joined in a chain by corridors bent once (now and then a loop back),
// parking bays off the corridors, pillars in the wider rooms; the targets form
// a goal room (or two) so that the boxes must travel between rooms.
std::optional<Skeleton> TryBigSkeleton(Rng& rng, const BigOptions& o) {
  Skeleton sk;
  const bool closed = o.flags.closed;
  const int lo = closed ? 1 : 0, span_w = closed ? kW - 2 : kW, span_h = closed ? kH - 2 : kH;
  const int w = std::min(span_w, rng.Between(12, 16)), h = std::min(span_h, rng.Between(8, 11));
  sk.area = {lo + rng.Below(span_w - w + 1), lo + rng.Below(span_h - h + 1), w, h};
  const Box2& a = sk.area;
  const int rooms = rng.Between(3, 6);
  std::vector<Box2> rects;
  for (int k = 0, tries = 0; k < rooms && tries < 200; ++tries) {
    const int rw = std::min(a.w, rng.Between(3, 6)), rh = std::min(a.h, rng.Between(3, 5));
    const Box2 r{a.c0 + rng.Below(a.w - rw + 1), a.r0 + rng.Below(a.h - rh + 1), rw, rh};
    // rooms keep apart, so that corridors join them
    bool clash = false;
    for (const auto& q : rects)
      clash = clash || (r.c0 <= q.c0 + q.w && q.c0 <= r.c0 + r.w && r.r0 <= q.r0 + q.h && q.r0 <= r.r0 + r.h);
    if (clash) continue;
    rects.push_back(r);
    ++k;
  }
  if (rects.size() < 3) return std::nullopt;
  ConnectRooms(rng, rects, 40, sk.floor);
  const int bays = rng.Between(1, 4);
  for (int k = 0, tries = 0; k < bays && tries < 300; ++tries) {
    const int i = Pick(rng, sk.floor);
    if (FloorNeighbours(sk.floor, i) != 2) continue;
    const int j = Step(i, rng.Below(4));
    if (j < 0 || sk.floor.test(j) || (closed && OnRim(j)) || FloorNeighbours(sk.floor, j) != 1) continue;
    sk.floor.set(j);
    ++k;
  }
  const int pillars = rng.Between(1, 5);
  for (int k = 0, tries = 0; k < pillars && tries < 200; ++tries) {
    const int i = Pick(rng, sk.floor);
    if (FloorNeighbours(sk.floor, i) != 4) continue;
    Bits f = sk.floor;
    f.reset(i);
    if (!Connected(f)) continue;
    sk.floor = f;
    ++k;
  }
  if (o.flags.figure_on_edge && (sk.floor & Rim()).none())
    for (int tries = 0; tries < 400; ++tries) {
      const int i = Pick(rng, sk.floor), j = Step(i, rng.Below(4));
      if (j >= 0 && OnRim(j)) {
        sk.floor.set(j);
        break;
      }
    }
  if (!closed && !RimOpen(sk.floor))
    for (int tries = 0; tries < 200; ++tries) {
      const int i = Pick(rng, sk.floor), j = Step(i, rng.Below(4));
      if (j >= 0 && OnRim(j) && !sk.floor.test(j)) {
        sk.floor.set(j);
        break;
      }
    }
  const int n = sk.floor.count();
  if (n < 84 || n > 150 || !Connected(sk.floor)) return std::nullopt;
  // the goal area: one room, or two or three when one would be packed (at most
  // three fifths of a goal room's cells are targets, so that boxes can still
  // be brought in and turned inside it)
  std::vector<std::size_t> order(rects.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  for (std::size_t k = order.size() - 1; k > 0; --k) std::swap(order[k], order[rng.Below(static_cast<int>(k) + 1)]);
  if (rng.Chance(60))
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return rects[x].w * rects[x].h > rects[y].w * rects[y].h; });
  int left = o.boxes, used = 0;
  const int split = o.boxes >= 6 && rng.Chance(30) ? 2 : 1;
  for (std::size_t k = 0; k < order.size() && left > 0; ++k) {
    const Box2& r = rects[order[k]];
    int take = std::min(left, std::max(2, r.w * r.h * 3 / 5));
    if (split == 2 && used == 0) take = std::min(take, (o.boxes + 1) / 2);
    sk.targets = sk.targets | Cluster(rng, sk.floor & ~sk.targets, (r.r0 + r.h / 2) * kW + r.c0 + r.w / 2, take);
    left = o.boxes - sk.targets.count();
    ++used;
  }
  sk.kind = used == 1 ? "goal room" : "goal rooms";
  if (sk.targets.count() != o.boxes) return std::nullopt;
  return sk;
}

// A beam search of pulls from the solved position: each layer keeps the
// `width` positions whose boxes stand farthest from the targets (every box off
// its target counting extra, a little chance mixed in), so that the search gets
// deep on boards where a full search backwards would drown in the positions of
// its first pulls. A position met before is not kept twice. `still` holds the
// boxes no pull has moved yet.
struct BeamNode {
  Bits boxes, still;
  std::uint8_t zone;
  std::int32_t depth;
};
std::vector<BeamNode> BeamPulls(Rng& rng, const Bits& floor, const Bits& targets,
                                const std::array<int, kCells>& nearest, int width, int max_depth) {
  PositionTable<BeamNode> table;
  std::vector<std::int32_t> layer;
  const Bits free0 = floor & ~targets;
  Bits seen;
  free0.each([&](int i) {
    if (seen.test(i)) return;
    seen = seen | Flood(free0, i);
    layer.push_back(table.Add({targets, targets, static_cast<std::uint8_t>(i), 0}));
  });
  struct Child {
    int key;
    std::int32_t at;
  };
  std::vector<Child> next;
  for (int depth = 1; depth <= max_depth && !layer.empty(); ++depth) {
    next.clear();
    for (std::int32_t k : layer) {
      const BeamNode node = table.nodes()[k];
      const Bits open = floor & ~node.boxes;
      const Bits reach = Flood(open, node.zone);
      node.boxes.each([&](int b) {
        for (int d = 0; d < 4; ++d) {
          const int stand = Step(b, d);
          if (stand < 0 || !reach.test(stand)) continue;
          const int back = Step(stand, d);
          if (back < 0 || !open.test(back)) continue;
          BeamNode c = node;
          c.boxes.reset(b);
          c.boxes.set(stand);
          c.still.reset(b);
          c.zone = static_cast<std::uint8_t>(Flood(floor & ~c.boxes, back).lowest());
          c.depth = depth;
          if (table.Find(c.boxes, c.zone) >= 0) continue;
          int key = 0;
          c.boxes.each([&](int x) { key += 2 * std::min(nearest[x], 30) + (targets.test(x) ? 0 : 4); });
          key -= 8 * c.still.count();
          key += rng.Below(8);
          next.push_back({key, table.Add(c)});
        }
      });
    }
    if (static_cast<int>(next.size()) > width) {
      std::nth_element(next.begin(), next.begin() + width, next.end(),
                       [](const Child& x, const Child& y) { return x.key > y.key; });
      next.resize(width);
    }
    layer.clear();
    for (const auto& c : next) layer.push_back(c.at);
  }
  return table.nodes();
}

struct Scored {
  Puzzle puzzle;
  std::string moves;
  int pushes = 0, ci = 0;
  double human = 0, score = -1;
};

std::vector<Push> PushList(const Puzzle& p, const std::string& moves) {
  Puzzle q = p;
  std::vector<Push> out;
  for (char ch : moves) {
    const Bits before = q.boxes;
    Replay(q, std::string(1, ch));
    if (ch >= 'a') continue;
    out.push_back({(before & ~q.boxes).lowest(), (q.boxes & ~before).lowest()});
  }
  return out;
}

// Solves a start forwards and scores it; score -1 when it does not qualify
// (no proven fewest pushes, a box that never moves).
Scored ScoreStart(const Puzzle& p, const BigOptions& o) {
  Scored out;
  const SolveResult r = Solve(p, o.solve_budget);
  if (!r.found || !r.proven) return out;
  if (!EveryBoxMoves(p.boxes, PushList(p, r.moves))) return out;
  out.puzzle = p;
  out.moves = r.moves;
  out.pushes = r.pushes;
  out.ci = CountCounterintuitive(p, r.moves);
  HumanOptions h;
  h.runs = 2;
  h.cap = 100000;
  out.human = HumanEffort(p, h).median;
  out.score = DesignScore(out.pushes, out.ci, out.human);
  return out;
}
}  // namespace

double DesignScore(int pushes, int counterintuitive, double human) {
  return pushes + 5.0 * counterintuitive + 10.0 * std::log2(1.0 + human);
}

std::string DescribeSolution(const Puzzle& p, const std::string& solution, const std::string& head) {
  const Bits start_boxes = p.boxes;
  const Distances dist(p.walls, p.targets);
  std::array<int, kCells> id;
  id.fill(-1);
  int n = 0;
  std::vector<int> start;
  start_boxes.each([&](int i) {
    id[i] = n++;
    start.push_back(i);
  });
  std::vector<Push> pushes;
  std::vector<int> who;
  Puzzle q = p;
  for (char ch : solution) {
    const Bits before = q.boxes;
    Replay(q, std::string(1, ch));
    if (ch >= 'a') continue;
    const Bits gone = before & ~q.boxes, came = q.boxes & ~before;
    pushes.push_back({gone.lowest(), came.lowest()});
    who.push_back(id[gone.lowest()]);
    id[came.lowest()] = id[gone.lowest()];
  }
  std::vector<int> fin(n, -1), wrong(n, 0), first_push(n, -1);
  q.boxes.each([&](int i) { fin[id[i]] = i; });
  for (std::size_t k = 0; k < pushes.size(); ++k) {
    const int b = who[k];
    if (first_push[b] < 0) first_push[b] = static_cast<int>(k);
    if (dist.At(fin[b], pushes[k].to) > dist.At(fin[b], pushes[k].from)) ++wrong[b];
  }
  int worst = 0;
  for (int b = 1; b < n; ++b)
    if (wrong[b] > wrong[worst]) worst = b;
  for (int b = 0; b < n; ++b)
    if (p.targets.test(start[b]) && fin[b] != start[b] && first_push[b] <= 2) {
      // checked: with that box fixed on its goal the level has no solution
      Puzzle fixed = p;
      fixed.boxes.reset(start[b]);
      fixed.targets.reset(start[b]);
      fixed.walls.set(start[b]);
      const SolveResult r = Solve(fixed, 300000);
      if (!r.found && r.proven)
        return head + "; the box standing on the goal at " + Cell(start[b]) + " must leave it first";
    }
  if (wrong[worst] >= 3)
    return head + "; the fewest pushes send the box at " + Cell(start[worst]) + " " + std::to_string(wrong[worst]) +
           " pushes the wrong way before it goes home";
  return head;
}


int CountCounterintuitive(const Puzzle& p, const std::string& moves) {
  Puzzle q = p;
  std::vector<Push> pushes;
  for (char ch : moves) {
    const Bits before = q.boxes;
    if (!Replay(q, std::string(1, ch))) return -1;
    if (ch >= 'a') continue;
    pushes.push_back({(before & ~q.boxes).lowest(), (q.boxes & ~before).lowest()});
  }
  const Distances dist(p.walls, q.boxes);
  return Counterintuitive(pushes, dist, q.boxes);
}

Puzzle Render(const Bits& floor, const Bits& targets, const Bits& boxes, int figure, bool closed) {
  Puzzle p;
  for (int i = 0; i < kCells; ++i) {
    if (floor.test(i)) continue;
    bool near = closed && OnRim(i);
    for (int dr = -1; dr <= 1; ++dr)
      for (int dc = -1; dc <= 1; ++dc) {
        const int c = i % kW + dc, r = i / kW + dr;
        near = near || (c >= 0 && c < kW && r >= 0 && r < kH && floor.test(r * kW + c));
      }
    if (near) p.walls.set(i);
  }
  p.targets = targets;
  p.boxes = boxes;
  p.figure = figure;
  return p;
}

Puzzle Trim(const Puzzle& p, const std::string& solution, bool closed, double keep_share) {
  Bits floor = Flood(~p.walls, p.figure);
  const Bits touched = Touched(floor, p.boxes, p.figure, solution);
  // dead niches first (untouched cells with one way in), then the untouched
  // cells with the fewest floor neighbours, while what is left stays connected
  for (;;) {
    const Bits idle = floor & ~touched;
    if (idle.none()) break;
    const bool dead_ends_left = [&] {
      bool any = false;
      idle.each([&](int i) { any = any || FloorNeighbours(floor, i) <= 1; });
      return any;
    }();
    if (!dead_ends_left && idle.count() <= keep_share * floor.count()) break;
    int best = -1, best_n = 5;
    idle.each([&](int i) {
      const int n = FloorNeighbours(floor, i);
      if (n >= best_n) return;
      Bits f = floor;
      f.reset(i);
      if (Flood(f, p.figure) != f) return;
      best = i;
      best_n = n;
    });
    if (best < 0) break;
    floor.reset(best);
  }
  return Render(floor, p.targets, p.boxes, p.figure, closed);
}

Designed DesignLevel(std::uint64_t seed, const DesignerOptions& o) {
  Rng rng(seed);
  Designed out;
  std::optional<Skeleton> sk;
  for (int tries = 0; tries < 400 && !sk; ++tries) {
    sk = TrySkeleton(rng, o);
    if (sk && !o.flags.closed && !RimOpen(sk->floor)) sk.reset();
  }
  if (!sk) return out;
  Bits floor = sk->floor, targets = sk->targets;
  const std::size_t budget = o.size == Size::Large || o.size == Size::Full ? 2 * o.budget : o.budget;
  Eval cur = Evaluate(floor, targets, o, budget, rng);
  const auto [fmin, fmax] = FloorRange(o.size);
  // climb: grow or cut the floor, move a target
  std::size_t spent = cur.spent;
  for (int it = 0; it < o.climbs && spent < o.climb_positions; ++it) {
    Bits f = floor, t = targets;
    const int kind = rng.Below(10);
    if (kind < 4) {
      Bits rim;  // non-floor cells beside the floor
      for (int i = 0; i < kCells; ++i)
        if (!f.test(i) && FloorNeighbours(f, i) > 0 && !(o.flags.closed && OnRim(i))) rim.set(i);
      const int i = Pick(rng, rim);
      if (i < 0) continue;
      f.set(i);
    } else if (kind < 7) {
      const int i = Pick(rng, f & ~t);
      if (i < 0) continue;
      f.reset(i);
      if (!Connected(f)) continue;
    } else {
      const int from = Pick(rng, t);
      Bits near;
      t.each([&](int c) {
        for (int d = 0; d < 4; ++d) {
          const int j = Step(c, d);
          if (j >= 0 && f.test(j) && !t.test(j)) near.set(j);
        }
      });
      const int to = rng.Chance(80) ? Pick(rng, near) : Pick(rng, f & ~t);
      if (to < 0) continue;
      t.reset(from);
      t.set(to);
    }
    const int n = f.count();
    if (n < fmin || n > fmax || (!o.flags.closed && !RimOpen(f))) continue;
    Eval e = Evaluate(f, t, o, budget, rng);
    spent += e.spent;
    if (e.score >= cur.score && e.score > 0) {
      floor = f;
      targets = t;
      cur = std::move(e);
    }
  }
  // economy: wall notches whose removal keeps the score, then every untouched cell
  const std::size_t notch_budget = 4 * budget;
  cur = Evaluate(floor, targets, o, notch_budget, rng);
  if (cur.score <= 0) return out;
  for (int i = 0, tried = 0; i < kCells && tried < 4; ++i) {
    if (floor.test(i) || FloorNeighbours(floor, i) < 3 || (o.flags.closed && OnRim(i))) continue;
    ++tried;
    Bits f = floor;
    f.set(i);
    if (!o.flags.closed && !RimOpen(f)) continue;
    Eval e = Evaluate(f, targets, o, notch_budget, rng);
    if (e.score >= cur.score) {
      floor = f;
      cur = std::move(e);
    }
  }
  cur = Evaluate(floor, targets, o, o.final_budget, rng);
  if (cur.score <= 0) return out;
  {
    Puzzle whole = Render(floor, targets, cur.boxes, cur.figure, o.flags.closed);
    const Puzzle trimmed = Trim(whole, cur.moves, o.flags.closed, 0.08);
    if (o.flags.closed || RimOpen(~trimmed.walls & Flood(~trimmed.walls, cur.figure))) floor = ~trimmed.walls & Flood(~trimmed.walls, cur.figure);
  }
  out.puzzle = Render(floor, targets, cur.boxes, cur.figure, o.flags.closed);
  Puzzle check = out.puzzle;
  if (!Replay(check, cur.moves) || !Solved(check)) return out;
  out.solution = cur.moves;
  out.pushes = cur.pushes;
  out.counterintuitive = CountCounterintuitive(out.puzzle, out.solution);
  out.floor = Flood(~out.puzzle.walls, cur.figure).count();
  out.skeleton = sk->kind;
  out.score = cur.score;
  out.idea = Idea(*sk, out, cur.boxes);
  return out;
}

Designed DesignBig(std::uint64_t seed, const BigOptions& o) {
  Rng rng(seed);
  Designed out;
  Scored best;
  Skeleton best_sk;
  for (int k = 0; k < o.skeletons; ++k) {
    std::optional<Skeleton> sk;
    for (int tries = 0; tries < 400 && !sk; ++tries) sk = TryBigSkeleton(rng, o);
    if (!sk) continue;
    Puzzle solved;
    solved.walls = ~sk->floor;
    solved.targets = sk->targets;
    const Rules rules(solved);
    std::array<int, kCells> nearest;
    for (int i = 0; i < kCells; ++i) nearest[i] = rules.Nearest(i);
    const std::vector<BeamNode> beam = BeamPulls(rng, sk->floor, sk->targets, nearest, 400, o.boxes * 14);
    const int deepest = beam.back().depth;
    std::vector<std::size_t> deep;
    for (std::size_t k = 0; k < beam.size(); ++k) {
      const BeamNode& n = beam[k];
      if (n.depth < deepest * 3 / 5) continue;
      if ((n.boxes & sk->targets).none() == o.flags.box_on_target) continue;
      if (!n.still.none()) continue;  // every box has moved
      deep.push_back(k);
    }
    for (int walk = 0; walk < o.walks && !deep.empty(); ++walk) {
      const BeamNode& w = beam[deep[rng.Below(static_cast<int>(deep.size()))]];
      const Bits zone = Flood(sk->floor & ~w.boxes, w.zone);
      Bits allowed;
      zone.each([&](int i) {
        if (sk->targets.test(i) == o.flags.figure_on_target && OnRim(i) == o.flags.figure_on_edge) allowed.set(i);
      });
      const int fig = Pick(rng, allowed);
      if (fig < 0) continue;
      Scored s = ScoreStart(Render(sk->floor, sk->targets, w.boxes, fig, o.flags.closed), o);
      if (s.score > best.score) {
        best = std::move(s);
        best_sk = *sk;
      }
    }
  }
  if (best.score < 0) return out;
  Puzzle trimmed = Trim(best.puzzle, best.moves, o.flags.closed, 0.10);
  if (!o.flags.closed && !RimOpen(Flood(~trimmed.walls, trimmed.figure))) trimmed = best.puzzle;
  Puzzle check = trimmed;
  if (!Replay(check, best.moves) || !Solved(check)) return out;
  out.puzzle = trimmed;
  out.solution = best.moves;
  out.pushes = best.pushes;
  out.counterintuitive = CountCounterintuitive(out.puzzle, out.solution);
  out.floor = Flood(~out.puzzle.walls, out.puzzle.figure).count();
  out.skeleton = best_sk.kind;
  out.score = best.score;
  const std::string head = best_sk.kind == "goal rooms"
                               ? "the goal is split over rooms far apart, so boxes must cross the level both ways "
                                 "and the corridors must be kept clear in the right order"
                               : "every box must travel through the corridors into one goal room that fills from "
                                 "the back, so the boxes must arrive in the right order";
  out.idea = DescribeSolution(out.puzzle, out.solution, head);
  return out;
}

}  // namespace qb::levels
