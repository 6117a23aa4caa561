// The machine state a GUI run starts from: the archiver files, the stored default destination,
// sample folders and profiles, and the recorded archiver command lines.
#pragma once

#include <string>
#include <vector>

namespace tessel::gui {

inline constexpr wchar_t kWinZipFolder[] = L"C:\\Program Files\\WinZip\\";
inline constexpr wchar_t kSettingsFile[] = L"C:\\Program Files\\Tessel\\DefaultDestinationPath.txt";

// The folder of the running driver, ending in "\".
std::wstring DriverFolder();

// Puts winzip32.exe (an empty file) and wzzip.exe (the recording archiver, or `archiver` when
// given) in place, or removes them.
bool InstallArchiver(bool winzip, bool addon, const std::wstring& archiver = {});
// The command lines the recording archiver was started with, oldest first.
std::vector<std::wstring> ArchiverCalls();
void ClearArchiverCalls();

// Writes the stored default destination as the program does (one line, CR LF); empty: removes
// the file.
bool StoreDestination(const std::wstring& path);

bool MakeFolders(const std::wstring& path);  // every missing level
bool MakeFile(const std::wstring& path, size_t bytes);
bool RemoveTree(const std::wstring& path);  // a folder with all it holds, or a file
bool Exists(const std::wstring& path);

// This month and year as the program's lists show them ("2024", "05").
std::wstring ThisYear();
std::wstring ThisMonth();
int ThisYearNumber();
int ThisMonthNumber();

// The logged-on user's name as the program reads it.
std::wstring UserName();

}  // namespace tessel::gui
