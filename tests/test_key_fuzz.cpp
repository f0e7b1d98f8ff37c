// The whole game under seeded random key scripts: every screen is reached
// (level 100's notice, level 200 and the all-levels screen, passwords, every
// paid command and its dialogs), and at every change of screen and at the end
// of each run the game's state must still make sense. Some runs are played
// twice, once sleeping through idle passes and once polling every pass: both
// must end in the same state on the same screen at the same virtual time.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "flow/state.h"
#include "game/board.h"
#include "game/scoring.h"
#include "gfx/headless/headless.h"
#include "gfx/platform.h"
#include "gfx/surface.h"
#include "shell/screen_loop.h"
#include "shell/startup.h"
#include "screen_checks.h"
#include "solutions.h"

namespace qb {
namespace {

using namespace testing::keys;
using Script = std::vector<HeadlessPlatform::ScriptedKey>;

// Writes a key script: segments that steer towards places worth reaching,
// and noise that presses anything at any pace.
class ScriptMaker {
 public:
  explicit ScriptMaker(std::uint32_t seed) : rng_(seed) {}

  void Press(std::uint32_t code, std::int64_t after_ms) {
    now_ += after_ms;
    keys_.push_back({now_, code});
  }
  void Wait(std::int64_t ms) { now_ += ms; }

  // Random keys, mostly those the screens know, at gaps from a burst to a
  // long think.
  void Noise(int count) {
    static constexpr std::array<std::uint32_t, 30> kKnown = {
        kUp,    kDown, kLeft, kRight, kUp,  kDown, kLeft, kRight, kLeft, kRight, kSpace,     kSpace,  kEnter, kEscape,
        kBackspace, kF1, kF5, 'p',    'P',  '+',   'b',   'B',    's',   'S',    'l',        'L',     '7',    kCtrlF12,
        '0',    '9'};
    for (int i = 0; i < count; ++i) {
      std::uint32_t code = kKnown[Pick(kKnown.size())];
      const int roll = Roll(100);
      if (roll < 4) code = 1 + Pick(255);                      // any byte
      else if (roll < 6) code = Key::Extended(static_cast<std::uint8_t>(1 + Pick(255))).code;  // any extended key
      else if (roll < 7) code = kClose;
      Press(code, Gap());
    }
  }

  // From the main menu: the password screen, a password, Enter.
  void TypePassword(const std::string& password) {
    Press(kDown, 200);
    Press(kEnter, 60);
    Wait(600);
    for (char c : password) Press(static_cast<std::uint8_t>(c), 40 + Roll(200));
    Press(kEnter, 80);
  }

  // Waits out a level card, starts play and walks the level's stored solution
  // (which solves it only when the board is as loaded).
  void Solve(int level) {
    Press(kSpace, 2600);
    WalkSolution(level, 700);
  }
  void WalkSolution(int level, std::int64_t think_ms) {
    Wait(think_ms);
    auto it = testing::Solutions().find(level);
    if (it == testing::Solutions().end()) return;
    static constexpr std::array<std::uint32_t, 4> kArrow = {kRight, kLeft, kUp, kDown};  // by Direction
    for (char c : it->second) Press(kArrow[static_cast<std::size_t>(testing::DirectionOfMove(c))], 15 + Roll(40));
  }

