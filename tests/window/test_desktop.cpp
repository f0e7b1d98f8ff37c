// The game as the desktop sees it: the window carries the game's icon and the
// class its desktop entry names, --fullscreen fills the screen, and the real
// binary answers its command line.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "data/window_icon.h"
#include "shell/version.h"

namespace qb {
namespace {

bool HaveDisplay() { return std::getenv("DISPLAY") != nullptr; }

struct Output {
  int status = -1;
  std::string text;
};

Output RunShell(const std::string& cmd) {
  Output r;
  if (FILE* p = ::popen(cmd.c_str(), "r")) {
    char buf[4096];
    while (std::fgets(buf, sizeof buf, p)) r.text += buf;
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  }
  return r;
}

// A program started in the background, ended when the test is done with it;
// its standard error goes to `error_file` when one is named.
class Process {
 public:
  explicit Process(std::vector<std::string> argv, const std::string& error_file = "") {
    pid_ = ::fork();
    if (pid_ == 0) {
      if (!error_file.empty()) {
        FILE* f = std::fopen(error_file.c_str(), "w");
        if (!f) ::_exit(127);
        ::dup2(::fileno(f), 2);
      }
      std::vector<char*> args;
      for (auto& a : argv) args.push_back(a.data());
      args.push_back(nullptr);
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
  }
  ~Process() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  pid_t pid() const { return pid_; }
  bool Exited() {
    if (pid_ > 0 && ::waitpid(pid_, &status_, WNOHANG) == pid_) pid_ = -1;
    return pid_ <= 0;
  }
  // The wait status once Exited().
  int status() const { return status_; }

 private:
  pid_t pid_ = -1;
  int status_ = 0;
};

// A property of 32-bit items (Xlib hands them over as longs, which may come
// sign-extended: only the low 32 bits count).
std::vector<unsigned long> Property(Display* d, Window w, const char* name) {
  Atom type;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> out;
  if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, LONG_MAX / 4, False, AnyPropertyType, &type, &format,
                         &n, &after, &data) == Success &&
      data) {
    if (format == 32) out.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + n);
    XFree(data);
  }
  return out;
}

// The windows of process `pid` (by their _NET_WM_PID) at or under `w`, with
// their names.
void WindowsOf(Display* d, Window w, pid_t pid, std::vector<std::pair<Window, std::string>>& out) {
  if (const auto p = Property(d, w, "_NET_WM_PID"); p.size() == 1 && static_cast<pid_t>(p[0]) == pid) {
    char* name = nullptr;
    out.emplace_back(w, XFetchName(d, w, &name) && name ? name : "");
    if (name) XFree(name);
  }
  Window root = 0, parent = 0, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &n)) return;
  for (unsigned i = 0; i < n; ++i) WindowsOf(d, children[i], pid, out);
  if (children) XFree(children);
}

// The game's window, looked for through the test's connection `d`: a window
// of process `pid` whose name starts with QUIZZLEBOX; 0 if none shows within
// 30 s (a sanitizer's build on a busy machine takes a while to start), and
// then `seen` says which windows the process had. Windows that vanish during
// the walk (a window manager's frames) are passed over: their errors are
// ignored. (A search with xdotool gives up at the first such error.)
//
// A test holds its connection from before the first game starts until its end:
// an X server without -noreset resets when its last client leaves, and a game
// that connects during the reset loses its connection at once.
Window GameWindow(Display* d, pid_t pid, std::string* seen = nullptr) {
  const auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  std::vector<std::pair<Window, std::string>> windows;
  Window found = 0;
  for (const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
       !found && std::chrono::steady_clock::now() < until;) {
    windows.clear();
    WindowsOf(d, DefaultRootWindow(d), pid, windows);
    for (const auto& [w, name] : windows)
      if (!found && name.starts_with("QUIZZLEBOX")) found = w;
    if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  XSetErrorHandler(previous);
  if (seen) {
    *seen = windows.empty() ? "no window" : "windows:";
    for (const auto& [w, name] : windows) *seen += " '" + name + "'";
  }
  return found;
}

// The value of `key` in the installed desktop entry.
std::string DesktopEntry(const std::string& key) {
  std::ifstream in(QB_DESKTOP_FILE);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  return "";
}

TEST(Desktop, TheWindowCarriesTheIconAndTheClassOfTheDesktopEntry) {
  if (!HaveDisplay()) GTEST_SKIP() << "no X display";
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  Process game({QB_GAME_EXE});
  const Window w = GameWindow(d, game.pid());
  ASSERT_NE(w, 0u);
  // The icon is read as soon as the window is on screen: it must be there by then.
  XWindowAttributes attributes{};
  for (int i = 0; i < 400 && XGetWindowAttributes(d, w, &attributes) && attributes.map_state != IsViewable; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(attributes.map_state, IsViewable);

  const auto icon = Property(d, w, "_NET_WM_ICON");
  ASSERT_EQ(icon.size(), 2u + kWindowIconSize * kWindowIconSize);
  EXPECT_EQ(icon[0], static_cast<unsigned long>(kWindowIconSize));
  EXPECT_EQ(icon[1], static_cast<unsigned long>(kWindowIconSize));
  int differing = 0;
  for (int i = 0; i < kWindowIconSize * kWindowIconSize; ++i)
    differing += static_cast<std::uint32_t>(icon[2 + static_cast<std::size_t>(i)]) != kWindowIconPixels[i];
  EXPECT_EQ(differing, 0);

  XClassHint hint{};
  ASSERT_TRUE(XGetClassHint(d, w, &hint));
  const std::string res_class = hint.res_class ? hint.res_class : "";
  XFree(hint.res_name);
  XFree(hint.res_class);
  XCloseDisplay(d);
  EXPECT_EQ(res_class, DesktopEntry("StartupWMClass"));
  EXPECT_FALSE(res_class.empty());
}

// Whether the window manager has taken `w` under its care: it frames it.
bool Managed(Display* d, Window w) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &n)) return false;
  if (children) XFree(children);
  return parent != root;
}

