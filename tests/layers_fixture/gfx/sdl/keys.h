#pragma once
#include "data/stream.h"
