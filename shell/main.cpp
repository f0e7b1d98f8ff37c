// QUIZZLEBOX: the program's entry point. It takes no options.
#include "gfx/window.h"
#include "shell/startup.h"

int main() { return qb::RunInWindow([] { qb::RunGame(); }); }
