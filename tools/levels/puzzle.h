// The level tools' view of a board: 11 rows of 16 cells held as bit rows, so
// that reachability and box sets are a few word operations. Cell index
// i = row * 16 + column, both counted from 0; bit `column` of row `row`.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tools/level_file.h"

namespace qb::levels {

inline constexpr int kW = 16;
inline constexpr int kH = 11;
inline constexpr int kCells = kW * kH;

// Directions in the order of the solution letters l u r d.
inline constexpr int kDc[4] = {-1, 0, 1, 0};
inline constexpr int kDr[4] = {0, -1, 0, 1};
inline constexpr char kLetter[4] = {'l', 'u', 'r', 'd'};

// The next cell in a direction, or -1 past the board's edge.
inline int Step(int i, int d) {
  const int c = i % kW + kDc[d], r = i / kW + kDr[d];
  if (c < 0 || c >= kW || r < 0 || r >= kH) return -1;
  return r * kW + c;
}

struct Bits {
  std::array<std::uint16_t, 12> row{};  // row 11 stays 0: pads to 24 bytes

  bool test(int i) const { return (row[i / kW] >> (i % kW)) & 1u; }
  void set(int i) { row[i / kW] |= static_cast<std::uint16_t>(1u << (i % kW)); }
  void reset(int i) { row[i / kW] &= static_cast<std::uint16_t>(~(1u << (i % kW))); }
  bool operator==(const Bits&) const = default;
  int count() const {
    int n = 0;
    for (auto r : row) n += std::popcount(r);
    return n;
  }
  bool none() const {
    for (auto r : row)
      if (r) return false;
    return true;
  }
  int lowest() const {
    for (int r = 0; r < kH; ++r)
      if (row[r]) return r * kW + std::countr_zero(row[r]);
    return -1;
  }
  std::uint64_t hash() const {
    std::uint64_t w[3];
    std::memcpy(w, row.data(), sizeof w);
    std::uint64_t h = w[0] * 0x9E3779B97F4A7C15ull;
    h ^= (w[1] + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
    h ^= (w[2] + 0x85EBCA77C2B2AE63ull) * 0x165667B19E3779F9ull;
    return h ^ (h >> 29);
  }
  template <typename F>
  void each(F f) const {
    for (int r = 0; r < kH; ++r)
      for (std::uint16_t v = row[r]; v; v &= static_cast<std::uint16_t>(v - 1))
        f(r * kW + std::countr_zero(v));
  }
};

inline Bits operator&(Bits a, const Bits& b) {
  for (int r = 0; r < 12; ++r) a.row[r] &= b.row[r];
  return a;
}
inline Bits operator|(Bits a, const Bits& b) {
  for (int r = 0; r < 12; ++r) a.row[r] |= b.row[r];
  return a;
}
inline Bits operator~(Bits a) {
  for (int r = 0; r < kH; ++r) a.row[r] = static_cast<std::uint16_t>(~a.row[r]);
  a.row[11] = 0;
  return a;
}

// Flood fill on the board as three 64-bit words of four rows each: the reach
// spreads along whole runs of a row at once (a fill that doubles its length
// each step, kept off the neighbouring rows by the edge columns), then one
// row up and down, until it stops growing.
namespace flood {
inline constexpr std::uint64_t kFirstColumn = 0x0001000100010001ull, kLastColumn = 0x8000800080008000ull;

inline std::uint64_t AlongRows(std::uint64_t x, std::uint64_t open) {
  std::uint64_t right = open & ~kFirstColumn, left = open & ~kLastColumn, r = x, l = x;
  r |= right & (r << 1);
  right &= right << 1;
  r |= right & (r << 2);
  right &= right << 2;
  r |= right & (r << 4);
  right &= right << 4;
  r |= right & (r << 8);
  l |= left & (l >> 1);
  left &= left >> 1;
  l |= left & (l >> 2);
  left &= left >> 2;
  l |= left & (l >> 4);
  left &= left >> 4;
  l |= left & (l >> 8);
  return r | l;
}
}  // namespace flood

// Every cell of `open` that can be reached from `start` in steps along rows and columns.
static_assert(std::endian::native == std::endian::little, "Flood reads the rows as words");
inline Bits Flood(const Bits& open, int start) {
  std::uint64_t o[3], x[3] = {0, 0, 0};
  std::memcpy(o, open.row.data(), sizeof o);
  x[start / 64] = (std::uint64_t{1} << (start % 64)) & o[start / 64];
  for (;;) {
    for (int w = 0; w < 3; ++w) x[w] = flood::AlongRows(x[w], o[w]);
    std::uint64_t n[3];
    for (int w = 0; w < 3; ++w) n[w] = x[w] | (x[w] << 16) | (x[w] >> 16);
    n[0] |= x[1] << 48;
    n[1] |= x[0] >> 48 | x[2] << 48;
    n[2] |= x[1] >> 48;
    bool same = true;
    for (int w = 0; w < 3; ++w) {
      n[w] &= o[w];
      same = same && n[w] == x[w];
      x[w] = n[w];
    }
    if (same) break;
  }
  Bits reach;
  std::memcpy(reach.row.data(), x, sizeof x);
  return reach;
}

// A level as the tools see it.
struct Puzzle {
  Bits walls, targets, boxes;
  int figure = -1;

