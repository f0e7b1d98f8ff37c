#include "tools/levels/human.h"

#include <algorithm>
#include <queue>

#include "tools/levels/designs.h"
#include "tools/levels/position_table.h"
#include "tools/levels/rules.h"

namespace qb::levels {

namespace {

struct Place {
  Bits boxes;
  std::uint8_t zone;
};

// One run, with the level's rules worked out once for all the runs.
std::uint64_t Run(const Puzzle& p, const Rules& rules, std::uint64_t seed, const HumanOptions& options) {
  Rng rng(seed * 0xD1B54A32D192ED03ull + 0x5851F42D4C957F2Dull);
  if (rules.Goal(p.boxes)) return 0;
  // Positions the player has in mind: every one met (so none is played twice),
  // and those still worth coming back to, the most promising first.
  PositionTable<Place> met;
  struct Open {
    std::uint64_t order;
    std::int32_t at;
    bool operator>(const Open& o) const { return order > o.order; }
  };
  std::priority_queue<Open, std::vector<Open>, std::greater<>> open;
  auto order = [&](const Bits& boxes, int gain) {
    // Fewest pushes still to go by eye first; then pushes that brought a box
    // nearer; then at random.
    return (static_cast<std::uint64_t>(rules.Estimate(boxes)) << 40) | (static_cast<std::uint64_t>(gain) << 32) |
           (rng.Next() >> 32);
  };
  open.push({order(p.boxes, 0), met.Add({p.boxes, static_cast<std::uint8_t>(rules.Zone(p.boxes, p.figure))})});
  std::uint64_t tried = 0;
  while (!open.empty() && tried < options.cap) {
    const Place at = met.nodes()[open.top().at];
    open.pop();
    bool solved = false;
    rules.EachPush(at.boxes, at.zone, [&](int b, int d, const Bits& next, int zone) {
      if (solved || met.Find(next, zone) >= 0) return;
      ++tried;
      if (rules.Goal(next)) {
        solved = true;
        return;
      }
      const int gain = rules.Nearest(Step(b, d)) - rules.Nearest(b) + 1;
      open.push({order(next, gain), met.Add({next, static_cast<std::uint8_t>(zone)})});
    }, [&](const Bits& next, int zone) { met.Prefetch(next, zone); });
    if (solved) return tried;
  }
  return options.cap;
}

}  // namespace

std::uint64_t HumanRun(const Puzzle& p, std::uint64_t seed, const HumanOptions& options) {
  return Run(p, Rules(p), seed, options);
}

HumanResult HumanEffort(const Puzzle& p, const HumanOptions& options) {
  HumanResult r;
  const Rules rules(p);
  for (int k = 0; k < options.runs; ++k) {
    const std::uint64_t n = Run(p, rules, options.seed + static_cast<std::uint64_t>(k), options);
    r.pushes.push_back(n);
    r.solved += n < options.cap;
  }
  std::vector<std::uint64_t> sorted = r.pushes;
  std::sort(sorted.begin(), sorted.end());
  const std::size_t m = sorted.size() / 2;
  r.median = sorted.empty() ? 0
             : sorted.size() % 2 ? static_cast<double>(sorted[m])
                                 : (static_cast<double>(sorted[m - 1]) + static_cast<double>(sorted[m])) / 2;
  return r;
}

}  // namespace qb::levels
