#include "tools/levels/solver.h"

#include <algorithm>
#include <queue>
#include <tuple>

#include "tools/levels/position_table.h"

namespace qb::levels {

namespace {

constexpr int kInf = 10000;

int Opposite(int d) { return (d + 2) % 4; }

}  // namespace

PushDistances ComputePushDistances(const Puzzle& p) {
  PushDistances pd;
  p.targets.each([&](int t) { pd.target_cells.push_back(t); });
  for (int t : pd.target_cells) {
    std::array<std::int16_t, kCells> dist;
    dist.fill(-1);
    std::vector<int> queue{t};
    dist[t] = 0;
    for (std::size_t k = 0; k < queue.size(); ++k) {
      const int y = queue[k];
      for (int d = 0; d < 4; ++d) {
        // A push in direction d brings the box from x = y - d to y, the figure standing at x - d.
        const int x = Step(y, Opposite(d));
        if (x < 0 || p.walls.test(x) || dist[x] >= 0) continue;
        const int f = Step(x, Opposite(d));
        if (f < 0 || p.walls.test(f)) continue;
        dist[x] = static_cast<std::int16_t>(dist[y] + 1);
        queue.push_back(x);
      }
    }
    pd.to.push_back(dist);
  }
  for (int i = 0; i < kCells; ++i) {
    if (p.walls.test(i)) continue;
    bool live = false;
    for (const auto& dist : pd.to) live = live || dist[i] >= 0;
    if (!live) pd.dead.set(i);
  }
  return pd;
}

std::string WalkPath(const Bits& open, int from, int to) {
  if (from == to) return {};
  std::array<std::int16_t, kCells> came;
  came.fill(-1);
  std::vector<int> queue{from};
  came[from] = static_cast<std::int16_t>(from);
  for (std::size_t k = 0; k < queue.size() && came[to] < 0; ++k)
    for (int d = 0; d < 4; ++d) {
      const int n = Step(queue[k], d);
      if (n < 0 || !open.test(n) || came[n] >= 0) continue;
      came[n] = static_cast<std::int16_t>(queue[k]);
      queue.push_back(n);
    }
  if (came[to] < 0) return {};
  std::string path;
  for (int at = to; at != from; at = came[at]) {
    const int prev = came[at];
    for (int d = 0; d < 4; ++d)
      if (Step(prev, d) == at) path += kLetter[d];
  }
  std::reverse(path.begin(), path.end());
  return path;
}

namespace {

// Minimum-cost assignment of rows to columns (square matrix, n <= kMaxMatch), O(n^3).
constexpr int kMaxMatch = 40;
int Assignment(const int* cost, int n) {
  std::array<int, kMaxMatch + 1> u{}, v{}, p{}, way{}, minv;
  std::array<char, kMaxMatch + 1> used;
  for (int i = 1; i <= n; ++i) {
    p[0] = i;
    int j0 = 0;
    minv.fill(1 << 29);
    used.fill(0);
    do {
      used[j0] = 1;
      const int i0 = p[j0];
      int delta = 1 << 29, j1 = 0;
      for (int j = 1; j <= n; ++j) {
        if (used[j]) continue;
        const int cur = cost[(i0 - 1) * n + (j - 1)] - u[i0] - v[j];
        if (cur < minv[j]) {
          minv[j] = cur;
          way[j] = j0;
        }
        if (minv[j] < delta) {
          delta = minv[j];
          j1 = j;
        }
      }
      for (int j = 0; j <= n; ++j) {
        if (used[j]) {
          u[p[j]] += delta;
          v[j] -= delta;
        } else {
          minv[j] -= delta;
        }
      }
      j0 = j1;
    } while (p[j0] != 0);
    do {
      const int j1 = way[j0];
      p[j0] = p[j1];
      j0 = j1;
    } while (j0);
  }
  int total = 0;
  for (int j = 1; j <= n; ++j) total += cost[(p[j] - 1) * n + (j - 1)];
  return total;
}

// The cells next to a set of cells, along rows and columns.
Bits Neighbours(const Bits& b) {
  Bits n;
  for (int r = 0; r < kH; ++r) {
    std::uint32_t v = (static_cast<std::uint32_t>(b.row[r]) << 1) | (b.row[r] >> 1);
    if (r > 0) v |= b.row[r - 1];
    if (r < kH - 1) v |= b.row[r + 1];
    n.row[r] = static_cast<std::uint16_t>(v);
  }
  return n;
}

// A set of positions for the small searches that test one region, emptied in
// constant time by moving on to a new stamp.
class StampedSet {
 public:
  StampedSet() : slots_(1 << 12) {}
  void Clear() {
    ++stamp_;
    keys_.clear();
  }
  std::size_t size() const { return keys_.size(); }
  // Adds the position; false when it was there already.
  bool Insert(const Bits& boxes, int zone) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = (boxes.hash() ^ static_cast<std::uint64_t>(zone) * 0x9E3779B1ull) & mask;;
         s = (s + 1) & mask) {
      Slot& slot = slots_[s];
      if (slot.stamp != stamp_) {
        slot = {stamp_, static_cast<std::int32_t>(keys_.size())};
        keys_.emplace_back(boxes, zone);
        return true;
      }
      if (keys_[slot.index].second == zone && keys_[slot.index].first == boxes) return false;
    }
  }
  // Room for this many positions at most, the table staying half empty.
  std::size_t capacity() const { return slots_.size() / 2; }

