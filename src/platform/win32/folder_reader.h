// One folder's listing read by handle, a buffer at a time: shared by the listing on the calling
// thread and the listing threads.
#pragma once

#include <windows.h>

#include <string_view>

#include "platform/platform.h"
#include "platform/win32/wide.h"

namespace tessel::win32 {

// `path` resolved against the current folder and drive, with the long-path prefix.
std::wstring AbsoluteLongPath(std::wstring_view path);

class FolderReader {
 public:
  FolderReader(std::wstring_view folder, bool shortReadEnds);
  bool Opened() const { return dir_.Valid(); }

  // Fills `buffer` with the next entries; false at the end of the listing or on a failure.
  bool Read(void* buffer, DWORD bytes);
  // The listing could be had: a read succeeded, or the first found the folder empty.
  bool Listed() const { return listed_; }

 private:
  UniqueHandle dir_;
  bool shortReadEnds_;
  bool first_ = true;
  bool ended_ = false;
  bool listed_ = false;
};

// Calls `sink` for each entry of a buffer that Read filled, leaving out "." and "..".
void ForEachEntry(const void* buffer, const EntrySink& sink);

}  // namespace tessel::win32
