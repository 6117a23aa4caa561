// Both ZIP buttons and the Default button: command lines, the destination checks with the folders
// they make, every early end with its message, and how often the destination panel refreshes.
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

const Step kUser = REACTION(btnBackupUser_Click), kSpecific = REACTION(btnSpecificBackup_Click);
const std::wstring kChecked = L"chkWinZip=1 | ChkAddon=1 | ";  // the archiver check passed
// What came `before` (the archiver check passed), one run of the archiver, what came `after` it
// and the destination panel's two refreshes.
std::wstring Zipped(const std::wstring& arguments, const std::wstring& figures = L"empty",
                    const std::wstring& before = kChecked, const std::wstring& after = L"") {
  return before + L"archiver running | wzzip -u -p -r " + arguments + L" | archiver ended" + after +
         L" | destination: " + figures + L" | destination: " + figures;
}
// A destination set, then a click.
std::vector<Step> To(const std::wstring& destination, const Step& click) {
  return {Set(kDest, destination), click};
}
// The archiver check passed, then `messages` and the panel refreshed once.
std::wstring Ended(const std::wstring& messages) {
  return kChecked + L"message " + messages + L" | destination: empty";
}
const std::wstring kPhotos = L"\\Photos-200901.zip\" \"E:\\Photos\\\"",
                   kJsmith = L"\\Jsmith-200901.zip\" \"C:\\Users\\Jsmith\\Documents\\*.*\"";

// Destination D:\Z (existing, empty), source E:\Photos, label photos, year 2009 typed, month 01;
// a file D:\F. A case's log is its click's.
TEST(BackupJobs, CommandLinesEarlyEndsAndRefreshes) {
  const std::vector<Case> cases = {
      {"user", {kUser}, Zipped(L"\"D:\\Z" + kJsmith)},
      // Only versioning decides the user job's month part; a root keeps its one backslash.
      {"user, versioning off, to a root",
       {REACTION(optNo_Click), Type(kMonth, L"05"), Set(kDest, L"D:\\"), kUser},
       Zipped(L"\"D:\\Jsmith-2009.zip\" \"C:\\Users\\Jsmith\\Documents\\*.*\"",
              L"1 files, 1 folders, 1 bytes")},
      {"user name proper-cased",
       {Set(kUsers, L"jOHN smith"), kUser},
       Zipped(L"\"D:\\Z\\John Smith-200901.zip\" \"C:\\Users\\John Smith\\Documents\\*.*\"")},
      {"no user",
       {Set(kUsers, L""), kUser},
       Zipped(L"\"D:\\Z\\-200901.zip\" \"C:\\Users\\\\Documents\\*.*\"")},
      {"specific", {kSpecific}, Zipped(L"\"D:\\Z" + kPhotos)},
      // The month box decides here, not versioning; the separator is always added.
      {"specific, versioning off, to a root",
       {Set(kDest, L"D:\\"), Set(kSrc, L"E:\\"), REACTION(optNo_Click), Type(kMonth, L"05"),
        Set(kLabel, L"MY-PICS"), kSpecific},
       Zipped(L"\"D:\\\\My-pics-200905.zip\" \"E:\\\"", L"1 files, 1 folders, 1 bytes")},
      {"a source ending in a backslash, a blank label",
       {Set(kSrc, L"E:\\Photos\\"), Set(kLabel, L" "), kSpecific},
       Zipped(L"\"D:\\Z\\ -200901.zip\" \"E:\\Photos\\\"")},
      {"Windows on E:",
       {WindowsIn(L"E:\\W"), kUser},
       kChecked + L"archiver running | Run \"E:\\Program Files\\WinZip\\wzzip.exe\" "
                  L"-u -p -r \"D:\\Z\\Jsmith-200901.zip\" \"E:\\Users\\Jsmith\\Documents\\*.*\" | "
                  L"archiver ended | destination: empty | destination: empty"},
      // Early ends: each message, and what the panel does after.
      {"no add-on",
       {Gone(kAddonProbePath), kUser},
       L"chkWinZip=1 | ChkAddon=0 | message no add-on"},
      {"no WinZip",
       {Gone(kWinZipProbePath), kSpecific},
       Zipped(L"\"D:\\Z" + kPhotos, L"empty", L"message no WinZip | ChkAddon=1 | ")},
      {"no label", {Set(kLabel, L""), kSpecific}, Ended(L"blank field")},
      {"no source", {Set(kSrc, L""), kSpecific}, Ended(L"blank field")},
      {"no such drive", To(L"X:\\N", kUser), Ended(L"no such drive (X:\\)")},
      {"no destination", To(L"", kSpecific), Ended(L"no such drive (:\\)")},
      {"a network destination", To(L"\\\\server\\share", kSpecific),
       Ended(L"no such drive (\\:\\)")},
      {"a new folder refused",
       {Set(kDest, L"D:\\New"),
        GIVEN(L"a No answer queued", h.fake.dialogs.answers.push_back(Answer::No)), kUser},
       Ended(L"create folder? (D:\\New)")},
      {"new folders made", To(L"D:\\Z\\A\\B", kSpecific),
       Zipped(L"\"D:\\Z\\A\\B" + kPhotos, L"empty",
              kChecked +
                  L"message create folder? (D:\\Z\\A\\B) | made D:\\Z\\A | made D:\\Z\\A\\B | ")},
      {"doubled and trailing backslashes", To(L"D:\\Z\\\\A\\", kSpecific),
       Zipped(L"\"D:\\Z\\\\A\\" + kPhotos, L"empty",
              kChecked + L"message create folder? (D:\\Z\\\\A\\) | made D:\\Z\\A | ")},
      {"a file in the way", To(L"D:\\F\\Sub", kUser),
       Ended(L"create folder? (D:\\F\\Sub) | message folder not made (D:\\F, exists)")},
      {"a bad name", To(L"D:\\New\\B|d\\C", kSpecific),
       Ended(L"create folder? (D:\\New\\B|d\\C) | made D:\\New | "
             L"message folder not made (D:\\New\\B|d, bad name)")},
      {"slashes", To(L"D:/New/Sub", kSpecific),
       Ended(L"create folder? (D:/New/Sub) | "
             L"message folder not made (D:/New/Sub, slashes (D:\\New\\Sub))")},
      {"a drive-relative path", To(L"D:Backups", kUser),
       Ended(L"create folder? (D:Backups) | message folder not made (D:Backups, not a full path)")},
      {"no drive", To(L"Cloud", kSpecific),
       Ended(L"create folder? (Cloud) | message folder not made (Cloud, not a full path)")},
      {"quote: destination", {Set(kDest, L"D:\\\""), kUser}, Ended(L"quote (Destination)")},
      {"quote: user", {Set(kUsers, L"\""), kUser}, Ended(L"quote (User Login Name)")},
      {"quote: year", {Type(kYear, L"\""), kUser}, Ended(L"quote (Year)")},
      {"quote: month", {Type(kMonth, L"\""), kUser}, Ended(L"quote (Month)")},
      {"quote: source", {Set(kSrc, L"\""), kSpecific}, Ended(L"quote (Source Path)")},
      {"quote: label before the new folder",
       {Set(kLabel, L"\""), Set(kDest, L"D:\\New"), kSpecific},
       Ended(L"quote (Backup File Label)")},
      {"quote: year, specific", {Type(kYear, L"\""), kSpecific}, Ended(L"quote (Year)")},
      {"quote: month, specific", {Type(kMonth, L"\""), kSpecific}, Ended(L"quote (Month)")},
      {"the archiver not started",
       {GIVEN(L"launch fails", h.fake.sys.launchResult = Status::Failed(L"gone")), kSpecific},
       Zipped(L"\"D:\\Z" + kPhotos, L"empty", kChecked,
              L" | message archiver not started (C:\\Program Files\\WinZip\\wzzip.exe, gone)")},
  };
  ExpectCases({Folder(L"D:\\Z"), File(L"D:\\F"), REACTION(Form_Load), Set(kDest, L"D:\\Z"),
               Set(kSrc, L"E:\\Photos"), Set(kLabel, L"photos"), Type(kYear, L"2009")},
              cases, true);
}

