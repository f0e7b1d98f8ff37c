// The real window under X: key presses sent by xdotool arrive as the right key
// strings, and the close request ends the game after its 500 ms wait.
#include <gtest/gtest.h>

#include <SDL.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "gfx/window.h"
#include "gfx/surface.h"
#include "sdl_main_thread.h"

namespace qb {
namespace {

using Clock = std::chrono::steady_clock;

// A window test that cannot see its window fails: run them under xvfb-run.
bool HaveDisplay() { return std::getenv("DISPLAY") != nullptr; }
constexpr const char* kNoDisplay = "no X display: the window tests run under xvfb-run (scripts/test)";

int Shell(const std::string& cmd) { return std::system(cmd.c_str()); }

// Sends the window manager's close request (WM_DELETE_WINDOW) to every
// top-level window whose title starts with "QUIZZLEBOX"; returns how many.
int SendCloseRequest() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 0;
  const Atom protocols = XInternAtom(d, "WM_PROTOCOLS", False);
  const Atom del = XInternAtom(d, "WM_DELETE_WINDOW", False);
  Window root_ret, parent;
  Window* children = nullptr;
  unsigned n = 0;
  int sent = 0;
  if (XQueryTree(d, DefaultRootWindow(d), &root_ret, &parent, &children, &n)) {
    for (unsigned i = 0; i < n; ++i) {
      char* name = nullptr;
      if (XFetchName(d, children[i], &name) && name) {
        if (std::string(name).rfind("QUIZZLEBOX", 0) == 0) {
          XEvent e{};
          e.xclient.type = ClientMessage;
          e.xclient.window = children[i];
          e.xclient.message_type = protocols;
          e.xclient.format = 32;
          e.xclient.data.l[0] = static_cast<long>(del);
          e.xclient.data.l[1] = CurrentTime;
          XSendEvent(d, children[i], False, NoEventMask, &e);
          ++sent;
        }
        XFree(name);
      }
    }
    if (children) XFree(children);
  }
  XFlush(d);
  XCloseDisplay(d);
  return sent;
}


TEST(Window, KeyPressesArriveAsKeys) {
  ASSERT_TRUE(HaveDisplay()) << kNoDisplay;
  struct Press {
    const char* xdotool;  // key names for xdotool
    Key expected;  // none: nothing is queued
  };
  const std::vector<Press> presses = {
      {"Up", key::kUp},
      {"Down", key::kDown},
      {"Left", key::kLeft},
      {"Right", key::kRight},
      {"F1", key::kF1},
      {"F5", key::kF5},
      {"F12", key::kF12},
      {"shift+F12", key::kShiftF12},
      {"ctrl+F12", key::kCtrlF12},
      {"ctrl+Up", key::kCtrlUp},
      {"ctrl+Left", key::kCtrlLeft},
      {"space", key::kSpace},
      {"Return", key::kEnter},
      {"BackSpace", key::kBackspace},
      {"Escape", key::kEscape},
      {"plus", key::kPlus},
      {"KP_Add", key::kPlus},
      {"b", Key::Typed('b')},
      {"shift+b", Key::Typed('B')},
      {"alt+s", Key{}},  // nothing queued while Alt is held
      {"p", Key::Typed('p')},
      {"7", Key::Typed('7')},
      {"KP_Up", key::kUp},  // keypad arrows with Num Lock off
      {"KP_Prior", Key::Extended(0x49)},  // keypad 9, the last of the keypad's digits: Page Up
  };
  std::vector<std::uint32_t> got;
  const int status = RunInWindow([&] {
    std::thread sender([&] {
      Shell("xdotool search --sync --name '^QUIZZLEBOX' windowfocus --sync >/dev/null 2>&1");
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      std::string cmd = "xdotool key --delay 30";
      for (const auto& p : presses) cmd += std::string(" ") + p.xdotool;
      cmd += " z";  // end marker
      Shell(cmd);
    });
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    for (;;) {
      const Key k = PollKey();
      if (k == Key::Typed('z') || Clock::now() > deadline) break;
      if (!k.none()) got.push_back(k.code);
      SleepMs(1);
    }
    sender.join();
    EndProgram(0);
  });
  EXPECT_EQ(status, 0);
  std::vector<std::uint32_t> expected;
  for (const auto& p : presses)
    if (!p.expected.none()) expected.push_back(p.expected.code);
  EXPECT_EQ(got, expected);
}

// A colour of its own for each pixel, in two versions.
Colour PatternColour(int x, int y, int version) {
  const auto r = static_cast<Colour>((x * 3 + y) & 0xFF);
  const auto g = static_cast<Colour>((y * 5 + x / 3 + version * 77) & 0xFF);
  const auto b = static_cast<Colour>((x ^ y) & 0xFF);
  return 0xFF000000u | r << 16 | g << 8 | b;
}

// The picture of the window with this title as the X server has it: RGB
// bytes, row by row; empty when it cannot be read.
std::string WindowPicture(const std::string& title) {
  const std::string file = "/tmp/qb_window_shot_" + std::to_string(::getpid()) + ".rgb";
  Shell("id=$(xdotool search --name '^" + title + "' | head -1); import -window $id -depth 8 rgb:" + file +
        " 2>/dev/null");
  std::string bytes;
  if (FILE* f = std::fopen(file.c_str(), "rb")) {
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
    std::fclose(f);
  }
  std::remove(file.c_str());
  return bytes;
}

// The window's picture when every row shows the pattern's version
// `version_of(y)`, as WindowPicture reads it.
template <typename VersionOf>
std::string PatternPicture(VersionOf version_of) {
  std::string bytes;
  for (int y = 0; y < kSurfaceHeight; ++y)
    for (int x = 0; x < kSurfaceWidth; ++x) {
      const Colour c = PatternColour(x, y, version_of(y));
      bytes += {static_cast<char>(c >> 16), static_cast<char>(c >> 8), static_cast<char>(c)};
    }
  return bytes;
}

void DrawPatternRow(int y, int version) {
  for (int x = 0; x < kSurfaceWidth; ++x) PutPixel(static_cast<float>(x), static_cast<float>(y), PatternColour(x, y, version));
}

// The window's picture once it is `expected`, or as it is after 5 s (a busy
// machine may take a moment to show it). On the game's thread.
std::string AwaitPicture(const std::string& title, const std::string& expected) {
  std::string shown;
  for (int i = 0; i < 25 && shown != expected; ++i) {
    SleepMs(200);
    shown = WindowPicture(title);
  }
  return shown;
}

void ExpectPicture(const std::string& shown, const std::string& expected) {
  ASSERT_EQ(shown.size(), expected.size()) << "ImageMagick's import did not read the window";
  const auto differ = std::mismatch(shown.begin(), shown.end(), expected.begin()).first - shown.begin();
  EXPECT_TRUE(shown == expected) << "first difference at (" << differ / 3 % kSurfaceWidth << ", "
                                 << differ / 3 / kSurfaceWidth << ")";
}

TEST(Window, DrawingReachesTheWindow) {
  ASSERT_TRUE(HaveDisplay()) << kNoDisplay;
  // The whole picture, then some rows changed once it is shown: the first two,
  // single rows, a run, the last two. Every pixel must show in the window, as
  // the X server has it (not the buffer).
  const std::set<int> changed = {0, 1, 100, 240, 241, 242, 243, 300, 477, 478};
  const std::string expected = PatternPicture([&](int y) { return static_cast<int>(changed.count(y)); });
  std::string shown;
  const int status = RunInWindow([&] {
    SetWindowTitle("QUIZZLEBOX draw test");
    for (int y = 0; y < kSurfaceHeight; ++y) DrawPatternRow(y, 0);
    SleepMs(300);
    // Row by row, 2 ms apart: each change comes within one display refresh of
    // the frame the last one called for, and must still be shown when the game
    // then draws nothing more.
    for (int y : changed) {
      DrawPatternRow(y, 1);
      SleepMs(2);
    }
    shown = AwaitPicture("QUIZZLEBOX draw test", expected);
    EndProgram(3);
  });
  EXPECT_EQ(status, 3);
  ExpectPicture(shown, expected);
}

// Covers the screen with a white window for a moment, all but its top left
// pixel, where the pointer is put first: the game's window is then told only
// that it was uncovered (no pointer left or entered it). X keeps nothing of
// what it covers, so the window must draw its picture again.
void CoverTheScreenForAMoment() {
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  const int screen = DefaultScreen(d);
  XWarpPointer(d, None, RootWindow(d, screen), 0, 0, 0, 0, 0, 0);
  XSync(d, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  XSetWindowAttributes a{};
  a.override_redirect = True;
  a.background_pixel = WhitePixel(d, screen);
  const Window cover = XCreateWindow(d, RootWindow(d, screen), 1, 1, static_cast<unsigned>(DisplayWidth(d, screen) - 1),
                                     static_cast<unsigned>(DisplayHeight(d, screen) - 1), 0, CopyFromParent,
                                     InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &a);
  XMapRaised(d, cover);
  XSync(d, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  XDestroyWindow(d, cover);
  XSync(d, False);
  XCloseDisplay(d);
}

TEST(Window, AnUncoveredWindowShowsItsPictureAgain) {
  ASSERT_TRUE(HaveDisplay()) << kNoDisplay;
  const std::string expected = PatternPicture([](int) { return 0; });
  std::string shown;
  const int status = RunInWindow([&] {
    SetWindowTitle("QUIZZLEBOX cover test");
    for (int y = 0; y < kSurfaceHeight; ++y) DrawPatternRow(y, 0);
    SleepMs(300);
    CoverTheScreenForAMoment();
    // The game draws nothing more: the window alone must show it again.
    shown = AwaitPicture("QUIZZLEBOX cover test", expected);
    EndProgram(3);
  });
  EXPECT_EQ(status, 3);
  ExpectPicture(shown, expected);
}

TEST(Window, AFrameWhoseWakeUpWasLostIsShownWithTheNextEvent) {
  ASSERT_TRUE(HaveDisplay()) << kNoDisplay;
  const std::string expected = PatternPicture([](int) { return 1; });
  std::string shown;
  const int status = RunInWindow([&] {
    SetWindowTitle("QUIZZLEBOX wake test");
    for (int y = 0; y < kSurfaceHeight; ++y) DrawPatternRow(y, 0);
    SleepMs(300);
    // SDL's event queue is full: the new frame's wake-up cannot be queued.
    testing::FailSdlCalls("SDL_PushEvent", "Event queue is full");
    for (int y = 0; y < kSurfaceHeight; ++y) DrawPatternRow(y, 1);
    SleepMs(100);
    testing::FailSdlCalls("");
    // One of the events that filled the queue reaches the window.
    SDL_Event e{};
    e.type = SDL_KEYUP;
    SDL_PushEvent(&e);
    shown = AwaitPicture("QUIZZLEBOX wake test", expected);
    EndProgram(3);
  });
  EXPECT_EQ(status, 3);
  ExpectPicture(shown, expected);
}

// An SDL call that fails after start-up is said on stderr once, with SDL's
// reason, however often it fails, and the game goes on.
TEST(Window, AFailedSdlCallIsSaidOnceAndTheGameGoesOn) {
  ASSERT_TRUE(HaveDisplay()) << kNoDisplay;
  // In a child process: what was said once stays said.
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::dup2(out[1], 2);
    testing::FailSdlCalls("SDL_RenderClear", "planted failure");
    // New frames until three were shown (and failed): on a busy machine the
    // window may show none in the time a fixed count of frames takes.
    ::_exit(RunInWindow([] {
      for (int frame = 0; frame < 100 && testing::FailedSdlCalls() < 3; ++frame) {
        for (int y = 0; y < kSurfaceHeight; y += 7) DrawPatternRow(y, frame);
        SleepMs(100);
      }
      EndProgram(5);
    }));
  }
  ::close(out[1]);
  std::string said;
  char buf[512];
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) said.append(buf, static_cast<std::size_t>(n));
  ::close(out[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 5) << status;
  EXPECT_EQ(said, "quizzlebox: SDL_RenderClear failed: planted failure\n");
}

TEST(Window, TheWindowIsNeverOnScreenWithoutItsIcon) {
  ASSERT_TRUE(HaveDisplay()) << kNoDisplay;
  testing::TakeWindowSteps();
  EXPECT_EQ(RunInWindow([] { EndProgram(0); }), 0);
  EXPECT_EQ(testing::TakeWindowSteps(), (std::vector<std::string>{"create hidden", "icon", "show"}));
}

TEST(Window, CloseRequestEndsTheGameAfterHalfASecond) {
  ASSERT_TRUE(HaveDisplay()) << kNoDisplay;
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::execl(QB_GAME_EXE, QB_GAME_EXE, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_EQ(Shell("timeout 10 xdotool search --sync --name '^QUIZZLEBOX' >/dev/null 2>&1"), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  int status = 0;
  EXPECT_EQ(::waitpid(pid, &status, WNOHANG), 0) << "the game must keep running until asked";
  const auto start = Clock::now();
  ASSERT_GE(SendCloseRequest(), 1);
  pid_t done = 0;
  while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 && Clock::now() - start < std::chrono::seconds(10))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  if (done == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    FAIL() << "the game did not end after the close request";
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_GE(ms, 450);
  EXPECT_LT(ms, 2500);
}

// The SDL functions that nm lists for this program with the given options.
std::set<std::string> SdlSymbols(const std::string& nm_options) {
  const std::string cmd = "nm " + nm_options + " /proc/" + std::to_string(::getpid()) + "/exe";
  FILE* p = ::popen(cmd.c_str(), "r");
  EXPECT_NE(p, nullptr);
  std::set<std::string> names;
  if (!p) return names;
  char buf[512];
  while (std::fgets(buf, sizeof buf, p)) {
    std::string name = buf;  // "[address] type name[@version]"
    name = name.substr(name.find_last_of(' ') + 1);
    name = name.substr(0, name.find_first_of("@\n"));
    if (name.rfind("SDL_", 0) == 0) names.insert(name);
  }
  EXPECT_EQ(::pclose(p), 0);
  return names;
}

TEST(Window, EverySdlFunctionTheWindowCallsIsCheckedForItsThread) {
  // A function the program still takes from the library would escape the
  // check: add a stand-in for it to sdl_main_thread.cpp.
  EXPECT_EQ(SdlSymbols("-D --undefined-only"), std::set<std::string>{});
  // Every stand-in the program defines is one the check knows.
  EXPECT_EQ(SdlSymbols("--defined-only"), testing::CheckedSdlFunctions());
}

TEST(Window, SdlCallsOffTheMainThreadAreNotedButPushingAnEventIsNot) {
  std::thread other([] {
    SDL_GetModState();
    SDL_Event e{};
    e.type = SDL_USEREVENT;
    SDL_PushEvent(&e);
  });
  other.join();
  EXPECT_EQ(testing::TakeSdlCallsOffTheMainThread(), std::vector<std::string>{"SDL_GetModState"});
}

TEST(Window, WithoutADisplayTheGameSaysSoAndFails) {
  const std::string cmd = std::string("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= ") + QB_GAME_EXE + " 2>&1";
  FILE* p = ::popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[512];
  while (std::fgets(buf, sizeof buf, p)) out += buf;
  const int st = ::pclose(p);
  EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 1) << st;
  EXPECT_EQ(out.rfind("cannot open the game window: ", 0), 0u) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
}

// SDL's drivers that show nothing are refused only when SDL falls back to
// them: one chosen on purpose is used.
TEST(Window, AChosenDriverIsUsedEvenOneThatShowsNothing) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::unsetenv("DISPLAY");
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::_exit(RunInWindow([] { EndProgram(4); }));
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 4) << status;
}

TEST(Window, WithNoSdlEventTypeLeftTheGameSaysSoAndFails) {
  ASSERT_TRUE(HaveDisplay()) << kNoDisplay;
  // In a child process: the event types it uses up stay used up.
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  std::fflush(nullptr);  // nothing buffered is written twice
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::dup2(out[1], 2);
    while (SDL_RegisterEvents(1) != static_cast<Uint32>(-1)) {
    }
    ::_exit(RunInWindow([] { EndProgram(0); }));
  }
  ::close(out[1]);
  std::string said;
  char buf[512];
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) said.append(buf, static_cast<std::size_t>(n));
  ::close(out[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(said, "cannot open the game window: no SDL event type left for its wake-up\n");
}

}  // namespace
}  // namespace qb