  int Roll(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
  std::uint32_t Pick(std::size_t n) { return static_cast<std::uint32_t>(rng_() % n); }
  std::int64_t now() const { return now_; }
  Script Take() { return std::move(keys_); }

 private:
  std::int64_t Gap() {
    const int roll = Roll(100);
    if (roll < 15) return Roll(4);             // a burst
    if (roll < 85) return 20 + Roll(400);      // a player's pace
    if (roll < 97) return 500 + Roll(3000);    // a pause
    return 6000 + Roll(9000);                  // long enough for the gauges to erode
  }

  std::mt19937 rng_;
  std::int64_t now_ = 0;
  Script keys_;
};

struct FuzzRun {
  bool patient = false;  // long thinks in play: the gauges erode, the time bonus shrinks
  StartOptions start;
  Script keys;
  std::optional<std::int64_t> stop_at;  // none: the script ends by closing the game
};

FuzzRun MakeRun(std::uint32_t seed) {
  ScriptMaker m(seed);
  FuzzRun run;
  const int kind = m.Roll(10);
  if (kind == 9) {  // a patient player: long thinks, pauses and dialogs in between, then the solution
    run.patient = true;
    const int level = 1 + m.Roll(200);
    run.start.level = level;
    run.start.score = m.Roll(2) ? 1500 : 0;
    m.Press(kSpace, 2600);
    for (int i = m.Roll(4); i > 0; --i) {  // a pause or a paid dialog after a long think
      m.Press(static_cast<std::uint32_t>(m.Roll(2) ? 'p' : 's'), 3000 + m.Roll(15000));
      m.Press(kSpace, 1000 + m.Roll(8000));
    }
    m.WalkSolution(level, 4000 + m.Roll(40000));
    m.Noise(10);
  } else if (kind < 3) {  // from the main menu, anywhere it leads
    m.Noise(60 + m.Roll(120));
  } else if (kind < 5) {  // a password typed on the menu, then play
    static constexpr std::array<int, 6> kLevels = {2, 11, 99, 100, 150, 200};
    const int level = kLevels[m.Pick(kLevels.size())];
    const int score = m.Roll(2) ? 99000 : m.Roll(30000);
    m.TypePassword(m.Roll(8) ? MakePassword(level, score) : std::to_string(m.Roll(1000000000)));
    m.Wait(500);
    if (m.Roll(2)) m.Solve(level);
    m.Noise(40 + m.Roll(120));
  } else {  // a level entered directly, often solved, then whatever follows
    static constexpr std::array<int, 8> kLevels = {1, 11, 69, 99, 100, 104, 199, 200};
    const int level = m.Roll(3) ? kLevels[m.Pick(kLevels.size())] : 1 + m.Roll(200);
    run.start.level = level;
    static constexpr std::array<float, 6> kScores = {0, 300, 700, 1500, 26000, 99000};
    run.start.score = kScores[m.Pick(kScores.size())];
    if (m.Roll(3)) m.Solve(level);
    m.Noise(40 + m.Roll(140));
  }
  if (m.Roll(2)) {
    // Leave whatever screen is open (the password screen ignores the close
    // button), then close the game.
    m.Press(kEscape, 3000);
    m.Press(kClose, 3000);
  } else {
    run.stop_at = m.now() + m.Roll(20000);
  }
  run.keys = m.Take();
  return run;
}

// What the runs saw, over all runs.
struct Coverage {
  std::set<Screen> screens;
  bool level_100_notice = false;
  bool level_200 = false;
  bool password_accepted = false;
  std::size_t keys = 0;
};

// The checks made as each screen hands on, and at the end of a run.
class Watch {
 public:
  static Watch*& Current() {
    static Watch* w = nullptr;
    return w;
  }

  Watch(Coverage& coverage, const StartOptions& start) : coverage_(coverage), start_(start) { Current() = this; }
  ~Watch() { Current() = nullptr; }

  static Screen Runner(Screen s) { return Current()->Enter(s); }

  Screen Enter(Screen s) {
    coverage_.screens.insert(s);
    const auto& st = State();
    if (first_ && start_.level) {  // a start at a level enters its play screen with its score
      EXPECT_EQ(s, Screen::Play);
      EXPECT_EQ(st.level, *start_.level);
      EXPECT_EQ(st.score, start_.score);
      EXPECT_EQ(st.previous_score, start_.score);
    }
    first_ = false;
    if (s == Screen::Play) {
      EXPECT_LE(st.level, 200);
      past_the_last_ = false;
      loaded_level_ = st.level;
      in_play_ = true;
      if (st.level == 100 && st.level_running == 0) coverage_.level_100_notice = true;
      if (st.level == 200) coverage_.level_200 = true;
      if (previous_ == Screen::Password) coverage_.password_accepted = true;
    }
    previous_ = s;
    const Screen next = RunScreen(s);
    in_play_ = false;
    CheckState(next);
    if (s == Screen::Play) CheckBoard();
    return next;
  }

  // At the end of a run: the state, and the board when the run ended in play.
  void Final() {
    CheckState(std::nullopt);
    if (in_play_) CheckBoard();
  }

 private:
  void CheckState(std::optional<Screen> next) {
    const auto& st = State();
    EXPECT_GE(st.score, 0);
    EXPECT_LE(st.score, 99000);
    EXPECT_GE(st.previous_score, 0);
    EXPECT_LE(st.previous_score, 99000);
    EXPECT_GE(st.steps, 0);
    EXPECT_GE(st.time, 0);
    EXPECT_GE(st.level, 1);
    // Skipping level 200 leaves 201 until a game starts anew; play never sees it.
    if (st.level == 201 && next == Screen::AllLevels) past_the_last_ = true;
    if (st.level == 201)
      EXPECT_TRUE(past_the_last_) << "level 201 without a skip of level 200";
    else
      EXPECT_LE(st.level, 200);
  }

