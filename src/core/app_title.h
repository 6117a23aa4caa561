// The program's name, the caption of every message it shows.
#pragma once

namespace tessel {

inline constexpr wchar_t kAppTitle[] = L"Tessel";

}  // namespace tessel
