// The stored default destination: reading any bytes into lines, writing text so it reads back
// exactly, the Default button's outcomes and failures, and creating the destination level by
// level.
#include "core/utf8.h"
#include "destination/folder_checks.h"
#include "destination/settings_file.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

using Lines = std::vector<std::wstring>;

std::wstring Latin1(std::string_view b) {
  return fake::FakeSystem().FromCodePage(b);
}
std::optional<std::string> ToLatin1(std::wstring_view t) {
  return fake::FakeSystem().ToCodePage(t);
}

TEST(SettingsFile, ParsesLinesFromAnyBytes) {
  struct Case {
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"D:\\One\r\n\r\n", {L"D:\\One", L""}},
      {"D:\\One\nE:\\Two\rF:\\Three", {L"D:\\One", L"E:\\Two", L"F:\\Three"}},
      {"\n\r\r\n", {L"", L"", L""}},
      {"D:\\Caf\xE9\r\n", {L"D:\\Caf\u00e9"}},
      {"\xEF\xBB\xBF"
       "D:\\\xD0\x90\r\n",
       {L"D:\\\u0410"}},
      {"\xEF\xBB\xBF\xFF\xC3", {L"\uFFFD\uFFFD"}},
      {std::string("D:\\A\0junk\r\n\0", 13), {L"D:\\A", L""}},
      {std::string(1 << 20, '\0') + "\nD:\\Last", {L"", L"D:\\Last"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseSettingsFile(c.bytes, Latin1), c.lines) << "bytes '" << c.bytes.substr(0, 40);
  }
}

