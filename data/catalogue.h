// The level catalogue: the names of the 200 levels, filled once at start-up.
#pragma once

#include <string>

namespace qb {

void FillCatalogue();
// The name of a level (1..200) as Windows-1250 bytes; entry 0 is empty.
const std::string& LevelName(int level);

}  // namespace qb
