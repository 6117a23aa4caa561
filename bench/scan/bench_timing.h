// Wall-clock timing and the output format the benchmark script reads.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace bench {

inline double NowMs() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// CPU time this process has used, user and kernel.
inline double CpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

// Times `refresh` `count` times: wall-clock ms per run, and CPU ms per run in `cpu`.
template <class Refresh>
std::vector<double> TimeRuns(int count, std::vector<double>& cpu, Refresh&& refresh) {
  std::vector<double> wall;
  for (int i = 0; i < count; ++i) {
    double cpuStart = CpuMs();
    double start = NowMs();
    refresh();
    wall.push_back(NowMs() - start);
    cpu.push_back(CpuMs() - cpuStart);
  }
  return wall;
}

// Prints "figures files=.. bytes=.. folders=..", one "run_ms" and one "cpu_ms" line per run,
// and "median_ms".
inline void Report(uint64_t files, uint64_t bytes, uint64_t folders, std::vector<double> runs,
                   const std::vector<double>& cpu) {
  std::printf("figures files=%llu bytes=%llu folders=%llu\n",
              static_cast<unsigned long long>(files), static_cast<unsigned long long>(bytes),
              static_cast<unsigned long long>(folders));
  for (double ms : runs) std::printf("run_ms %.1f\n", ms);
  for (double ms : cpu) std::printf("cpu_ms %.1f\n", ms);
  std::sort(runs.begin(), runs.end());
  std::printf("median_ms %.1f\n", runs.empty() ? 0.0 : runs[runs.size() / 2]);
}

}  // namespace bench