// Starts openbox and waits until it manages new windows: it announces itself
// on the root window before it is done starting, and a window mapped in
// between is left unmanaged, so a window of the test's own must be framed
// first. Under load openbox now and then exits at once, unable to open the
// display that every other client opens; it is started again then.
std::unique_ptr<Process> StartWindowManager(Display* d) {
  const Window probe = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
  XMapWindow(d, probe);
  XFlush(d);
  std::unique_ptr<Process> wm;
  for (int attempt = 0; attempt < 5 && !wm; ++attempt) {
    wm = std::make_unique<Process>(std::vector<std::string>{"openbox", "--sm-disable"});
    for (int i = 0; i < 400 && !wm->Exited() && !Managed(d, probe); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    if (!Managed(d, probe)) wm.reset();
  }
  XDestroyWindow(d, probe);
  XSync(d, False);
  return wm;
}

TEST(Desktop, FullscreenFillsTheScreenAndWithoutItTheWindowKeepsItsSize) {
  if (!HaveDisplay()) GTEST_SKIP() << "no X display";
  if (RunShell("command -v openbox >/dev/null").status != 0) GTEST_SKIP() << "openbox missing";
  // Full screen is the window manager's to grant.
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  const auto wm = StartWindowManager(d);
  ASSERT_NE(wm, nullptr) << "openbox did not start";
  const int screen_w = DisplayWidth(d, DefaultScreen(d)), screen_h = DisplayHeight(d, DefaultScreen(d));

  struct Case {
    std::vector<std::string> argv;
    int width, height;
  };
  for (const auto& c : {Case{{QB_GAME_EXE, "--fullscreen"}, screen_w, screen_h}, Case{{QB_GAME_EXE}, 696, 479}}) {
    Process game(c.argv);
    const Window w = GameWindow(d, game.pid());
    ASSERT_NE(w, 0u);
    XWindowAttributes a{};
    auto takes_size = [&](int width, int height) {
      for (int i = 0; i < 400; ++i) {  // the manager takes a moment to place it (longer on a busy machine)
        XGetWindowAttributes(d, w, &a);
        if (a.width == width && a.height == height) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
      }
      return false;
    };
    EXPECT_TRUE(takes_size(c.width, c.height)) << c.argv.size() << ": " << a.width << " x " << a.height;
    if (c.argv.size() > 1) continue;
    // Alt+Enter fills the screen, and again gives the plain window back.
    ASSERT_EQ(RunShell("xdotool windowactivate --sync " + std::to_string(w) + " key alt+Return").status, 0);
    EXPECT_TRUE(takes_size(screen_w, screen_h)) << a.width << " x " << a.height;
    // The menu at its own size in the middle of the screen, black around it:
    // the middle of the screen shows the middle of the menu's yellow box, and
    // 343 left of it and 235 above it the board's colour near the picture's corner.
    // Named for this process: window tests of other checkouts may run at once.
    const std::string shot = ::testing::TempDir() + "qb_fullscreen_" + std::to_string(::getpid()) + ".rgb";
    auto at = [&](const std::string& rgb, int x, int y) {
      const std::size_t i = (static_cast<std::size_t>(y) * screen_w + x) * 3;
      if (rgb.size() < i + 3) return 0x1000000u;  // not read
      return static_cast<unsigned>(static_cast<unsigned char>(rgb[i])) << 16 |
             static_cast<unsigned>(static_cast<unsigned char>(rgb[i + 1])) << 8 | static_cast<unsigned char>(rgb[i + 2]);
    };
    std::string rgb;
    // The change to full screen takes a moment to settle (seconds on a busy machine).
    const auto settle_until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < settle_until) {
      RunShell("import -window " + std::to_string(w) + " -depth 8 rgb:" + shot);
      std::ifstream f(shot, std::ios::binary);
      rgb.assign(std::istreambuf_iterator<char>(f), {});
      if (at(rgb, screen_w / 2, screen_h / 2) == 0xBBBB01u && at(rgb, screen_w / 2 - 343, screen_h / 2 - 235) == 0x00BEBEu &&
          at(rgb, 0, 0) == 0u && at(rgb, screen_w - 1, screen_h - 1) == 0u)
        break;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    EXPECT_EQ(at(rgb, screen_w / 2, screen_h / 2), 0xBBBB01u);
    EXPECT_EQ(at(rgb, screen_w / 2 - 343, screen_h / 2 - 235), 0x00BEBEu);
    EXPECT_EQ(at(rgb, 0, 0), 0u);
    EXPECT_EQ(at(rgb, screen_w - 1, screen_h - 1), 0u);
    std::remove(shot.c_str());
    ASSERT_EQ(RunShell("xdotool windowactivate --sync " + std::to_string(w) + " key alt+Return").status, 0);
    EXPECT_TRUE(takes_size(696, 479)) << a.width << " x " << a.height;
  }
  XCloseDisplay(d);
}

TEST(Desktop, TheGameAnswersItsCommandLine) {
  struct Case {
    const char* args;
    int status;
    std::string out;  // standard output, exactly or (ending in "...") its start
    std::string err;
    const char* output = "/dev/null";  // where standard output goes while standard error is read
  };
  const Case cases[] = {
      {"--version", 0, "quizzlebox " QB_VERSION "\n", ""},
      {"--help", 0, "Usage: quizzlebox [--fullscreen]\n...", ""},
      {"--fulscreen", 2, "", "quizzlebox: unknown option '--fulscreen'\nUsage: quizzlebox [--fullscreen]\n..."},
      // Output that cannot be written is a failure.
      {"--help >/dev/full", 1, "", "quizzlebox: cannot write to standard output\n", "/dev/full"},
      {"--version >/dev/full", 1, "", "quizzlebox: cannot write to standard output\n", "/dev/full"},
  };
  for (const auto& c : cases) {
    const std::string exe = QB_GAME_EXE;
    const Output out = RunShell("env -u DISPLAY " + exe + " " + c.args + " 2>/dev/null");
    const std::string args = std::string(c.args).substr(0, std::string(c.args).find(" >"));
    const Output err = RunShell("env -u DISPLAY " + exe + " " + args + " 2>&1 >" + c.output);
    EXPECT_EQ(out.status, c.status) << c.args;
    for (const auto& [got, want] : {std::pair{out.text, c.out}, std::pair{err.text, c.err}}) {
      if (want.ends_with("..."))
        EXPECT_EQ(got.rfind(want.substr(0, want.size() - 3), 0), 0u) << c.args << "\n" << got;
      else
        EXPECT_EQ(got, want) << c.args;
    }
  }
}

// Losing the display (the X server drops the game's connection, as when the
// server ends) ends the game on every kind of screen within a second, with a
// message and status 1: no hang, no crash.
TEST(Desktop, ALostDisplayEndsTheGameWithAMessageAndStatus1) {
  if (!HaveDisplay()) GTEST_SKIP() << "no X display";
  struct Case {
    const char* screen;
    const char* keys;  // a shell line of xdotool presses and pauses, from the menu
  };
  const Case cases[] = {
      {"menu", ""},
      {"password screen", "xdotool key Down; sleep 0.3; xdotool key Return; sleep 1"},
      {"take-back dialog", "xdotool key Return; sleep 3; xdotool key space; sleep 2; xdotool key b; sleep 0.5"},
      {"pause", "xdotool key Return; sleep 3; xdotool key space; sleep 2; xdotool key p; sleep 1"},
      {"credits", "xdotool key ctrl+F12; sleep 1"},
  };
  // Named for this process: other runs of these tests on the machine write theirs.
  const std::string error_file = ::testing::TempDir() + "lost_display_stderr_" + std::to_string(::getpid()) + ".txt";
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  for (const auto& c : cases) {
    Process game({QB_GAME_EXE}, error_file);
    std::string seen;
    const Window w = GameWindow(d, game.pid(), &seen);
    if (w == 0) {
      std::ifstream in(error_file);
      const std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      FAIL() << c.screen << ": no game window; the game " << (game.Exited() ? "ended" : "runs") << " with " << seen
             << "; it said: " << said;
    }
    RunShell("xdotool windowfocus --sync " + std::to_string(w) + " 2>/dev/null; sleep 0.5; " + c.keys);
    ASSERT_FALSE(game.Exited()) << c.screen << ": the game ended before the display was lost";
    // Timed from the moment xdotool has dropped the connection (its own start
    // takes a while on a busy machine).
    ASSERT_EQ(RunShell("xdotool windowkill " + std::to_string(w)).status, 0) << c.screen;
    const auto start = std::chrono::steady_clock::now();
    while (!game.Exited() && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    ASSERT_TRUE(game.Exited()) << c.screen << ": the game hangs";
    ASSERT_TRUE(WIFEXITED(game.status())) << c.screen << ": ended by signal " << WTERMSIG(game.status());
    EXPECT_EQ(WEXITSTATUS(game.status()), 1) << c.screen;
    EXPECT_LT(ms, 1000) << c.screen;
    std::ifstream in(error_file);
    const std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(said, "quizzlebox: the connection to the display was lost\n") << c.screen;
    if (::testing::Test::HasFailure()) break;  // one screen's report is enough to debug
  }
  XCloseDisplay(d);
  std::remove(error_file.c_str());
}

}  // namespace
}  // namespace qb
