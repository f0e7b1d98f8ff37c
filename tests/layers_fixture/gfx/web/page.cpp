// Fault: a relative path into another back end.
#include "../sdl/keys.h"