 private:
  struct Slot {
    std::uint32_t stamp = 0;
    std::int32_t index = 0;
  };
  std::vector<Slot> slots_;
  std::vector<std::pair<Bits, int>> keys_;
  std::uint32_t stamp_ = 1;
};

// Positions a region test may look at before it gives up (and prunes nothing).
constexpr std::size_t kRegionBudget = 100;

struct Node {
  Bits boxes;
  std::uint8_t zone;  // lowest cell the figure can reach
  std::uint8_t from;  // the pushed box's cell before the push
  std::uint8_t dir;
  std::uint8_t closed;  // searching for moves: expanded already
  std::int32_t parent;
  std::int32_t g;       // pushes so far
  std::int32_t moves;   // searching for moves: moves so far
};

class Search {
 public:
  Search(const Puzzle& p, const SolverOptions& options) : p_(p), pd_(ComputePushDistances(p)), options_(options) {
    surplus_ = p.boxes.count() != p.targets.count();
    floor_ = ~p.walls;
  }

  // weight 1: A*; larger weights trade optimality for speed.
  SolveResult Run(std::uint64_t budget, int weight) {
    SolveResult res;
    table_ = PositionTable<Node>();
    const int h0 = Heuristic(p_.boxes);
    if (h0 >= kInf) {
      res.proven = weight == 1;  // proven unsolvable
      return res;
    }
    using Entry = std::tuple<int, int, std::int32_t>;  // f, -g, node
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    const Bits free0 = floor_ & ~p_.boxes;
    Node root{p_.boxes, static_cast<std::uint8_t>(Flood(free0, p_.figure).lowest()), 0, 0, 0, -1, 0, 0};
    table_.Add(root);
    open.emplace(weight * h0, 0, 0);
    while (!open.empty()) {
      auto [f, ng, idx] = open.top();
      open.pop();
      const Node node = table_.nodes()[idx];
      if (node.g != -ng) continue;  // superseded by a cheaper way here
      if (Goal(node.boxes)) {
        res.found = true;
        res.proven = weight == 1;
        res.pushes = node.g;
        res.moves = Moves(idx);
        return res;
      }
      if (++res.nodes > budget) return res;
      const Bits reach = Flood(floor_ & ~node.boxes, node.zone);
      ForEachPush(node, [&](int stand) { return reach.test(stand); }, [&](Node next, int h) {
        next.zone = static_cast<std::uint8_t>(
            (child_reach_ready_ ? child_reach_ : Flood(floor_ & ~next.boxes, next.from)).lowest());
        next.parent = idx;
        const std::int32_t at = table_.Find(next.boxes, next.zone);
        if (at >= 0) {
          if (table_.nodes()[at].g <= next.g) return;
          table_.nodes()[at] = next;
          open.emplace(next.g + weight * h, -next.g, at);
        } else {
          const std::int32_t k = table_.Add(next);
          open.emplace(next.g + weight * h, -next.g, k);
        }
      }, [](const Bits&, int) {});
    }
    res.proven = weight == 1;  // everything explored: no solution exists
    return res;
  }


