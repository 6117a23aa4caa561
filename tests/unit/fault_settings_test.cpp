// The stored default under disk faults: the settings folder read-only or gone, the file locked,
// a write that dies half-way. Each failure is reported once, the window stays usable, and the
// default stored before is what the next start shows.
#include "destination/folder_checks.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

const std::wstring kFolder = L"C:\\Program Files\\Tessel";
const std::wstring kLocked =
    L"The process cannot access the file because it is being used by another process.";

// The first line of a failure report and the system's reason in it.
struct Report {
  std::wstring what, reason;
};

bool Matches(const std::wstring& message, const Report& r) {
  return message.starts_with(r.what) && message.find(r.reason) != std::wstring::npos;
}

TEST(FaultSettings, StoringUnderFaultsKeepsTheOldDefault) {
  const std::wstring notStored = L"The default destination could not be stored in:";
  struct Case {
    const char* name;
    bool beforeStart;  // the fault is there at start-up, or comes while the window is open
    std::function<void(fake::FakeFileSystem&)> fault, mend;
    std::vector<Report> atStart, atStore;
    std::wstring shownAfterRestart;
  };
  const Case cases[] = {
      {"settings folder read-only",
       true,
       [](fake::FakeFileSystem& fs) { fs.DenyWritesUnder(kFolder); },
       nullptr,
       {},
       {{notStored, L"Access is denied."}},
       L"D:\\Old"},
      {"write dies half-way",
       false,
       [](fake::FakeFileSystem& fs) { fs.FailWritesAfterBytes(3); },
       [](fake::FakeFileSystem& fs) { fs.FailWritesAfterBytes(std::nullopt); },
       {},
       {{notStored, L"There is not enough space on the disk."}},
       L"D:\\Old"},
      {"file locked by another program",
       true,
       [](fake::FakeFileSystem& fs) { fs.SetLocked(kStoredFile, true); },
       [](fake::FakeFileSystem& fs) { fs.SetLocked(kStoredFile, false); },
       {{L"The settings file could not be read:", kLocked}},
       {{notStored, kLocked}},
       L"D:\\Old"},
      {"settings folder deleted, Program Files read-only",
       false,
       [](fake::FakeFileSystem& fs) {
         fs.Remove(kFolder);
         fs.DenyWritesUnder(L"C:\\Program Files");
       },
       nullptr,
       {},
       {{L"The settings folder could not be created:", L"Access is denied."}},
       L"C:\\Backup Zips"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h;
    h.fake.fs.AddDrive(L'D');
    h.fake.fs.AddFolder(L"D:\\New");
    h.fake.fs.AddTextFile(kStoredFile, "D:\\Old\r\n");
    if (c.beforeStart) c.fault(h.fake.fs);
    h.w->Form_Load();
    std::vector<std::wstring> shown = h.messages;
    ASSERT_EQ(shown.size(), c.atStart.size());
    for (size_t i = 0; i < shown.size(); ++i)
      EXPECT_TRUE(Matches(shown[i], c.atStart[i])) << shown[i];
    EXPECT_EQ(h.S().txtDefaultPath, c.atStart.empty() ? L"D:\\Old" : L"C:\\Backup Zips");

    if (!c.beforeStart) c.fault(h.fake.fs);
    h.w->SetText(Ctl::txtDefaultPath, L"D:\\New");
    h.Clear();
    h.w->btnDefaultDestination_Click();
    shown = h.messages;
    ASSERT_EQ(shown.size(), c.atStore.size());
    for (size_t i = 0; i < shown.size(); ++i)
      EXPECT_TRUE(Matches(shown[i], c.atStore[i])) << shown[i];
    EXPECT_EQ(h.S().txtDefaultPath, L"D:\\New") << "the field keeps what was typed";
    EXPECT_EQ(h.focus, "") << "the focus stays on the button that failed";

    // The window is still usable: a backup runs into the typed destination.
    h.w->SetText(Ctl::TxtSrc, L"E:\\Photos");
    h.w->SetText(Ctl::txtSpecificBackupFileName, L"photos");
    h.w->btnSpecificBackup_Click();
    EXPECT_EQ(h.fake.sys.launches.size(), 1u);

    if (c.mend) c.mend(h.fake.fs);
    h.w->btnReset_Click();
    EXPECT_EQ(h.S().txtDefaultPath, c.shownAfterRestart);
  }
}

// Storing a destination whose folder cannot be made still stores it, as declining does, but only
// after saying why the folder is missing.
TEST(FaultSettings, DestinationFolderThatCannotBeMadeIsStillStored) {
  Harness h;
  h.fake.fs.AddDrive(L'D');
  h.fake.fs.AddFile(L"D:\\File", 1);
  h.w->Form_Load();
  h.w->SetText(Ctl::txtDefaultPath, L"D:\\File\\Backups");
  h.Clear();
  h.w->btnDefaultDestination_Click();
  EXPECT_EQ(h.messages,
            (std::vector<std::wstring>{
                MissingFolderQuestion(L"D:\\File\\Backups"),
                FolderNotCreatedMessage(L"D:\\File",
                                        L"Cannot create a file when that file already exists.")}));
  EXPECT_EQ(h.fake.fs.Content(kStoredFile), "D:\\File\\Backups\r\n");
  h.w->btnReset_Click();
  EXPECT_EQ(h.S().txtDefaultPath, L"D:\\File\\Backups");
}

}  // namespace
}  // namespace tessel::testing
