// Fault: an include written with blanks around the #.
#pragma once
  #  include "game/moves.h"