  // Fewest moves (pushes_first: the fewest moves among the fewest pushes). A
  // position here is the box set and the figure's exact cell; a step is a walk
  // and a push. The push estimate bounds the moves as well, a push being a move.
  SolveResult RunMoves(std::uint64_t budget, bool pushes_first) {
    SolveResult res;
    PositionTable<Node> table;
    auto& nodes = table.nodes();
    const int h0 = Heuristic(p_.boxes);
    if (h0 >= kInf) {
      res.proven = true;
      return res;
    }
    // f: (pushes, moves) estimates, compared pushes first when asked.
    using Entry = std::tuple<std::int64_t, std::int32_t>;
    auto key = [&](int pushes, int moves) -> std::int64_t {
      return pushes_first ? static_cast<std::int64_t>(pushes) * 1000000 + moves : moves;
    };
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    table.Add({p_.boxes, static_cast<std::uint8_t>(p_.figure), 0, 0, 0, -1, 0, 0});
    open.emplace(key(h0, h0), 0);
    std::array<std::int16_t, kCells> dist, queue;
    while (!open.empty()) {
      const auto [f, idx] = open.top();
      open.pop();
      if (nodes[idx].closed) continue;
      nodes[idx].closed = 1;
      const Node node = nodes[idx];
      const int moved = node.moves;
      if (Goal(node.boxes)) {
        res.found = res.proven = true;
        res.pushes = node.g;
        res.moves = MovesOf(nodes, idx);
        return res;
      }
      if (++res.nodes > budget) return res;
      const Bits open_cells = floor_ & ~node.boxes;
      // Walking distances from the figure's cell.
      dist.fill(-1);
      int queue_end = 0;
      queue[queue_end++] = node.zone;
      dist[node.zone] = 0;
      for (int k = 0; k < queue_end; ++k)
        for (int d = 0; d < 4; ++d) {
          const int n = Step(queue[k], d);
          if (n < 0 || !open_cells.test(n) || dist[n] >= 0) continue;
          dist[n] = static_cast<std::int16_t>(dist[queue[k]] + 1);
          queue[queue_end++] = static_cast<std::int16_t>(n);
        }
      ForEachPush(node, [&](int stand) { return dist[stand] >= 0; }, [&](Node next, int h) {
        const int stand = Step(next.from, Opposite(next.dir));
        next.zone = next.from;
        next.parent = idx;
        next.closed = 0;
        const int m = moved + dist[stand] + 1;
        next.moves = m;
        std::int32_t at = table.Find(next.boxes, next.zone);
        if (at >= 0) {
          if (nodes[at].closed || key(nodes[at].g, nodes[at].moves) <= key(next.g, m)) return;
          nodes[at] = next;
        } else {
          at = table.Add(next);
        }
        open.emplace(key(next.g + h, m + h), at);
      }, [&](const Bits& boxes, int figure) { table.Prefetch(boxes, figure); });
    }
    res.proven = true;  // everything explored: no solution exists
    return res;
  }
 private:
  bool Goal(const Bits& boxes) const { return (p_.targets & ~boxes).none(); }

