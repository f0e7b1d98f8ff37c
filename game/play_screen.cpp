// The play screen: one level, from its card to its solution.
#include <string>

#include "flow/screens.h"
#include "flow/state.h"
#include "game/board.h"
#include "game/board_view.h"
#include "game/gauges.h"
#include "game/interludes.h"
#include "game/moves.h"
#include "game/paid_commands.h"

namespace qb {

namespace {

constexpr Colour kNoticeInk = 0xFFCEC900;

// The game's pace around play proper's commands: F1 waits a moment before its
// notice, a notice ("restart", "return to menu") stands long enough to be
// read, and P lets its key go before the pause screen takes the keyboard.
constexpr int kRestartDelayMs = 240;
constexpr int kNoticeMs = 590;
constexpr int kPauseDelayMs = 132;

// Waits for Space on the level card; "+" offers to skip the level.
Screen LevelEntryWait() {
  auto& s = State();
  if (s.level == 100) {
    const Prompt p = Level100Notice();
    if (p.leave) return *p.leave;
  }
  LevelCard();
  if (auto leave = AwaitSpaceOrSkip(SkipFrom::LevelEntry)) return *leave;
  s.level_running = 1;
  s.appearance = 0;
  return Screen::Play;
}

Screen RestartLevel() {
  auto& s = State();
  s.level_running = 1;
  s.BeginPlay();
  SleepMs(kRestartDelayMs);
  s.appearance = 0;
  DrawNoticeBox("restart", 294, kNoticeInk);
  SleepMs(kNoticeMs);
  return Screen::Play;
}

Screen ReturnToMenu() {
  State().ResetProgress();
  DrawNoticeBox("return to menu", 266, kNoticeInk);
  SleepMs(kNoticeMs);
  return Screen::MainMenu;
}

Screen PlayProper() {
  auto& s = State();
  Board& b = TheBoard();
  FindFigure(b);
  FillGauges(kPlayFillInset);
  s.BeginPlay();
  for (;;) {
    Key key = PollKey();
    if (key == key::kClose) return CloseProgram();
    // A paid command or the pause leaves the key that closed its dialog in
    // the pass's key string; no later test acts on such a key.
    auto handle = [&key](const Prompt& p) {
      key = p.key;
      return p.leave;
    };
    if (key.IsLetter('B'))
      if (auto leave = handle(TakeBackMove())) return *leave;
    if (key.IsLetter('S'))
      if (auto leave = handle(SavePosition())) return *leave;
    if (key.IsLetter('L'))
      if (auto leave = handle(LoadPosition())) return *leave;
    if (key == key::kF1) return RestartLevel();
    if (key == key::kF5) return ReturnToMenu();
    if (key.IsLetter('P')) {
      SleepMs(kPauseDelayMs);
      if (auto leave = handle(PauseScreen())) return *leave;
    }
    if (key == key::kPlus)
      if (auto leave = handle(SkipLevel(SkipFrom::PlayProper))) return *leave;
    if (const auto direction = DirectionOfKey(key)) DrawMove(TryMove(b, *direction, s.steps));
    if (IsLevelSolved(b.board)) return Screen::Completion;
    s.time += 1;
    ErodeGauges(s.steps, s.time);
    // Passes without a key change nothing on screen until the time gauge
    // erodes its next row; they only count.
    s.time = CountPasses(s.time, SleepPasses(1, QuietPasses(s.steps, s.time)));
  }
}

}  // namespace

Screen PlayLevel() {
  const auto& s = State();
  SetWindowTitle("QUIZZLEBOX, level " + std::to_string(s.level));
  Board& b = TheBoard();
  ClearBoard(b);
  DrawPlayfield();
  LoadLevel(b, s.level);
  DrawBoard();
  return s.level_running == 0 ? LevelEntryWait() : PlayProper();
}

}  // namespace qb
