// Probes for WinZip and its command-line add-on at their default folders on drive c:.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

namespace tessel {

inline constexpr wchar_t kWinZipProbePath[] = L"c:\\Program Files\\WinZip\\winzip32.exe";
inline constexpr wchar_t kAddonProbePath[] = L"c:\\Program Files\\WinZip\\wzzip.exe";

// The "not found" message; `subject` is "WinZip" or the add-on's full name.
std::wstring MissingArchiverMessage(std::wstring_view subject);
std::wstring MissingWinZipMessage();  // message A
std::wstring MissingAddonMessage();   // message B

enum class PresenceBox { WinZip, Addon };
// Receives each check-box outcome the moment it is decided (before the message that follows it).
using PresenceSink = std::function<void(PresenceBox box, int value)>;

// Probes winzip32.exe (found: WinZip box 1; missing: message A, box untouched), then wzzip.exe
// (found: add-on box 1; missing: add-on box 0, then message B). True when the add-on is present.
bool CheckWinZipInstalled(Platform& platform, const PresenceSink& setBox);

}  // namespace tessel
