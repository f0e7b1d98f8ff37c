// quizzlebox_window_probe: measures the real game from outside, as a player's
// desktop sees it. It starts the game under an X server, times its start until
// the window shows its first frame, presses keys through XTest and times each
// press until the window's pixels change, then leaves each waiting screen
// alone for a while and reads the process's CPU time and wakeups from /proc.
// It prints one Markdown table, a column for each game measured.
//
//   quizzlebox_window_probe --game PATH [--replay PATH] [--display NAME]
//       [--fullscreen-display NAME] [--presses N] [--idle-seconds S]
//       [--solution MOVES] [--label TEXT] [--wine-game EXE]
//
// --wine-game also measures the Windows program EXE under Wine (in the Wine
// prefix of $WINEPREFIX), in a column of its own after the first: its CPU
// and wakeups include those of the Wine server of that prefix, which does
// part of the program's work.
// --display is the X server for everything windowed ($DISPLAY by default);
// --fullscreen-display is a 1920x1080 server with a window manager, where
// play is measured in full screen (Alt+Enter). --replay also times the replay
// tool on a script that idles for a day. --presses is rounded up to an even
// number, so that the menu's pointer and the figure end where they began. The
// solution is level 1's, in the move letters of tests/data/solutions.txt (read
// from there by default).
#include <X11/keysym.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "process_stats.h"
#include "x_session.h"

