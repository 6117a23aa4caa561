// How archive names, documents patterns and source patterns are composed from the main window's
// fields, and where the system drive letter and the user name come from.
#pragma once

#include <string>
#include <string_view>

#include "core/backup_settings.h"
#include "platform/platform.h"

namespace tessel {

// The profiles folder's middle piece. The user field's own reaction spells it with a capital S;
// every other writer does not. Both name the same folder on Windows.
enum class UsersSpelling { Users, USers };

// QualifyPath(destination) + label + "-" + year + month + ".zip", pieces used as they are.
std::wstring GetArchiveName(std::wstring_view destination, std::wstring_view label,
                            std::wstring_view year, std::wstring_view month);

// drive + ":\Users\" + user in proper case + "\Documents\*.*".
std::wstring GetUserDocumentsPath(std::wstring_view drive, std::wstring_view user,
                                  UsersSpelling spelling = UsersSpelling::Users);

// QualifyPath(source) + "*.*".
std::wstring GetSpecificDirectoryPattern(std::wstring_view source);

// The system drive letter: the first character of the Windows directory path with its blanks
// trimmed; empty when the path cannot be had. Read afresh by every caller.
std::wstring SystemDriveLetter(System& sys);

// The logged-on user's name, or empty text when it cannot be had.
std::wstring GetNetworkUserName(System& sys);

// The derived fields of the main window, each empty when its deciding field is empty.
std::wstring SpecificArchivePath(const BackupSettings& s);  // txtExampleFileName
std::wstring UserArchivePath(const BackupSettings& s);      // txtSpecificUserFileName
std::wstring UserDocumentsPattern(const BackupSettings& s, std::wstring_view drive,
                                  UsersSpelling spelling);       // txtSpecificUserFiles
std::wstring SpecificDirectoryPattern(const BackupSettings& s);  // txtSpecificDirectoryFiles

}  // namespace tessel
