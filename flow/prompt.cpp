#include "flow/prompt.h"

#include "flow/state.h"
#include "gfx/surface.h"

namespace qb {

bool IsContinueKey(std::string_view key) {
  return key == key::kStrSpace || key == key::kStrEscape || key == key::kStrBackspace;
}

Screen MenuReturn() {
  auto& s = State();
  s.level_running = 0;
  s.score = s.steps = s.time = s.previous_score = 0;
  SleepMs(270);
  return Screen::MainMenu;
}

Screen CloseProgram() {
  SleepMs(500);
  return Screen::Exit;
}

std::optional<Screen> LeaveFromPrompt(const std::string& key) {
  if (key == key::kStrClose) return CloseProgram();
  if (key == key::kStrF5) return MenuReturn();
  return std::nullopt;
}

}  // namespace qb