namespace probe {

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

struct Options {
  std::string game;
  std::string replay;
  std::string display;
  std::string fullscreen_display;
  int presses = 40;
  double idle_seconds = 8;
  std::string solution;
  std::string label = "this build";
  std::string wine_game;
};

// A game to measure: how to start it, and whether it runs under Wine.
struct Subject {
  std::string label;
  std::vector<std::string> argv;
  bool wine = false;
};

void Say(const std::string& text) { std::fprintf(stderr, "probe: %s\n", text.c_str()); }

void Sleep(Clock::duration d) { std::this_thread::sleep_for(d); }

std::string Fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

// Whole numbers with thousands separators: 1,234.
std::string Grouped(double v) {
  const std::string digits = std::to_string(std::llround(v));
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && digits[i - 1] != '-' && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

std::string LevelOneSolution(const std::string& source_dir) {
  std::ifstream in(source_dir + "/tests/data/solutions.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    int level = 0;
    std::string moves;
    if (words >> level >> moves && level == 1) return moves;
  }
  return {};
}

// ---- the game process ----

class Game {
 public:
  Game(const Subject& subject, const std::string& display) : started_(Clock::now()) {
    pid_ = fork();
    if (pid_ == 0) {
      setenv("DISPLAY", display.c_str(), 1);
      if (subject.wine) setenv("WINEDEBUG", "-all", 1);
      if (FILE* quiet = std::freopen("/dev/null", "w", stdout)) (void)quiet;
      std::vector<char*> argv;
      for (const auto& a : subject.argv) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      std::perror(argv[0]);
      _exit(127);
    }
  }
  Clock::time_point started() const { return started_; }
  ~Game() { Stop(); }
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  pid_t pid() const { return pid_; }
  bool Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == 0) return true;
    pid_ = -1;
    return false;
  }
  void Stop() {
    if (!Running()) return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 100; ++i) {
      if (!Running()) return;
      Sleep(milliseconds(20));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  Clock::time_point started_;
  pid_t pid_ = -1;
};

// ---- results ----

struct Latency {
  std::vector<double> ms;  // answered presses
  int unanswered = 0;
  Region area;              // the part of the window read while waiting
  double read_seconds = 0;  // time spent reading it
  long reads = 0;
};

// The bounding box, in window pixels, of the pixels that differ between two
// reads of the same region; nothing when none do.
std::optional<Region> ChangedArea(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b,
                                  const Region& region) {
  if (a.size() != b.size() || region.width <= 0 || region.height <= 0) return std::nullopt;
  const std::size_t pixel = a.size() / (static_cast<std::size_t>(region.width) * static_cast<std::size_t>(region.height));
  int left = region.width, right = -1, top = region.height, bottom = -1;
  for (int y = 0; y < region.height; ++y)
    for (int x = 0; x < region.width; ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(region.width) +
                              static_cast<std::size_t>(x)) * pixel;
      if (std::memcmp(&a[at], &b[at], pixel) == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  if (right < 0) return std::nullopt;
  return Region{region.x + left, region.y + top, right - left + 1, bottom - top + 1};
}

Region Union(const Region& a, const Region& b) {
  const int x = std::min(a.x, b.x), y = std::min(a.y, b.y);
  return {x, y, std::max(a.x + a.width, b.x + b.width) - x, std::max(a.y + a.height, b.y + b.height) - y};
}

// Grown by a margin on every side, within the bounds.
Region Padded(const Region& r, int margin, const Region& bounds) {
  const int x = std::max(bounds.x, r.x - margin), y = std::max(bounds.y, r.y - margin);
  const int right = std::min(bounds.x + bounds.width, r.x + r.width + margin);
  const int bottom = std::min(bounds.y + bounds.height, r.y + r.height + margin);
  return {x, y, right - x, bottom - y};
}

// What a waiting screen used; under Wine also the program's own share, the
// rest being the Wine server's.
struct IdleUsage {
  Usage total;
  std::optional<Usage> program;
};

struct Results {
  std::optional<double> first_frame_ms;  // from starting the program to its window's first frame
  std::optional<Latency> menu_latency, play_latency;
  std::vector<std::pair<std::string, std::optional<IdleUsage>>> idle;  // in table order
  std::optional<double> replay_seconds;
  double replay_cpu_seconds = 0;
  std::string replay_note;
  bool shared_memory = false;
};

void RecordIdle(Results& r, const std::string& what, std::optional<IdleUsage> u) {
  for (auto& [name, usage] : r.idle)
    if (name == what) {
      usage = u;
      return;
    }
  r.idle.emplace_back(what, u);
}

// ---- one session with the game under one X server ----

// The board area and the status bar: what every key of the tour changes. The
// side bar at the right is left out because its question mark blinks and its
// gauges erode without any key.
constexpr Region kWatched{0, 0, 650, 479};

class Session {
 public:
  Session(const Options& o, const Subject& subject, const std::string& display)
      : options_(o),
        subject_(subject),
        x_(display.empty() ? nullptr : display.c_str()),
        game_(subject, x_.ok() ? x_.name() : display) {}

  // Waits for the game's window and its menu; when asked, notes how long the
  // program took from its start to the first frame in its window (the first
  // read of the window that is not all black).
  bool Start(std::optional<double>* first_frame_ms = nullptr) {
    if (!x_.ok()) {
      Say("cannot open the X display, or it has no XTest");
      return false;
    }
    window_ = x_.FindWindow(game_.pid(), "QUIZZLEBOX", seconds(30), milliseconds(2));
    if (!window_) {
      Say("the game's window did not appear");
      return false;
    }
    if (first_frame_ms) {
      PixelReader whole(x_, window_, {});
      const auto deadline = Clock::now() + seconds(30);
      while (whole.ok() && Clock::now() < deadline) {
        if (whole.Read() && std::any_of(whole.current().begin(), whole.current().end(),
                                        [](std::uint8_t b) { return b != 0; })) {
          *first_frame_ms = std::chrono::duration<double, std::milli>(Clock::now() - game_.started()).count();
          break;
        }
        Sleep(milliseconds(1));
      }
    }
    x_.Focus(window_);
    Sleep(milliseconds(200));
    x_.Focus(window_);
    reader_ = std::make_unique<PixelReader>(x_, window_, kWatched);
    if (!reader_->ok() || !reader_->Read()) {
      Say("cannot read the window back");
      return false;
    }
    return WaitTitle("QUIZZLEBOX - ", seconds(10)) && WaitQuiet(milliseconds(500), seconds(10));
  }

  XSession& x() { return x_; }
  Window window() const { return window_; }
  PixelReader& reader() { return *reader_; }

  void Press(KeySym key, std::vector<KeySym> held = {}) { x_.Press({key, std::move(held)}); }

  std::vector<std::uint8_t> Snapshot() {
    reader_->Read();
    return reader_->current();
  }

  bool WaitTitle(const std::string& prefix, Clock::duration timeout) {
    const auto deadline = Clock::now() + timeout;
    do {
      if (x_.Title(window_).rfind(prefix, 0) == 0) return true;
      Sleep(milliseconds(10));
    } while (Clock::now() < deadline && game_.Running());
    Say("the title did not become \"" + prefix + "...\"; it is \"" + x_.Title(window_) + "\"");
    return false;
  }

  // Until the watched pixels differ from (or equal) a snapshot.
  bool WaitChange(const std::vector<std::uint8_t>& from, Clock::duration timeout) {
    return WaitFor([&] { return reader_->current() != from; }, timeout);
  }
  bool WaitSame(const std::vector<std::uint8_t>& as, Clock::duration timeout) {
    return WaitFor([&] { return reader_->current() == as; }, timeout);
  }
  // Until the watched pixels have not changed for `quiet`.
  bool WaitQuiet(Clock::duration quiet, Clock::duration timeout) {
    const auto deadline = Clock::now() + timeout;
    std::vector<std::uint8_t> last = Snapshot();
    auto since = Clock::now();
    while (Clock::now() < deadline && game_.Running()) {
      Sleep(milliseconds(10));
      if (!reader_->Read()) return false;
      if (reader_->current() != last) {
        last = reader_->current();
        since = Clock::now();
      } else if (Clock::now() - since >= quiet) {
        return true;
      }
    }
    return false;
  }

  // Taps the keys in turn and times each tap from the moment it is sent until
  // a read shows changed pixels. One untimed tap of each key first finds the
  // area that the keys change; the timed taps then read only that area, so
  // that a read is short and adds little to a latency. Before each tap the
  // probe pauses a random 150-300 ms and waits until the pixels have been
  // still for 40 ms.
  Latency Presses(const std::vector<KeySym>& keys, int count) {
    Latency l;
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pause(150, 300);
    const auto settle = [&] {
      Sleep(milliseconds(pause(random)));
      WaitQuiet(milliseconds(40), seconds(2));
    };
    std::optional<Region> area;
    for (KeySym key : keys) {
      settle();
      const auto before = Snapshot();
      Press(key);
      if (!WaitChange(before, seconds(1)) || !WaitQuiet(milliseconds(100), seconds(2))) continue;
      if (const auto changed = ChangedArea(before, reader_->current(), reader_->region()))
        area = area ? Union(*area, *changed) : *changed;
    }
    if (!area) {
      l.unanswered = count;
      return l;
    }
    l.area = Padded(*area, 2, reader_->region());
    PixelReader watch(x_, window_, l.area);
    if (!watch.ok()) {
      l.unanswered = count;
      return l;
    }
    for (int i = 0; i < count && game_.Running(); ++i) {
      settle();
      watch.Read();
      const std::vector<std::uint8_t> before = watch.current();
      const auto sent = Clock::now();
      Press(keys[static_cast<std::size_t>(i) % keys.size()]);
      bool answered = false;
      while (Clock::now() - sent < seconds(1)) {
        const auto read_start = Clock::now();
        const bool read = watch.Read();
        l.read_seconds += std::chrono::duration<double>(Clock::now() - read_start).count();
        ++l.reads;
        if (!read) break;
        if (watch.current() != before) {
          answered = true;
          break;
        }
      }
      if (answered)
        l.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
      else
        ++l.unanswered;
    }
    return l;
  }

  // Leaves the screen alone and reads what the game used meanwhile (under
  // Wine, with the Wine server of its prefix).
  std::optional<IdleUsage> Idle(const std::string& what) {
    if (!game_.Running()) return std::nullopt;
    Say("idle: " + what);
    Sleep(milliseconds(500));
    pid_t server = 0;
    if (subject_.wine) {
      const char* prefix = std::getenv("WINEPREFIX");
      server = FindProcess("wineserver", prefix ? std::string("WINEPREFIX=") + prefix : "");
      if (!server) Say("no Wine server found: the figures are the program's alone");
    }
    const ProcessSample game_a = SampleProcess(game_.pid());
    const ProcessSample server_a = server ? SampleProcess(server) : ProcessSample{};
    Sleep(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options_.idle_seconds)));
    const ProcessSample game_b = SampleProcess(game_.pid());
    const ProcessSample server_b = server ? SampleProcess(server) : ProcessSample{};
    if (!game_.Running()) return std::nullopt;
    IdleUsage u;
    u.total = server ? Between(Sum(game_a, server_a), Sum(game_b, server_b)) : Between(game_a, game_b);
    if (!u.total.ok) return std::nullopt;
    if (server) u.program = Between(game_a, game_b);
    return u;
  }