  int Code(int i) const {
    if (walls.test(i)) return 1;
    const bool t = targets.test(i);
    if (boxes.test(i)) return t ? 5 : 3;
    if (i == figure) return t ? 7 : 2;
    return t ? 4 : 0;
  }
  std::array<std::string, 11> Rows() const {
    std::array<std::string, 11> rows;
    for (int r = 0; r < kH; ++r)
      for (int c = 0; c < kW; ++c) rows[r] += static_cast<char>('0' + Code(r * kW + c));
    return rows;
  }
};

inline Puzzle FromRows(const std::array<std::string, 11>& rows) {
  Puzzle p;
  for (int r = 0; r < kH; ++r)
    for (int c = 0; c < kW; ++c) {
      const int i = r * kW + c;
      switch (rows[r][c]) {
        case '1': p.walls.set(i); break;
        case '2': p.figure = i; break;
        case '3': p.boxes.set(i); break;
        case '4': p.targets.set(i); break;
        case '5': p.boxes.set(i); p.targets.set(i); break;
        case '7': p.figure = i; p.targets.set(i); break;
        default: break;
      }
    }
  return p;
}

// Reads data/levels.txt and checks what the tools rely on beyond the file format:
// one figure per level. Throws with the file, line and level named.
inline std::vector<std::pair<tools::LevelRecord, Puzzle>> ReadPuzzles(const std::string& path) {
  std::vector<std::pair<tools::LevelRecord, Puzzle>> out;
  for (const auto& rec : tools::ReadLevelFile(path)) {
    int figures = 0;
    for (const auto& row : rec.rows)
      for (char ch : row) figures += ch == '2' || ch == '7';
    if (figures != 1)
      throw std::runtime_error(path + ":" + std::to_string(rec.line) + " (level " +
                               std::to_string(rec.number) + "): " + std::to_string(figures) +
                               " figures; a level holds exactly one");
    out.emplace_back(rec, FromRows(rec.rows));
  }
  return out;
}

// Applies a solution's letters to a puzzle; returns false at the first move that
// is not a legal walk or push of the letter's kind.
inline bool Replay(Puzzle& p, const std::string& moves) {
  for (char ch : moves) {
    int d = -1;
    for (int k = 0; k < 4; ++k)
      if (ch == kLetter[k] || ch == kLetter[k] - 32) d = k;
    if (d < 0) return false;
    const bool push = ch < 'a';
    const int n = Step(p.figure, d);
    if (n < 0 || p.walls.test(n)) return false;
    if (p.boxes.test(n)) {
      const int b = Step(n, d);
      if (!push || b < 0 || p.walls.test(b) || p.boxes.test(b)) return false;
      p.boxes.reset(n);
      p.boxes.set(b);
    } else if (push) {
      return false;
    }
    p.figure = n;
  }
  return true;
}

inline bool Solved(const Puzzle& p) { return (p.targets & ~p.boxes).none(); }

}  // namespace qb::levels
