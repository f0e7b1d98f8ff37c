// Fault: an angle-bracket include of a layer above.
#pragma once
#include <vector>
#include <game/board.h>