  bool Running() { return game_.Running(); }
  void Stop() { game_.Stop(); }

 private:
  bool WaitFor(const std::function<bool()>& done, Clock::duration timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline && game_.Running()) {
      if (!reader_->Read()) return false;
      if (done()) return true;
      Sleep(milliseconds(5));
    }
    return false;
  }

  const Options& options_;
  const Subject& subject_;
  XSession x_;
  Game game_;
  Window window_ = 0;
  std::unique_ptr<PixelReader> reader_;
};

KeySym MoveKey(char c) {
  switch (c) {
    case 'u': case 'U': return XK_Up;
    case 'd': case 'D': return XK_Down;
    case 'l': case 'L': return XK_Left;
    case 'r': case 'R': return XK_Right;
    default: return NoSymbol;
  }
}

// Everything windowed: the menu and its screens, the level card, play, its
// dialogs and the completion screen of level 1.
void WindowedTour(const Options& o, const Subject& subject, Results& r) {
  Session s(o, subject, o.display);
  if (!s.Start(&r.first_frame_ms)) return;
  r.shared_memory = s.reader().shared_memory();
  const auto menu = s.Snapshot();
  const auto back_to_menu = [&](KeySym key) {
    s.Press(key);
    return s.WaitSame(menu, seconds(5)) && s.WaitQuiet(milliseconds(300), seconds(5));
  };

  Say("presses on the menu");
  r.menu_latency = s.Presses({XK_Down, XK_Up}, o.presses);
  if (!s.WaitSame(menu, seconds(3))) Say("the menu's pointer did not come back to its first entry");
  RecordIdle(r, "CPU, idle on the main menu", s.Idle("main menu"));

  // The instructions: the third entry.
  for (int i = 0; i < 2; ++i) {
    const auto before = s.Snapshot();
    s.Press(XK_Down);
    s.WaitChange(before, seconds(2));
  }
  s.Press(XK_Return);
  if (s.WaitTitle("Instructions", seconds(5)) && s.WaitQuiet(milliseconds(300), seconds(5)))
    RecordIdle(r, "CPU, instructions", s.Idle("instructions"));
  if (!back_to_menu(XK_space)) return;

  s.Press(XK_F12, {XK_Control_L});
  if (s.WaitChange(menu, seconds(3)) && s.WaitQuiet(milliseconds(300), seconds(5)))
    RecordIdle(r, "CPU, credits", s.Idle("credits"));
  if (!back_to_menu(XK_space)) return;

  // The password screen: the second entry.
  s.Press(XK_Down);
  s.WaitChange(menu, seconds(2));
  s.WaitQuiet(milliseconds(100), seconds(2));
  const auto second_entry = s.Snapshot();
  s.Press(XK_Return);
  if (s.WaitChange(second_entry, seconds(3)) && s.WaitQuiet(milliseconds(300), seconds(5)))
    RecordIdle(r, "CPU, password screen", s.Idle("password screen"));
  if (!back_to_menu(XK_Escape)) return;

  // A new game: the figure appears, the level card is drawn and waits.
  s.Press(XK_Return);
  if (!s.WaitTitle("QUIZZLEBOX, level 1", seconds(5)) || !s.WaitQuiet(milliseconds(800), seconds(10))) return;
  RecordIdle(r, "CPU, level card waiting for Space", s.Idle("level card"));
  const auto card = s.Snapshot();
  s.Press(XK_space);
  if (!s.WaitChange(card, seconds(3)) || !s.WaitQuiet(milliseconds(500), seconds(5))) return;
  Sleep(milliseconds(700));  // the gauges fill

  const auto play_began = Clock::now();
  Say("presses in play");
  r.play_latency = s.Presses({XK_Right, XK_Left}, o.presses);
  s.WaitQuiet(milliseconds(200), seconds(3));
  // Play is measured once the time gauge has begun to erode (after 6000
  // passes of the play loop), as it does for a player who stops to think.
  Sleep(std::max<Clock::duration>(Clock::duration::zero(), play_began + seconds(12) - Clock::now()));
  RecordIdle(r, "CPU, idle in play, windowed", s.Idle("play"));

  // A dialog over the board, left with Space; the redraw after it need not
  // match the board before it pixel for pixel (the status bar's hint).
  const auto dialog = [&](KeySym key, const std::string& what, const std::string& row) {
    const auto before = s.Snapshot();
    s.Press(key);
    if (!s.WaitChange(before, seconds(3)) || !s.WaitQuiet(milliseconds(300), seconds(5))) return false;
    RecordIdle(r, row, s.Idle(what));
    const auto open = s.Snapshot();
    s.Press(XK_space);
    return s.WaitChange(open, seconds(3)) && s.WaitQuiet(milliseconds(300), seconds(5));
  };
  if (!dialog(XK_p, "pause", "CPU, pause screen")) return;
  // Save with a score of 0: the refusal dialog waits for a continue key.
  if (!dialog(XK_s, "charge dialog", "CPU, a charge dialog waiting")) return;

  // The Right/Left presses, an even number, left the figure where it began.
  Say("solving level 1");
  for (char c : o.solution) {
    if (const KeySym k = MoveKey(c); k != NoSymbol) s.Press(k);
    Sleep(milliseconds(30));
  }
  if (s.WaitTitle("Congratulations", seconds(10)) && s.WaitQuiet(milliseconds(500), seconds(5)))
    RecordIdle(r, "CPU, completion screen", s.Idle("completion screen"));
  s.Stop();
}

