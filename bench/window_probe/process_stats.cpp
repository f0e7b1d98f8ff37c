#include "process_stats.h"

#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace probe {

namespace {

// utime and stime are fields 14 and 15 of /proc/PID/stat; the command name
// (field 2) may hold spaces, so counting starts after its closing bracket.
bool ReadCpuSeconds(pid_t pid, double& seconds) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  if (!std::getline(in, text)) return false;
  const auto close = text.rfind(')');
  if (close == std::string::npos) return false;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int n = 3; n <= 15 && fields >> field; ++n) {
    if (n == 14) utime = std::stoull(field);
    if (n == 15) stime = std::stoull(field);
  }
  if (!fields) return false;
  seconds = static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
  return true;
}

long long VoluntarySwitches(const std::string& status_path) {
  std::ifstream in(status_path);
  std::string line;
  const std::string label = "voluntary_ctxt_switches:";
  while (std::getline(in, line))
    if (line.rfind(label, 0) == 0) return std::stoll(line.substr(label.size()));
  return -1;
}

}  // namespace

ProcessSample SampleProcess(pid_t pid) {
  ProcessSample s;
  s.when = std::chrono::steady_clock::now();
  if (!ReadCpuSeconds(pid, s.cpu_seconds)) return s;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* dir = opendir(tasks.c_str());
  if (!dir) return s;
  while (const dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    const long long n = VoluntarySwitches(tasks + "/" + e->d_name + "/status");
    if (n >= 0) s.voluntary[static_cast<pid_t>(std::stol(e->d_name))] = n;
  }
  closedir(dir);
  s.ok = !s.voluntary.empty();
  return s;
}

pid_t FindProcess(const std::string& name, const std::string& variable) {
  DIR* dir = opendir("/proc");
  if (!dir) return 0;
  pid_t found = 0;
  while (const dirent* e = readdir(dir)) {
    if (e->d_name[0] < '1' || e->d_name[0] > '9') continue;
    const std::string base = std::string("/proc/") + e->d_name;
    std::string comm;
    std::getline(std::ifstream(base + "/comm"), comm);
    if (comm.rfind(name, 0) != 0) continue;
    if (!variable.empty()) {
      std::ifstream in(base + "/environ", std::ios::binary);
      bool has = false;
      for (std::string entry; std::getline(in, entry, '\0') && !has;) has = entry == variable;
      if (!has) continue;
    }
    found = static_cast<pid_t>(std::stol(e->d_name));
    break;
  }
  closedir(dir);
  return found;
}

ProcessSample Sum(const ProcessSample& a, const ProcessSample& b) {
  ProcessSample s = a;
  s.ok = a.ok && b.ok;
  s.cpu_seconds += b.cpu_seconds;
  for (const auto& [tid, n] : b.voluntary) s.voluntary[tid] += n;
  return s;
}

Usage Between(const ProcessSample& a, const ProcessSample& b) {
  Usage u;
  if (!a.ok || !b.ok) return u;
  u.seconds = std::chrono::duration<double>(b.when - a.when).count();
  if (u.seconds <= 0) return u;
  long long switches = 0;
  for (const auto& [tid, n] : b.voluntary) {
    const auto before = a.voluntary.find(tid);
    switches += before == a.voluntary.end() ? n : n - before->second;
  }
  u.cpu_percent = (b.cpu_seconds - a.cpu_seconds) / u.seconds * 100.0;
  u.wakeups_per_s = static_cast<double>(switches) / u.seconds;
  u.ok = true;
  return u;
}

}  // namespace probe
