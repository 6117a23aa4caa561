// One typing session and one backup against a tessel.exe, timed from outside as a person feels
// them. FOLDER is typed into the destination field with real keys, one every 100 ms, never
// waiting for the program; then the user's Documents are backed up by a recording archiver that
// takes seven seconds. Prints "key_ms" per key (until the field shows it), "settle_ms" (from the
// last key until the panel shows its figures), "cpu_ms" (the program's, first key to settle), the
// figures at rest and those of a walk made here, "scan_ms" (one refresh of FOLDER made here),
// then "null_ms" per WM_NULL sent during the backup (-1: unanswered), "hung" 5.5 s into it and
// "backup_cpu_ms", the program's CPU over its first 6.5 s.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/backup_settings.h"
#include "uidriver/driver.h"
#include "metrics/folder_scan.h"
#include "metrics/metrics.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "ui/main_form.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using tessel::gui::Form;
using tessel::gui::Tessel;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// A read sent with a long time-out waits while the program is busy: that wait is what is timed.
std::wstring ReadWaiting(HWND hwnd) {
  wchar_t buffer[512] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL,
                           120000, &copied)) {
    return {};
  }
  return std::wstring(buffer, copied);
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ostringstream bytes;
  bytes << std::ifstream(file, std::ios::binary).rdbuf();
  return bytes.str();
}

// The CPU time of the tessel.exe running in this Wine prefix, all its threads, as Linux counts it
// (Wine reports none for another process): user and system ticks of its /proc entry.
double TesselCpuMs() {
  wchar_t prefix[MAX_PATH] = {};
  GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
  std::string ours = "WINEPREFIX=" + tessel::win32::WideToUtf8(prefix) + '\0';
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(L"Z:\\proc", error)) {
    std::wstring pid = entry.path().filename().wstring();
    if (pid.empty() || !std::all_of(pid.begin(), pid.end(), iswdigit)) continue;
    // Wine writes the program's path over the loader's arguments.
    std::string program = ReadAll(entry.path() / L"cmdline").c_str();
    program.erase(program.find_last_not_of(' ') + 1);
    if (!program.ends_with("tessel.exe") ||
        ReadAll(entry.path() / L"environ").find(ours) == std::string::npos) {
      continue;
    }
    std::string text = ReadAll(entry.path() / L"stat");
    std::istringstream stat(text.substr(text.rfind(')') + 2));  // after the name
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && stat >> field; ++i) {
      if (i >= 14) ticks += std::stod(field);  // utime, stime
    }
    return ticks * 10;  // 100 ticks a second
  }
  return -1;
}

uint64_t Digits(const std::wstring& text) {
  uint64_t value = 0;
  for (wchar_t c : text) value = iswdigit(c) ? value * 10 + static_cast<uint64_t>(c - L'0') : value;
  return value;
}

int Fail(const char* why) {
  std::fprintf(stderr, "keys_bench: %s\n", why);
  return 1;
}

