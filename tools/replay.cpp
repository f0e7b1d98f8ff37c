// quizzlebox-replay: runs the real game on the headless surface with keys from
// a script, then reports the game's state as JSON (and the surface as a PPM).
//
//   quizzlebox-replay SCRIPT [--ppm FILE] [--level N --score S]
//
// SCRIPT lines are "<delay> <key>": the key arrives <delay> virtual ms after
// the previous line's key. A last line "<delay> end" lets the game run that
// much longer. Blank lines and lines starting with "#" are ignored. --help
// lists the key names.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "flow/state.h"
#include "game/board.h"
#include "gfx/headless/headless.h"
#include "gfx/surface.h"
#include "shell/screen_loop.h"
#include "shell/startup.h"

namespace {

// Bounds of a script: a line is short, and a whole script idles at most a
// week of virtual time (a day of play replays in about a tenth of a second).
constexpr std::size_t kMaxLineLength = 200;
constexpr std::int64_t kMaxDelayMs = 86'400'000;
constexpr std::int64_t kMaxScriptMs = 7 * kMaxDelayMs;

const std::map<std::string, std::uint32_t>& NamedKeys() {
  static const std::map<std::string, std::uint32_t> kNamed = {
      {"Up", qb::key::kUp.code},
      {"Down", qb::key::kDown.code},
      {"Left", qb::key::kLeft.code},
      {"Right", qb::key::kRight.code},
      {"F1", qb::key::kF1.code},
      {"F5", qb::key::kF5.code},
      {"F12", qb::key::kF12.code},
      {"ShiftF12", qb::key::kShiftF12.code},
      {"CtrlF12", qb::key::kCtrlF12.code},
      {"CtrlUp", qb::key::kCtrlUp.code},
      {"CtrlDown", qb::key::kCtrlDown.code},
      {"CtrlLeft", qb::key::kCtrlLeft.code},
      {"CtrlRight", qb::key::kCtrlRight.code},
      {"Enter", qb::key::kEnter.code},
      {"Space", qb::key::kSpace.code},
      {"Backspace", qb::key::kBackspace.code},
      {"Escape", qb::key::kEscape.code},
      {"Plus", qb::key::kPlus.code},
      {"Close", qb::key::kClose.code},
  };
  return kNamed;
}

std::optional<std::uint32_t> KeyCode(const std::string& name) {
  if (auto it = NamedKeys().find(name); it != NamedKeys().end()) return it->second;
  if (name.size() == 1 && name[0] > 0x20 && name[0] < 0x7F) return static_cast<std::uint8_t>(name[0]);
  return std::nullopt;
}

// A whole number from lo to hi written with digits only: no sign, no spaces
// on either side.
std::optional<std::int64_t> WholeNumber(std::string_view text, std::int64_t lo, std::int64_t hi) {
  std::int64_t n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || text[0] < '0' || text[0] > '9' || error != std::errc{} || end != text.data() + text.size() ||
      n < lo || n > hi)
    return std::nullopt;
  return n;
}

// Reads one line of at most kMaxLineLength characters (its end not counted);
// a longer one is read up to the limit and `too_long` is set.
bool ReadLine(std::istream& in, std::string& line, bool& too_long) {
  line.clear();
  too_long = false;
  for (int c; (c = in.get()) != std::char_traits<char>::eof();) {
    if (c == '\n') return true;
    if (line.size() == kMaxLineLength + 1) {  // room for a '\r' before the end
      too_long = true;
      return true;
    }
    line += static_cast<char>(c);
  }
  return !line.empty();
}

struct Script {
  std::vector<qb::HeadlessPlatform::ScriptedKey> keys;
  std::optional<std::int64_t> stop_at;
};

