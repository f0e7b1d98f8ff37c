// Stand-ins for the SDL functions the window layer calls. Linked into the
// window test program, they take the place of the library's: each notes a
// call made off the main thread and passes the call on to SDL (or fails it,
// when a test asks). A global check
// fails the program when any such call was noted.
#include "sdl_main_thread.h"

#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <mutex>

namespace qb::testing {

namespace {

std::mutex g_mutex;
std::vector<std::string> g_off_main_thread;
std::vector<std::string> g_window_steps;
std::string g_failing, g_failing_error;
int g_failed_calls = 0;

std::set<std::string>& Checked() {
  static std::set<std::string> names;
  return names;
}

bool Register(const char* name) {
  Checked().insert(name);
  return true;
}

void NoteCaller(const char* name) {
  if (::gettid() == ::getpid()) return;
  std::lock_guard lock(g_mutex);
  g_off_main_thread.emplace_back(name);
}

void NoteWindowStep(const char* step) {
  std::lock_guard lock(g_mutex);
  g_window_steps.emplace_back(step);
}

// Whether the call `name` is to fail; if so, sets SDL's error as SDL would.
// (SDL_SetError is looked up, not linked: the program takes no SDL function
// from the library directly.)
bool Failing(const char* name) {
  std::string error;
  {
    std::lock_guard lock(g_mutex);
    if (g_failing != name) return false;
    error = g_failing_error;
    ++g_failed_calls;
  }
  static const auto set_error = reinterpret_cast<int (*)(const char*, ...)>(::dlsym(RTLD_DEFAULT, "SDL_SetError"));
  set_error("%s", error.c_str());
  return true;
}

class NoSdlCallsOffTheMainThread : public ::testing::Environment {
 public:
  void TearDown() override {
    const auto calls = TakeSdlCallsOffTheMainThread();
    EXPECT_TRUE(calls.empty()) << "SDL called off the main thread: " << ::testing::PrintToString(calls);
  }
};
[[maybe_unused]] const auto* const g_environment =
    ::testing::AddGlobalTestEnvironment(new NoSdlCallsOffTheMainThread);

}  // namespace

std::vector<std::string> TakeSdlCallsOffTheMainThread() {
  std::lock_guard lock(g_mutex);
  return std::exchange(g_off_main_thread, {});
}

std::vector<std::string> TakeWindowSteps() {
  std::lock_guard lock(g_mutex);
  return std::exchange(g_window_steps, {});
}

const std::set<std::string>& CheckedSdlFunctions() { return Checked(); }

void FailSdlCalls(const std::string& name, const std::string& error) {
  std::lock_guard lock(g_mutex);
  g_failing = name;
  g_failing_error = error;
  g_failed_calls = 0;
}

int FailedSdlCalls() {
  std::lock_guard lock(g_mutex);
  return g_failed_calls;
}

}  // namespace qb::testing

