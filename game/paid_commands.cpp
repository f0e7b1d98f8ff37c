#include "game/paid_commands.h"

#include <string>

#include "flow/state.h"
#include "game/board.h"
#include "game/board_view.h"
#include "gfx/pictures.h"
#include "gfx/text.h"

namespace qb {

namespace {

struct Command {
  float cost;
  const char* refusal_first;
  const char* refusal_second;
  const char* charge_line;
  void (*icon)();  // the acceptance dialog's icon, if any before the texts
};

constexpr Command kSkip{kSkipCost, "Skip each level is 25000 points of score", "Skip level for your score!",
                        "- 25000 skip", PicSkipLevel};
constexpr Command kTakeBack{kTakeBackCost, "Taking back costs 500 points from the score.",
                            "Take back move for your score!", "- 500 take back move", nullptr};
constexpr Command kSave{kSaveCost, "Saving position is 200 points from the score.", "Save position for your score!",
                        "- 200 save the position to memory", PicFloppy};
constexpr Command kLoad{kLoadCost, "Loading position is 1000 points from the score.",
                        "Load position for your score!", "- 1000 load position from memory", PicFloppy};

// Each command's texts name its cost; the build checks that they agree.
constexpr bool TextsNameTheCost(const Command& c) {
  return CostWrittenIn(c.refusal_first) == c.cost && CostWrittenIn(c.charge_line) == c.cost;
}
static_assert(TextsNameTheCost(kSkip) && TextsNameTheCost(kTakeBack) && TextsNameTheCost(kSave) &&
              TextsNameTheCost(kLoad));

constexpr Colour kDialogInk = 0xFF010102;

// "Not available" stands for one and a half seconds, long enough to read,
// then the board comes back without charging anything.
constexpr int kNotAvailableMs = 1511;

std::string Number(float v) { return std::to_string(static_cast<long>(v)); }

void Line7(std::string_view text, int (*centre)(std::size_t), float y, Colour c) {
  Text7(static_cast<float>(centre(text.size())), y, c, text);
}
void Line8(std::string_view text, float y, Colour c) {
  Text8(static_cast<float>(CentreText8(text.size())), y, c, text);
}

bool Affordable(const Command& c) { return State().score >= c.cost; }

void Charge(const Command& c) { State().Charge(c.cost); }

Prompt Refuse(const Command& c) {
  DrawContinueHint();
  DrawDialogBox();
  DrawPictureAt(PicWarning, 170, 90);
  Line8("you have not enough score!", 105, kDialogInk);
  Line7(c.refusal_first, CentreText7, 150, kDialogInk);
  Line7(c.refusal_second, CentreText7, 180, kDialogInk);
  Line7("Your score", CentreText7, 220, kDialogInk);
  Line8(Number(State().score), 238, kDialogInk);
  Line7("Try more!", CentreDialogNarrow, 280, kDialogInk);
  State().appearance = 0;
  return ContinuePrompt();
}

void Accept(const Command& c) {
  constexpr Colour kInk = 0xFF000000;
  DrawDialogBox();
  if (c.icon) DrawPictureAt(c.icon, 170, 90);
  const float score = State().score;
  Line7("previous score", CentreDialog, 120, kInk);
  Line7(Number(score), CentreDialog, 142, kInk);
  Line7(c.charge_line, CentreDialog, 190, kInk);
  Line7("your new score", CentreDialog, 240, kInk);
  Line8("= " + Number(score - c.cost), 262, kInk);
  DrawPictureAt(PicCoins, 309, 293);
  if (&c == &kTakeBack) DrawPictureAt(PicTakeBack, 170, 90);
  if (&c != &kSkip) DrawContinueHint();
}

}  // namespace

Prompt TakeBackMove() {
  if (!Affordable(kTakeBack)) return Refuse(kTakeBack);
  Accept(kTakeBack);
  State().appearance = 0;
  Prompt p = ContinuePrompt();
  if (p.leave) return p;
  Charge(kTakeBack);
  TakeBackRedraw();
  return p;
}

Prompt SavePosition() {
  if (!Affordable(kSave)) return Refuse(kSave);
  TheBoard().saved = TheBoard().board;
  Accept(kSave);
  Charge(kSave);
  State().appearance = 0;
  return ContinuePrompt();
}

Prompt LoadPosition() {
  Board& b = TheBoard();
  int sum = 0;
  for (int c = 1; c <= kColumns; ++c)
    for (int r = 1; r <= kRows; ++r) sum += b.saved.at(c, r);
  if (sum == 0) {
    DrawNoticeBox("Not available", 271, 0xFFC8C500);
    SleepMs(kNotAvailableMs);
    RepaintBoardArea();
    DrawBoardPlain();
    return {};
  }
  if (!Affordable(kLoad)) return Refuse(kLoad);
  Accept(kLoad);
  b.board = b.saved;
  FindFigure(b);
  Charge(kLoad);
  State().appearance = 1;
  return ContinuePrompt();
}

Prompt SkipLevel(SkipFrom from) {
  if (!Affordable(kSkip)) return Refuse(kSkip);
  Accept(kSkip);
  auto& s = State();
  if (from == SkipFrom::PlayProper) s.appearance = 0;
  Prompt p = ContinuePrompt();
  if (p.leave) return p;
  s.level = static_cast<std::uint8_t>(s.level + 1);
  s.level_running = 0;
  Charge(kSkip);
  if (s.level == 201) return {Screen::AllLevels, p.key};
  s.appearance = 1;
  return {Screen::Play, p.key};
}

std::optional<Screen> AwaitSpaceOrSkip(SkipFrom from) {
  for (;;) {
    Key key = AwaitKey();
    if (key == key::kClose) return CloseProgram();
    if (key == key::kF5) return MenuReturn();
    if (key == key::kPlus) {
      const Prompt p = SkipLevel(from);
      if (p.leave) return p.leave;
      key = p.key;  // a refused skip's closing key counts as pressed here
    }
    if (key == key::kSpace) return std::nullopt;
  }
}

}  // namespace qb
