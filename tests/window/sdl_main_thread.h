// The window tests stand in for every SDL function the window layer calls and
// note each call made off the main thread (the thread that runs main, on which
// the window's events and presentation run). SDL_PushEvent alone, which SDL
// documents as thread-safe, may come from any thread: it is how the game
// thread wakes the window.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace qb::testing {

// The SDL functions called off the main thread since the last call; clears
// the list.
std::vector<std::string> TakeSdlCallsOffTheMainThread();

// The steps that put the window on screen, in order, since the last call
// ("create hidden" or "create shown", "icon", "show"); clears the list.
std::vector<std::string> TakeWindowSteps();

// The SDL functions the window tests stand in for.
const std::set<std::string>& CheckedSdlFunctions();

// Makes every call of the SDL function `name` fail from now on, as SDL's own
// failures do: it returns -1 and SDL_GetError() says `error`. For the
// functions that return a status (SDL_PushEvent, SDL_RenderClear, ...); an
// empty name ends it.
void FailSdlCalls(const std::string& name, const std::string& error = "");

// How many calls were made to fail since FailSdlCalls.
int FailedSdlCalls();

}  // namespace qb::testing
