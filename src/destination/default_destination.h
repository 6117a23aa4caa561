// The stored default destination on disk: made sure of at start-up, read, and stored. Every failure
// is reported once, saying what the program does instead.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tessel {

// Creates the settings folder and an empty settings file where missing; false when either could
// not be made.
bool CreateDefaultPathFile(Platform& platform);

// The settings file's lines; none when it cannot be read.
std::vector<std::wstring> ReadDefaultPathFile(Platform& platform);

// Writes `destination` as the stored default, making the settings folder again if it is gone;
// false when the folder or the file could not be written.
bool StoreDefaultDestination(Platform& platform, std::wstring_view destination);

}  // namespace tessel
