#include "core/naming.h"

#include "core/text.h"

namespace tessel {

std::wstring GetArchiveName(std::wstring_view destination, std::wstring_view label,
                            std::wstring_view year, std::wstring_view month) {
  std::wstring name = QualifyPath(destination);
  name.append(label).append(L"-").append(year).append(month).append(L".zip");
  return name;
}

std::wstring GetUserDocumentsPath(std::wstring_view drive, std::wstring_view user,
                                  UsersSpelling spelling) {
  std::wstring path(drive);
  path += spelling == UsersSpelling::USers ? L":\\USers\\" : L":\\Users\\";
  path += ProperCase(user);
  path += L"\\Documents\\*.*";
  return path;
}

std::wstring GetSpecificDirectoryPattern(std::wstring_view source) {
  return QualifyPath(source) + L"*.*";
}

std::wstring SystemDriveLetter(System& sys) {
  std::wstring trimmed = TrimBlanks(sys.WindowsDirectory());
  return trimmed.substr(0, 1);
}

std::wstring GetNetworkUserName(System& sys) {
  std::optional<std::wstring> name = sys.NetworkUserName();
  return name ? TrimNull(*name) : std::wstring();
}

std::wstring SpecificArchivePath(const BackupSettings& s) {
  if (s.txtSpecificBackupFileName.empty()) return {};
  return GetArchiveName(s.txtDefaultPath, s.txtSpecificBackupFileName, s.cmbFileNameYear.text,
                        s.cmbFileNameMonth.text);
}

std::wstring UserArchivePath(const BackupSettings& s) {
  if (s.txtUsers.empty()) return {};
  return GetArchiveName(s.txtDefaultPath, s.txtUsers, s.cmbFileNameYear.text,
                        s.cmbFileNameMonth.text);
}

std::wstring UserDocumentsPattern(const BackupSettings& s, std::wstring_view drive,
                                  UsersSpelling spelling) {
  if (s.txtUsers.empty()) return {};
  return GetUserDocumentsPath(drive, s.txtUsers, spelling);
}

std::wstring SpecificDirectoryPattern(const BackupSettings& s) {
  if (s.TxtSrc.empty()) return {};
  return GetSpecificDirectoryPattern(s.TxtSrc);
}

}  // namespace tessel
