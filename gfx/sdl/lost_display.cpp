#include "gfx/sdl/lost_display.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace qb {

namespace {

void (*g_handler)() = nullptr;

int CallHandler(Display*) {
  if (g_handler) g_handler();
  std::_Exit(1);  // the handler ends the process; this is only a safeguard
}

}  // namespace

void OnLostDisplay(void (*handler)()) {
  g_handler = handler;
  XSetIOErrorHandler(CallHandler);
}

}  // namespace qb
