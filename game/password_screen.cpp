// The password screen: up to nine typed characters, read back into a level
// and a score, or answered with "WRONG".
#include <string>

#include "flow/screens.h"
#include "flow/state.h"
#include "game/scoring.h"
#include "gfx/frames.h"
#include "gfx/text.h"

namespace qb {

namespace {

// The panel that holds the prompt and the input field.
constexpr Panel kPasswordBox{238, 408, 191, 251, panels::kRed, panels::kLightGrey, ShadowSize::Small, 210};

constexpr Colour kInputInk = 0xFF010122;
constexpr Colour kTitleInk = 0xFFC8C500;
constexpr std::size_t kLength = 9;
const std::string kCursor(1, static_cast<char>(175));

// An accepted password goes on after a short beat; "WRONG" stands for two
// seconds (and a millisecond, as the game always had it) so it can be read.
constexpr int kAcceptedMs = 279;
constexpr int kWrongMs = 2001;

void DrawCursor(std::size_t next_position) {
  SetColour(kInputInk);
  DrawSystemText(static_cast<float>(280 + 8 * next_position), 225, kCursor);
}

// Clears the input field and draws the input, and the cursor while there is
// room for another character.
void DrawInput(const std::string& input) {
  for (int y = 220; y <= 234; ++y) DrawLine(280, static_cast<float>(y), 360, static_cast<float>(y), panels::kRed);
  SetColour(kInputInk);
  DrawSystemText(288, 225, input);
  if (input.size() < kLength) DrawCursor(input.size() + 1);
}

// A typed character from the digit zero up to the letter y.
bool IsInputKey(Key key) { return key.typed() && key.code >= '0' && key.code < 'z'; }

}  // namespace

Screen EnterPassword() {
  DrawFramedPanel(kPasswordBox);
  Text8(265, 206, kTitleInk, "ENTER PASSWORD");
  std::string input;
  for (;;) {
    if (input.empty()) DrawCursor(1);
    const Key key = PollKey();
    if (IsInputKey(key) && input.size() < kLength) {
      input += key.byte();
      DrawInput(input);
    } else if (key == key::kBackspace && !input.empty()) {
      input.pop_back();
      DrawInput(input);
    } else if (key == key::kEscape || key == key::kF5) {
      return Screen::MainMenu;
    } else if (key == key::kEnter) {
      auto& s = State();
      if (const auto start = ReadPassword(input)) {
        s.EnterLevel(start->level, static_cast<float>(start->score));
        SleepMs(kAcceptedMs);
        return Screen::Play;
      }
      DrawFramedPanel(kPasswordBox);
      Text8(302, 216, kTitleInk, "WRONG");
      SleepMs(kWrongMs);
      s.level = 1;
      s.previous_score = 0;
      return Screen::MainMenu;
    }
    // The screen changes only when a key comes.
    SleepPasses(2, -1);
  }
}

}  // namespace qb