// Parses the script; on a fault prints it with the line number and returns nothing.
std::optional<Script> ParseScript(std::istream& in, const std::string& file) {
  Script s;
  std::int64_t t = 0;
  std::string line;
  int line_no = 0;
  auto refuse = [&](const std::string& why) {
    std::cerr << file << ":" << line_no << ": " << why << "\n";
    return std::nullopt;
  };
  bool too_long = false;
  while (ReadLine(in, line, too_long)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (too_long || line.size() > kMaxLineLength)
      return refuse("the line is longer than " + std::to_string(kMaxLineLength) + " characters");
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    if (s.stop_at) return refuse("nothing may follow the \"end\" line");
    std::istringstream words(line);
    std::string delay_text, key, extra;
    if (!(words >> delay_text >> key) || (words >> extra))
      return refuse("expected \"<delay> <key>\", found \"" + line + "\"");
    const auto delay = WholeNumber(delay_text, 0, kMaxDelayMs);
    if (!delay)
      return refuse("the delay must be a whole number of milliseconds from 0 to " + std::to_string(kMaxDelayMs) +
                    ": \"" + delay_text + "\"");
    t += *delay;
    if (t > kMaxScriptMs)
      return refuse("the script lasts longer than " + std::to_string(kMaxScriptMs) +
                    " ms (a week) of virtual time in all");
    if (key == "end") {
      s.stop_at = t;
      continue;
    }
    const auto code = KeyCode(key);
    if (!code) return refuse("unknown key \"" + key + "\"");
    s.keys.push_back({t, *code});
  }
  return s;
}

void PrintGrid(std::ostream& out, const qb::Grid& g) {
  out << "[";
  for (int r = 1; r <= qb::kRows; ++r) {
    out << (r > 1 ? ", " : "") << "\"";
    for (int c = 1; c <= qb::kColumns; ++c) out << static_cast<int>(g.at(c, r));
    out << "\"";
  }
  out << "]";
}

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

bool WritePpm(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << qb::kSurfaceWidth << " " << qb::kSurfaceHeight << "\n255\n";
  for (int y = 0; y < qb::kSurfaceHeight; ++y)
    for (int x = 0; x < qb::kSurfaceWidth; ++x) {
      const auto p = qb::GetPixel(x, y);
      const char rgb[3] = {static_cast<char>((p >> 16) & 0xFF), static_cast<char>((p >> 8) & 0xFF),
                           static_cast<char>(p & 0xFF)};
      out.write(rgb, 3);
    }
  out.close();  // a full disk may show only when the last bytes are written
  return !out.fail();
}

constexpr const char* kUsageLine = "usage: quizzlebox-replay SCRIPT [--ppm FILE] [--level N --score S]\n";

int Usage() {
  std::cerr << kUsageLine << "(quizzlebox-replay --help says more)\n";
  return 2;
}

