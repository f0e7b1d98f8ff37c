#include "game/state.h"

namespace qb {

GameState& State() {
  static GameState state;
  return state;
}

}  // namespace qb
