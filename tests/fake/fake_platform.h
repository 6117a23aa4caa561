// An in-memory platform for native tests: drives with Windows path rules (drive letters, "\",
// names compared without regard to case), scripted answers and folder picks, and a log of what
// the program did to the outside world (messages, launches, web pages, folders made).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tessel::fake {

// One entry per event: "!" caption "\n" text for a message, "Run " line, "Web " address,
// "+" folder for a folder made.
using Log = std::vector<std::wstring>;
inline void Note(Log* log, std::wstring entry) {
  if (log) log->push_back(std::move(entry));
}

class FakeFileSystem : public FileSystem {
 public:
  // Missing parent folders (and drives) are made on the way.
  void AddDrive(wchar_t letter) { Add(std::wstring(1, letter) + L":"); }
  void AddFolder(std::wstring_view path, uint32_t attributes = kAttrDirectory) {
    Add(path).attributes = attributes | kAttrDirectory;
  }
  void AddFile(std::wstring_view path, uint64_t size, uint32_t attributes = kAttrArchive) {
    Entry& entry = Add(path);
    entry.attributes = attributes & ~kAttrDirectory;
    entry.size = size;
  }
  void AddTextFile(std::wstring_view path, std::string_view bytes) {
    AddFile(path, bytes.size());
    Add(path).content = bytes;
  }
  // A folder entry carrying the reparse bit that lists as `target` does (a junction or link).
  void AddLink(std::wstring_view path, std::wstring_view target) {
    AddFolder(path, kAttrDirectory | kAttrReparsePoint);
    Add(path).link = target;
  }
  void SetReparseTag(std::wstring_view path, uint32_t tag) { entries_.at(*Key(path)).tag = tag; }
  void SetUnlistable(std::wstring_view folder) { Find(folder)->second.unlistable = true; }
  void Remove(std::wstring_view path);
  // Runs as each listing begins: a test can change the tree under a walk.
  std::function<void(std::wstring_view folder)> onList;
  bool failReads = false;   // every ReadFile fails
  bool failWrites = false;  // every file write fails before anything is replaced

  std::optional<std::string> Content(std::wstring_view path);
  int ListCalls() const { return listCalls_; }
  Log* log = nullptr;

  bool ListFolder(std::wstring_view folder, const EntrySink& sink) override;
  bool EntryExists(std::wstring_view path) override;
  bool FolderExists(std::wstring_view path) override { return IsFolder(path); }
  Status CreateFolder(std::wstring_view path) override;
  Status MakeFolderPath(std::wstring_view path) override;
  Status ReadFile(std::wstring_view path, std::string& bytes) override;
  Status CreateEmptyFile(std::wstring_view path) override;
  // Fails before touching the old content, as the real one.
  Status ReplaceFileContent(std::wstring_view p, std::string_view b) override {
    return PutFile(p, b);
  }

 private:
  struct Entry {
    std::wstring name;
    uint32_t attributes = kAttrDirectory;
    uint64_t size = 0;
    uint32_t tag = 0;
    bool unlistable = false;
    std::string content;
    std::wstring link;
  };
  using Entries = std::map<std::wstring, Entry>;
  // Lower case, one "\" between levels and none at the end ("c:" for a drive); nullopt for a
  // path that is not "X:" or "X:\...".
  static std::optional<std::wstring> Key(std::wstring_view path);
  Entries::iterator Find(std::wstring_view path);  // follows a link at the end
  bool IsFolder(std::wstring_view path);
  Entry& Add(std::wstring_view path);
  Status PutFile(std::wstring_view path, std::string_view bytes);

  Entries entries_;
  int listCalls_ = 0;
};

class FakeSystem : public System {
 public:
  std::wstring windowsDirectory = L"C:\\WINDOWS";
  std::optional<std::wstring> userName = L"jsmith";
  Date today{2011, 1, 5};
  std::wstring thousandsSeparator = L",";
  Status launchResult;
  Log* log = nullptr;

  std::wstring WindowsDirectory() override { return windowsDirectory; }
  std::optional<std::wstring> NetworkUserName() override { return userName; }
  Date Today() override { return today; }
  std::wstring ThousandsSeparator() override { return thousandsSeparator; }
  // A stand-in for the locale's order: letter case ignored, and accented Latin-1 letters count
  // as their base letter.
  int CompareIgnoringCase(std::wstring_view a, std::wstring_view b) override;
  // Latin-1: characters above U+00FF have no representation.
  std::optional<std::string> ToCodePage(std::wstring_view text) override;
  std::wstring FromCodePage(std::string_view bytes) override;
  Status RunAndWait(std::wstring_view commandLine) override {
    return Note(log, L"Run " + std::wstring(commandLine)), launchResult;
  }
  void OpenWebAddress(std::wstring_view address) override {
    Note(log, L"Web " + std::wstring(address));
  }
};

class FakeDialogs : public Dialogs {
 public:
  std::deque<Answer> answers;                           // to Yes/No questions; Yes when none left
  std::deque<std::optional<std::wstring>> folderPicks;  // nullopt: cancel; cancel when none left
  std::string busy;                                     // '+' on, '-' off, in order
  // Input the user makes meanwhile: InputPending says no `inputAfter` times, then yes (-1: never).
  int inputAfter = -1;
  int keptAlive = 0;  // KeepWindowsAlive calls
  Log* log = nullptr;

  Answer ShowMessage(std::wstring_view text, std::wstring_view caption, Buttons buttons) override {
    Note(log, L"!" + std::wstring(caption) + L"\n" + std::wstring(text));
    return buttons == Buttons::Ok ? Answer::Ok : Next(answers, Answer::Yes);
  }
  std::optional<std::wstring> BrowseForFolder() override { return Next(folderPicks, {}); }
  void SetBusyPointer(bool on) override { busy += on ? '+' : '-'; }
  void KeepWindowsAlive() override { ++keptAlive; }
  bool InputPending() override { return inputAfter > 0 ? (--inputAfter, false) : inputAfter == 0; }

 private:
  template <typename T>
  static T Next(std::deque<T>& queue, T otherwise) {
    if (queue.empty()) return otherwise;
    T next = queue.front();
    queue.pop_front();
    return next;
  }
};

struct FakePlatform {
  FakeFileSystem fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  Log log;
  Platform platform{fs, sys, dialogs};

  FakePlatform() {
    fs.AddDrive(L'C');
    fs.log = sys.log = dialogs.log = &log;
  }
};

}  // namespace tessel::fake