  // Calls visit(next, h) for every push out of node from a cell where
  // can_stand(cell) holds that the pruning allows: next is the position after
  // the push (boxes, from, dir and g set; zone and parent are the caller's),
  // h its estimate. Both searches expand nodes this way. The pushes are found
  // first and the slots of their box sets' estimates fetched together (and
  // whatever `ahead(boxes, from)` fetches), then pruned and visited in the
  // same order: the look-ups in tables larger than the caches overlap.
  template <typename Stand, typename Visit, typename Ahead>
  void ForEachPush(const Node& node, Stand&& can_stand, Visit&& visit, Ahead&& ahead) {
    struct Push {
      std::array<std::uint16_t, 12> rows;  // no initialiser: the buffer costs nothing to set up
      std::uint8_t box, dir, dest;
    };
    std::array<Push, 4 * kCells> pushes;
    int n = 0;
    const Bits open_cells = floor_ & ~node.boxes;
    node.boxes.each([&](int b) {
      for (int d = 0; d < 4; ++d) {
        const int stand = Step(b, Opposite(d));
        if (stand < 0 || !can_stand(stand)) continue;
        const int dest = Step(b, d);
        if (dest < 0 || !open_cells.test(dest)) continue;
        if (!surplus_ && pd_.dead.test(dest)) continue;
        Bits next = node.boxes;
        next.reset(b);
        next.set(dest);
        if (options_.keep_estimates) known_.Prefetch(next, 0);
        ahead(next, b);
        pushes[static_cast<std::size_t>(n++)] = {next.row, static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(d),
                                                 static_cast<std::uint8_t>(dest)};
      }
    });
    for (int k = 0; k < n; ++k) {
      const Push& push = pushes[static_cast<std::size_t>(k)];
      Node next = node;
      next.boxes.row = push.rows;
      const int h = Estimate(next.boxes, push.dest);
      if (h >= kInf) continue;
      child_reach_ready_ = false;
      if (!surplus_ && options_.closed_regions && ClosedRegionDeadlock(next.boxes, push.box, push.dest)) continue;
      next.from = push.box;
      next.dir = push.dir;
      next.g = node.g + 1;
      visit(next, h);
    }
  }

  // The estimate of a box set just made by a push onto `dest`, kInf when it is
  // a dead end. Both depend on the boxes alone, so they are worked out once per
  // box set and kept: a position's many places of the figure share them.
  int Estimate(const Bits& boxes, int dest) {
    if (!options_.keep_estimates) return !surplus_ && FrozenDeadlock(boxes, dest) ? kInf : Heuristic(boxes);
    const std::int32_t at = known_.Find(boxes, 0);
    if (at >= 0) return known_.nodes()[at].value;
    const int h = !surplus_ && FrozenDeadlock(boxes, dest) ? kInf : Heuristic(boxes);
    known_.Add({boxes, 0, static_cast<std::int16_t>(std::min(h, kInf))});
    return h;
  }

  int Heuristic(const Bits& boxes) {
    const int nt = static_cast<int>(pd_.target_cells.size());
    std::array<int, kCells> cells;
    int nb = 0;
    boxes.each([&](int b) { cells[nb++] = b; });
    if (!surplus_ && nb <= kMaxMatch) {
      std::array<int, kMaxMatch * kMaxMatch> cost;
      std::fill_n(cost.begin(), nb * nb, kInf);
      for (int i = 0; i < nb; ++i)
        for (int j = 0; j < nt; ++j) {
          const int dd = pd_.to[j][cells[i]];
          if (dd >= 0) cost[i * nb + j] = dd;
        }
      const int total = Assignment(cost.data(), nb);
      return total >= kInf ? kInf : total;
    }
    // Every target needs a box of its own: the nearest box is a lower bound.
    int by_targets = 0;
    for (int j = 0; j < nt; ++j) {
      int best = kInf;
      for (int k = 0; k < nb; ++k) {
        const int b = cells[k];
        const int dd = pd_.to[j][b];
        if (dd >= 0) best = std::min(best, dd);
      }
      if (best >= kInf) return kInf;
      by_targets += best;
    }
    if (surplus_) return by_targets;
    int by_boxes = 0;
    for (int k = 0; k < nb; ++k) {
      const int b = cells[k];
      int best = kInf;
      for (int j = 0; j < nt; ++j) {
        const int dd = pd_.to[j][b];
        if (dd >= 0) best = std::min(best, dd);
      }
      if (best >= kInf) return kInf;
      by_boxes += best;
    }
    return std::max(by_targets, by_boxes);
  }

