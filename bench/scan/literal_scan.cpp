// Baseline: the folder figures computed the plain way, two separate recursive walks with the
// ANSI find functions over "*.*", 32-bit counts and a double byte sum. Kept here only to measure
// the metrics refresh against.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"

namespace {

struct FolderScan {
  bool Recurse = true;
  std::string RootPath;
  std::string Pattern = "*.*";
  int32_t FileCount = 0;
  double TotalBytes = 0;
};

std::string QualifyPath(const std::string& path) {
  return !path.empty() && path.back() == '\\' ? path : path + "\\";
}

std::string TrimNull(const char* text) {
  return std::string(text, lstrlenA(text));
}

void ScanFiles(const std::string& path, FolderScan& scan) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((path + "*.*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (data.cFileName[0] == '.') continue;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      scan.FileCount += 1;
      scan.TotalBytes += data.nFileSizeHigh * 4294967296.0 + data.nFileSizeLow;
    } else if (scan.Recurse) {
      ScanFiles(path + TrimNull(data.cFileName) + "\\", scan);
    }
  } while (FindNextFileA(search, &data));
  FindClose(search);
}

int32_t CountFolders(FolderScan& scan) {
  std::string root = QualifyPath(scan.RootPath);
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((root + scan.Pattern).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int32_t count = 0;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    std::string name = TrimNull(data.cFileName);
    if (name == "." || name == "..") continue;
    count += 1;
    if (scan.Recurse) {
      scan.RootPath = root + name;
      count += CountFolders(scan);
    }
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_scan_literal FOLDER [RUNS]\n");
    return 2;
  }
  int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  FolderScan last;
  int32_t folders = 0;
  std::vector<double> cpu;
  std::vector<double> times = bench::TimeRuns(runs, cpu, [&] {
    FolderScan scan;
    scan.RootPath = QualifyPath(argv[1]);
    ScanFiles(scan.RootPath, scan);
    folders = CountFolders(scan);
    last = scan;
  });
  bench::Report(static_cast<uint32_t>(last.FileCount), static_cast<uint64_t>(last.TotalBytes),
                static_cast<uint32_t>(folders), times, cpu);
  return 0;
}