std::string Help() {
  std::string keys = "Keys:";
  std::size_t line_start = 0;
  for (const auto& [name, code] : NamedKeys()) {
    if (keys.size() - line_start + 1 + name.size() > 74) {
      line_start = keys.size() + 1;
      keys += "\n ";
    }
    keys += " " + name;
  }
  std::string text = kUsageLine;
  text +=
      "Plays the game without a window on a virtual clock, with the keys of\n"
      "SCRIPT, and prints the game's state at the end as JSON.\n"
      "\n"
      "  --ppm FILE   also write the last screen to FILE as a PPM picture\n"
      "  --level N    start playing level N (1 to 200) instead of at the menu;\n"
      "  --score S    with the score S (0 to 99000): both or neither\n"
      "  --help       show this help and end\n"
      "\n"
      "Each line of SCRIPT is \"<delay> <key>\": the key arrives <delay> virtual\n"
      "milliseconds (0 to " +
      std::to_string(kMaxDelayMs) +
      ") after the one before. A last line \"<delay> end\"\n"
      "lets the game run that much longer. Blank lines and lines starting with\n"
      "\"#\" are skipped; a line is at most " +
      std::to_string(kMaxLineLength) + " characters, and a script lasts\n" + "at most " +
      std::to_string(kMaxScriptMs) +
      " ms (a week) in all.\n"
      "\n" +
      keys +
      ",\n"
      "and any one printable character (a digit, a letter, + and so on) as typed.\n"
      "\n"
      "Exit status: 0 when the game ran, 2 for a wrong command line or script, or\n"
      "when the output could not be written.\n";
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::string script_path, ppm_path;
  std::optional<int> level;
  std::optional<long> score;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string(argv[++i]);
    };
    auto number = [&](long lo, long hi) -> std::optional<long> {
      const auto v = value();
      if (!v) return std::nullopt;
      return WholeNumber(*v, lo, hi);
    };
    if (a == "--help" || a == "-h") {
      std::cout << Help() << std::flush;
      if (!std::cout) {
        std::cerr << "quizzlebox-replay: cannot write the help to standard output\n";
        return 2;
      }
      return 0;
    } else if (a == "--ppm") {
      const auto v = value();
      if (!v) return Usage();
      ppm_path = *v;
    } else if (a == "--level") {
      const auto n = number(1, 200);
      if (!n) {
        std::cerr << "--level takes a level number from 1 to 200\n";
        return 2;
      }
      level = static_cast<int>(*n);
    } else if (a == "--score") {
      const auto n = number(0, 99000);
      if (!n) {
        std::cerr << "--score takes a score from 0 to 99000\n";
        return 2;
      }
      score = *n;
    } else if (!a.empty() && a[0] == '-') {
      return Usage();
    } else if (script_path.empty()) {
      script_path = a;
    } else {
      return Usage();
    }
  }
  if (script_path.empty() || level.has_value() != score.has_value()) return Usage();

  // A directory opens like a file and reads as nothing: refuse it by name.
  std::error_code error;
  if (std::filesystem::is_directory(script_path, error)) {
    std::cerr << "cannot read the script " << script_path << ": it is a directory\n";
    return 2;
  }
  std::ifstream in(script_path);
  if (!in) {
    std::cerr << "cannot read the script " << script_path << "\n";
    return 2;
  }
  const auto script = ParseScript(in, script_path);
  if (!script) return 2;
  if (in.bad()) {
    std::cerr << "cannot read the script " << script_path << ": reading failed\n";
    return 2;
  }

  qb::HeadlessPlatform platform(script->keys, script->stop_at);
  qb::InstallPlatform(&platform);
  qb::StartOptions options;
  if (level) {
    options.level = *level;
    options.score = static_cast<float>(*score);
  }
  try {
    qb::RunGame(options);
  } catch (const qb::RunStopped&) {
  }

  const auto& s = qb::State();
  const auto& b = qb::TheBoard();
  std::ostringstream out;
  out << "{\n  \"title\": " << JsonString(platform.title()) << ",\n"
      << "  \"screen\": \"" << (platform.ended() ? "exited" : qb::ScreenName(qb::CurrentScreen())) << "\",\n"
      << "  \"level\": " << int{s.level} << ",\n"
      << "  \"score\": " << static_cast<long>(s.score) << ",\n"
      << "  \"previous_score\": " << static_cast<long>(s.previous_score) << ",\n"
      << "  \"steps\": " << static_cast<long>(s.steps) << ",\n"
      << "  \"time\": " << static_cast<long>(s.time) << ",\n"
      << "  \"level_running\": " << int{s.level_running} << ",\n"
      << "  \"appearance\": " << int{s.appearance} << ",\n"
      << "  \"figure\": [" << int{b.figure_column} << ", " << int{b.figure_row} << "],\n"
      << "  \"board\": ";
  PrintGrid(out, b.board);
  out << ",\n  \"takeback\": ";
  PrintGrid(out, b.take_back);
  out << ",\n  \"saved\": ";
  PrintGrid(out, b.saved);
  out << ",\n  \"virtual_ms\": " << platform.now_ms() << ",\n"
      << "  \"exited\": " << (platform.ended() ? "true" : "false") << ",\n"
      << "  \"exit_status\": " << (platform.ended() ? platform.exit_status() : 0) << "\n}\n";
  std::cout << out.str() << std::flush;
  qb::InstallPlatform(nullptr);
  if (!std::cout) {
    std::cerr << "quizzlebox-replay: cannot write the report to standard output\n";
    return 2;
  }
  if (!ppm_path.empty() && !WritePpm(ppm_path)) {
    std::cerr << "cannot write " << ppm_path << "\n";
    return 2;
  }
  return 0;
}
