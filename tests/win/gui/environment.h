// The machine state a GUI run starts from: the archiver files, the stored default destination,
// sample files, and the command lines the recording archiver was started with.
#pragma once

#include <string>
#include <vector>

namespace tessel::gui {

inline constexpr wchar_t kWinZipFolder[] = L"C:\\Program Files\\WinZip\\";

std::wstring DriverFolder();  // the running driver's folder, ending in "\"

// Puts an empty winzip32.exe and the recording archiver as wzzip.exe in place, with no calls
// recorded yet.
bool InstallArchiver();
std::vector<std::wstring> ArchiverCalls();  // oldest first

// Writes the stored default destination as the program does: one line, CR LF.
bool StoreDestination(const std::wstring& path);

bool MakeFile(const std::wstring& path);  // with every missing folder level
bool RemoveTree(const std::wstring& path);
bool Exists(const std::wstring& path);

int ThisYear();
std::wstring ThisMonth();  // as the month list shows it: "05"
std::wstring UserName();   // the logged-on user's name as the program reads it

}  // namespace tessel::gui
