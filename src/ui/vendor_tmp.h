// TEMP: stands in for core/vendor_link.h until the presenter is merged.
#pragma once
namespace tessel {
inline constexpr wchar_t kVendorHost[] = L"www.winzip.com";
}