// Play in full screen on a 1920x1080 display with a window manager.
void FullScreenTour(const Options& o, const Subject& subject, Results& r) {
  {
    XSession x(o.fullscreen_display.c_str());
    if (!x.ok() || !x.WaitForWindowManager(seconds(10))) {
      Say("no window manager on " + o.fullscreen_display + "; full screen not measured");
      return;
    }
  }
  Session s(o, subject, o.fullscreen_display);
  if (!s.Start()) return;
  s.Press(XK_Return);
  if (!s.WaitTitle("QUIZZLEBOX, level 1", seconds(5)) || !s.WaitQuiet(milliseconds(800), seconds(10))) return;
  const auto card = s.Snapshot();
  s.Press(XK_space);
  if (!s.WaitChange(card, seconds(3)) || !s.WaitQuiet(milliseconds(500), seconds(5))) return;
  const auto play_began = Clock::now();
  s.Press(XK_Return, {XK_Alt_L});
  const auto deadline = Clock::now() + seconds(5);
  int w = 0, h = 0;
  while (Clock::now() < deadline && s.x().Size(s.window(), w, h) && w < 1900) Sleep(milliseconds(20));
  if (w < 1900) {
    Say("the window did not go full screen (" + std::to_string(w) + "x" + std::to_string(h) + ")");
    return;
  }
  Say("full screen: " + std::to_string(w) + "x" + std::to_string(h));
  // As windowed play: once the time gauge has begun to erode.
  Sleep(std::max<Clock::duration>(milliseconds(1500), play_began + seconds(12) - Clock::now()));
  RecordIdle(r, "CPU, idle in play, full screen 1920×1080", s.Idle("play, full screen"));
  s.Stop();
}

