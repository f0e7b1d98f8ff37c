// Fault: a relative path up a layer.
#include "../shell/menu.h"
#include "relative.h"
