#include "tools/levels/designs.h"

#include <algorithm>

namespace qb::levels {

namespace {

int At(int c, int r) { return r * kW + c; }
bool OnRim(int i) {
  const int c = i % kW, r = i / kW;
  return c == 0 || r == 0 || c == kW - 1 || r == kH - 1;
}

Bits Mirror(const Bits& b) {
  Bits m;
  b.each([&](int i) { m.set(At(kW - 1 - i % kW, i / kW)); });
  return m;
}

bool Connected(const Bits& area) {
  if (area.none()) return false;
  return Flood(area, area.lowest()) == area;
}

void CarveRect(Bits& area, int c0, int r0, int c1, int r1) {
  for (int r = std::max(0, r0); r <= std::min(kH - 1, r1); ++r)
    for (int c = std::max(0, c0); c <= std::min(kW - 1, c1); ++c) area.set(At(c, r));
}

void CarveCorridor(Rng& rng, Bits& area, int a, int b) {
  int c = a % kW, r = a / kW;
  const int tc = b % kW, tr = b / kW;
  const bool across_first = rng.Chance(50);
  for (int leg = 0; leg < 2; ++leg) {
    if ((leg == 0) == across_first) {
      while (c != tc) { c += c < tc ? 1 : -1; area.set(At(c, r)); }
    } else {
      while (r != tr) { r += r < tr ? 1 : -1; area.set(At(c, r)); }
    }
  }
}

int Blocked(const Bits& area, int i) {
  int n = 0;
  for (int d = 0; d < 4; ++d) {
    const int s = Step(i, d);
    n += s < 0 || !area.test(s);
  }
  return n;
}

// Walls around the play area: every cell next to it (diagonals included) that is not in it.
Bits Outline(const Bits& area) {
  Bits walls;
  for (int i = 0; i < kCells; ++i) {
    if (area.test(i)) continue;
    const int c = i % kW, r = i / kW;
    bool near = false;
    for (int dr = -1; dr <= 1; ++dr)
      for (int dc = -1; dc <= 1; ++dc) {
        const int cc = c + dc, rr = r + dr;
        if (cc >= 0 && cc < kW && rr >= 0 && rr < kH && area.test(At(cc, rr))) near = true;
      }
    if (near) walls.set(i);
  }
  return walls;
}

// Doubles the walls next to the area: behind every wall cell that the area
// touches stands another (or the board's edge). False when a wall one cell
// thick parts two bits of the area.
bool Thicken(Design& d) {
  bool thick = true;
  d.area.each([&](int i) {
    for (int k = 0; k < 4; ++k) {
      const int w = Step(i, k);
      if (w < 0 || d.area.test(w)) continue;
      const int behind = Step(w, k);
      if (behind < 0) continue;
      if (d.area.test(behind)) thick = false;
      d.walls.set(behind);
    }
  });
  return thick;
}

}  // namespace

Design RoomDesign(Rng& rng, const DesignOptions& o) {
  for (;;) {
    const int lo_c = o.edge == Edge::Open ? 0 : 1, lo_r = o.edge == Edge::Open ? 0 : 1;
    const int hi_c = o.mirror ? 7 : (o.edge == Edge::Open ? kW - 1 : kW - 2);
    const int hi_r = o.edge == Edge::Open ? kH - 1 : kH - 2;
    Bits area;
    std::vector<int> centres;
    for (int k = 0, tries = 0; k < o.rooms && tries < 200; ++tries) {
      const int w = rng.Between(2, o.max_room_w), h = rng.Between(2, o.max_room_h);
      const int c0 = rng.Between(lo_c, std::max(lo_c, hi_c - w + 1));
      const int r0 = rng.Between(lo_r, std::max(lo_r, hi_r - h + 1));
      const int c1 = std::min(hi_c, c0 + w - 1), r1 = std::min(hi_r, r0 + h - 1);
      // Rooms keep a wall between them, except now and then to make an L or T shape.
      bool clash = false;
      for (int r = r0 - 1; r <= r1 + 1; ++r)
        for (int c = c0 - 1; c <= c1 + 1; ++c)
          if (c >= 0 && c < kW && r >= 0 && r < kH && area.test(At(c, r))) clash = true;
      if (clash && !rng.Chance(25)) continue;
      CarveRect(area, c0, r0, c1, r1);
      const int centre = At(rng.Between(c0, c1), rng.Between(r0, r1));
      if (!centres.empty()) CarveCorridor(rng, area, centre, centres[rng.Below(static_cast<int>(centres.size()))]);
      centres.push_back(centre);
      ++k;
    }
    if (o.mirror) {
      area = area | Mirror(area);
      if (!Connected(area)) {
        const int r = centres[rng.Below(static_cast<int>(centres.size()))] / kW;
        for (int c = 0; c < kW; ++c)
          if (c >= 4 && c <= 11) area.set(At(c, r));
        area = Flood(area, At(8, r));
      }
    }
    // Pillars inside wide rooms, mirrored with the rest, never cutting the area apart.
    for (int i = 0; i < kCells; ++i) {
      if (!area.test(i) || (o.mirror && i % kW > 7) || !rng.Chance(o.pillars)) continue;
      const int c = i % kW, r = i / kW;
      bool open_round = true;
      for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc) {
          const int cc = c + dc, rr = r + dr;
          if (cc < 0 || cc >= kW || rr < 0 || rr >= kH || !area.test(At(cc, rr))) open_round = false;
        }
      if (!open_round) continue;
      Bits trial = area;
      trial.reset(i);
      if (o.mirror) trial.reset(At(kW - 1 - c, r));
      if (Connected(trial)) area = trial;
    }
    // Dead ends serve nothing: close them.
    for (bool again = true; again;) {
      again = false;
      for (int i = 0; i < kCells; ++i)
        if (area.test(i) && Blocked(area, i) >= 3) {
          area.reset(i);
          again = true;
        }
    }
    if (area.count() < 18 || !Connected(area)) continue;
    Design d;
    d.area = area;
    d.walls = Outline(area);
    if (o.edge == Edge::Closed) {
      for (int i = 0; i < kCells; ++i)
        if (!area.test(i) && (OnRim(i) || !d.walls.test(i))) d.walls.set(i);
      bool rim_free = false;
      area.each([&](int i) { rim_free = rim_free || OnRim(i); });
      if (rim_free) continue;
    }
    return d;
  }
}