void TimeReplay(const Options& o, Results& r) {
  char dir[] = "/tmp/qb_probe_XXXXXX";
  if (!mkdtemp(dir)) return;
  const std::string script = std::string(dir) + "/idle-a-day.txt";
  std::ofstream(script) << "86400000 end\n";
  Say("replay tool");
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (FILE* quiet = std::freopen("/dev/null", "w", stdout)) (void)quiet;
    execl(o.replay.c_str(), o.replay.c_str(), script.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage used{};
  wait4(pid, &status, 0, &used);
  const auto cpu = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  r.replay_cpu_seconds = cpu(used.ru_utime) + cpu(used.ru_stime);
  const double took = std::chrono::duration<double>(Clock::now() - start).count();
  std::remove(script.c_str());
  rmdir(dir);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
    r.replay_seconds = took;
  else
    r.replay_note = "failed (status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
}

// ---- the table ----

double Quantile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  if (q == 0.5) {
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  }
  // Nearest rank.
  const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(v.size())));
  return v[std::max<std::size_t>(rank, 1) - 1];
}

std::string LatencyCell(const std::optional<Latency>& l) {
  if (!l || l->ms.empty()) return "not measured";
  std::string cell = "median " + Fixed(Quantile(l->ms, 0.5), 1) + " ms, p90 " + Fixed(Quantile(l->ms, 0.9), 1) +
                     " ms (" + std::to_string(l->ms.size()) + " presses";
  if (l->unanswered) cell += ", " + std::to_string(l->unanswered) + " unanswered in 1 s";
  return cell + ")";
}

