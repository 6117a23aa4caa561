// Times tessel.exe from launch until its main window is shown and waiting for input, then ends
// it. Prints "run_ms X" per launch, as the other benchmark programs do.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_timing.h"

namespace {

struct Search {
  DWORD process;
  bool shown = false;
};

BOOL CALLBACK FindShown(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process && IsWindowVisible(window)) search->shown = true;
  return !search->shown;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startup_timer TESSEL.EXE [RUNS]\n");
    return 2;
  }
  int runs = argc > 2 ? _wtoi(argv[2]) : 3;
  std::vector<double> cpu;
  bool allShown = true;
  std::vector<double> times = bench::TimeRuns(runs, cpu, [&] {
    std::wstring line = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      allShown = false;
      return;
    }
    // Idle for input only once start-up has run and the window is up (no message box asks).
    WaitForInputIdle(process.hProcess, 60000);
    Search search{process.dwProcessId};
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
    allShown = allShown && search.shown;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  });
  if (!allShown) std::printf("no main window was shown\n");
  for (double ms : times) std::printf("run_ms %.1f\n", ms);
  return allShown ? 0 : 1;
}
