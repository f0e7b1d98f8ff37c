// The main menu: the whole frame with the side bar, the title, the five
// entries with their pointer, and the side bar's blinking question mark.
#include <array>
#include <string>
#include <string_view>

#include "flow/screens.h"
#include "flow/state.h"
#include "game/interludes.h"
#include "gfx/frames.h"
#include "gfx/pen.h"
#include "gfx/pictures.h"
#include "gfx/text.h"
#include "shell/menu_frame.h"
#include "shell/question_mark.h"

namespace qb {

namespace {

// The panels of the menu: title, entries, the call to choose.
constexpr Panel kMenuTitle{227, 419, 63, 103, panels::kBlue, panels::kYellow, ShadowSize::Small, 82};
constexpr Panel kMenuBox{188, 458, 155, 305, panels::kYellow, panels::kBlue, ShadowSize::Large, 174};
constexpr Panel kMenuChoice{217, 429, 351, 391, panels::kGreen, panels::kPaleYellow, ShadowSize::Small, 374};

struct Entry {
  std::string_view text;
  float x;
  Colour colour;
};

constexpr Colour kDarkBlue = 0xFF000031;
constexpr std::array<Entry, 5> kEntries = {{
    {"BEGIN NEW GAME", 265, kDarkBlue},
    {"ENTER PASSWORD", 265, kDarkBlue},
    {"INSTRUCTIONS", 273, 0xFF460000},
    {"ABOUT", 302, kDarkBlue},
    {"QUIT", 305, kDarkBlue},
}};

// Enter holds the menu half a second before the chosen entry opens.
constexpr int kChosenMs = 500;

// The question mark toggles after this many polls of the menu.
constexpr float kMenuBlinkPolls = 478;

float EntryY(int n) { return static_cast<float>(25 * n + 148); }
float PointerY(int n) { return static_cast<float>(25 * n + 142); }

void DrawMenu() {
  SetWindowTitle("QUIZZLEBOX - the ultimate puzzle game, v1.1");
  DrawGameFrame();

  DrawFramedPanel(kMenuTitle);
  Text8(263, 78, 0xFFC8C8C8, "- QUIZZLE BOX -");

  DrawFramedPanel(kMenuBox);
  for (int n = 1; n <= 5; ++n) {
    const Entry& e = kEntries[static_cast<std::size_t>(n - 1)];
    Text8(e.x, EntryY(n), e.colour, e.text);
  }

  DrawFramedPanel(kMenuChoice);
  Text8(250, 366, 0xFF000000, "CHOOSE YOUR CHOICE");
}

void MovePointer(int& selection, int to) {
  SetPen(394, PointerY(selection));
  ErasePointer();
  selection = to;
  SetPen(394, PointerY(selection));
  PicPointer();
}

Screen NewGame() {
  State().StartNewGame();
  ClearGaugeArea();
  return Screen::Play;
}

}  // namespace

Screen RunMainMenu() {
  DrawMenu();
  int selection = 1;
  SetPen(394, PointerY(selection));
  PicPointer();
  constexpr std::string_view status = "Use Arrow keys                       ENTER - SELECT";
  static_assert(status.size() == 51);
  Text8(static_cast<float>(CentreText8(status.size())), 458, 0xFF000000, status);

  for (;;) {
    const Key key = PollKey();
    if (key == key::kClose) return CloseProgram();
    if (key == key::kDown) MovePointer(selection, selection == 5 ? 1 : selection + 1);
    if (key == key::kUp) MovePointer(selection, selection == 1 ? 5 : selection - 1);
    if (key == key::kEnter) {
      SleepMs(kChosenMs);
      switch (selection) {
        case 1: return NewGame();
        case 2: return Screen::Password;
        case 3: return Screen::Instructions;
        case 4: return Screen::About;
        default: return Screen::Exit;
      }
    }
    if (key == key::kCtrlF12) return Screen::Credits;
    BlinkQuestionMark(kMenuBlinkPolls);
    SleepUntilBlink(kMenuBlinkPolls);
  }
}

}  // namespace qb