Design HallDesign(Rng& rng, const HallOptions& o) {
  // Wall pieces as cell offsets: a post, bars of two and three, corners, a block.
  static const std::vector<std::vector<std::pair<int, int>>> kPieces = {
      {{0, 0}},         {{0, 0}, {1, 0}},         {{0, 0}, {0, 1}},         {{0, 0}, {1, 0}, {2, 0}},
      {{0, 0}, {0, 1}, {0, 2}}, {{0, 0}, {1, 0}, {0, 1}}, {{0, 0}, {1, 0}, {1, 1}}, {{0, 0}, {0, 1}, {1, 1}},
      {{1, 0}, {0, 1}, {1, 1}}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}};
  const bool open = o.edge == Edge::Open;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int w = rng.Between(o.min_w, std::min(o.max_w, open ? kW : kW - 2));
    const int h = rng.Between(o.min_h, std::min(o.max_h, open ? kH : kH - 2));
    const int lo_c = open ? 0 : 1, lo_r = open ? 0 : 1;
    const int hi_c = (open ? kW : kW - 1) - w, hi_r = (open ? kH : kH - 1) - h;
    const int c0 = rng.Between(lo_c, std::max(lo_c, hi_c)), r0 = rng.Between(lo_r, std::max(lo_r, hi_r));
    Bits area;
    CarveRect(area, c0, r0, c0 + w - 1, r0 + h - 1);
    // Bites out of the corners and sides.
    const int bites = rng.Between(1, 4);
    for (int k = 0; k < bites; ++k) {
      const int bw = rng.Between(1, std::max(1, w / 3)), bh = rng.Between(1, std::max(1, h / 3));
      const int side = rng.Below(4);
      int bc = c0 + rng.Between(0, w - bw), br = r0 + rng.Between(0, h - bh);
      if (side == 0) bc = c0;
      if (side == 1) bc = c0 + w - bw;
      if (side == 2) br = r0;
      if (side == 3) br = r0 + h - bh;
      Bits trial = area;
      for (int r = br; r < br + bh; ++r)
        for (int c = bc; c < bc + bw; ++c) trial.reset(At(c, r));
      if (Connected(trial)) area = trial;
    }
    // Pieces of wall inside, each kept off the others' sides so the floor stays passable.
    const int want = area.count() * o.wall_share / 100;
    Bits inner;
    for (int tries = 0; tries < 400 && inner.count() < want; ++tries) {
      const auto& piece = o.thick ? kPieces.back() : kPieces[rng.Below(static_cast<int>(kPieces.size()))];
      const int pc = rng.Between(c0, c0 + w - 1), pr = rng.Between(r0, r0 + h - 1);
      Bits trial = area;
      bool fits = true;
      for (auto [dc, dr] : piece) {
        const int c = pc + dc, r = pr + dr;
        if (c >= kW || r >= kH || !area.test(At(c, r))) {
          fits = false;
          break;
        }
        trial.reset(At(c, r));
      }
      if (!fits || !Connected(trial)) continue;
      if (o.mirror) {
        for (auto [dc, dr] : piece) {
          const int c = 2 * c0 + w - 1 - (pc + dc), r = pr + dr;
          trial.reset(At(c, r));
        }
        if (!Connected(trial)) continue;
      }
      inner = inner | (area & ~trial);
      area = trial;
    }
    // Dead ends serve nothing: close them.
    for (bool again = true; again;) {
      again = false;
      for (int i = 0; i < kCells; ++i)
        if (area.test(i) && Blocked(area, i) >= 3) {
          area.reset(i);
          again = true;
        }
    }
    const int floor = area.count();
    if (floor < o.min_floor || floor > o.max_floor || !Connected(area)) continue;
    Design d;
    d.area = area;
    d.walls = Outline(area);
    if (o.edge == Edge::Closed) {
      for (int i = 0; i < kCells; ++i)
        if (!area.test(i)) d.walls.set(i);
    }
    if (o.thick && !Thicken(d)) continue;
    return d;
  }
  return {};
}

