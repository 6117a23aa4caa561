#include "jobs/presence_check.h"

#include "core/app_title.h"

namespace tessel {

std::wstring MissingArchiverMessage(std::wstring_view subject) {
  std::wstring text(subject);
  text += L" was \r\n\r\n";
  text += L"(1) not found to be installed or\r\n";
  text += L"(2) not installed to default path.\r\n\r\n";
  text += L"It must be installed and installed to the\r\n";
  text += L" default path for this program to function.\r\n";
  text += L" Tessel works best if a WinZip license\r\n";
  text += L" is purchased.";
  return text;
}

std::wstring MissingWinZipMessage() {
  return MissingArchiverMessage(L"WinZip");
}

std::wstring MissingAddonMessage() {
  return MissingArchiverMessage(L"The WinZip Command Line Support Add-on");
}

bool CheckWinZipInstalled(Platform& platform, const PresenceSink& setBox) {
  if (platform.fs.EntryExists(kWinZipProbePath)) {
    setBox(PresenceBox::WinZip, 1);
  } else {
    platform.dialogs.ShowMessage(MissingWinZipMessage(), kAppTitle, Buttons::Ok);
  }
  if (!platform.fs.EntryExists(kAddonProbePath)) {
    setBox(PresenceBox::Addon, 0);
    platform.dialogs.ShowMessage(MissingAddonMessage(), kAppTitle, Buttons::Ok);
    return false;
  }
  setBox(PresenceBox::Addon, 1);
  return true;
}

}  // namespace tessel
