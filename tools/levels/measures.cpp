#include "tools/levels/measures.h"

#include <algorithm>
#include <numeric>

#include <memory>

#include "tools/levels/position_table.h"
#include "tools/levels/reverse.h"
#include "tools/levels/rules.h"

namespace qb::levels {

namespace {

int Opposite(int d) { return (d + 2) % 4; }

// Pushes a lone box needs from each cell to `to` (-1: never).
std::array<std::int16_t, kCells> LonePushesTo(const Bits& walls, int to) {
  std::array<std::int16_t, kCells> dist;
  dist.fill(-1);
  std::array<int, kCells> queue;
  int end = 0;
  queue[end++] = to;
  dist[to] = 0;
  for (int k = 0; k < end; ++k)
    for (int d = 0; d < 4; ++d) {
      // The box comes to queue[k] from x, pushed from the cell beyond x.
      const int x = Step(queue[k], Opposite(d));
      if (x < 0 || walls.test(x) || dist[x] >= 0) continue;
      const int f = Step(x, Opposite(d));
      if (f < 0 || walls.test(f)) continue;
      dist[x] = static_cast<std::int16_t>(dist[queue[k]] + 1);
      queue[end++] = x;
    }
  return dist;
}

int Direction(int from, int to) {
  for (int d = 0; d < 4; ++d)
    if (Step(from, d) == to) return d;
  return -1;
}

// The box pushes of a solution in order: (box number, cell before, cell after);
// empty with ok false when the moves do not replay.
struct Pushes {
  bool ok = false;
  int boxes = 0;
  std::vector<std::array<int, 3>> list;
  std::vector<int> end;  // each box's last cell
};

Pushes PushesOf(const Puzzle& p, const std::string& moves) {
  Pushes out;
  std::array<int, kCells> id;
  id.fill(-1);
  p.boxes.each([&](int b) {
    id[b] = out.boxes++;
    out.end.push_back(b);
  });
  Puzzle at = p;
  for (char ch : moves) {
    const int before = at.figure;
    if (!Replay(at, std::string(1, ch))) return out;
    if (ch >= 'a') continue;
    const int from = at.figure, to = Step(from, Direction(before, from));
    const int box = id[from];
    id[to] = box;
    id[from] = -1;
    out.list.push_back({box, from, to});
    out.end[box] = to;
  }
  out.ok = Solved(at);
  return out;
}

struct Place {
  Bits boxes;
  std::uint8_t zone;
  std::int16_t depth;
};

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

}  // namespace

int CounterintuitivePushes(const Puzzle& p, const std::string& moves) {
  const Pushes pushes = PushesOf(p, moves);
  if (!pushes.ok) return -1;
  std::vector<std::array<std::int16_t, kCells>> to;
  for (int e : pushes.end) to.push_back(LonePushesTo(p.walls, e));
  int away = 0;
  for (const auto& [box, from, cell] : pushes.list) away += to[box][cell] > to[box][from];
  return away;
}

int Parts(const Puzzle& p) {
  const Rules rules(p);
  std::vector<Bits> area;
  p.boxes.each([&](int b) {
    // Where this box could go on its own while a target stays in reach, and
    // where the figure stands to push it there.
    Bits reached, cells;
    std::array<int, kCells> queue;
    int end = 0;
    queue[end++] = b;
    reached.set(b);
    cells.set(b);
    for (int k = 0; k < end; ++k)
      for (int d = 0; d < 4; ++d) {
        const int stand = Step(queue[k], Opposite(d)), dest = Step(queue[k], d);
        if (stand < 0 || dest < 0 || p.walls.test(stand) || p.walls.test(dest)) continue;
        if (rules.Nearest(dest) >= kFar) continue;
        cells.set(stand);
        cells.set(dest);
        if (reached.test(dest)) continue;
        reached.set(dest);
        queue[end++] = dest;
      }
    area.push_back(cells);
  });
  const int n = static_cast<int>(area.size());
  std::vector<int> group(n);
  std::iota(group.begin(), group.end(), 0);
  auto root = [&](int x) {
    while (group[x] != x) x = group[x] = group[group[x]];
    return x;
  };
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j)
      if (!(area[i] & area[j]).none()) group[root(i)] = root(j);
  int parts = 0;
  for (int i = 0; i < n; ++i) parts += root(i) == i;
  return parts;
}

