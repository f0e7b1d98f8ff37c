#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Result {
  int status;
  std::string out;  // stdout and stderr together
};

// Runs a shell command line; what it prints to standard output is kept.
Result RunCommand(const std::string& cmd) {
  Result r{-1, {}};
  if (FILE* p = ::popen(cmd.c_str(), "r")) {
    std::array<char, 4096> buf{};
    while (std::fgets(buf.data(), buf.size(), p)) r.out += buf.data();
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  }
  return r;
}

// Runs the tool on `script`; `redirect` (by default both outputs to the pipe).
Result RunReplay(const std::string& script, const std::string& args = "", const std::string& redirect = "2>&1") {
  const auto dir = std::filesystem::temp_directory_path();
  const auto path = dir / ("qb_replay_" + std::to_string(::getpid()) + ".txt");
  std::ofstream(path) << script;
  const Result r = RunCommand(std::string(QB_REPLAY_EXE) + " " + path.string() + " " + args + " " + redirect);
  std::filesystem::remove(path);
  return r;
}

TEST(ReplayTool, RefusesMalformedScriptsNamingTheLine) {
  const std::pair<std::string, const char*> cases[] = {
      {"0 Up\n\n# fine\n10 Sideways\n", ":4:"},
      {"0 Up\nUp\n", ":2:"},
      {"x Up\n", ":1:"},
      {"-5 Up\n", ":1:"},
      {"0 Up Down\n", ":1:"},
      {"0 end\n0 Up\n", ":2:"},
      {"0 ab\n", ":1:"},
      {"+5 Up\n", ":1:"},
      {"0 Up\n0 " + std::string(300, 'x') + "\n", ":2: the line is longer than 200"},
      // A week of virtual time at most, however it is spread.
      {"86400000 Up\n86400000 Up\n86400000 Up\n86400000 Up\n86400000 Up\n86400000 Up\n86400000 Up\n1 end\n",
       ":8: the script lasts longer than"},
  };
  for (auto [script, where] : cases) {
    const auto r = RunReplay(script);
    EXPECT_EQ(r.status, 2) << script;
    EXPECT_NE(r.out.find(where), std::string::npos) << script << " -> " << r.out;
    EXPECT_EQ(r.out.find("\"title\""), std::string::npos) << "nothing may run: " << script;
  }
}

TEST(ReplayTool, RefusesMissingFilesAndBadOptions) {
  EXPECT_EQ(std::system((std::string(QB_REPLAY_EXE) + " /nonexistent/script >/dev/null 2>&1").c_str()) >> 8, 2);
  // A directory is not a script, even though it opens like one.
  EXPECT_EQ(std::system((std::string(QB_REPLAY_EXE) + " " + std::filesystem::temp_directory_path().string() +
                         " >/dev/null 2>&1").c_str()) >> 8, 2);
  EXPECT_EQ(RunReplay("0 Up\n", "--level 201 --score 0").status, 2);
  EXPECT_EQ(RunReplay("0 Up\n", "--level 5").status, 2);
  EXPECT_EQ(RunReplay("0 Up\n", "--level 5 --score 99001").status, 2);
  // A number is digits alone, with nothing before or after them.
  for (const char* level : {"' 5'", "'5 '", "+5", "5x", "0x5"})
    EXPECT_EQ(RunReplay("0 Up\n", std::string("--score 0 --level ") + level).status, 2) << level;
  EXPECT_EQ(RunReplay("0 Up\n", "--score 0 --level 5").status, 0);
}

TEST(ReplayTool, AnEndlessLineIsRefusedAtOnce) {
  const auto r = RunCommand(std::string("timeout 20 ") + QB_REPLAY_EXE + " /dev/zero 2>&1 >/dev/null");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "/dev/zero:1: the line is longer than 200 characters\n");
}

TEST(ReplayTool, HelpNamesTheOptionsAndEveryKey) {
  const auto r = RunReplay("", "--help");
  EXPECT_EQ(r.status, 0);
  for (const char* word : {"--ppm FILE", "--level N", "--score S", "--help", " Up", " Down", " Left", " Right", " F1",
                           " F5", " F12", " ShiftF12", " CtrlF12", " CtrlUp", " CtrlDown", " CtrlLeft", " CtrlRight",
                           " Enter", " Space", " Backspace", " Escape", " Plus", " Close", "end"})
    EXPECT_NE(r.out.find(word), std::string::npos) << word << " in\n" << r.out;
}

TEST(ReplayTool, OutputThatCannotBeWrittenIsAFailure) {
  for (const std::string args : {"", "--help"}) {
    const auto r = RunReplay("0 Close\n", args, "2>&1 >/dev/full");
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.out.find("cannot write"), std::string::npos) << args << ": " << r.out;
  }
  const auto r = RunReplay("0 Close\n", "--ppm /dev/full");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("cannot write /dev/full"), std::string::npos) << r.out;
}

TEST(ReplayTool, ReportsTheGameAsJson) {
  const auto r = RunReplay("0 Close\n");
  ASSERT_EQ(r.status, 0) << r.out;
  for (const char* field : {"\"title\"", "\"screen\"", "\"level\"", "\"score\"", "\"previous_score\"",
                            "\"steps\"", "\"time\"", "\"level_running\"", "\"appearance\"", "\"figure\"",
                            "\"board\"", "\"takeback\"", "\"saved\"", "\"virtual_ms\"", "\"exited\": true",
                            "\"exit_status\": 0"})
    EXPECT_NE(r.out.find(field), std::string::npos) << field << " in " << r.out;
}

TEST(ReplayTool, WritesTheSurfaceAsPpm) {
  const auto ppm = std::filesystem::temp_directory_path() / ("qb_replay_" + std::to_string(::getpid()) + ".ppm");
  const auto r = RunReplay("0 Close\n", "--ppm " + ppm.string());
  ASSERT_EQ(r.status, 0) << r.out;
  std::ifstream in(ppm, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  EXPECT_EQ(magic, "P6");
  EXPECT_EQ(w, 696);
  EXPECT_EQ(h, 479);
  EXPECT_EQ(max, 255);
  EXPECT_EQ(std::filesystem::file_size(ppm), static_cast<std::uintmax_t>(in.tellg()) + 1 + 696 * 479 * 3);
  std::filesystem::remove(ppm);
}

}  // namespace
