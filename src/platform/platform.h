// The platform seam: everything the program needs from Windows, named after what the program
// needs. The Win32 implementation lives in platform/win32/; native tests use tests/unit's fake.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessel {

// Outcome of an operation that can fail; `reason` is the system's own text for the failure.
struct Status {
  bool ok = true;
  std::wstring reason;

  static Status Ok() { return {}; }
  static Status Failed(std::wstring why) { return {false, std::move(why)}; }
  explicit operator bool() const { return ok; }
};

// Attribute bits as Windows defines them; the fake uses the same values.
enum Attribute : uint32_t {
  kAttrReadOnly = 0x1,
  kAttrHidden = 0x2,
  kAttrSystem = 0x4,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
  kAttrReparsePoint = 0x400,
};

// Reparse tags with this bit set name another place (junctions, symbolic links, mount points);
// others (cloud placeholders, deduplicated files) hold their own content.
inline constexpr uint32_t kReparseTagNameSurrogate = 0x20000000;

// One directory entry as a listing yields it. `name` is only valid during the callback.
struct DirEntry {
  std::wstring_view name;
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint32_t reparseTag = 0;  // with the reparse bit: the tag; 0 when the listing cannot tell

  bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
  bool IsReparsePoint() const { return (attributes & kAttrReparsePoint) != 0; }
  // A junction, symbolic link or mount point: it leads elsewhere, so walks do not enter it.
  // An unknown tag counts as a link.
  bool IsLink() const {
    return IsReparsePoint() && (reparseTag == 0 || (reparseTag & kReparseTagNameSurrogate) != 0);
  }
};

using EntrySink = std::function<void(const DirEntry&)>;
// Receives an entry of the folder at `index` of the list handed to ListFolders.
using BatchEntrySink = std::function<void(size_t index, const DirEntry&)>;
// Asked now and then by long work on the user-interface thread: true ends the work early. An
// empty check never ends it.
using StopCheck = std::function<bool()>;

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Lists `folder` (with or without a trailing "\"), calling `sink` once per entry except "." and
  // "..". Returns false when the folder cannot be listed at all (missing, not a folder, no rights).
  virtual bool ListFolder(std::wstring_view folder, const EntrySink& sink) = 0;

  // Lists each of `folders` as ListFolder does, calling `sink` on the calling thread only. The
  // entries of different folders may come interleaved, each folder's in its listing order, and
  // each folder yields what ListFolder would. The sink must not list folders itself. A listing
  // that waits for other threads asks `stop` at least every few tens of milliseconds meanwhile;
  // when it says so, the call returns false once no listing runs any more, some entries not
  // handed over. By default the folders are listed one after the other, without asking.
  virtual bool ListFolders(std::span<const std::wstring> folders, const BatchEntrySink& sink,
                           [[maybe_unused]] const StopCheck& stop) {
    for (size_t i = 0; i < folders.size(); ++i) {
      ListFolder(folders[i], [&](const DirEntry& entry) { sink(i, entry); });
    }
    return true;
  }

  // The form of `path` that entry names can be joined to for listing deeper: relative parts,
  // "." and ".." resolved once against the current folder and drive. Unchanged by default.
  virtual std::wstring AbsolutePath(std::wstring_view path) { return std::wstring(path); }

  // True when a directory search for `path` finds an entry: a file or a folder of that name.
  virtual bool EntryExists(std::wstring_view path) = 0;

  // True when `path` names an existing folder (a drive root such as "D:\" included).
  virtual bool FolderExists(std::wstring_view path) = 0;

  // Creates the single folder `path`; its parent must exist.
  virtual Status CreateFolder(std::wstring_view path) = 0;

  // Creates every missing level of `path`, which ends in "\" (the last level is created only then).
  virtual Status MakeFolderPath(std::wstring_view path) = 0;

  // Reads a whole file as bytes, also while other programs have it open. A folder of that name
  // fails with the reason "A folder is in the way: " and `path`.
  virtual Status ReadFile(std::wstring_view path, std::string& bytes) = 0;

  // Creates an empty file; fails when it cannot be created.
  virtual Status CreateEmptyFile(std::wstring_view path) = 0;

  // Replaces `path` with `bytes` as one step: the new content is written beside it and swapped in
  // only when complete, so a failure leaves the old file as it was and nothing beside it. What a
  // store killed half-way left beside it is taken over. A file that another program holds for a
  // moment is waited for, a second at most; a folder of that name fails as in ReadFile.
  virtual Status ReplaceFileContent(std::wstring_view path, std::string_view bytes) = 0;
};

struct Date {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;
};

class System {
 public:
  virtual ~System() = default;

  // The Windows directory path, for example "C:\WINDOWS"; empty when it cannot be had.
  virtual std::wstring WindowsDirectory() = 0;

  // The logged-on user's network name; nullopt on any error, including a name longer than 99
  // characters (it must fit a 100-character buffer with its terminating NUL).
  virtual std::optional<std::wstring> NetworkUserName() = 0;

  virtual Date Today() = 0;

  // The locale's thousands separator ("," where the locale gives none).
  virtual std::wstring ThousandsSeparator() = 0;

  // Orders two texts as Windows sorts them for the user's locale with letter case ignored, as a
  // sorted list box does: below, at or above zero as `a` comes before, with or after `b`.
  virtual int CompareIgnoringCase(std::wstring_view a, std::wstring_view b) = 0;

  // Converts to and from the single-byte system code page. ToCodePage fails (nullopt) when a
  // character has no exact representation there.
  virtual std::optional<std::string> ToCodePage(std::wstring_view text) = 0;
  virtual std::wstring FromCodePage(std::string_view bytes) = 0;

  // Starts `commandLine` minimised (show-minimised) and waits for its process to end, without a
  // time-out. Meanwhile the program's windows repaint and answer messages sent to them, keys and
  // mouse clicks made on them are refused, and nothing else is acted on. Fails only when the
  // process cannot be started.
  virtual Status RunAndWait(std::wstring_view commandLine) = 0;

  // Asks the shell to open a web address; the result is not looked at.
  virtual void OpenWebAddress(std::wstring_view address) = 0;
};

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A modal message box without an icon; with YesNo, Yes is the default button.
  virtual Answer ShowMessage(std::wstring_view text, std::wstring_view caption,
                             Buttons buttons) = 0;

  // The shell's folder picker (file-system folders only, not below the domain level); nullopt on
  // cancel or when the pick has no file-system path.
  virtual std::optional<std::wstring> BrowseForFolder() = 0;

  // The application-wide busy (hourglass) pointer.
  virtual void SetBusyPointer(bool busy) = 0;

  // For long work on the user-interface thread, asked now and then. KeepWindowsAlive lets the
  // windows repaint and answer messages sent to them, and acts on no input and no posted message,
  // so no handler runs inside the work. InputPending is true while a key or a mouse button has
  // gone down on the program's windows and waits to be handled (going up does not count: the key
  // just handled comes up after its character).
  virtual void KeepWindowsAlive() = 0;
  virtual bool InputPending() = 0;
};

// Everything the portable code reaches the platform through, handed around as one bundle.
struct Platform {
  FileSystem& fs;
  System& sys;
  Dialogs& dialogs;
};

}  // namespace tessel
