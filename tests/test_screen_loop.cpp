// A long game through every screen, run by the real screen loop: however many
// screens follow one another, the stack stays as deep and the memory held
// stays as much as after the first round. This program counts live
// allocations with its own operator new, so it is a test program of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string_view>
#include <vector>

#include "data/catalogue.h"
#include "game/scoring.h"
#include "player.h"
#include "shell/screen_loop.h"

namespace {
std::atomic<long> g_live_allocations{0};
}  // namespace

// Every form of the operators is replaced, so that nothing allocated by one
// library's form is released by another's (AddressSanitizer reports that).
// Aligned blocks are cut out of a larger malloc block whose address is kept
// just before them: std::aligned_alloc is missing on Windows, and its blocks
// could not be released with free there.
namespace {
void* Allocate(std::size_t n, std::size_t alignment = 0) {
  n = n == 0 ? 1 : n;
  void* p = nullptr;
  if (alignment == 0) {
    p = std::malloc(n);
  } else if (void* raw = std::malloc(n + alignment + sizeof(void*))) {
    const auto start = reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*);
    p = reinterpret_cast<void*>((start + alignment - 1) / alignment * alignment);
    static_cast<void**>(p)[-1] = raw;
  }
  if (p) ++g_live_allocations;
  return p;
}
void Release(void* p, bool aligned = false) {
  if (!p) return;
  --g_live_allocations;
  std::free(aligned ? static_cast<void**>(p)[-1] : p);
}
void* AllocateOrThrow(std::size_t n, std::size_t alignment = 0) {
  if (void* p = Allocate(n, alignment)) return p;
  throw std::bad_alloc{};
}
std::size_t Size(std::align_val_t a) { return static_cast<std::size_t>(a); }
}  // namespace

void* operator new(std::size_t n) { return AllocateOrThrow(n); }
void* operator new[](std::size_t n) { return AllocateOrThrow(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new(std::size_t n, std::align_val_t a) { return AllocateOrThrow(n, Size(a)); }
void* operator new[](std::size_t n, std::align_val_t a) { return AllocateOrThrow(n, Size(a)); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return Allocate(n, Size(a)); }
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return Allocate(n, Size(a)); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete(void* p, std::align_val_t) noexcept { Release(p, true); }
void operator delete[](void* p, std::align_val_t) noexcept { Release(p, true); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { Release(p, true); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { Release(p, true); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p, true); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p, true); }

namespace qb {
namespace {

using namespace testing::keys;
using testing::Player;

// One round from the main menu back to it, through every screen.
void PlayOneRound(Player& p) {
  // A new game: a refused skip on the level card, play, pause, a refused take
  // back, a move, a restart, back to the menu.
  p.Press(kEnter, 100).Press('+', 3000).Press(kEscape, 200).Press(kSpace, 200);
  p.Press('p', 700).Press(kSpace, 300).Press('b', 200).Press(kSpace, 200).Press(kRight, 200);
  p.Press(kF1, 200).Press(kF5, 1500);
  // A wrong password; level 11 by its password, solved, and from its
  // completion screen back to the menu.
  p.Press(kDown, 1000).Press(kEnter, 50).Wait(600).Type("123", 20).Press(kEnter, 20);
  p.Press(kDown, 2500).Press(kEnter, 50).Wait(600).Type(MakePassword(11, 0), 20).Press(kEnter, 20);
  p.Press(kSpace, 3000).Press(kRight, 700).Press(kF5, 1500);
  // Level 200 skipped from its card to the all-levels screen.
  p.Press(kDown, 1000).Press(kEnter, 50).Wait(600).Type(MakePassword(200, 30000), 20).Press(kEnter, 20);
  p.Press('+', 3000).Press(kSpace, 200).Press(kSpace, 200);
  // The instructions, about and credits screens.
  p.Press(kDown, 1000).Press(kDown, 50).Press(kEnter, 50).Press(kSpace, 1000);
  p.Press(kUp, 1000).Press(kUp, 50).Press(kEnter, 50).Press(kEscape, 1000);
  p.Press(key::kCtrlF12.code, 1000).Press(kBackspace, 1000);
}

const std::vector<Screen> kOneRound = {
    Screen::MainMenu, Screen::Play,     Screen::Play,     Screen::Play,         Screen::MainMenu, Screen::Password,
    Screen::MainMenu, Screen::Password, Screen::Play,     Screen::Play,         Screen::Completion,
    Screen::MainMenu, Screen::Password, Screen::Play,     Screen::AllLevels,    Screen::MainMenu,
    Screen::Instructions, Screen::MainMenu, Screen::About, Screen::MainMenu,    Screen::Credits,
};

HeadlessPlatform* g_platform = nullptr;
std::vector<std::string_view> g_entered;
std::vector<long> g_held_at_menu;  // live allocations, less those of the titles the test platform keeps

Screen Recording(Screen s) {
  g_entered.push_back(ScreenName(s));
  if (s == Screen::MainMenu) {
    const auto titles = static_cast<long>(g_platform->titles().size());
    g_held_at_menu.push_back(g_live_allocations - titles - (titles > 0));
  }
  return RunScreen(s);
}

class ScreenLoopTest : public testing::HeadlessTest {
 protected:
  // Plays the rounds through the screen loop, then closes the game from the
  // menu; returns the deepest stack seen at a poll.
  std::uintptr_t PlayRounds(int rounds) {
    Player player;
    for (int i = 0; i < rounds; ++i) PlayOneRound(player);
    player.Press(kClose, 1000);
    Install(player.keys());
    g_platform = &platform();
    g_entered.clear();
    g_held_at_menu.clear();
    g_entered.reserve(static_cast<std::size_t>(rounds) * kOneRound.size() + 8);
    g_held_at_menu.reserve(g_entered.capacity());
    RunScreenLoop(Screen::MainMenu, Recording);
    EXPECT_TRUE(platform().ended());
    EXPECT_EQ(platform().keys_delivered(), player.keys().size());
    return platform().deepest_poll_frame();
  }
};

TEST_F(ScreenLoopTest, ALongGameRunsInConstantStackAndMemory) {
  FillCatalogue();
  const std::uintptr_t one_round = PlayRounds(1);
  constexpr int kRounds = 4;
  const std::uintptr_t four_rounds = PlayRounds(kRounds);
  EXPECT_EQ(four_rounds, one_round) << "the stack grew by " << one_round - four_rounds << " bytes";

  std::vector<std::string_view> expected;
  for (int i = 0; i < kRounds; ++i)
    for (Screen s : kOneRound) expected.push_back(ScreenName(s));
  expected.push_back(ScreenName(Screen::MainMenu));
  EXPECT_EQ(g_entered, expected);

  // From the second round on, every return to the menu finds as much held.
  const std::size_t per_round = 7;  // menu entries in a round
  ASSERT_GT(g_held_at_menu.size(), per_round);
  for (std::size_t i = per_round; i < g_held_at_menu.size(); ++i)
    EXPECT_EQ(g_held_at_menu[i], g_held_at_menu[per_round]) << "menu entry " << i;
}

}  // namespace
}  // namespace qb
