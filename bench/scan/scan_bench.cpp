// Times one metrics refresh of a folder as the window runs it, and prints the figures it
// writes. To compare listings, --workers N, --buffer BYTES and --short-read 0|1 replace the
// measured defaults (--workers 0 --short-read 0 lists as the walk did before it shared out).
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "core/backup_settings.h"
#include "metrics/metrics.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace {

uint64_t Digits(const std::wstring& text) {
  uint64_t value = 0;
  for (wchar_t c : text) {
    if (c >= L'0' && c <= L'9') value = value * 10 + static_cast<uint64_t>(c - L'0');
  }
  return value;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  tessel::win32::ListingOptions options = tessel::win32::DefaultListingOptions();
  while (!args.empty() && args.front().starts_with(L"--")) {
    std::wstring option = args.front();
    args.erase(args.begin());
    if (args.empty()) break;
    unsigned value = static_cast<unsigned>(_wtoi(args.front().c_str()));
    args.erase(args.begin());
    if (option == L"--workers") options.workers = value;
    if (option == L"--buffer") options.bufferBytes = value;
    if (option == L"--short-read") options.shortReadEnds = value != 0;
  }
  if (args.empty()) {
    std::fprintf(stderr,
                 "usage: bench_scan [--workers N] [--buffer BYTES] "
                 "[--short-read 0|1] FOLDER [RUNS]\n");
    return 2;
  }
  int runs = args.size() > 1 ? _wtoi(args[1].c_str()) : 5;

  tessel::win32::Win32FileSystem fs(options);
  tessel::win32::Win32System sys;
  tessel::win32::Win32Dialogs dialogs;
  tessel::Platform platform{fs, sys, dialogs};
  tessel::BackupSettings settings;
  settings.TxtSrc = args[0];

  std::wstring files, folders, size;
  auto write = [&](tessel::Ctl box, const std::wstring& text) {
    if (box == tessel::Ctl::txtFileCountSpecific) files = text;
    if (box == tessel::Ctl::txtFolderCountSpecific) folders = text;
    if (box == tessel::Ctl::txtFolderSizeSpecific) size = text;
  };
  std::vector<double> cpu;
  // Asked as during a refresh of a field being typed, which costs the most.
  tessel::StopCheck stop = [&] {
    dialogs.KeepWindowsAlive();
    return dialogs.InputPending();
  };
  std::vector<double> times = bench::TimeRuns(runs, cpu, [&] {
    tessel::GetMetrics(tessel::Panel::Specific, settings, platform, write, stop);
  });
  std::printf("boxes %s | %s | %s\n", tessel::win32::WideToUtf8(files).c_str(),
              tessel::win32::WideToUtf8(folders).c_str(), tessel::win32::WideToUtf8(size).c_str());
  bench::Report(Digits(files), Digits(size), Digits(folders), times, cpu);
  return 0;
}
