// The archiver vendor's web page: the link button shows the host and opens the address.
#pragma once

namespace tessel {

inline constexpr wchar_t kVendorHost[] = L"www.winzip.com";
inline constexpr wchar_t kVendorAddress[] = L"http://www.winzip.com/";

}  // namespace tessel
