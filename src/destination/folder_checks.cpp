// The destination drive and folder checks and folder creation.
#include "destination/folder_checks.h"

#include <algorithm>
#include <vector>

#include "core/app_title.h"
#include "core/text.h"

namespace tessel {

std::wstring MissingDriveMessage(std::wstring_view root) {
  std::wstring text = L"The default Drive, ";
  text.append(root).append(L" , doesn't exist.\r\n\r\n");
  text += L"Please select appropriate drive before trying again.";
  return text;
}

std::wstring MissingFolderQuestion(std::wstring_view folder) {
  std::wstring text = L"The default folder, ";
  text.append(folder).append(L" , doesn't exist.\r\n");
  text += L"Would you like it created?";
  return text;
}

std::wstring FolderNotCreatedMessage(std::wstring_view folder, std::wstring_view reason) {
  std::wstring text = L"The folder ";
  text.append(folder).append(L" could not be created.\r\n\r\n").append(reason);
  return text;
}

std::wstring NotAFullPathReason() {
  return L"A destination must be a full path that begins with a drive, such as D:\\Backup Zips.";
}

std::wstring SlashesReason(std::wstring_view destination) {
  std::wstring meant(destination);
  std::replace(meant.begin(), meant.end(), L'/', L'\\');
  return L"Folders are separated by backslashes (\\), not by slashes (/): type " + meant +
         L" instead.";
}

std::wstring DestinationRoot(std::wstring_view destination) {
  return std::wstring(destination.substr(0, 1)) + L":\\";
}

bool CheckDriveExists(Platform& platform, std::wstring_view root) {
  if (platform.fs.FolderExists(root)) return true;
  platform.dialogs.ShowMessage(MissingDriveMessage(root), kAppTitle, Buttons::Ok);
  return false;
}

bool MakeSureDirectoryTreeExists(Platform& platform, std::wstring_view destination) {
  if (platform.fs.FolderExists(destination)) return true;
  if (platform.dialogs.ShowMessage(MissingFolderQuestion(destination), kAppTitle, Buttons::YesNo) !=
      Answer::Yes) {
    return false;
  }
  // Folders are split at "\" only. Windows would read "/" as a separator in some calls and as part
  // of a name in others, so refuse it before anything is made.
  if (destination.find(L'/') != std::wstring_view::npos) {
    platform.dialogs.ShowMessage(FolderNotCreatedMessage(destination, SlashesReason(destination)),
                                 kAppTitle, Buttons::Ok);
    return false;
  }
  // Every component counts, empty ones included: a doubled or trailing "\" only adds a separator
  // to a folder that exists by then.
  std::vector<std::wstring_view> parts;
  size_t start = 0;
  for (;;) {
    size_t end = destination.find(L'\\', start);
    parts.push_back(destination.substr(start, end == std::wstring_view::npos ? end : end - start));
    if (end == std::wstring_view::npos) break;
    start = end + 1;
  }
  std::wstring running = std::wstring(parts[0]) + L"\\";
  for (size_t i = 1; i < parts.size(); ++i) {
    // No component holds a "\", so joining needs only the one separator.
    running = QualifyPath(running).append(parts[i]);
    if (platform.fs.FolderExists(running)) continue;
    Status made = platform.fs.CreateFolder(running);
    if (!made) {
      platform.dialogs.ShowMessage(FolderNotCreatedMessage(running, made.reason), kAppTitle,
                                   Buttons::Ok);
      return false;
    }
  }
  // A path without a root ("D:Backups", "Backups") makes nothing above, yet the archiver would
  // write wherever the current folder happens to be: fail rather than pass.
  if (!platform.fs.FolderExists(destination)) {
    platform.dialogs.ShowMessage(FolderNotCreatedMessage(destination, NotAFullPathReason()),
                                 kAppTitle, Buttons::Ok);
    return false;
  }
  return true;
}

Status MakeFolder(Platform& platform, std::wstring_view path) {
  return CreateFolderPath(platform, path);
}

Status CreateFolderPath(Platform& platform, std::wstring_view path) {
  // The last level is created only when the path ends in "\".
  return platform.fs.MakeFolderPath(QualifyPath(path));
}

}  // namespace tessel