  bool Blocked(const Bits& boxes, int x, int axis, Bits& assumed) const {
    const int a = Step(x, axis == 0 ? 0 : 1), b = Step(x, axis == 0 ? 2 : 3);
    if (a < 0 || b < 0 || p_.walls.test(a) || p_.walls.test(b)) return true;
    if (pd_.dead.test(a) && pd_.dead.test(b)) return true;
    for (int n : {a, b})
      if (boxes.test(n) && (assumed.test(n) || Frozen(boxes, n, assumed))) return true;
    return false;
  }

  // A box that cannot move along either axis, the boxes it leans on included.
  bool Frozen(const Bits& boxes, int x, Bits& assumed) const {
    assumed.set(x);
    const bool f = Blocked(boxes, x, 0, assumed) && Blocked(boxes, x, 1, assumed);
    if (!f) assumed.reset(x);
    return f;
  }

  bool FrozenDeadlock(const Bits& boxes, int dest) const {
    Bits assumed;
    if (Frozen(boxes, dest, assumed)) {
      if (!p_.targets.test(dest)) return true;
      bool off_target = false;
      assumed.each([&](int b) { off_target = off_target || !p_.targets.test(b); });
      if (off_target) return true;
    }
    for (int d = 0; d < 4; ++d) {
      const int n = Step(dest, d);
      if (n < 0 || !boxes.test(n) || p_.targets.test(n)) continue;
      Bits a2;
      if (Frozen(boxes, n, a2)) return true;
    }
    return false;
  }

  // Whether a region the figure cannot reach, next to the box just pushed onto
  // `dest` (the figure now on `figure`), is lost: the boxes bordering it can
  // neither let the figure in nor all reach targets. The test plays those
  // boxes alone, every other box taken away. Taking boxes away never takes a
  // push away and every box must end on a target, so when no sequence of
  // pushes of the bordering boxes opens the region or puts them all on
  // targets, the whole position is lost too. It gives up (nothing pruned)
  // after kRegionBudget positions; answers are kept per bordering boxes.
  bool ClosedRegionDeadlock(const Bits& boxes, int figure, int dest) {
    const Bits open_cells = floor_ & ~boxes;
    Bits looked_at;
    for (int d = 0; d < 4; ++d) {
      const int n = Step(dest, d);
      if (n < 0 || !open_cells.test(n)) continue;
      if (!child_reach_ready_) {
        child_reach_ = Flood(open_cells, figure);  // the search takes the figure's zone from it
        child_reach_ready_ = true;
        looked_at = child_reach_;
      }
      if (looked_at.test(n)) continue;
      const Bits region = Flood(open_cells, n);
      looked_at = looked_at | region;  // each region once
      const Bits border = Neighbours(region) & boxes;
      if ((border & ~p_.targets).none() && (region & p_.targets).none()) continue;
      const Bits own_floor = floor_ & ~border;
      const int zone = Flood(own_floor, figure).lowest();
      const std::int32_t at = regions_.Find(border, zone);
      if (at >= 0 && regions_.nodes()[at].value % 256 == region.lowest()) {
        if (regions_.nodes()[at].value / 256) return true;
        continue;
      }
      const bool lost = RegionLost(border, figure, region);
      if (at < 0)
        regions_.Add({border, static_cast<std::uint8_t>(zone),
                      static_cast<std::int16_t>(region.lowest() + (lost ? 256 : 0))});
      if (lost) return true;
    }
    return false;
  }

