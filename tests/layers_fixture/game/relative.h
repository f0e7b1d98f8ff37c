#pragma once
#include "gfx/angle.h"
