// Key presses become the key codes of the classic PC keyboard, whichever back
// end reports them; typed text becomes code page 437 bytes.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "gfx/code_page_437.h"
#include "gfx/key_translation.h"
#include "gfx/surface.h"

namespace qb {
namespace {

KeyPress Press(NamedKey k, bool shift = false, bool ctrl = false, bool num_lock = false) {
  KeyPress p;
  p.key = k;
  p.shift = shift;
  p.ctrl = ctrl;
  p.num_lock = num_lock;
  return p;
}

TEST(KeyTranslation, KeyPressesBecomeTheQueuedCodes) {
  using K = NamedKey;
  struct Case {
    KeyPress press;
    std::optional<std::uint32_t> code;
  };
  auto ext = [](Key k) { return std::optional<std::uint32_t>(k.code); };
  KeyPress ctrl_b;
  ctrl_b.letter = 'b';
  ctrl_b.ctrl = true;
  KeyPress plain_b;
  plain_b.letter = 'b';
  KeyPress alt_f1 = Press(K::kF1);
  alt_f1.alt = true;
  const std::vector<Case> cases = {
      {Press(K::kUp), ext(key::kUp)},
      {Press(K::kDown), ext(key::kDown)},
      {Press(K::kLeft), ext(key::kLeft)},
      {Press(K::kRight), ext(key::kRight)},
      {Press(K::kUp, /*shift=*/true), ext(key::kUp)},
      {Press(K::kUp, false, /*ctrl=*/true), ext(key::kCtrlUp)},
      {Press(K::kDown, false, true), ext(key::kCtrlDown)},
      {Press(K::kLeft, false, true), ext(key::kCtrlLeft)},
      {Press(K::kRight, false, true), ext(key::kCtrlRight)},
      {Press(K::kF1), ext(key::kF1)},
      {Press(K::kF5), ext(key::kF5)},
      {Press(K::kF12), ext(key::kF12)},
      {Press(K::kF12, true), ext(key::kShiftF12)},
      {Press(K::kF12, false, true), ext(key::kCtrlF12)},
      {Press(K::kF1, true), ext(Key::Extended(0x54))},
      {Press(K::kEnter), 0x0D},
      {Press(K::kKeypadEnter), 0x0D},
      {Press(K::kBackspace), 0x08},
      {Press(K::kEscape), 0x1B},
      {Press(K::kKeypad8), ext(key::kUp)},                      // Num Lock off: an arrow
      {Press(K::kKeypad8, false, false, true), std::nullopt},   // Num Lock on: types "8"
      {Press(K::kKeypad5), ext(Key::Extended(0x4C))},
      {ctrl_b, 0x02},
      {plain_b, std::nullopt},  // types "b" through text input
      {alt_f1, std::nullopt},   // nothing while Alt is held
      {Press(K::kOther), std::nullopt},
  };
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(TranslateKeyDown(cases[i].press), cases[i].code) << "case " << i;
}

TEST(KeyTranslation, TypedTextArrivesAsCodePage437Bytes) {
  EXPECT_EQ(ToCodePage437(U'a'), 'a');
  EXPECT_EQ(ToCodePage437(U'+'), '+');
  EXPECT_EQ(ToCodePage437(U'é'), 0x82);
  EXPECT_EQ(ToCodePage437(U'»'), 0xAF);
  EXPECT_EQ(ToCodePage437(U'ř'), '?');  // not in code page 437
  EXPECT_EQ(TypedBytes("7é"), (std::vector<std::uint8_t>{'7', 0x82}));
  EXPECT_EQ(TypedBytes("\xC3"), (std::vector<std::uint8_t>{'?'}));           // cut short
  EXPECT_EQ(TypedBytes("\xA3" "a"), (std::vector<std::uint8_t>{'?', 'a'}));  // no lead byte: not '£'
  EXPECT_EQ(TypedBytes("\xFF"), (std::vector<std::uint8_t>{'?'}));           // never in UTF-8
  EXPECT_EQ(TypedBytes("\xC2\xA3"), (std::vector<std::uint8_t>{0x9C}));     // '£' itself
}

}  // namespace
}  // namespace qb