  // The small search of ClosedRegionDeadlock over the bordering boxes alone.
  bool RegionLost(const Bits& border, int figure, const Bits& region) {
    seen_.Clear();
    stack_.clear();
    stack_.emplace_back(border, figure);
    seen_.Insert(border, Flood(floor_ & ~border, figure).lowest());
    while (!stack_.empty()) {
      const auto [boxes, fig] = stack_.back();
      stack_.pop_back();
      const Bits open_cells = floor_ & ~boxes;
      const Bits reach = Flood(open_cells, fig);
      if (!(reach & region).none() || (boxes & ~p_.targets).none()) return false;
      bool over = false;
      boxes.each([&](int b) {
        for (int d = 0; d < 4 && !over; ++d) {
          const int stand = Step(b, Opposite(d)), dest = Step(b, d);
          if (stand < 0 || dest < 0 || !reach.test(stand) || !open_cells.test(dest) || pd_.dead.test(dest)) continue;
          Bits next = boxes;
          next.reset(b);
          next.set(dest);
          if (FrozenDeadlock(next, dest)) continue;
          if (!seen_.Insert(next, Flood(floor_ & ~next, b).lowest())) continue;
          if (seen_.size() > std::min(kRegionBudget, seen_.capacity())) over = true;
          stack_.emplace_back(next, b);
        }
      });
      if (over) return false;
    }
    return true;  // every push of the bordering boxes tried: the region stays shut
  }

  std::string Moves(std::int32_t idx) const { return MovesOf(table_.nodes(), idx); }

  std::string MovesOf(const std::vector<Node>& nodes, std::int32_t idx) const {
    std::vector<std::pair<int, int>> pushes;
    for (std::int32_t k = idx; nodes[k].parent >= 0; k = nodes[k].parent)
      pushes.emplace_back(nodes[k].from, nodes[k].dir);
    std::reverse(pushes.begin(), pushes.end());
    Bits boxes = p_.boxes;
    int fig = p_.figure;
    std::string out;
    for (auto [b, d] : pushes) {
      out += WalkPath(floor_ & ~boxes, fig, Step(b, Opposite(d)));
      out += static_cast<char>(kLetter[d] - 32);
      boxes.reset(b);
      boxes.set(Step(b, d));
      fig = b;
    }
    return out;
  }

  const Puzzle& p_;
  PushDistances pd_;
  SolverOptions options_;
  bool surplus_ = false;
  Bits floor_;
  PositionTable<Node> table_;
  struct Known {
    Bits boxes;
    std::uint8_t zone;  // always 0: the figure plays no part
    std::int16_t value;
  };
  PositionTable<Known> known_;  // estimates of the box sets met so far
  PositionTable<Known> regions_;  // closed-region answers: region's lowest cell + 256 when lost
  StampedSet seen_;
  Bits child_reach_;  // the figure's reach after the push being looked at, when worked out
  bool child_reach_ready_ = false;
  std::vector<std::pair<Bits, int>> stack_;
};

}  // namespace

SolveResult Solve(const Puzzle& p, std::uint64_t budget, const SolverOptions& options) {
  Search search(p, options);
  SolveResult exact = search.Run(budget, 1);
  if (exact.found || exact.proven) return exact;
  // Out of budget: settle for some solution, found by leaning on the estimate.
  std::uint64_t spent = exact.nodes;
  for (int weight : {3, 10}) {
    SolveResult greedy = search.Run(budget, weight);
    spent += greedy.nodes;
    if (greedy.found) {
      greedy.proven = false;
      greedy.nodes = spent;
      return greedy;
    }
  }
  exact.nodes = spent;
  return exact;
}

SolveResult SolveForMoves(const Puzzle& p, std::uint64_t budget, bool pushes_first, const SolverOptions& options) {
  Search search(p, options);
  return search.RunMoves(budget, pushes_first);
}

}  // namespace qb::levels
