// An in-memory platform for native tests: drives with Windows path rules (drive letters, "\",
// names compared without regard to case), scripted message-box answers and folder picks, recorded
// launches, a settable date, and failures that tests switch on.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tessel::fake {

class FakeFileSystem : public FileSystem {
 public:
  // Setting up a drive. Missing parent folders are created; paths start with a drive letter.
  void AddDrive(wchar_t letter);
  void AddFolder(std::wstring_view path, uint32_t attributes = kAttrDirectory);
  void AddFile(std::wstring_view path, uint64_t size, uint32_t attributes = kAttrArchive);
  void AddTextFile(std::wstring_view path, std::string_view bytes);
  // A folder entry carrying the reparse bit that lists as `target` does (a junction or link).
  void AddLink(std::wstring_view path, std::wstring_view target);
  // The reparse tag listings report for an entry that carries the reparse bit.
  void SetReparseTag(std::wstring_view path, uint32_t tag);
  void Remove(std::wstring_view path);
  // Runs as each listing begins, before its folder is looked up: a test can change the tree
  // under a walk, as another program would.
  std::function<void(std::wstring_view folder)> onList;

  // Failures.
  void SetUnlistable(std::wstring_view folder);        // ListFolder fails there
  void DenyWritesUnder(std::wstring_view folder);      // create / write fail below it
  void FailWritesAfterBytes(std::optional<size_t> n);  // a write dies after n bytes
  void SetUnreadable(std::wstring_view file);          // ReadFile fails
  // Open elsewhere without sharing: reading and replacing fail until unlocked.
  void SetLocked(std::wstring_view file, bool locked);

  // Inspection.
  bool IsFolder(std::wstring_view path) const;
  bool IsFile(std::wstring_view path) const;
  std::optional<std::string> Content(std::wstring_view path) const;
  // Folders created through the seam, in order, as the caller spelled them.
  const std::vector<std::wstring>& CreatedFolders() const { return created_; }
  int ListCalls() const { return listCalls_; }

  // FileSystem.
  bool ListFolder(std::wstring_view folder, const EntrySink& sink) override;
  bool EntryExists(std::wstring_view path) override;
  bool FolderExists(std::wstring_view path) override;
  Status CreateFolder(std::wstring_view path) override;
  Status MakeFolderPath(std::wstring_view path) override;
  Status ReadFile(std::wstring_view path, std::string& bytes) override;
  Status CreateEmptyFile(std::wstring_view path) override;
  Status ReplaceFileContent(std::wstring_view path, std::string_view bytes) override;

 private:
  struct Node {
    std::wstring name;
    uint32_t attributes = kAttrDirectory;
    uint64_t size = 0;
    std::string content;
    std::wstring linkTarget;
    uint32_t reparseTag = 0;
    bool unlistable = false;
    bool unreadable = false;
    bool denyWrites = false;
    bool locked = false;
    std::map<std::wstring, std::unique_ptr<Node>> children;  // keyed by lower-case name
  };
  struct Parsed {
    bool valid = false;
    wchar_t drive = 0;
    std::vector<std::wstring> parts;
    bool trailingSlash = false;
  };

  static Parsed Parse(std::wstring_view path);
  static std::wstring Key(std::wstring_view name);
  Node* Find(const Parsed& p, bool followLastLink) const;
  Node* Find(std::wstring_view path) const { return Find(Parse(path), true); }
  Node* Ensure(const Parsed& p, size_t count);
  bool WritesDenied(const Parsed& p) const;
  Status PutFile(std::wstring_view path, std::string_view bytes);

  std::map<wchar_t, std::unique_ptr<Node>> drives_;
  std::vector<std::wstring> created_;
  std::optional<size_t> failAfterBytes_;
  int listCalls_ = 0;
};

class FakeSystem : public System {
 public:
  std::wstring windowsDirectory = L"C:\\WINDOWS";
  std::optional<std::wstring> userName = L"jsmith";
  Date today{2011, 1, 5};
  std::wstring thousandsSeparator = L",";
  Status launchResult;                 // what RunAndWait answers
  std::vector<std::wstring> launches;  // every command line RunAndWait was given
  std::vector<std::wstring> openedAddresses;
  std::function<void()> onLaunch;  // runs "while the archiver runs"
  // When set, a launch also fails, as Windows would, unless its quoted program is a file there.
  FileSystem* programs = nullptr;

  std::wstring WindowsDirectory() override { return windowsDirectory; }
  std::optional<std::wstring> NetworkUserName() override { return userName; }
  Date Today() override { return today; }
  std::wstring ThousandsSeparator() override { return thousandsSeparator; }
  // The fake code page is Latin-1: characters above U+00FF have no representation.
  std::optional<std::string> ToCodePage(std::wstring_view text) override;
  std::wstring FromCodePage(std::string_view bytes) override;
  Status RunAndWait(std::wstring_view commandLine) override;
  void OpenWebAddress(std::wstring_view address) override { openedAddresses.emplace_back(address); }
};

struct Message {
  std::wstring text;
  std::wstring caption;
  Buttons buttons;
};

class FakeDialogs : public Dialogs {
 public:
  std::vector<Message> messages;
  std::deque<Answer> answers;  // scripted answers to Yes/No questions; Yes when none is left
  std::deque<std::optional<std::wstring>> folderPicks;  // nullopt: cancel; cancel when empty
  std::vector<bool> busyChanges;
  int browseCalls = 0;
  // Called as each message is shown and each pointer change is made, so a test can interleave
  // them with what else it records.
  std::function<void(const Message&)> onMessage;
  std::function<void(bool busy)> onBusy;

  Answer ShowMessage(std::wstring_view text, std::wstring_view caption, Buttons buttons) override;
  std::optional<std::wstring> BrowseForFolder() override;
  void SetBusyPointer(bool busy) override {
    busyChanges.push_back(busy);
    if (onBusy) onBusy(busy);
  }
};

struct FakePlatform {
  FakeFileSystem fs;
  FakeSystem sys;
  FakeDialogs dialogs;
  Platform platform{fs, sys, dialogs};

  FakePlatform() { fs.AddDrive(L'C'); }
};

}  // namespace tessel::fake
