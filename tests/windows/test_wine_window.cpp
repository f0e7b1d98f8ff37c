// The Windows program (quizzlebox.exe) under Wine on an X server, seen from
// outside: keys sent through XTest, the window's pixels read back and
// compared, pixel for pixel, with what the headless twin draws for the same
// keys (quizzlebox-replay --ppm); the close button, Alt+Enter and the command
// line. Run under xvfb-run with WINEPREFIX set (scripts/test does both).
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "data/window_icon.h"
#include "gfx/picture_fit.h"
#include "gfx/surface.h"
#include "shell/version.h"

namespace qb {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Rgb = std::vector<std::uint8_t>;  // 696 x 479, three bytes a pixel

constexpr int W = kSurfaceWidth, H = kSurfaceHeight;

void Sleep(milliseconds ms) { std::this_thread::sleep_for(ms); }

// Where a failing comparison leaves its pictures.
std::filesystem::path OutDir() {
  const auto dir = std::filesystem::path(QB_TEST_OUT_DIR) / "wine_window_test";
  std::filesystem::create_directories(dir);
  return dir;
}

// ---- the game under Wine ----

class WineGame {
 public:
  explicit WineGame(std::vector<std::string> args, const char* display = nullptr) {
    pid_ = ::fork();
    if (pid_ == 0) {
      if (display) ::setenv("DISPLAY", display, 1);
      std::vector<std::string> argv{"wine", QB_WINDOWS_EXE};
      argv.insert(argv.end(), args.begin(), args.end());
      std::vector<char*> c;
      for (auto& a : argv) c.push_back(a.data());
      c.push_back(nullptr);
      ::execvp("wine", c.data());
      ::_exit(127);
    }
  }
  ~WineGame() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  pid_t pid() const { return pid_; }
  // The exit status once the program has ended within the time; nothing otherwise.
  std::optional<int> Wait(milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    int status = 0;
    do {
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      Sleep(milliseconds(5));
    } while (Clock::now() < deadline);
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
};

// ---- the X server ----

class XServer {
 public:
  XServer() : d_(XOpenDisplay(nullptr)) {}
  ~XServer() {
    if (d_) XCloseDisplay(d_);
  }
  bool ok() const { return d_ != nullptr; }
  Display* display() const { return d_; }

  std::string Title(Window w) {
    char* name = nullptr;
    std::string out;
    if (XFetchName(d_, w, &name) && name) out = name;
    if (name) XFree(name);
    return out;
  }

  // The viewable window whose title starts with `prefix`, searched depth
  // first (under a window manager it is a child of the manager's frame).
  Window Find(const std::string& prefix, milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    do {
      std::vector<Window> todo{DefaultRootWindow(d_)};
      while (!todo.empty()) {
        const Window w = todo.back();
        todo.pop_back();
        Window root = 0, parent = 0, *children = nullptr;
        unsigned n = 0;
        if (XQueryTree(d_, w, &root, &parent, &children, &n)) {
          for (unsigned i = 0; i < n; ++i) todo.push_back(children[i]);
          if (children) XFree(children);
        }
        XWindowAttributes a{};
        if (Title(w).rfind(prefix, 0) == 0 && XGetWindowAttributes(d_, w, &a) && a.map_state == IsViewable) return w;
      }
      Sleep(milliseconds(50));
    } while (Clock::now() < deadline);
    return 0;
  }

  bool WaitTitle(Window w, const std::string& prefix, milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Title(w).rfind(prefix, 0) != 0) {
      if (Clock::now() > deadline) return false;
      Sleep(milliseconds(20));
    }
    return true;
  }

