// QUIZZLEBOX: the program's entry point. It takes no options.
#include "flow/state.h"
#include "gfx/window.h"
#include "shell/screen_loop.h"
#include "shell/startup.h"

int main() { return qb::RunInWindow([] { qb::RunGame(); }); }

#ifdef __EMSCRIPTEN__
// In a web page: the screen the game shows ("menu", "password", "play"...).
// The page offers digit keys on touch screens while the password screen is open.
extern "C" const char* qb_screen() { return qb::ScreenName(qb::CurrentScreen()).data(); }
// The play loop's pass count (the time counter): the page's benchmark reads
// how fast it grows.
extern "C" double qb_play_passes() { return qb::State().time; }
#endif