Design DrawnDesign(const std::vector<std::string>& rows) {
  Design d;
  for (int r = 0; r < kH; ++r)
    for (int c = 0; c < kW; ++c) {
      const char ch = c < static_cast<int>(rows[r].size()) ? rows[r][c] : ' ';
      if (ch == '#') d.walls.set(At(c, r));
      if (ch == '.') d.area.set(At(c, r));
    }
  return d;
}

void FillPockets(Puzzle& p) {
  const Bits open = ~p.walls;
  const Bits play = Flood(open, p.figure);
  Bits seen = play;
  open.each([&](int i) {
    if (seen.test(i)) return;
    const Bits part = Flood(open, i);
    seen = seen | part;
    bool reaches_rim = false;
    part.each([&](int k) { reaches_rim = reaches_rim || OnRim(k); });
    if (!reaches_rim) p.walls = p.walls | part;
  });
}

const std::vector<std::pair<std::string, std::vector<std::string>>>& DrawnLayouts() {
  static const std::vector<std::pair<std::string, std::vector<std::string>>> layouts = {
      {"oo",
       {"                ",
        " ######  ###### ",
        " #....#  #....# ",
        " #.##.####.##.# ",
        " #.##......##.# ",
        " #....#..#....# ",
        " ##.###..###.## ",
        "  #....##....#  ",
        "  ##.......###  ",
        "   #########    ",
        "                "}},
      {"roundabout",
       {"     ######     ",
        "  ####....####  ",
        "  #....##....#  ",
        " ##.#......#.## ",
        " #..#.####.#..# ",
        " #....#  #....# ",
        " #..#.####.#..# ",
        " ##.#......#.## ",
        "  #....##....#  ",
        "  ####....####  ",
        "     ######     "}},
      {"maze",
       {"################",
        "#......#.......#",
        "#.####.#.#####.#",
        "#.#....#.....#.#",
        "#.#.######.#.#.#",
        "#...#....#.#...#",
        "###.#.##.#.###.#",
        "#.....#......#.#",
        "#.###.#.####...#",
        "#.....#....#...#",
        "################"}},
      {"square",
       {"                ",
        "  ############  ",
        "  #..........#  ",
        "  #.###..###.#  ",
        "  #.#......#.#  ",
        "  #...#..#...#  ",
        "  #.#......#.#  ",
        "  #.###..###.#  ",
        "  #..........#  ",
        "  ############  ",
        "                "}},
      {"towers",
       {"  ###  ###  ### ",
        "  #.#  #.#  #.# ",
        "  #.#  #.#  #.# ",
        " ##.####.####.##",
        " #.............#",
        " #.##.##.##.##.#",
        " #.............#",
        " ##.####.####.##",
        "  #.#  #.#  #.# ",
        "  #.#  #.#  #.# ",
        "  ###  ###  ### "}},
      {"elevator",
       {"     #....#     ",
        "     #.##.#     ",
        "  ####....####  ",
        "  #....##....#  ",
        "  #.#......#.#  ",
        "  #...####...#  ",
        "  #.#......#.#  ",
        "  #....##....#  ",
        "  ####....####  ",
        "     #.##.#     ",
        "     #....#     "}},
      {"pacman",
       {"  ##########    ",
        " ##........##   ",
        " #....##....##  ",
        " #...####.....# ",
        " #....##....##  ",
        " #........##    ",
        " #....##....##  ",
        " #...####.....# ",
        " #....##....##  ",
        " ##........##   ",
        "  ##########    "}},
      {"graveyard",
       {"################",
        "#..............#",
        "#.#...#...#..#.#",
        "####.###.###.###",
        "#.#...#...#..#.#",
        "#..............#",
        "#.#..#...#...#.#",
        "###.###.###.####",
        "#.#..#...#...#.#",
        "#..............#",
        "################"}},
      {"heart",
       {"                ",
        "   ####  ####   ",
        "  #....##....#  ",
        " #......#.....# ",
        " #..#.......#.# ",
        " #......#.....# ",
        "  #...#...#..#  ",
        "   #.........#  ",
        "    #..#...##   ",
        "     ##...#     ",
        "       ###      "}},
      {"greenhouse",
       {"                ",
        " ############## ",
        " #............# ",
        " #.##########.# ",
        " #.#........#.# ",
        " #...#.##.#...# ",
        " #.#........#.# ",
        " #.####..####.# ",
        " #............# ",
        " ############## ",
        "                "}},
      {"kitchen",
       {"################",
        "#....#.....#...#",
        "#.##.#.###.#.#.#",
        "#.#........#.#.#",
        "#.#.##.###.....#",
        "#......#...##.##",
        "##.###.#.#.....#",
        "#....#...#.###.#",
        "#.##...#.......#",
        "#....#.#..#....#",
        "################"}},
  };
  return layouts;
}

}  // namespace qb::levels
