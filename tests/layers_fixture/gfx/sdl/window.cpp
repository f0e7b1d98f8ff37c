// Fault: a back end includes another one.
#include "gfx/sdl/keys.h"
#include "gfx/win32/presenter.h"
