#include "tools/levels/level_report.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "tools/levels/level_plan.h"
#include "tools/levels/measures.h"
#include "tools/levels/reverse.h"
#include "tools/levels/solver.h"

namespace qb::levels {

bool ShapeFixed(int n) { return In(n, {104, 111, 114, 196}); }
bool MeasuredOnCore(int n) { return WallLess(n); }

LevelReport StartLevel(int number, const Puzzle& p, const std::string& moves, Puzzle& board) {
  LevelReport r;
  r.number = number;
  r.boxes = p.boxes.count();
  r.targets = p.targets.count();
  r.walls = p.walls.count();
  SolutionFacts facts = StudySolution(p, moves);
  r.solution_ok = facts.replays;
  r.core = MeasuredOnCore(number) && facts.replays;
  board = r.core ? Core(p, facts.unmoved) : p;
  const Puzzle& q = board;
  if (r.core) facts = StudySolution(q, moves);
  r.core_boxes = q.boxes.count();
  r.pushes = facts.pushes;
  r.moves = facts.moves;
  r.box_lines = facts.box_lines;
  r.ferry_share = facts.ferry_share;
  r.unmoved = facts.unmoved.count();
  r.unmoved_off_target = (facts.unmoved & ~q.targets).count();
  r.shape = ShapeOf(q);
  r.people.floor = Flood(~q.walls, q.figure).count();  // as MeasureForPeople counts it
  return r;
}

void MeasureStage(LevelReport& r, Stage stage, const Puzzle& q, const std::string& moves, const Budgets& b) {
  switch (stage) {
    case Stage::kFewestPushes: {
      // The fewest pushes, and the fewest moves among solutions with that many pushes.
      const SolveResult best = SolveForMoves(q, b.solve, true);
      if (best.found && best.proven) {
        r.fewest_pushes = best.pushes;
        r.moves_at_fewest_pushes = static_cast<int>(best.moves.size());
      } else {
        const SolveResult fewest = Solve(q, b.solve);
        if (fewest.found && fewest.proven) r.fewest_pushes = fewest.pushes;
      }
      return;
    }
    case Stage::kFewestMoves: {
      const SolveResult shortest = SolveForMoves(q, b.moves, false);
      if (shortest.found && shortest.proven) r.fewest_moves = static_cast<int>(shortest.moves.size());
      return;
    }
    case Stage::kEffort:
      r.effort = MeasureEffort(q, b.effort);
      return;
    case Stage::kPositions: {
      const Exploration explored(q, b.explore);
      r.reachable = explored.positions();
      r.reachable_complete = explored.complete();
      DeadTest dead;
      if (explored.complete()) dead = [&](const Bits& boxes, int zone) { return explored.Dead(boxes, zone); };
      if (r.solution_ok) r.fatal_steps = explored.HiddenFatalSteps(moves);
      // Too many reachable positions: the positions a goal can be reached from, found
      // backwards from the goal, mark the dead ends as well (boxes as many as targets).
      PullSearch live;
      if (!explored.complete() && r.solution_ok && q.boxes.count() == q.targets.count()) {
        live = SearchPulls(q.walls, q.targets, b.pulls);
        if (live.complete) {
          dead = [&](const Bits& boxes, int zone) { return live.table.Find(boxes, zone) < 0; };
          r.fatal_steps = CountFatalSteps(q, moves, dead);
        }
      }
      // Field by field: the human stage may be filling r.people.human meanwhile.
      const PeopleMeasures m = MeasureForPeople(q, moves, dead ? &dead : nullptr, false);
      r.people.counterintuitive = m.counterintuitive;
      r.people.parts = m.parts;
      r.people.dead_floor = m.dead_floor;
      r.people.reveal = m.reveal;
      return;
    }
    case Stage::kHuman:
      r.people.human = HumanEffort(q);
      return;
  }
}

LevelReport MeasureLevel(int number, const Puzzle& p, const std::string& moves, const Budgets& b) {
  Puzzle board;
  LevelReport r = StartLevel(number, p, moves, board);
  for (Stage stage : kStages) MeasureStage(r, stage, board, moves, b);
  return r;
}

void CompareBoards(std::vector<LevelReport>& reports) {
  Bits all = ~Bits{};
  for (auto& r : reports) r.overlap = 0, r.overlap_with = 0;
  for (std::size_t i = 0; i < reports.size(); ++i)
    for (std::size_t j = i + 1; j < reports.size(); ++j) {
      LevelReport &a = reports[i], &b = reports[j];
      // Boards of open floor alone (the lone-box levels) are alike by nature.
      if (a.shape.walk == all && b.shape.walk == all) continue;
      const double o = Overlap(a.shape.walk, b.shape.walk);
      if (o > a.overlap) a.overlap = o, a.overlap_with = b.number;
      if (o > b.overlap) b.overlap = o, b.overlap_with = a.number;
    }
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

namespace {

std::vector<double> Ranks(const std::vector<double>& v) {
  std::vector<std::size_t> order(v.size());
  for (std::size_t k = 0; k < v.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return v[a] < v[b]; });
  std::vector<double> rank(v.size());
  for (std::size_t k = 0; k < order.size();) {
    std::size_t e = k;
    while (e + 1 < order.size() && v[order[e + 1]] == v[order[k]]) ++e;
    for (std::size_t t = k; t <= e; ++t) rank[order[t]] = (static_cast<double>(k + e) / 2) + 1;
    k = e + 1;
  }
  return rank;
}

bool InBand(const LevelReport& r, const Band& band, bool targets_only) {
  return r.number >= band.first && r.number <= band.last && !(targets_only && ShapeFixed(r.number));
}

std::string Fixed(double v, int digits) {
  std::ostringstream s;
  s.setf(std::ios::fixed);
  s.precision(digits);
  s << v;
  return s.str();
}

std::string List(const std::vector<int>& v) {
  std::string s;
  for (int n : v) s += (s.empty() ? "" : ", ") + std::to_string(n);
  return s.empty() ? "none" : s;
}

}  // namespace

double RankCorrelation(const std::vector<double>& x, const std::vector<double>& y) {
  const auto rx = Ranks(x), ry = Ranks(y);
  const double n = static_cast<double>(x.size());
  double mx = 0, my = 0;
  for (std::size_t k = 0; k < x.size(); ++k) mx += rx[k] / n, my += ry[k] / n;
  double sxy = 0, sxx = 0, syy = 0;
  for (std::size_t k = 0; k < x.size(); ++k) {
    sxy += (rx[k] - mx) * (ry[k] - my);
    sxx += (rx[k] - mx) * (rx[k] - mx);
    syy += (ry[k] - my) * (ry[k] - my);
  }
  return sxx > 0 && syy > 0 ? sxy / std::sqrt(sxx * syy) : 0;
}

BandFigures FiguresOf(const std::vector<LevelReport>& reports, const Band& band, bool targets_only) {
  BandFigures f;
  std::vector<double> pushes, moves, effort, reachable, fatal, per_line, ferry;
  std::vector<double> floor, counter, parts, reveal, dead_floor, human;
  int levels = 0, no_loop = 0;
  for (const LevelReport& r : reports) {
    if (!InBand(r, band, targets_only)) continue;
    ++levels;
    pushes.push_back(r.pushes);
    moves.push_back(r.moves);
    effort.push_back(static_cast<double>(r.effort.expanded));
    reachable.push_back(static_cast<double>(r.reachable));
    if (r.FatalShare() >= 0) fatal.push_back(r.FatalShare());
    per_line.push_back(r.PerLine());
    ferry.push_back(r.ferry_share);
    no_loop += r.shape.loops == 0;
    const PeopleMeasures& m = r.people;
    floor.push_back(m.floor);
    if (m.counterintuitive >= 0) counter.push_back(m.counterintuitive);
    parts.push_back(m.parts);
    if (m.reveal >= 0) reveal.push_back(m.reveal);
    if (m.dead_floor >= 0) dead_floor.push_back(m.dead_floor);
    human.push_back(m.human.median);
    f.small_room_levels += r.shape.small_rooms >= 2;
  }
  f.pushes = Median(pushes);
  f.moves = Median(moves);
  f.effort = Median(effort);
  f.reachable = Median(reachable);
  f.fatal_share = Median(fatal);
  f.per_line = Median(per_line);
  f.ferry = Median(ferry);
  f.no_loop = levels ? static_cast<double>(no_loop) / levels : 0;
  f.floor = Median(floor);
  f.counterintuitive = Median(counter);
  f.parts = Median(parts);
  f.reveal = Median(reveal);
  f.dead_floor = Median(dead_floor);
  f.human = Median(human);
  return f;
}

namespace {

// The targets a blind player's review set the level set: a hard half that a
// person feels rise, with ideas (counterintuitive pushes), variety of size and
// box count, and no floor the solutions never need.
template <typename Add>
void PeopleTargets(const std::vector<LevelReport>& reports, const std::vector<const LevelReport*>& hard, Add add) {
  const BandFigures mid = FiguresOf(reports, kBands[2], false);
  for (const Band* band : {&kBands[3], &kBands[4]}) {
    const BandFigures f = FiguresOf(reports, *band, true);
    add(std::string("median pushes of ") + band->label + " >= 1.3x that of 61-99 (" + Fixed(mid.pushes, 1) + ")",
        f.pushes >= 1.3 * mid.pushes, Fixed(f.pushes, 1) + " (" + Fixed(mid.pushes > 0 ? f.pushes / mid.pushes : 0, 2) + "x)");
  }
  const double c_lower = FiguresOf(reports, kBands[3], true).counterintuitive;
  const double c_upper = FiguresOf(reports, kBands[4], true).counterintuitive;
  add("median counterintuitive pushes of 100-150 >= 10", c_lower >= 10, Fixed(c_lower, 1));
  add("median counterintuitive pushes of 151-200 >= 15", c_upper >= 15, Fixed(c_upper, 1));
  std::vector<double> numbers, human, counter;
  std::vector<int> no_counter;
  std::map<int, int> box_counts;
  int large = 0;
  for (const LevelReport* r : hard) {
    numbers.push_back(r->number);
    human.push_back(r->people.human.median);
    counter.push_back(r->people.counterintuitive);
    if (r->people.counterintuitive <= 0) no_counter.push_back(r->number);
    ++box_counts[r->core_boxes];
    large += r->people.floor >= 80;
  }
  const double rho_human = RankCorrelation(numbers, human), rho_counter = RankCorrelation(numbers, counter);
  add("rank correlation of level number with human effort across 100-200 >= 0.7", rho_human >= 0.7,
      Fixed(rho_human, 2));
  add("rank correlation of level number with counterintuitive pushes across 100-200 >= 0.5", rho_counter >= 0.5,
      Fixed(rho_counter, 2));
  add("at least 25 hard levels with >= 80 walkable floor cells", large >= 25, std::to_string(large));
  int most = 0, most_boxes = 0;
  for (const auto& [boxes, n] : box_counts)
    if (n > most) most = n, most_boxes = boxes;
  const double share = hard.empty() ? 0 : static_cast<double>(most) / static_cast<double>(hard.size());
  add("no box count in more than 35% of hard levels", share <= 0.35,
      std::to_string(most_boxes) + " boxes in " + Fixed(100 * share, 0) + "%");
  std::vector<double> first_half, second_half;
  for (const LevelReport& r : reports)
    if (r.people.dead_floor >= 0) (r.number < 100 ? first_half : second_half).push_back(r.people.dead_floor);
  add("median untouched floor of 1-99 <= 15%", Median(first_half) <= 0.15, Fixed(100 * Median(first_half), 0) + "%");
  add("median untouched floor of 100-200 <= 15%", Median(second_half) <= 0.15,
      Fixed(100 * Median(second_half), 0) + "%");
  add("no hard level whose solution has no counterintuitive push", no_counter.empty(), "without: " + List(no_counter));
}

}  // namespace

std::vector<TargetCheck> CheckTargets(const std::vector<LevelReport>& reports) {
  std::vector<TargetCheck> checks;
  auto add = [&](std::string what, bool holds, std::string detail) {
    checks.push_back({std::move(what), holds, std::move(detail)});
  };
  std::vector<const LevelReport*> hard;
  for (const LevelReport& r : reports)
    if (r.number >= 100 && !ShapeFixed(r.number)) hard.push_back(&r);
  const Band& lower = kBands[3];
  const Band& upper = kBands[4];
  const double floor_effort = FiguresOf(reports, kBands[2], false).effort;

  std::vector<int> low_effort, few_positions, few_fatal, ferried, unmoved, bad_solution, walking, long_moves;
  std::vector<double> numbers, log_effort;
  for (const LevelReport* r : hard) {
    if (static_cast<double>(r->effort.expanded) < floor_effort) low_effort.push_back(r->number);
    numbers.push_back(r->number);
    log_effort.push_back(std::log(std::max<double>(1, static_cast<double>(r->effort.expanded))));
    if (r->reachable < 5000) few_positions.push_back(r->number);
    if (r->FatalShare() < 0.25) few_fatal.push_back(r->number);
    if (r->ferry_share > 0.7) ferried.push_back(r->number);
    if (r->unmoved > 0) unmoved.push_back(r->number);
  }
  for (const LevelReport& r : reports) {
    if (!r.solution_ok || (r.fewest_pushes >= 0 && r.pushes != r.fewest_pushes)) bad_solution.push_back(r.number);
    if (r.moves_at_fewest_pushes >= 0 && r.moves != r.moves_at_fewest_pushes) walking.push_back(r.number);
    if (r.fewest_moves > 0 && r.moves > 1.25 * r.fewest_moves) long_moves.push_back(r.number);
  }
  add("every hard level's effort >= the median of 61-99 (" + Fixed(floor_effort, 0) + ")", low_effort.empty(),
      "below: " + List(low_effort));
  const double rho = RankCorrelation(numbers, log_effort);
  add("rank correlation of level number with log effort across 100-200 >= 0.5", rho >= 0.5, Fixed(rho, 2));
  const double e_lower = FiguresOf(reports, lower, true).effort, e_upper = FiguresOf(reports, upper, true).effort;
  add("median effort of 151-200 >= 2x that of 100-150", e_upper >= 2 * e_lower,
      Fixed(e_upper, 0) + " vs " + Fixed(e_lower, 0) + " (" + Fixed(e_lower > 0 ? e_upper / e_lower : 0, 2) + "x)");
  add("every hard level has >= 5000 reachable positions", few_positions.empty(), "fewer: " + List(few_positions));
  add("every hard level: >= 25% of the solution's steps offer a hidden fatal push", few_fatal.empty(),
      "fewer or not computed: " + List(few_fatal));
  for (const Band* band : {&lower, &upper}) {
    const BandFigures f = FiguresOf(reports, *band, true);
    add(std::string("pushes per box line, median of ") + band->label + " <= 2.5", f.per_line <= 2.5,
        Fixed(f.per_line, 2));
    add(std::string("ferry share, median of ") + band->label + " <= 0.35", f.ferry <= 0.35, Fixed(f.ferry, 2));
    add(std::string("boards with no loop in ") + band->label + " <= 40%", f.no_loop <= 0.4,
        Fixed(100 * f.no_loop, 0) + "%");
    add(std::string("levels of ") + band->label + " with two or more rooms of exactly 3x3 or 3x4 <= 10",
        f.small_room_levels <= 10, std::to_string(f.small_room_levels));
  }
  add("no hard level's ferry share above 0.7", ferried.empty(), "above: " + List(ferried));
  add("no hard level has a box its solution never moves", unmoved.empty(), "with: " + List(unmoved));

  std::vector<std::string> close;
  for (const LevelReport& r : reports)
    if (r.overlap >= 0.8 && r.number < r.overlap_with)
      close.push_back(std::to_string(r.number) + "/" + std::to_string(r.overlap_with));
  std::string pairs;
  for (const auto& s : close) pairs += (pairs.empty() ? "" : ", ") + s;
  add("no two boards in 1-200 overlap >= 0.8", close.empty(), "pairs: " + (pairs.empty() ? "none" : pairs));

  std::map<std::string, std::vector<int>> arrangements;
  for (const LevelReport& r : reports)
    if (r.shape.rooms.size() >= 2) arrangements[r.shape.arrangement].push_back(r.number);
  std::string crowded;
  for (const auto& [key, levels] : arrangements)
    if (levels.size() > 2) crowded += (crowded.empty() ? "" : "; ") + key + ": " + List(levels);
  add("no arrangement of rooms used by more than 2 levels", crowded.empty(), crowded.empty() ? "none" : crowded);

  PeopleTargets(reports, hard, add);

  add("every stored solution solves its level in the fewest pushes the solver proves", bad_solution.empty(),
      "not: " + List(bad_solution));
  add("every stored solution walks no more than the fewest moves its push count allows (where the search finishes)",
      walking.empty(), "more: " + List(walking));
  checks.push_back({"aim: stored solutions within 1.25x the fewest moves of any solution, where known",
                    long_moves.empty(), "above (the fewest pushes ask for more walking): " + List(long_moves), true});
  return checks;
}

}  // namespace qb::levels