// The click, then what the settings file holds and what a Reset shows.
const Step kDefaultClicked = {L"btnDefaultDestination_Click, then the file and a Reset read",
                              [](Harness& h) {
                                h.w->btnDefaultDestination_Click();
                                std::string bytes = h.fake.fs.Content(kStoredFile).value_or("");
                                h.Note(L"settings file holds " + h.fake.sys.FromCodePage(bytes));
                                size_t before = h.fake.log.size();
                                h.w->btnReset_Click();
                                h.fake.log.resize(before);
                                h.Note(L"a Reset shows " + h.S().txtDefaultPath);
                              }};

// What the settings file holds and a Reset shows, both `path`.
std::wstring Holds(const std::wstring& path) {
  return L"settings file holds " + path + L"\r\n | a Reset shows " + path;
}

TEST(DefaultButton, StoresWhatARestartShows) {
  const std::vector<Case> cases = {
      {"no such drive",
       {Set(kDest, L"X:\\N"), kDefaultClicked},
       L"message no such drive (X:\\) | " + Holds(L"D:\\Old")},
      {"a new folder refused",
       {Set(kDest, L"D:\\New"),
        GIVEN(L"a No answer queued", h.fake.dialogs.answers.push_back(Answer::No)),
        kDefaultClicked},
       L"message create folder? (D:\\New) | focus on 1 | " + Holds(L"D:\\New")},
      {"a new folder",
       {Set(kDest, L"D:\\New"), kDefaultClicked},
       L"message create folder? (D:\\New) | made D:\\New | focus on 1 | " + Holds(L"D:\\New")},
      {"a folder not made",
       {Set(kDest, L"D:\\F\\B"), kDefaultClicked},
       L"message create folder? (D:\\F\\B) | message folder not made (D:\\F, exists) | "
       L"focus on 1 | " +
           Holds(L"D:\\F\\B")},
      {"beyond the code page",
       {Folder(L"D:\\\u0410"), Set(kDest, L"D:\\\u0410"), kDefaultClicked},
       L"focus on 1 | settings file holds \xEF\xBB\xBF"
       L"D:\\\xD0\x90\r\n | a Reset shows D:\\\x410"},
      {"writes fail",
       {Set(kDest, L"D:\\"), GIVEN(L"writes fail", h.fake.fs.failWrites = true), kDefaultClicked},
       L"message default not stored (" + kStoredFile + L", disk full) | " + Holds(L"D:\\Old")},
      {"a file in the settings folder's way",
       {Set(kDest, L"D:\\"), Gone(L"C:\\Program Files\\Tessel"), File(L"C:\\Program Files\\Tessel"),
        kDefaultClicked},
       L"message stored default kept (C:\\Program Files\\Tessel\\, A file is in the way: C:"
       L"\\Program Files\\Tessel) | settings file holds  | a Reset shows C:\\Backup Zips"},
  };
  ExpectCases({Stored("D:\\Old\r\n"), File(L"D:\\F"), REACTION(Form_Load)}, cases, true);
}

}  // namespace
}  // namespace tessel::testing
