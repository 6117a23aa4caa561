// The stored default destination on disk.
#include "destination/default_destination.h"

#include "core/app_title.h"
#include "core/naming.h"
#include "destination/folder_checks.h"
#include "destination/settings_file.h"

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

bool CreateDefaultPathFile(Platform& platform) {
  std::wstring drive = SystemDriveLetter(platform.sys);
  std::wstring folder = SettingsFolderPath(drive);
  std::wstring file = SettingsFilePath(drive);
  if (platform.fs.EntryExists(file)) return true;
  if (Status made = MakeFolder(platform, folder); !made) {
    ReportFailure(platform, L"The settings folder could not be created:", folder, made.reason,
                  kStartupFallback);
    return false;
  }
  if (Status created = platform.fs.CreateEmptyFile(file); !created) {
    ReportFailure(platform, L"The settings file could not be created:", file, created.reason,
                  kStartupFallback);
    return false;
  }
  return true;
}

std::vector<std::wstring> ReadDefaultPathFile(Platform& platform) {
  std::wstring file = SettingsFilePath(SystemDriveLetter(platform.sys));
  std::string bytes;
  if (Status read = platform.fs.ReadFile(file, bytes); !read) {
    ReportFailure(platform, L"The settings file could not be read:", file, read.reason,
                  kStartupFallback);
    return {};
  }
  auto fromCodePage = [&platform](std::string_view b) { return platform.sys.FromCodePage(b); };
  return ParseSettingsFile(bytes, fromCodePage);
}

bool StoreDefaultDestination(Platform& platform, std::wstring_view destination) {
  std::wstring drive = SystemDriveLetter(platform.sys);
  std::wstring folder = SettingsFolderPath(drive);
  std::wstring file = SettingsFilePath(drive);
  constexpr wchar_t kNotStored[] = L"The stored default destination is unchanged.";
  // The folder may be gone, or was never made because start-up could not.
  if (Status made = MakeFolder(platform, folder); !made) {
    ReportFailure(platform, L"The settings folder could not be created:", folder, made.reason,
                  kNotStored);
    return false;
  }
  auto toCodePage = [&platform](std::wstring_view t) { return platform.sys.ToCodePage(t); };
  std::string bytes = EncodeSettingsFile(destination, toCodePage);
  if (Status written = platform.fs.ReplaceFileContent(file, bytes); !written) {
    ReportFailure(platform, L"The default destination could not be stored in:", file,
                  written.reason, kNotStored);
    return false;
  }
  return true;
}

}  // namespace tessel