std::string UsageText(const Usage& u) {
  return Fixed(u.cpu_percent, 1) + " % of a core, " + Grouped(u.wakeups_per_s) + " wakeups/s";
}

std::string UsageCell(const std::optional<IdleUsage>& u) {
  if (!u) return "not measured";
  std::string cell = UsageText(u->total);
  if (u->program && u->program->ok) cell += " (the program: " + UsageText(*u->program) + ")";
  return cell;
}

// One row: the name, then a cell for each game measured.
void Row(const std::string& what, const std::vector<std::string>& cells) {
  std::printf("| %s |", what.c_str());
  for (const auto& c : cells) std::printf(" %s |", c.c_str());
  std::printf("\n");
}

void PrintTable(const Options& o, const std::vector<std::pair<Subject, Results>>& runs, const Results& replay_run,
                const std::string& load_before) {
  std::vector<std::string> labels, dashes;
  for (const auto& [subject, r] : runs) {
    labels.push_back(subject.label);
    dashes.push_back("---");
  }
  Row("what", labels);
  Row("---", dashes);
  const auto each = [&](const std::function<std::string(const Results&)>& cell) {
    std::vector<std::string> cells;
    for (const auto& [subject, r] : runs) cells.push_back(cell(r));
    return cells;
  };
  Row("start → first frame in the window", each([](const Results& r) {
        return r.first_frame_ms ? Fixed(*r.first_frame_ms, 0) + " ms" : std::string("not measured");
      }));
  Row("key → changed pixels, menu (Down/Up)", each([](const Results& r) { return LatencyCell(r.menu_latency); }));
  Row("key → changed pixels, play (Right/Left)", each([](const Results& r) { return LatencyCell(r.play_latency); }));
  const char* order[] = {"CPU, idle on the main menu",
                         "CPU, instructions",
                         "CPU, credits",
                         "CPU, password screen",
                         "CPU, level card waiting for Space",
                         "CPU, idle in play, windowed",
                         "CPU, pause screen",
                         "CPU, a charge dialog waiting",
                         "CPU, completion screen",
                         "CPU, idle in play, full screen 1920×1080"};
  for (const char* what : order)
    Row(what, each([&](const Results& r) {
          std::optional<IdleUsage> u;
          for (const auto& [name, usage] : r.idle)
            if (name == what) u = usage;
          return UsageCell(u);
        }));
  std::string replay = "not measured";
  if (replay_run.replay_seconds)
    replay = Fixed(*replay_run.replay_seconds, 2) + " s (" + Fixed(replay_run.replay_cpu_seconds, 2) + " s of CPU)";
  if (!replay_run.replay_note.empty()) replay = replay_run.replay_note;
  std::vector<std::string> replay_cells(runs.size(), "");
  if (!replay_cells.empty()) replay_cells[0] = replay;
  Row("replay tool, one line `86400000 end` from the menu", replay_cells);

  for (const auto& [subject, r] : runs) {
    std::printf("\n%s: a latency runs from sending the key through XTest to the end of the first read (%s) that "
                "shows changed pixels, so it can be up to one read late:\n",
                subject.label.c_str(), r.shared_memory ? "XShmGetImage" : "XGetImage");
    for (const auto& [what, l] : {std::pair{"menu", r.menu_latency}, std::pair{"play", r.play_latency}})
      if (l && l->reads)
        std::printf("- %s: reads of the %dx%d px at (%d, %d) that the keys change, %s ms each on average (%ld reads)\n",
                    what, l->area.width, l->area.height, l->area.x, l->area.y,
                    Fixed(l->read_seconds * 1000.0 / static_cast<double>(l->reads), 3).c_str(), l->reads);
  }
  std::printf("\nCPU and wakeups over %s s per screen with nothing pressed (CPU time counts in %ld ms ticks); "
              "wakeups are voluntary context switches of all threads%s.\n",
              Fixed(o.idle_seconds, 1).c_str(), 1000 / sysconf(_SC_CLK_TCK),
              o.wine_game.empty() ? "" : "; under Wine, the program's and the Wine server's together, and in "
                                         "brackets the program's alone");
  std::printf("Load average (1, 5, 15 min) before: %s; after: %s; %ld cores.\n", load_before.c_str(),
              LoadAverage().c_str(), sysconf(_SC_NPROCESSORS_ONLN));
}

