#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdint>

#include "headless_fixture.h"
#include "shell/screen_loop.h"

namespace qb {
namespace {

using ScreenLoopTest = testing::HeadlessTest;

int g_transitions = 0;
std::uintptr_t g_first_frame = 0;
bool g_same_frame = true;
std::size_t g_first_heap = 0;
std::size_t g_heap_growth = 0;

// A screen that records where its frame lies and how much heap is in use,
// then hands on to another screen, like the real ones do.
Screen CountingScreen(Screen s) {
  volatile int marker = 0;
  const auto frame = reinterpret_cast<std::uintptr_t>(&marker);
  const std::size_t heap = mallinfo2().uordblks;
  if (g_transitions == 0) {
    g_first_frame = frame;
    g_first_heap = heap;
  }
  g_same_frame = g_same_frame && frame == g_first_frame;
  if (heap > g_first_heap) g_heap_growth = std::max(g_heap_growth, heap - g_first_heap);
  if (++g_transitions == 100'000) return Screen::Exit;
  return s == Screen::MainMenu ? Screen::Play : Screen::MainMenu;
}

TEST_F(ScreenLoopTest, TransitionsRunInConstantStackAndMemory) {
  RunScreenLoop(Screen::MainMenu, CountingScreen);
  EXPECT_EQ(g_transitions, 100'000);
  EXPECT_TRUE(g_same_frame);
  EXPECT_LT(g_heap_growth, 4096u);
  EXPECT_TRUE(platform().ended());
  EXPECT_EQ(platform().exit_status(), 0);
  EXPECT_EQ(CurrentScreen(), Screen::Exit);
}

}  // namespace
}  // namespace qb
