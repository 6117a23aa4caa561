// Conversions and error texts at the Win32 boundary.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tessel::win32 {

// The system's own text for a Windows error code, without the trailing line break.
std::wstring FormatWindowsError(DWORD code);

// Prefixes an absolute drive or UNC path with "\\?\" so that paths beyond MAX_PATH work, after
// resolving it as Windows resolves any path ("/", ".", "..", trailing dots and blanks).
std::wstring LongPath(std::wstring_view path);

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// Owns a kernel handle; closes it once.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE h = nullptr) : h_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h = nullptr) {
    if (Valid()) CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_;
};

}  // namespace tessel::win32
