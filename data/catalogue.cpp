#include "data/catalogue.h"

#include <array>

#include "data/stream.h"

namespace qb {

namespace {
std::array<std::string, 201>& Catalogue() {
  static std::array<std::string, 201> names;
  return names;
}
}  // namespace

void FillCatalogue() {
  for (int level = 1; level <= 200; ++level) Catalogue()[level] = std::string(data::LevelNameBytes(level));
}

const std::string& LevelName(int level) {
  static const std::string empty;
  return level >= 1 && level <= 200 ? Catalogue()[level] : empty;
}

}  // namespace qb
