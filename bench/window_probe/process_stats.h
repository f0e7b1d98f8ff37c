// What a running process has used, read from /proc: CPU time of all its
// threads and their voluntary context switches (each one a wait that ended,
// so their rate is the process's wakeups per second).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <string>

namespace probe {

struct ProcessSample {
  std::chrono::steady_clock::time_point when;
  double cpu_seconds = 0;                   // utime + stime of the whole process
  std::map<pid_t, long long> voluntary;     // per thread
  bool ok = false;
};

ProcessSample SampleProcess(pid_t pid);

// The running process whose command name starts with `name` and whose
// environment holds `variable` (NAME=VALUE; empty: any); 0 when none does.
// The probe finds the Wine server of its Wine prefix this way.
pid_t FindProcess(const std::string& name, const std::string& variable);

// The two samples' sums: a program and the server it works through.
ProcessSample Sum(const ProcessSample& a, const ProcessSample& b);

struct Usage {
  double cpu_percent = 0;      // of one core
  double wakeups_per_s = 0;    // voluntary context switches, all threads
  double seconds = 0;          // the span measured
  bool ok = false;
};

// The use between two samples. A thread that appeared in between counts with
// all of its switches; one that ended counts up to the first sample only.
Usage Between(const ProcessSample& a, const ProcessSample& b);

}  // namespace probe
