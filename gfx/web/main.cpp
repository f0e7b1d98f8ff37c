// QUIZZLEBOX in a web page: the entry point of the WebAssembly build.
#include <emscripten.h>

#include "gfx/web/page_platform.h"
#include "shell/screen.h"
#include "shell/startup.h"

int main() {
  qb::RunInPage([] { qb::RunGame(); });
  return 0;
}

// The screen the game shows ("menu", "password", "play", ...): the page
// offers the digit keys on touch screens while the password screen is open.
extern "C" EMSCRIPTEN_KEEPALIVE const char* qb_screen() { return qb::ScreenName(qb::CurrentScreen()).data(); }
