// Checks that the destination's drive and folder exist, offering to create the folder, and the
// silent creation of the program's settings folder.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tessel {

// "The default Drive, <root> , doesn't exist." and its request.
std::wstring MissingDriveMessage(std::wstring_view root);
// "The default folder, <folder> , doesn't exist." and the question.
std::wstring MissingFolderQuestion(std::wstring_view folder);
// Names the folder that could not be created and the system's reason.
std::wstring FolderNotCreatedMessage(std::wstring_view folder, std::wstring_view reason);
// The reason given when a destination without a root ("D:Backups") cannot be made.
std::wstring NotAFullPathReason();
// The reason given for a destination written with "/", naming it as it was meant.
std::wstring SlashesReason(std::wstring_view destination);

// The first character of the destination, then ":\" (whatever that character is).
std::wstring DestinationRoot(std::wstring_view destination);

// Passes when `root` (a drive root such as "D:\") exists; otherwise shows MissingDriveMessage.
bool CheckDriveExists(Platform& platform, std::wstring_view root);

// Passes when `destination` exists. Otherwise asks whether to create it: No fails; Yes creates
// each missing level in turn and passes. Fails after saying why when the destination holds a "/"
// (nothing is made then), when a level cannot be created, or when the destination is still
// missing afterwards (being no full path).
bool MakeSureDirectoryTreeExists(Platform& platform, std::wstring_view destination);

// Creates every missing level of `path` (with or without a trailing "\"), silently.
Status MakeFolder(Platform& platform, std::wstring_view path);
Status CreateFolderPath(Platform& platform, std::wstring_view path);

}  // namespace tessel