  // Gives the window the keyboard: through the window manager when there is
  // one (_NET_ACTIVE_WINDOW), directly otherwise.
  void Focus(Window w) {
    if (!Property(DefaultRootWindow(d_), "_NET_SUPPORTING_WM_CHECK").empty()) {
      XEvent e{};
      e.xclient.type = ClientMessage;
      e.xclient.window = w;
      e.xclient.message_type = XInternAtom(d_, "_NET_ACTIVE_WINDOW", False);
      e.xclient.format = 32;
      e.xclient.data.l[0] = 2;  // from a pager: the request of a user
      e.xclient.data.l[1] = CurrentTime;
      XSendEvent(d_, DefaultRootWindow(d_), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
      XSync(d_, False);
      for (int i = 0; i < 100 && ActiveWindow() != w; ++i) Sleep(milliseconds(20));
      return;
    }
    XRaiseWindow(d_, w);
    XSetInputFocus(d_, w, RevertToParent, CurrentTime);
    XSync(d_, False);
  }

  Window ActiveWindow() {
    const auto active = Property(DefaultRootWindow(d_), "_NET_ACTIVE_WINDOW");
    return active.empty() ? 0 : static_cast<Window>(active[0]);
  }

  // Presses and releases a key, with the modifiers held around it.
  void Press(KeySym key, std::vector<KeySym> held = {}) {
    for (KeySym m : held) XTestFakeKeyEvent(d_, XKeysymToKeycode(d_, m), True, CurrentTime);
    XTestFakeKeyEvent(d_, XKeysymToKeycode(d_, key), True, CurrentTime);
    XTestFakeKeyEvent(d_, XKeysymToKeycode(d_, key), False, CurrentTime);
    for (auto m = held.rbegin(); m != held.rend(); ++m)
      XTestFakeKeyEvent(d_, XKeysymToKeycode(d_, *m), False, CurrentTime);
    XSync(d_, False);
  }

  bool Size(Window w, int& width, int& height) {
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d_, w, &a)) return false;
    width = a.width;
    height = a.height;
    return true;
  }

  // A rectangle of a window as RGB bytes; empty when it cannot be read.
  Rgb Read(Window w, int x, int y, int width, int height) {
    XImage* image = XGetImage(d_, w, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes,
                              ZPixmap);
    if (!image) return {};
    Rgb out;
    out.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int j = 0; j < height; ++j)
      for (int i = 0; i < width; ++i) {
        const unsigned long p = XGetPixel(image, i, j);
        out.push_back(static_cast<std::uint8_t>((p & image->red_mask) >> 16));
        out.push_back(static_cast<std::uint8_t>((p & image->green_mask) >> 8));
        out.push_back(static_cast<std::uint8_t>(p & image->blue_mask));
      }
    XDestroyImage(image);
    return out;
  }

  // The window manager's close request (the close button), as an X client
  // message: Wine turns it into WM_CLOSE.
  void SendCloseRequest(Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d_, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d_, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d_, w, False, NoEventMask, &e);
    XSync(d_, False);
  }

  std::vector<unsigned long> Property(Window w, const char* name) {
    Atom type;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    if (XGetWindowProperty(d_, w, XInternAtom(d_, name, False), 0, LONG_MAX / 4, False, AnyPropertyType, &type,
                           &format, &n, &after, &data) == Success &&
        data) {
      if (format == 32) out.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + n);
      XFree(data);
    }
    return out;
  }

 private:
  Display* d_;
};

// ---- the headless twin ----

struct ScriptKey {
  int gap_ms;
  std::string name;  // as the replay tool names it
};

Rgb ReadPpm(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  in.get();
  if (magic != "P6" || w != W || h != H || max != 255) return {};
  Rgb out(static_cast<std::size_t>(W) * H * 3);
  in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return in ? out : Rgb{};
}

void WritePpm(const std::filesystem::path& file, const Rgb& rgb, int w = W, int h = H) {
  std::ofstream out(file, std::ios::binary);
  out << "P6\n" << w << " " << h << "\n255\n";
  out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
}

// The twin's screen after the keys, once every animation they start is over.
Rgb Twin(const std::vector<ScriptKey>& keys, const std::string& name) {
  const auto base = OutDir() / name;
  {
    std::ofstream script(base.string() + ".keys");
    int t = 1000;  // the twin's time of the first key
    for (std::size_t i = 0; i < keys.size(); ++i) script << (i == 0 ? t : keys[i].gap_ms) << " " << keys[i].name << "\n";
    script << "4000 end\n";
  }
  const std::string cmd = std::string(QB_REPLAY_EXE) + " " + base.string() + ".keys --ppm " + base.string() +
                          ".twin.ppm >/dev/null";
  if (std::system(cmd.c_str()) != 0) return {};
  return ReadPpm(base.string() + ".twin.ppm");
}

// Left out of every comparison: they depend on real time. The blinking
// question mark turns after a count of loop passes, the time gauge erodes
// with the passes of the play loop.
bool Masked(int x, int y) {
  return (x >= 658 && x <= 687 && y >= 411 && y <= 440) || (x >= 674 && x <= 689 && y >= 395 && y <= 471);
}

struct Difference {
  int count = 0;
  int x = -1, y = -1;
};

