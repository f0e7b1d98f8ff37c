#include "tools/pictures/counts.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace qb::pictures {

namespace {

using qb::tools::Image;

bool Opaque(std::uint32_t c) { return (c >> 24) != 0; }

int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// Squared distance weighted roughly by how much the eye sees each channel.
long Distance(std::uint32_t a, std::uint32_t b) {
  const long dr = Channel(a, 16) - Channel(b, 16);
  const long dg = Channel(a, 8) - Channel(b, 8);
  const long db = Channel(a, 0) - Channel(b, 0);
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// Small steps away from a colour, smallest first; one channel by 1 comes first.
const std::vector<std::array<int, 3>>& Steps() {
  static const std::vector<std::array<int, 3>> steps = [] {
    std::vector<std::array<int, 3>> s;
    for (int r = -3; r <= 3; ++r)
      for (int g = -3; g <= 3; ++g)
        for (int b = -3; b <= 3; ++b)
          if (r || g || b) s.push_back({r, g, b});
    std::stable_sort(s.begin(), s.end(), [](const auto& a, const auto& b) {
      auto cost = [](const std::array<int, 3>& d) {
        return 3 * d[0] * d[0] + 4 * d[1] * d[1] + 2 * d[2] * d[2] +
               10 * ((d[0] != 0) + (d[1] != 0) + (d[2] != 0));
      };
      return cost(a) < cost(b);
    });
    return s;
  }();
  return steps;
}

std::optional<std::uint32_t> UnusedNear(std::uint32_t c, const std::set<std::uint32_t>& used,
                                        std::optional<std::uint32_t> background) {
  for (const auto& d : Steps()) {
    const int r = Channel(c, 16) + d[0], g = Channel(c, 8) + d[1], b = Channel(c, 0) + d[2];
    if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) continue;
    const std::uint32_t n = 0xFF000000u | static_cast<std::uint32_t>(r) << 16 |
                            static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
    if (used.count(n) || n == background) continue;
    return n;
  }
  return std::nullopt;
}

void FixBackgroundCount(Image& img, const Goal& goal, const std::vector<bool>& editable) {
  const std::uint32_t bg = *goal.background;
  const int n = static_cast<int>(img.pixels.size());
  std::vector<int> bgs;
  for (int i = 0; i < n; ++i)
    if (img.pixels[i] == bg) bgs.push_back(i);
  int surplus = static_cast<int>(bgs.size()) - goal.background_pixels;
  if (surplus > 0) {
    // Background pixels nearest the drawing take a colour a step off the background.
    std::set<std::uint32_t> used(img.pixels.begin(), img.pixels.end());
    const auto near = UnusedNear(bg, used, bg);
    auto gap = [&](int i) {
      const int x = i % img.width, y = i / img.width;
      int best = std::numeric_limits<int>::max();
      for (int j = 0; j < n; ++j)
        if (Opaque(img.pixels[j]) && img.pixels[j] != bg)
          best = std::min(best, std::max(std::abs(j % img.width - x), std::abs(j / img.width - y)));
      return best;
    };
    std::vector<std::pair<int, int>> order;
    for (int i : bgs)
      if (editable[i]) order.push_back({gap(i), i});
    std::sort(order.begin(), order.end());
    if (static_cast<int>(order.size()) < surplus) throw std::runtime_error("too few background pixels to change");
    for (int k = 0; k < surplus; ++k) img.pixels[order[k].second] = *near;
  } else if (surplus < 0) {
    // The drawn pixels closest to the background colour become background.
    std::vector<std::pair<long, int>> order;
    for (int i = 0; i < n; ++i)
      if (editable[i] && Opaque(img.pixels[i]) && img.pixels[i] != bg) order.push_back({Distance(img.pixels[i], bg), i});
    std::sort(order.begin(), order.end());
    if (static_cast<int>(order.size()) < -surplus) throw std::runtime_error("too few pixels to turn into background");
    for (int k = 0; k < -surplus; ++k) img.pixels[order[k].second] = bg;
  }
}

}  // namespace

Counts Measure(const Image& img, std::optional<std::uint32_t> background) {
  Counts c;
  std::set<std::uint32_t> colours;
  for (auto p : img.pixels) {
    if (!Opaque(p)) continue;
    ++c.pixels;
    colours.insert(p);
    if (p == background) ++c.background_pixels;
  }
  c.colours = static_cast<int>(colours.size());
  return c;
}

