// Message boxes, the folder picker and the busy pointer.
#include <windows.h>
// windows.h first: shlobj.h relies on its types.
#include <shlobj.h>

#include "platform/win32/win32_platform.h"

namespace tessel::win32 {

namespace {
bool g_busy = false;
}

bool Win32Dialogs::Busy() {
  return g_busy;
}

Answer Win32Dialogs::ShowMessage(std::wstring_view text, std::wstring_view caption,
                                 Buttons buttons) {
  std::wstring body(text);
  std::wstring title(caption);
  UINT style = buttons == Buttons::YesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK;
  int result = MessageBoxW(owner_, body.c_str(), title.c_str(), style | MB_SETFOREGROUND);
  if (buttons == Buttons::Ok) return Answer::Ok;
  return result == IDYES ? Answer::Yes : Answer::No;
}

std::optional<std::wstring> Win32Dialogs::BrowseForFolder() {
  BROWSEINFOW info = {};
  info.hwndOwner = owner_;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
  PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
  if (!list) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  BOOL converted = SHGetPathFromIDListW(list, path);
  CoTaskMemFree(list);
  if (!converted) return std::nullopt;
  return std::wstring(path);
}

void Win32Dialogs::SetBusyPointer(bool busy) {
  g_busy = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

}  // namespace tessel::win32