TEST(SettingsFile, WritesCodePageOrMarkedUtf8AndReadsBackExactly) {
  std::wstring loneSurrogate = L"D:\\";
  loneSurrogate += static_cast<wchar_t>(0xD800);
  struct Case {
    std::wstring text;
    std::string bytes;  // empty: only the round trip is checked
  };
  const Case cases[] = {
      {L"D:\\Backups  ", "D:\\Backups  \r\n"},
      {L"D:\\Caf\u00e9", "D:\\Caf\xE9\r\n"},
      {L"D:\\\u0410",
       "\xEF\xBB\xBF"
       "D:\\\xD0\x90\r\n"},
      // In the code page these would read back as a byte-order mark.
      {L"\u00ef\u00bb\u00bfx", "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBFx\r\n"},
      {L"D:\\\U0001F4BE",
       "\xEF\xBB\xBF"
       "D:\\\xF0\x9F\x92\xBE\r\n"},
      {loneSurrogate, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = EncodeSettingsFile(c.text, ToLatin1);
    if (!c.bytes.empty()) {
      EXPECT_EQ(bytes, c.bytes);
    }
    EXPECT_EQ(ParseSettingsFile(bytes, Latin1), Lines{c.text}) << "round trip of '" << c.text;
  }
}

TEST(DefaultButton, OutcomesAndFailures) {
  const std::wstring folder = L"C:\\Program Files\\Tessel\\";
  struct Case {
    const char* name;
    std::wstring destination;
    std::function<void(fake::FakePlatform&)> setUp;
    std::vector<std::wstring> messages;
    std::string stored, focus;
    std::wstring afterRestart;
  };
  const auto noSetUp = [](fake::FakePlatform&) {};
  const std::wstring kept = L"\r\n\r\nThe stored default destination is unchanged.";
  // clang-format off
  const Case cases[] = {
    {"drive missing", L"X:\\Nowhere", noSetUp, {MissingDriveMessage(L"X:\\")}, "D:\\Old\r\n", "", L"D:\\Old"},
    {"folder declined: stored anyway", L"D:\\New",
     [](fake::FakePlatform& f) { f.dialogs.answers = {Answer::No}; },
     {MissingFolderQuestion(L"D:\\New")}, "D:\\New\r\n", "1", L"D:\\New"},
    {"folder made", L"D:\\New", noSetUp, {MissingFolderQuestion(L"D:\\New")}, "D:\\New\r\n", "1", L"D:\\New"},
    {"unrepresentable", L"D:\\\u0410", [](fake::FakePlatform& f) { f.fs.AddFolder(L"D:\\\u0410"); },
     {}, "\xEF\xBB\xBF" "D:\\\xD0\x90\r\n", "1", L"D:\\\u0410"},
    {"write dies half-way", L"D:\\", [](fake::FakePlatform& f) { f.fs.FailWritesAfterBytes(3); },
     {L"The default destination could not be stored in:\r\n" + kStoredFile +
      L"\r\n\r\nThere is not enough space on the disk." + kept},
     "D:\\Old\r\n", "", L"D:\\Old"},
    {"settings folder gone, cannot be made", L"D:\\",
     [](fake::FakePlatform& f) {
       f.fs.Remove(L"C:\\Program Files\\Tessel");
       f.fs.DenyWritesUnder(L"C:\\Program Files");
     },
     {L"The settings folder could not be created:\r\n" + folder + L"\r\n\r\nAccess is denied." + kept},
     "", "", L"C:\\Backup Zips"},
  };
  // clang-format on
  for (const Case& c : cases) {
    Harness h;
    h.fake.fs.AddTextFile(kStoredFile, "D:\\Old\r\n");
    h.fake.fs.AddDrive(L'D');
    h.w->Form_Load();
    h.w->SetText(Ctl::txtDefaultPath, c.destination);
    c.setUp(h.fake);
    h.Clear();
    h.w->btnDefaultDestination_Click();
    SCOPED_TRACE(c.name);
    EXPECT_EQ(h.messages, c.messages);
    EXPECT_EQ(h.fake.fs.Content(kStoredFile).value_or(""), c.stored);
    EXPECT_EQ(h.focus, c.focus);
    h.w->btnReset_Click();  // a restart reads back what was stored
    EXPECT_EQ(h.S().txtDefaultPath, c.afterRestart);
  }
}

TEST(FolderChecks, CreateMissingLevelsInOrderOrNameTheOneThatFails) {
  struct Case {
    std::wstring destination;
    std::vector<std::wstring> created, messages;
  };
  const auto ask = [](const std::wstring& d) { return MissingFolderQuestion(d); };
  const std::wstring badName =
      L"The filename, directory name, or volume label syntax is incorrect.";
  // clang-format off
  const Case cases[] = {
    {L"D:\\A\\B\\C", {L"D:\\A\\B", L"D:\\A\\B\\C"}, {ask(L"D:\\A\\B\\C")}},
    {L"D:\\A\\\\B\\", {L"D:\\A\\B"}, {ask(L"D:\\A\\\\B\\")}},
    {L"D:\\A\\", {}, {}},
    {L"D:\\Locked\\New", {}, {ask(L"D:\\Locked\\New"),
                             FolderNotCreatedMessage(L"D:\\Locked\\New", L"Access is denied.")}},
    {L"D:\\Bad|Name\\Sub", {}, {ask(L"D:\\Bad|Name\\Sub"),
                               FolderNotCreatedMessage(L"D:\\Bad|Name", badName)}},
  };
  // clang-format on
  for (const Case& c : cases) {
    fake::FakePlatform f;
    f.fs.AddFolder(L"D:\\A");
    f.fs.AddFolder(L"D:\\Locked");
    f.fs.DenyWritesUnder(L"D:\\Locked");
    bool passed = MakeSureDirectoryTreeExists(f.platform, c.destination);
    EXPECT_EQ(passed, c.messages.size() < 2) << c.destination;
    EXPECT_EQ(f.fs.CreatedFolders(), c.created) << c.destination;
    std::vector<std::wstring> shown;
    for (const fake::Message& m : f.dialogs.messages) shown.push_back(m.text);
    EXPECT_EQ(shown, c.messages);
  }
}

}  // namespace
}  // namespace tessel::testing