// A stand-in: notes the calling thread unless any thread may call it, then
// calls the library's function of that name.
#define QB_SDL_STAND_IN(any_thread, ret, name, params, args)                                     \
  [[maybe_unused]] static const bool name##_registered = qb::testing::Register(#name);        \
  extern "C" ret name params {                                                                \
    if (!(any_thread)) qb::testing::NoteCaller(#name);                                        \
    static const auto real = reinterpret_cast<ret(*) params>(::dlsym(RTLD_NEXT, #name));      \
    return real args;                                                                         \
  }
#define QB_SDL_MAIN_THREAD(ret, name, params, args) QB_SDL_STAND_IN(false, ret, name, params, args)
// A stand-in for a function that returns a status, which a test can make fail.
#define QB_SDL_FALLIBLE(any_thread, name, params, args)                                       \
  [[maybe_unused]] static const bool name##_registered = qb::testing::Register(#name);        \
  extern "C" int name params {                                                                \
    if (!(any_thread)) qb::testing::NoteCaller(#name);                                        \
    if (qb::testing::Failing(#name)) return -1;                                               \
    static const auto real = reinterpret_cast<int (*) params>(::dlsym(RTLD_NEXT, #name));     \
    return real args;                                                                         \
  }
// A main-thread stand-in that also notes `step` among the window's steps.
#define QB_SDL_WINDOW_STEP(step, name, params, args)                                           \
  [[maybe_unused]] static const bool name##_registered = qb::testing::Register(#name);        \
  extern "C" void name params {                                                               \
    qb::testing::NoteCaller(#name);                                                           \
    qb::testing::NoteWindowStep(step);                                                        \
    static const auto real = reinterpret_cast<void(*) params>(::dlsym(RTLD_NEXT, #name));     \
    real args;                                                                                \
  }

QB_SDL_FALLIBLE(true, SDL_PushEvent, (SDL_Event * event), (event))

QB_SDL_MAIN_THREAD(int, SDL_Init, (Uint32 flags), (flags))
QB_SDL_MAIN_THREAD(void, SDL_Quit, (void), ())
QB_SDL_MAIN_THREAD(SDL_bool, SDL_SetHint, (const char* name, const char* value), (name, value))
QB_SDL_MAIN_THREAD(const char*, SDL_GetError, (void), ())
QB_SDL_MAIN_THREAD(const char*, SDL_GetCurrentVideoDriver, (void), ())

// Creating the window, giving it its icon and showing it are also noted in
// order, so that a test can see whether the window was ever on screen
// without its icon.
[[maybe_unused]] static const bool SDL_CreateWindow_registered = qb::testing::Register("SDL_CreateWindow");
extern "C" SDL_Window* SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags) {
  qb::testing::NoteCaller("SDL_CreateWindow");
  qb::testing::NoteWindowStep((flags & SDL_WINDOW_HIDDEN) ? "create hidden" : "create shown");
  static const auto real =
      reinterpret_cast<SDL_Window* (*)(const char*, int, int, int, int, Uint32)>(::dlsym(RTLD_NEXT, "SDL_CreateWindow"));
  return real(title, x, y, w, h, flags);
}
QB_SDL_MAIN_THREAD(void, SDL_DestroyWindow, (SDL_Window * window), (window))
QB_SDL_MAIN_THREAD(SDL_Surface*, SDL_CreateRGBSurfaceWithFormatFrom,
                   (void* pixels, int width, int height, int depth, int pitch, Uint32 format),
                   (pixels, width, height, depth, pitch, format))
QB_SDL_WINDOW_STEP("icon", SDL_SetWindowIcon, (SDL_Window * window, SDL_Surface* icon), (window, icon))
QB_SDL_WINDOW_STEP("show", SDL_ShowWindow, (SDL_Window * window), (window))
QB_SDL_MAIN_THREAD(void, SDL_FreeSurface, (SDL_Surface * surface), (surface))
QB_SDL_MAIN_THREAD(Uint32, SDL_GetWindowFlags, (SDL_Window * window), (window))
QB_SDL_MAIN_THREAD(void, SDL_SetWindowTitle, (SDL_Window * window, const char* title), (window, title))
QB_SDL_MAIN_THREAD(void, SDL_SetWindowSize, (SDL_Window * window, int w, int h), (window, w, h))
QB_SDL_FALLIBLE(false, SDL_SetWindowFullscreen, (SDL_Window * window, Uint32 flags), (window, flags))
QB_SDL_MAIN_THREAD(int, SDL_GetWindowDisplayMode, (SDL_Window * window, SDL_DisplayMode* mode), (window, mode))
QB_SDL_MAIN_THREAD(SDL_Renderer*, SDL_CreateRenderer, (SDL_Window * window, int index, Uint32 flags),
                   (window, index, flags))
QB_SDL_MAIN_THREAD(void, SDL_DestroyRenderer, (SDL_Renderer * renderer), (renderer))
QB_SDL_FALLIBLE(false, SDL_GetRendererOutputSize, (SDL_Renderer * renderer, int* w, int* h), (renderer, w, h))
QB_SDL_MAIN_THREAD(SDL_Texture*, SDL_CreateTexture, (SDL_Renderer * renderer, Uint32 format, int access, int w, int h),
                   (renderer, format, access, w, h))
QB_SDL_MAIN_THREAD(void, SDL_DestroyTexture, (SDL_Texture * texture), (texture))
QB_SDL_FALLIBLE(false, SDL_UpdateTexture, (SDL_Texture * texture, const SDL_Rect* rect, const void* pixels, int pitch),
                   (texture, rect, pixels, pitch))
QB_SDL_FALLIBLE(false, SDL_RenderSetViewport, (SDL_Renderer * renderer, const SDL_Rect* rect), (renderer, rect))
QB_SDL_FALLIBLE(false, SDL_SetRenderDrawColor, (SDL_Renderer * renderer, Uint8 r, Uint8 g, Uint8 b, Uint8 a),
                   (renderer, r, g, b, a))
QB_SDL_FALLIBLE(false, SDL_RenderClear, (SDL_Renderer * renderer), (renderer))
QB_SDL_FALLIBLE(false, SDL_RenderCopy,
                   (SDL_Renderer * renderer, SDL_Texture* texture, const SDL_Rect* source, const SDL_Rect* target),
                   (renderer, texture, source, target))
QB_SDL_MAIN_THREAD(void, SDL_RenderPresent, (SDL_Renderer * renderer), (renderer))
QB_SDL_MAIN_THREAD(int, SDL_WaitEvent, (SDL_Event * event), (event))
QB_SDL_MAIN_THREAD(int, SDL_WaitEventTimeout, (SDL_Event * event, int timeout), (event, timeout))
QB_SDL_MAIN_THREAD(int, SDL_PollEvent, (SDL_Event * event), (event))
QB_SDL_MAIN_THREAD(Uint32, SDL_RegisterEvents, (int count), (count))
QB_SDL_MAIN_THREAD(SDL_Keymod, SDL_GetModState, (void), ())
QB_SDL_MAIN_THREAD(void, SDL_StartTextInput, (void), ())
QB_SDL_MAIN_THREAD(void, SDL_StopTextInput, (void), ())
