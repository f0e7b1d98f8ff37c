// Fault: the shell reaches a back end directly.
#include "gfx/sdl/keys.h"
