// The platform seam implemented with the wide Win32 API.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "platform/platform.h"

namespace tessel::win32 {

// How folders are listed; the defaults are what measured fastest (see DefaultListingOptions).
struct ListingOptions {
  unsigned workers = 0;        // threads that list a batch of folders; 0: the calling thread does
  DWORD bufferBytes = 0;       // one directory read; at least kMinListingBuffer
  bool shortReadEnds = false;  // a read that leaves room for another entry was the last one
};

// Room for the longest entry a directory read can return (a 255-character name).
inline constexpr DWORD kMinListingBuffer = 1024;

ListingOptions DefaultListingOptions();

class ListingPool;

class Win32FileSystem : public FileSystem {
 public:
  explicit Win32FileSystem(ListingOptions options = DefaultListingOptions());
  ~Win32FileSystem() override;  // stops the listing threads, if any were started

  bool ListFolder(std::wstring_view folder, const EntrySink& sink) override;
  bool ListFolders(std::span<const std::wstring> folders, const BatchEntrySink& sink,
                   const StopCheck& stop) override;
  std::wstring AbsolutePath(std::wstring_view path) override;
  bool EntryExists(std::wstring_view path) override;
  bool FolderExists(std::wstring_view path) override;
  Status CreateFolder(std::wstring_view path) override;
  Status MakeFolderPath(std::wstring_view path) override;
  Status ReadFile(std::wstring_view path, std::string& bytes) override;
  Status CreateEmptyFile(std::wstring_view path) override;
  Status ReplaceFileContent(std::wstring_view path, std::string_view bytes) override;

 private:
  ListingOptions options_;
  // A listing buffer kept between listings; a listing started inside another makes its own.
  std::unique_ptr<uint64_t[]> spareListingBuffer_;
  std::unique_ptr<ListingPool> pool_;  // started by the first batch worth sharing out
};

class Win32System : public System {
 public:
  // `codePage` is the single-byte code page of the settings file: the system's by default.
  explicit Win32System(UINT codePage = CP_ACP) : codePage_(codePage) {}

  std::wstring WindowsDirectory() override;
  std::optional<std::wstring> NetworkUserName() override;
  Date Today() override;
  std::wstring ThousandsSeparator() override;
  int CompareIgnoringCase(std::wstring_view a, std::wstring_view b) override;
  std::optional<std::string> ToCodePage(std::wstring_view text) override;
  std::wstring FromCodePage(std::string_view bytes) override;
  Status RunAndWait(std::wstring_view commandLine) override;
  void OpenWebAddress(std::wstring_view address) override;

 private:
  UINT codePage_;
};

class Win32Dialogs : public Dialogs {
 public:
  // Message boxes and the folder picker are modal to this window (none: no owner).
  void SetOwner(HWND owner) { owner_ = owner; }
  // Windows ask this in WM_SETCURSOR so the hourglass stays up while busy.
  static bool Busy();

  Answer ShowMessage(std::wstring_view text, std::wstring_view caption, Buttons buttons) override;
  std::optional<std::wstring> BrowseForFolder() override;
  void SetBusyPointer(bool busy) override;
  void KeepWindowsAlive() override;
  bool InputPending() override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace tessel::win32
