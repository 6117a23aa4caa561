// The main window's stored default destination: made sure of and loaded at start-up, stored by
// the Default button. Every failure is reported once and leaves the window usable.
#include "core/main_window.h"
#include "destination/folder_checks.h"
#include "destination/settings_file.h"
#include "jobs/presence_check.h"

namespace tessel {

namespace {

void ReportFailure(Platform& platform, std::wstring_view what, std::wstring_view where,
                   std::wstring_view reason, std::wstring_view consequence) {
  std::wstring text(what);
  text.append(L"\r\n").append(where).append(L"\r\n\r\n").append(reason);
  text.append(L"\r\n\r\n").append(consequence);
  platform.dialogs.ShowMessage(text, kAppTitle, Buttons::Ok);
}

constexpr wchar_t kStartupFallback[] = L"The built-in default destination is used instead.";

}  // namespace

bool MainWindow::CreateDefaultPathFile() {
  std::wstring drive = SystemDriveLetter(platform_.sys);
  std::wstring folder = SettingsFolderPath(drive);
  std::wstring file = SettingsFilePath(drive);
  if (platform_.fs.EntryExists(file)) return true;
  if (Status made = MakeFolder(platform_, folder); !made) {
    ReportFailure(platform_, L"The settings folder could not be created:", folder, made.reason,
                  kStartupFallback);
    return false;
  }
  if (Status created = platform_.fs.CreateEmptyFile(file); !created) {
    ReportFailure(platform_, L"The settings file could not be created:", file, created.reason,
                  kStartupFallback);
    return false;
  }
  return true;
}

void MainWindow::ReadTextFile() {
  std::wstring drive = SystemDriveLetter(platform_.sys);
  std::wstring file = SettingsFilePath(drive);
  std::string bytes;
  if (Status read = platform_.fs.ReadFile(file, bytes); !read) {
    ReportFailure(platform_, L"The settings file could not be read:", file, read.reason,
                  kStartupFallback);
  } else {
    auto fromCodePage = [this](std::string_view b) { return platform_.sys.FromCodePage(b); };
    for (const std::wstring& line : ParseSettingsFile(bytes, fromCodePage)) {
      SetText(Ctl::txtDefaultPath, line);
    }
  }
  if (s_.txtDefaultPath.empty()) SetText(Ctl::txtDefaultPath, BuiltInDestination(drive));
}

void MainWindow::btnDefaultDestination_Click() {
  if (!CheckDriveExists(platform_, DestinationRoot(s_.txtDefaultPath))) return;
  // The answer does not matter: the destination is stored even when the folder is not made.
  MakeSureDirectoryTreeExists(platform_, s_.txtDefaultPath);

  std::wstring drive = SystemDriveLetter(platform_.sys);
  std::wstring folder = SettingsFolderPath(drive);
  std::wstring file = SettingsFilePath(drive);
  constexpr wchar_t kNotStored[] = L"The stored default destination is unchanged.";
  // The folder may be gone, or was never made because start-up could not.
  if (Status made = MakeFolder(platform_, folder); !made) {
    ReportFailure(platform_, L"The settings folder could not be created:", folder, made.reason,
                  kNotStored);
    return;
  }
  auto toCodePage = [this](std::wstring_view t) { return platform_.sys.ToCodePage(t); };
  std::string bytes = EncodeSettingsFile(s_.txtDefaultPath, toCodePage);
  if (Status written = platform_.fs.ReplaceFileContent(file, bytes); !written) {
    ReportFailure(platform_, L"The default destination could not be stored in:", file,
                  written.reason, kNotStored);
    return;
  }
  view_.MoveFocus(1);
}

}  // namespace tessel