Difference Compare(const Rgb& got, const Rgb& want) {
  Difference d;
  if (got.size() != want.size()) return {W * H, 0, 0};
  for (int p = 0; p < W * H; ++p) {
    const int x = p % W, y = p / W;
    if (Masked(x, y)) continue;
    const auto i = static_cast<std::size_t>(p) * 3;
    if (got[i] == want[i] && got[i + 1] == want[i + 1] && got[i + 2] == want[i + 2]) continue;
    if (d.count++ == 0) d.x = x, d.y = y;
  }
  return d;
}

// The twin's picture grown by a whole factor, as full screen shows it.
Rgb Grown(const Rgb& rgb, int k) {
  Rgb out(static_cast<std::size_t>(W) * k * H * k * 3);
  for (int y = 0; y < H * k; ++y)
    for (int x = 0; x < W * k; ++x)
      for (int c = 0; c < 3; ++c)
        out[(static_cast<std::size_t>(y) * W * k + x) * 3 + c] =
            rgb[(static_cast<std::size_t>(y / k) * W + x / k) * 3 + static_cast<std::size_t>(c)];
  return out;
}

// Waits until the window's client area equals the expected picture; on a
// mismatch leaves both and their difference as PPMs.
::testing::AssertionResult ShowsTwin(XServer& x, Window w, const Rgb& want, const std::string& name) {
  if (want.empty()) return ::testing::AssertionFailure() << "the replay tool drew nothing for " << name;
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  Rgb got;
  Difference d;
  for (;;) {
    got = x.Read(w, 0, 0, W, H);
    d = Compare(got, want);
    if (d.count == 0) return ::testing::AssertionSuccess();
    if (Clock::now() > deadline) break;
    Sleep(milliseconds(150));
  }
  const auto base = OutDir() / name;
  WritePpm(base.string() + ".window.ppm", got);
  Rgb diff(want.size(), 0);
  for (int p = 0; p < W * H && got.size() == want.size(); ++p)
    for (int c = 0; c < 3; ++c) {
      const auto i = static_cast<std::size_t>(p) * 3;
      if (!Masked(p % W, p / W) && (got[i] != want[i] || got[i + 1] != want[i + 1] || got[i + 2] != want[i + 2]))
        diff[i + static_cast<std::size_t>(c)] = 255;
    }
  WritePpm(base.string() + ".diff.ppm", diff);
  return ::testing::AssertionFailure() << name << ": " << d.count << " pixels differ, the first at (" << d.x << ", "
                                       << d.y << "); see " << base.string() << ".*.ppm";
}

KeySym Sym(const std::string& name) {
  if (name == "Enter") return XK_Return;
  if (name == "Space") return XK_space;
  if (name.size() == 1) return XStringToKeysym(name.c_str());
  return XStringToKeysym(name.c_str());  // Up, Down, Left, Right, F5
}

constexpr const char* kMenuTitle = "QUIZZLEBOX - the ultimate puzzle game, v1.1";

class WineWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("WINEDEBUG", "-all", 0);
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "no X display: the Wine tests run under xvfb-run (scripts/test)";
    ASSERT_TRUE(x_.ok());
  }
  // The started game's window, focused, once it shows the main menu.
  Window Start(WineGame& game) {
    const Window w = x_.Find("QUIZZLEBOX", std::chrono::seconds(30));
    if (!w || !x_.WaitTitle(w, kMenuTitle, std::chrono::seconds(10))) return 0;
    x_.Focus(w);
    Sleep(milliseconds(300));
    (void)game;
    return w;
  }
  XServer x_;
};

TEST_F(WineWindow, EveryCheckpointEqualsTheHeadlessTwin) {
  WineGame game({});
  const Window w = Start(game);
  ASSERT_NE(w, 0u) << "the game's window did not show its menu";
  int width = 0, height = 0;
  ASSERT_TRUE(x_.Size(w, width, height));
  EXPECT_EQ(width, W);
  EXPECT_EQ(height, H);

  constexpr int kGap = 300;
  struct Step {
    std::string name;
    std::vector<ScriptKey> keys;
  };
  std::vector<ScriptKey> password;
  for (char c : std::string("839471590")) password.push_back({kGap, std::string(1, c)});  // level 7, score 5000
  std::vector<Step> steps = {
      {"main-menu", {}},
      {"level-1-card", {{kGap, "Enter"}}},
      {"level-1-after-moves",
       {{kGap, "Space"}, {kGap, "Left"}, {kGap, "Left"}, {kGap, "Down"}, {kGap, "Left"}, {kGap, "Left"}, {kGap, "Up"}}},
      {"take-back-refused", {{kGap, "b"}}},
      {"password-typed", {{kGap, "Space"}, {kGap, "F5"}, {1500, "Down"}, {kGap, "Enter"}}},
      {"accepted-password-card", {{kGap, "Enter"}}},
      {"save-charges-200", {{kGap, "Space"}, {kGap, "s"}}},
  };
  steps[4].keys.insert(steps[4].keys.end(), password.begin(), password.end());
  std::vector<ScriptKey> script;
  for (const Step& step : steps) {
    for (const ScriptKey& k : step.keys) {
      Sleep(milliseconds(k.gap_ms));
      x_.Press(Sym(k.name));
      script.push_back(k);
    }
    ASSERT_TRUE(ShowsTwin(x_, w, Twin(script, step.name), step.name));
  }
  EXPECT_EQ(x_.Title(w), "QUIZZLEBOX, level 7");
}

