#include "flow/state.h"

namespace qb {

GameState& State() {
  static GameState state;
  return state;
}

}  // namespace qb
