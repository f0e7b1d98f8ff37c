// A hash table of positions for the level tools' searches: the nodes live in
// one vector in the order they were added, the table holds their indices.
// A position is its box set and its zone (the lowest cell the figure can reach).
#pragma once

#include <cstdint>
#include <vector>

#include "tools/levels/puzzle.h"

namespace qb::levels {

template <typename Node>
class PositionTable {
 public:
  PositionTable() : slots_(1 << 16, -1) {}

  std::vector<Node>& nodes() { return nodes_; }
  const std::vector<Node>& nodes() const { return nodes_; }
  std::size_t size() const { return nodes_.size(); }

  // The index of the node holding the same position as `n`, or -1.
  std::int32_t Find(const Bits& boxes, int zone) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = Hash(boxes, zone) & mask;; s = (s + 1) & mask) {
      const std::int32_t k = slots_[s];
      if (k < 0) return -1;
      if (nodes_[k].zone == zone && nodes_[k].boxes == boxes) return k;
    }
  }

  std::int32_t Add(const Node& n) {
    if ((nodes_.size() + 1) * 2 > slots_.size()) {
      slots_.assign(slots_.size() * 2, -1);
      for (std::size_t k = 0; k < nodes_.size(); ++k) Place(static_cast<std::int32_t>(k));
    }
    nodes_.push_back(n);
    const auto k = static_cast<std::int32_t>(nodes_.size() - 1);
    Place(k);
    return k;
  }

 private:
  static std::uint64_t Hash(const Bits& boxes, int zone) {
    return boxes.hash() ^ (static_cast<std::uint64_t>(zone) * 0x9E3779B1ull);
  }
  void Place(std::int32_t k) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t s = Hash(nodes_[k].boxes, nodes_[k].zone) & mask;
    while (slots_[s] >= 0) s = (s + 1) & mask;
    slots_[s] = k;
  }

  std::vector<Node> nodes_;
  std::vector<std::int32_t> slots_;
};

}  // namespace qb::levels