TEST_F(WineWindow, TheWindowCarriesTheGamesIcon) {
  WineGame game({});
  const Window w = Start(game);
  ASSERT_NE(w, 0u);
  // _NET_WM_ICON: width, height and the pixels of each size Wine offers.
  const auto icon = x_.Property(w, "_NET_WM_ICON");
  bool found = false;
  for (std::size_t at = 0; at + 2 <= icon.size() && !found;) {
    const std::size_t iw = icon[at], ih = icon[at + 1];
    if (iw == static_cast<std::size_t>(kWindowIconSize) && ih == iw && at + 2 + iw * ih <= icon.size()) {
      found = true;
      int differing = 0;
      for (std::size_t i = 0; i < iw * ih; ++i)
        differing += static_cast<std::uint32_t>(icon[at + 2 + i]) != kWindowIconPixels[i];
      EXPECT_EQ(differing, 0);
    }
    at += 2 + iw * ih;
  }
  EXPECT_TRUE(found) << "no " << kWindowIconSize << " x " << kWindowIconSize << " icon among " << icon.size()
                     << " items of _NET_WM_ICON";
}

TEST_F(WineWindow, TheCloseButtonEndsTheGameWithStatusZero) {
  WineGame game({});
  const Window w = Start(game);
  ASSERT_NE(w, 0u);
  EXPECT_FALSE(game.Wait(milliseconds(300))) << "the game must keep running until asked";
  const auto start = Clock::now();
  x_.SendCloseRequest(w);
  const auto status = game.Wait(std::chrono::seconds(10));
  ASSERT_TRUE(status) << "the game did not end after the close request";
  EXPECT_EQ(*status, 0);
  const auto took = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  EXPECT_GE(took, milliseconds(450)) << "the game waits 500 ms";
  EXPECT_LT(took, milliseconds(2500)) << "the game waits 500 ms, then ends";
}

// Full screen is the window manager's to show: openbox here.
class WineWindowUnderOpenbox : public WineWindow {
 protected:
  void SetUp() override {
    WineWindow::SetUp();
    if (HasFatalFailure()) return;
    if (std::system("command -v openbox >/dev/null") != 0) GTEST_SKIP() << "openbox missing";
    wm_ = ::fork();
    if (wm_ == 0) {
      ::execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 400 && x_.Property(DefaultRootWindow(x_.display()), "_NET_SUPPORTING_WM_CHECK").empty(); ++i)
      Sleep(milliseconds(25));
    screen_w_ = DisplayWidth(x_.display(), DefaultScreen(x_.display()));
    screen_h_ = DisplayHeight(x_.display(), DefaultScreen(x_.display()));
  }
  void TearDown() override {
    if (wm_ <= 0) return;
    ::kill(wm_, SIGTERM);
    for (int i = 0; i < 100 && ::waitpid(wm_, nullptr, WNOHANG) == 0; ++i) Sleep(milliseconds(20));
    if (::waitpid(wm_, nullptr, WNOHANG) == 0) {  // still there after 2 s
      ::kill(wm_, SIGKILL);
      ::waitpid(wm_, nullptr, 0);
    }
  }
  // Until the window has that size (the manager takes a moment).
  bool WaitSize(Window w, int want_w, int want_h) {
    int width = 0, height = 0;
    for (int i = 0; i < 400; ++i) {
      if (x_.Size(w, width, height) && width == want_w && height == want_h) return true;
      Sleep(milliseconds(25));
    }
    ADD_FAILURE() << "the window is " << width << " x " << height << ", not " << want_w << " x " << want_h;
    return false;
  }
  pid_t wm_ = -1;
  int screen_w_ = 0, screen_h_ = 0;
};