void ReachGoal(Image& img, const Goal& goal, const std::vector<bool>& editable_in) {
  const int n = static_cast<int>(img.pixels.size());
  std::vector<bool> editable = editable_in.empty() ? std::vector<bool>(n, true) : editable_in;
  for (int i = 0; i < n; ++i)
    if (!Opaque(img.pixels[i])) editable[i] = false;
  if (goal.background && goal.background_pixels >= 0) FixBackgroundCount(img, goal, editable);
  const std::optional<std::uint32_t> bg = goal.background;

  // The colours with their pixels; a colour is fixed when any of its pixels may not change.
  std::map<std::uint32_t, std::vector<int>> where;
  for (int i = 0; i < n; ++i)
    if (Opaque(img.pixels[i])) where[img.pixels[i]].push_back(i);
  std::vector<std::uint32_t> colour;
  std::vector<std::vector<int>> pixels;
  std::vector<bool> fixed, alive;
  for (auto& [c, list] : where) {
    colour.push_back(c);
    bool f = c == bg;
    for (int i : list) f = f || !editable[i];
    fixed.push_back(f);
    alive.push_back(true);
    pixels.push_back(std::move(list));
  }
  int count = static_cast<int>(colour.size());
  const int m = count;

  if (count > goal.colours) {
    // Merge: the removable colour closest to another takes that colour.
    std::vector<int> nearest(m, -1);
    std::vector<long> dist(m, std::numeric_limits<long>::max());
    auto refresh = [&](int a) {
      nearest[a] = -1;
      dist[a] = std::numeric_limits<long>::max();
      for (int b = 0; b < m; ++b) {
        if (b == a || !alive[b] || colour[b] == bg) continue;
        const long d = Distance(colour[a], colour[b]);
        if (d < dist[a]) dist[a] = d, nearest[a] = b;
      }
    };
    for (int a = 0; a < m; ++a)
      if (!fixed[a]) refresh(a);
    while (count > goal.colours) {
      int best = -1;
      for (int a = 0; a < m; ++a) {
        if (!alive[a] || fixed[a] || nearest[a] < 0) continue;
        if (best < 0 || dist[a] < dist[best] ||
            (dist[a] == dist[best] && pixels[a].size() < pixels[best].size()))
          best = a;
      }
      if (best < 0) throw std::runtime_error("no colour left to merge");
      const int into = nearest[best];
      for (int i : pixels[best]) img.pixels[i] = colour[into];
      pixels[into].insert(pixels[into].end(), pixels[best].begin(), pixels[best].end());
      pixels[best].clear();
      alive[best] = false;
      --count;
      for (int a = 0; a < m; ++a)
        if (alive[a] && !fixed[a] && nearest[a] == best) refresh(a);
    }
  }

  if (count < goal.colours) {
    std::set<std::uint32_t> used;
    for (int a = 0; a < m; ++a)
      if (alive[a]) used.insert(colour[a]);
    // Split: one editable pixel of the most used colour moves one step away.
    std::vector<std::vector<int>> movable(m);
    for (int a = 0; a < m; ++a)
      for (int i : pixels[a])
        if (editable[i]) movable[a].push_back(i);
    std::vector<bool> exhausted(m, false);  // no unused colour left near it
    while (count < goal.colours) {
      int best = -1;
      for (int pass = 0; pass < 2 && best < 0; ++pass) {
        for (int a = 0; a < m; ++a) {
          if (!alive[a] || exhausted[a] || pixels[a].size() < 2 || movable[a].empty()) continue;
          if (colour[a] == bg && (pass == 0 || goal.background_pixels >= 0)) continue;
          if (best < 0 || movable[a].size() > movable[best].size()) best = a;
        }
      }
      if (best < 0) throw std::runtime_error("no colour left to split");
      const auto fresh = UnusedNear(colour[best], used, bg);
      if (!fresh) {
        exhausted[best] = true;
        continue;
      }
      auto& list = movable[best];
      const std::size_t k = list.size() / 2;
      const int pixel = list[k];
      list.erase(list.begin() + static_cast<long>(k));
      pixels[best].erase(std::find(pixels[best].begin(), pixels[best].end(), pixel));
      img.pixels[pixel] = *fresh;
      used.insert(*fresh);
      ++count;
    }
  }
}

}  // namespace qb::pictures
