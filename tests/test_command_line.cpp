// The command line: the three options, and everything else refused with the
// usage and status 2. No options means playing, in the window.
#include <gtest/gtest.h>

#include <vector>

#include "shell/version.h"
#include "shell/command_line.h"

namespace qb {
namespace {

TEST(CommandLine, OptionsAndWhatTheyDo) {
  struct Case {
    std::vector<const char*> args;
    bool fullscreen;
    std::optional<int> exit_status;
    const char* text_starts;  // the text printed instead of playing
  };
  const Case cases[] = {
      {{}, false, std::nullopt, ""},
      {{"--fullscreen"}, true, std::nullopt, ""},
      {{"--fullscreen", "--fullscreen"}, true, std::nullopt, ""},
      {{"--help"}, false, 0, "Usage: quizzlebox [--fullscreen]\n"},
      {{"-h"}, false, 0, "Usage: quizzlebox [--fullscreen]\n"},
      {{"--version"}, false, 0, "quizzlebox " QB_VERSION "\n"},
      {{"--fullscreen", "--version"}, false, 0, "quizzlebox " QB_VERSION "\n"},
      {{"--full"}, false, 2, "quizzlebox: unknown option '--full'\nUsage: quizzlebox [--fullscreen]\n"},
      {{"--fullscreen", "level7"}, false, 2, "quizzlebox: unknown option 'level7'\nUsage: "},
      {{"--version", "-x"}, false, 0, "quizzlebox " QB_VERSION "\n"},  // the first that ends it wins
      {{""}, false, 2, "quizzlebox: unknown option ''\n"},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const char* a : c.args) shown += std::string(" [") + a + "]";
    const CommandLine line = ReadCommandLine(c.args);
    EXPECT_EQ(line.fullscreen, c.fullscreen) << shown;
    EXPECT_EQ(line.exit_status, c.exit_status) << shown;
    EXPECT_EQ(line.text.rfind(c.text_starts, 0), 0u) << shown << "\n" << line.text;
    if (!c.exit_status) {
      EXPECT_EQ(line.text, "") << shown;
    }
  }
}

TEST(CommandLine, TheHelpNamesEveryOption) {
  const std::string help = ReadCommandLine(std::vector<const char*>{"--help"}).text;
  for (const char* option : {"--fullscreen", "--help", "--version"})
    EXPECT_NE(help.find(std::string("  ") + option + " "), std::string::npos) << option;
  EXPECT_EQ(help.back(), '\n');
}

}  // namespace
}  // namespace qb