int PrintUsage(const char* program) {
  std::fprintf(stderr,
               "usage: %s --game PATH [--replay PATH] [--display NAME] [--fullscreen-display NAME]\n"
               "          [--presses N] [--idle-seconds S] [--solution MOVES] [--label TEXT]\n"
               "          [--wine-game EXE]\n",
               program);
  return 2;
}

}  // namespace

int Main(int argc, char** argv) {
  Options o;
  if (const char* d = std::getenv("DISPLAY")) o.display = d;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return PrintUsage(argv[0]);
    const std::string value = argv[++i];
    if (arg == "--game") o.game = value;
    else if (arg == "--replay") o.replay = value;
    else if (arg == "--display") o.display = value;
    else if (arg == "--fullscreen-display") o.fullscreen_display = value;
    else if (arg == "--presses") o.presses = std::max(2, (std::atoi(value.c_str()) + 1) / 2 * 2);
    else if (arg == "--idle-seconds") o.idle_seconds = std::max(1.0, std::atof(value.c_str()));
    else if (arg == "--solution") o.solution = value;
    else if (arg == "--label") o.label = value;
    else if (arg == "--wine-game") o.wine_game = value;
    else return PrintUsage(argv[0]);
  }
  if (o.game.empty() || access(o.game.c_str(), X_OK) != 0) return PrintUsage(argv[0]);
  if (o.solution.empty()) o.solution = LevelOneSolution(QB_SOURCE_DIR);
  if (o.solution.empty()) Say("no solution for level 1; the completion screen will not be measured");

  std::vector<std::pair<Subject, Results>> runs{{Subject{o.label, {o.game}, false}, Results{}}};
  if (!o.wine_game.empty())
    runs.push_back({Subject{"Windows program under Wine", {"wine", o.wine_game}, true}, Results{}});
  const std::string load_before = LoadAverage();
  for (auto& [subject, r] : runs) {
    Say("measuring " + subject.label);
    WindowedTour(o, subject, r);
    if (!o.fullscreen_display.empty()) FullScreenTour(o, subject, r);
  }
  Results replay_run;
  if (!o.replay.empty()) TimeReplay(o, replay_run);
  PrintTable(o, runs, replay_run, load_before);
  return 0;
}

}  // namespace probe

int main(int argc, char** argv) { return probe::Main(argc, argv); }