// The walk and the refresh time of `folder`, made in this process as the program makes them.
void ReportOwnScan(const std::wstring& folder) {
  tessel::win32::Win32FileSystem fs;
  tessel::win32::Win32System sys;
  tessel::win32::Win32Dialogs dialogs;
  tessel::Platform platform{fs, sys, dialogs};
  tessel::BackupSettings settings;
  settings.TxtSrc = folder;
  std::vector<double> times;
  for (int i = 0; i < 5; ++i) {
    auto start = Clock::now();
    tessel::GetMetrics(tessel::Panel::Specific, settings, platform, [](tessel::Ctl, auto&) {});
    times.push_back(Ms(Clock::now() - start));
  }
  std::sort(times.begin(), times.end());
  tessel::FolderFigures walk = tessel::ScanFolder(fs, folder, true).value();
  std::printf("scan_ms %.1f\nexpected files=%llu bytes=%llu folders=%llu\n", times[2],
              static_cast<unsigned long long>(walk.files),
              static_cast<unsigned long long>(walk.bytes),
              static_cast<unsigned long long>(walk.folders));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: keys_bench TESSEL.EXE FOLDER\n");
    return 2;
  }
  const std::wstring path = argv[2];
  ReportOwnScan(path);
  if (!tessel::gui::InstallArchiver(7000) || !tessel::gui::StoreDestination("C:\\Nothing")) {
    return Fail("no archiver or settings file");
  }
  std::optional<Tessel> app = Tessel::Start(argv[1]);
  Form main = app ? app->WaitForm(tessel::ui::MainForm()) : Form{};
  if (!main || !app->Settle()) return Fail("no main window");
  HWND field = main.Control(L"txtDefaultPath");
  HWND count = main.Control(L"txtFolderCountDestination");
  if (!tessel::gui::ClickWithMouse(field) ||
      !tessel::gui::WaitFor([&] { return app->Focus() == field; })) {
    return Fail("the destination field takes no focus");
  }
  tessel::gui::Send(field, EM_SETSEL, 0, -1);  // the first key replaces the text

  // The typist keeps time; this thread watches the field.
  double cpuBefore = TesselCpuMs();
  std::vector<Clock::time_point> sent(path.size()), shown(path.size());
  std::thread typist([&] {
    auto next = Clock::now();
    for (size_t i = 0; i < path.size(); ++i) {
      std::this_thread::sleep_until(next);
      sent[i] = Clock::now();
      tessel::gui::PressKey(path[i]);
      next += 100ms;
    }
  });
  auto deadline = Clock::now() + 120s;
  for (size_t seen = 0; seen < path.size() && Clock::now() < deadline;) {
    std::wstring text = ReadWaiting(field);
    auto now = Clock::now();
    while (seen < path.size() && seen < text.size() && text[seen] == path[seen]) {
      shown[seen++] = now;
    }
    std::this_thread::sleep_for(2ms);
  }
  typist.join();
  while (ReadWaiting(count).empty() && Clock::now() < deadline) std::this_thread::sleep_for(2ms);
  auto settled = Clock::now();
  double cpu = TesselCpuMs() - cpuBefore;
  if (ReadWaiting(field) != path) return Fail("the field does not show what was typed");
  for (size_t i = 0; i < path.size(); ++i) std::printf("key_ms %.1f\n", Ms(shown[i] - sent[i]));
  std::printf("settle_ms %.1f\ncpu_ms %.0f\n", Ms(settled - sent.back()), cpu);
  std::printf("figures files=%llu bytes=%llu folders=%llu\n",
              static_cast<unsigned long long>(
                  Digits(ReadWaiting(main.Control(L"txtFileCountDestination")))),
              static_cast<unsigned long long>(
                  Digits(ReadWaiting(main.Control(L"txtFolderSizeDestination")))),
              static_cast<unsigned long long>(Digits(ReadWaiting(count))));

  // The backup: WM_NULL every quarter second while the archiver runs.
  if (!app->Settle() || !PostMessageW(main.Control(L"btnBackupUser"), BM_CLICK, 0, 0) ||
      !tessel::gui::WaitFor([] { return !tessel::gui::ArchiverCalls().empty(); })) {
    return Fail("no backup started");
  }
  auto started = Clock::now();
  double cpuAtStart = TesselCpuMs();
  bool hungChecked = false;
  while (Clock::now() - started < 6500ms) {
    auto asked = Clock::now();
    DWORD_PTR answer = 0;
    bool answered =
        SendMessageTimeoutW(main.hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) != 0;
    std::printf("null_ms %.1f\n", answered ? Ms(Clock::now() - asked) : -1.0);
    if (!hungChecked && Clock::now() - started >= 5500ms) {
      std::printf("hung %d\n", IsHungAppWindow(main.hwnd) ? 1 : 0);
      hungChecked = true;
    }
    std::this_thread::sleep_for(250ms);
  }
  std::printf("backup_cpu_ms %.0f\n", TesselCpuMs() - cpuAtStart);
  if (!tessel::gui::WaitFor([&] { return IsWindowEnabled(main.hwnd) != FALSE; }) ||
      !app->Settle() || !app->Click(main.Control(L"btnQuit")) || !app->WaitExit()) {
    return Fail("the program did not come back from the backup and end");
  }
  return 0;
}