TEST_F(WineWindowUnderOpenbox, AltEnterGoesFullScreenByWholeFactorsAndBack) {
  WineGame game({});
  const Window w = Start(game);
  ASSERT_NE(w, 0u);
  const Rgb menu = Twin({}, "fullscreen-menu");
  ASSERT_TRUE(ShowsTwin(x_, w, menu, "fullscreen-windowed"));
  const int screen_w = screen_w_, screen_h = screen_h_;
  const PictureRect fit = FitPicture(screen_w, screen_h);
  const auto wait_size = [&](int want_w, int want_h) { return WaitSize(w, want_w, want_h); };

  x_.Press(XK_Return, {XK_Alt_L});
  ASSERT_TRUE(wait_size(screen_w, screen_h));
  // The whole screen: the picture grown by the largest whole factor, centred
  // on black.
  const Rgb grown = Grown(menu, fit.factor);
  Rgb screen;
  int differing = 0, x0 = -1, y0 = -1;
  for (int attempt = 0; attempt < 80; ++attempt) {
    screen = x_.Read(DefaultRootWindow(x_.display()), 0, 0, screen_w, screen_h);
    differing = 0;
    for (int y = 0; y < screen_h; ++y)
      for (int x = 0; x < screen_w; ++x) {
        const int px = x - fit.x, py = y - fit.y;
        const bool inside = px >= 0 && py >= 0 && px < fit.w && py < fit.h;
        if (inside && Masked(px / fit.factor, py / fit.factor)) continue;
        const auto i = (static_cast<std::size_t>(y) * screen_w + x) * 3;
        std::uint8_t want[3] = {0, 0, 0};
        if (inside)
          for (int c = 0; c < 3; ++c) want[c] = grown[(static_cast<std::size_t>(py) * fit.w + px) * 3 + c];
        if (screen[i] != want[0] || screen[i + 1] != want[1] || screen[i + 2] != want[2])
          if (differing++ == 0) x0 = x, y0 = y;
      }
    if (differing == 0) break;
    Sleep(milliseconds(100));
  }
  if (differing) WritePpm(OutDir() / "fullscreen.screen.ppm", screen, screen_w, screen_h);
  EXPECT_EQ(differing, 0) << "full screen at factor " << fit.factor << ": the first difference at (" << x0 << ", "
                          << y0 << ")";

  x_.Press(XK_Return, {XK_Alt_L});
  ASSERT_TRUE(wait_size(W, H));
  EXPECT_TRUE(ShowsTwin(x_, w, menu, "fullscreen-back"));
}

TEST_F(WineWindowUnderOpenbox, FullscreenOptionStartsFullScreenAndAltEnterGivesTheWindow) {
  WineGame game({"--fullscreen"});
  const Window w = Start(game);
  ASSERT_NE(w, 0u);
  ASSERT_TRUE(WaitSize(w, screen_w_, screen_h_));
  x_.Press(XK_Return, {XK_Alt_L});
  ASSERT_TRUE(WaitSize(w, W, H));
  EXPECT_TRUE(ShowsTwin(x_, w, Twin({}, "fullscreen-option-menu"), "fullscreen-option-windowed"));
}

struct Output {
  int status = -1;
  std::string out, err;
};

Output RunWine(const std::string& args) {
  const auto dir = OutDir();
  const std::string out = (dir / "stdout.txt").string(), err = (dir / "stderr.txt").string();
  const std::string cmd = std::string("wine ") + QB_WINDOWS_EXE + " " + args + " >" + out + " 2>" + err;
  Output r;
  const int st = std::system(cmd.c_str());
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  const auto slurp = [](const std::string& f) {
    std::ifstream in(f, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  // Text written on Windows ends its lines with CR LF.
  const auto lf = [](std::string s) {
    for (std::size_t at; (at = s.find("\r\n")) != std::string::npos;) s.erase(at, 1);
    return s;
  };
  r.out = lf(slurp(out));
  r.err = lf(slurp(err));
  return r;
}

TEST(WineProgram, AnswersItsCommandLine) {
  ::setenv("WINEDEBUG", "-all", 0);
  const Output version = RunWine("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "quizzlebox " QB_VERSION "\n");
  const Output help = RunWine("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: quizzlebox [--fullscreen]\n", 0), 0u) << help.out;
  const Output wrong = RunWine("--fulscreen");
  EXPECT_EQ(wrong.status, 2);
  EXPECT_EQ(wrong.out, "");
  EXPECT_EQ(wrong.err.rfind("quizzlebox: unknown option '--fulscreen'\nUsage: quizzlebox", 0), 0u) << wrong.err;
}

}  // namespace
}  // namespace qb