double DeadFloor(const Puzzle& p, const std::string& moves) {
  const Bits walk = Flood(~p.walls, p.figure);
  Bits touched = p.boxes;
  touched.set(p.figure);
  Puzzle at = p;
  for (char ch : moves) {
    if (!Replay(at, std::string(1, ch))) return -1;
    touched = touched | at.boxes;
    touched.set(at.figure);
  }
  const int all = walk.count();
  return all ? static_cast<double>((walk & ~touched).count()) / all : 0;
}

int RevealDepthAfter(const Puzzle& lost) {
  constexpr std::size_t kPositions = 20000;
  const Rules rules(lost);
  PositionTable<Place> table;
  table.Add({lost.boxes, static_cast<std::uint8_t>(rules.Zone(lost.boxes, lost.figure)), 0});
  int deepest = 0;
  for (std::size_t k = 0; k < table.size() && table.size() < kPositions; ++k) {
    const Place at = table.nodes()[k];
    if (at.depth >= kRevealCap) return kRevealCap;
    deepest = std::max<int>(deepest, at.depth);
    rules.EachPush(at.boxes, at.zone, [&](int, int, const Bits& next, int zone) {
      if (table.Find(next, zone) < 0)
        table.Add({next, static_cast<std::uint8_t>(zone), static_cast<std::int16_t>(at.depth + 1)});
    }, [&](const Bits& next, int zone) { table.Prefetch(next, zone); });
  }
  if (table.size() >= kPositions) deepest = std::max<int>(deepest, table.nodes().back().depth);
  return deepest;
}

double RevealDepth(const Puzzle& p, const std::string& moves, const DeadTest& dead) {
  constexpr std::size_t kMostFatal = 40;
  PositionTable<Place> seen;
  std::vector<double> depths;
  Puzzle at = p;
  for (char ch : moves) {
    if (ch >= 'A' && ch <= 'Z' && seen.size() < kMostFatal) {
      for (const auto& [box, d] : FatalPushes(at, dead)) {
        Puzzle lost = at;
        lost.boxes.reset(box);
        lost.boxes.set(Step(box, d));
        lost.figure = box;
        const int zone = Flood(~lost.walls & ~lost.boxes, box).lowest();
        if (seen.Find(lost.boxes, zone) >= 0) continue;
        seen.Add({lost.boxes, static_cast<std::uint8_t>(zone), 0});
        depths.push_back(RevealDepthAfter(lost));
      }
    }
    if (!Replay(at, std::string(1, ch))) return -1;
  }
  return Solved(at) ? Median(depths) : -1;
}

PeopleMeasures MeasureForPeople(const Puzzle& p, const std::string& moves, const DeadTest* dead, bool human) {
  PeopleMeasures m;
  m.floor = Flood(~p.walls, p.figure).count();
  m.counterintuitive = CounterintuitivePushes(p, moves);
  m.parts = Parts(p);
  m.dead_floor = DeadFloor(p, moves);
  if (dead && *dead) m.reveal = RevealDepth(p, moves, *dead);
  if (human) m.human = HumanEffort(p);
  return m;
}

DeadTest LostPositions(const Puzzle& p, std::size_t explore, std::size_t pulls) {
  auto explored = std::make_shared<Exploration>(p, explore);
  if (explored->complete())
    return [explored](const Bits& boxes, int zone) { return explored->Dead(boxes, zone); };
  if (p.boxes.count() != p.targets.count()) return {};
  auto live = std::make_shared<PullSearch>(SearchPulls(p.walls, p.targets, pulls));
  if (!live->complete) return {};
  return [live](const Bits& boxes, int zone) { return live->table.Find(boxes, zone) < 0; };
}

}  // namespace qb::levels