  // One figure on the board; the level's boxes and targets all still there.
  void CheckBoard() {
    Board loaded;
    LoadLevel(loaded, loaded_level_);
    auto counts = [](const Grid& g) {
      std::array<int, 3> n{};  // figures, boxes, targets
      for (int c = 1; c <= kColumns; ++c)
        for (int r = 1; r <= kRows; ++r) {
          const std::uint8_t cell = g.at(c, r);
          n[0] += cell == CellFigure || cell == CellFigureOnTarget;
          n[1] += cell == CellBox || cell == CellBoxOnTarget;
          n[2] += cell == CellTarget || cell == CellBoxOnTarget || cell == CellFigureOnTarget;
        }
      return n;
    };
    const auto now = counts(TheBoard().board), start = counts(loaded.board);
    EXPECT_EQ(now[0], 1) << "figures on level " << loaded_level_;
    EXPECT_EQ(now[1], start[1]) << "boxes on level " << loaded_level_;
    EXPECT_EQ(now[2], start[2]) << "targets on level " << loaded_level_;
  }

  Coverage& coverage_;
  const StartOptions& start_;
  bool first_ = true;
  int loaded_level_ = 0;
  bool in_play_ = false;
  bool past_the_last_ = false;
  Screen previous_ = Screen::MainMenu;
};

// Where a run ended: enough to tell two runs of one script apart.
struct Outcome {
  GameState state;
  Grid board;
  std::vector<std::string> titles;
  std::int64_t end_ms = 0;
  bool ended = false;
  int status = 0;
  std::uint64_t picture = 0;  // a hash of the surface
};

bool SameState(const GameState& a, const GameState& b) {
  return a.level == b.level && a.score == b.score && a.previous_score == b.previous_score && a.steps == b.steps &&
         a.time == b.time && a.level_running == b.level_running && a.appearance == b.appearance &&
         a.blink_counter == b.blink_counter && a.blink_phase == b.blink_phase;
}

Outcome Play(const FuzzRun& run, Coverage& coverage, bool every_pass) {
  HeadlessPlatform platform(run.keys, run.stop_at);
  platform.WakeEveryPass(every_pass);
  InstallPlatform(&platform);
  Watch watch(coverage, run.start);
  StartOptions start = run.start;
  start.run = &Watch::Runner;
  bool stopped = false;
  try {
    RunGame(start);
  } catch (const RunStopped&) {
    stopped = true;
  }
  watch.Final();
  if (!run.stop_at) {
    EXPECT_FALSE(stopped) << "the game waited for more keys instead of closing";
    EXPECT_TRUE(platform.ended());
    EXPECT_EQ(platform.exit_status(), 0);
  }
  coverage.keys += platform.keys_delivered();
  Outcome out{State(), TheBoard().board, platform.titles(), platform.now_ms(), platform.ended(),
              platform.exit_status(), 14695981039346656037ull};
  for (int y = 0; y < kSurfaceHeight; ++y)
    for (int x = 0; x < kSurfaceWidth; ++x) out.picture = (out.picture ^ GetPixel(x, y)) * 1099511628211ull;
  InstallPlatform(nullptr);
  return out;
}

TEST(KeyFuzz, RandomKeysThroughTheWholeGameKeepItsStateSound) {
  Coverage coverage;
  // Every tenth run, and every patient one, is also played pass by pass.
  constexpr std::uint32_t kRuns = 800, kTwice = 10;
  for (std::uint32_t seed = 1; seed <= kRuns; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const FuzzRun run = MakeRun(seed);
    const Outcome fast = Play(run, coverage, false);
    if (run.patient || seed % kTwice == 0) {
      const Outcome slow = Play(run, coverage, true);
      EXPECT_TRUE(SameState(fast.state, slow.state));
      EXPECT_EQ(fast.board, slow.board);
      EXPECT_EQ(fast.titles, slow.titles);
      EXPECT_EQ(fast.end_ms, slow.end_ms);
      EXPECT_EQ(fast.ended, slow.ended);
      EXPECT_EQ(fast.picture, slow.picture);
    }
    if (::testing::Test::HasFailure()) break;  // one seed's report is enough to debug
  }
  for (Screen s : {Screen::MainMenu, Screen::Play, Screen::Completion, Screen::Password, Screen::Instructions,
                   Screen::About, Screen::Credits, Screen::AllLevels})
    EXPECT_TRUE(coverage.screens.count(s)) << "never reached " << ScreenName(s);
  EXPECT_TRUE(coverage.level_100_notice);
  EXPECT_TRUE(coverage.level_200);
  EXPECT_TRUE(coverage.password_accepted);
  RecordProperty("keys", static_cast<int>(coverage.keys));
  std::printf("%zu keys in %u runs\n", coverage.keys, kRuns);
}

}  // namespace
}  // namespace qb
