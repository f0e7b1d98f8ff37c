// Clean: every include goes down, a system header, a file beside it.
#pragma once
#include <string>
#include "flow/indented.h"
#include "game/relative.h"
#include "menu_parts.h"
