// The stored default destination: reading any bytes into lines, writing text so it reads back
// exactly, and the Default button's outcomes and failures.
#include "destination/settings_file.h"
#include "core/utf8.h"
#include "destination/folder_checks.h"
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
      {"D:\\One\r\n", {L"D:\\One"}},
      {"D:\\One\r\n\r\n", {L"D:\\One", L""}},
      {"D:\\One\nE:\\Two\rF:\\Three", {L"D:\\One", L"E:\\Two", L"F:\\Three"}},
      {"\n\r\r\n", {L"", L"", L""}},
      {"  x  \r\n", {L"  x  "}},
      {"D:\\Caf\xE9\r\n", {L"D:\\Caf\u00e9"}},
      {"\xEF\xBB\xBF"
       "D:\\\xD0\x90\xD1\x80\r\n",
       {L"D:\\\u0410\u0440"}},
      {"\xEF\xBB\xBF\xFF\xC3", {L"\uFFFD\uFFFD"}},
      {std::string("D:\\A\0junk\r\n\0", 13), {L"D:\\A", L""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseSettingsFile(c.bytes, Latin1), c.lines) << "bytes '" << c.bytes << "'";
  }
  std::string huge(1 << 20, '\0');
  huge += "\r\nD:\\Last";
  EXPECT_EQ(ParseSettingsFile(huge, Latin1), (Lines{L"", L"D:\\Last"}));
}

TEST(SettingsFile, WritesCodePageOrMarkedUtf8AndReadsBackExactly) {
  struct Case {
    std::wstring text;
    std::string bytes;
  };
  const Case cases[] = {
      {L"D:\\Backups  ", "D:\\Backups  \r\n"},
      {L"D:\\Caf\u00e9", "D:\\Caf\xE9\r\n"},
      {L"D:\\\u0410\u0440",
       "\xEF\xBB\xBF"
       "D:\\\xD0\x90\xD1\x80\r\n"},
      // In the code page these would start like a byte-order mark.
      {L"\u00ef\u00bb\u00bfx", "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBFx\r\n"},
      {L"D:\\\U0001F4BE",
       "\xEF\xBB\xBF"
       "D:\\\xF0\x9F\x92\xBE\r\n"},
  };
  for (const Case& c : cases) {
    std::string bytes = EncodeSettingsFile(c.text, ToLatin1);
    EXPECT_EQ(bytes, c.bytes);
    EXPECT_EQ(ParseSettingsFile(bytes, Latin1), Lines{c.text})
        << "round trip of '" << c.text << "'";
  }
  std::wstring loneSurrogate = L"D:\\";
  loneSurrogate += static_cast<wchar_t>(0xD800);
  EXPECT_EQ(FromUtf8(ToUtf8(loneSurrogate)), loneSurrogate);
}

TEST(DefaultButton, Outcomes) {
  struct Case {
    const char* name;
    std::wstring destination;
    Answer answer;
    std::vector<std::wstring> messages;
    std::string stored, focus;
    bool folderAfter;
  };
  const Case cases[] = {
      {"drive missing",
       L"X:\\Nowhere",
       Answer::Yes,
       {MissingDriveMessage(L"X:\\")},
       "D:\\Old\r\n",
       "",
       false},
      {"folder declined",
       L"D:\\New",
       Answer::No,
       {MissingFolderQuestion(L"D:\\New")},
       "D:\\New\r\n",
       "1",
       false},
      {"folder made",
       L"D:\\New",
       Answer::Yes,
       {MissingFolderQuestion(L"D:\\New")},
       "D:\\New\r\n",
       "1",
       true},
      {"folder exists", L"D:\\", Answer::Yes, {}, "D:\\\r\n", "1", true},
  };
  for (const Case& c : cases) {
    Harness h;
    h.fake.fs.AddTextFile(StoredFile(), "D:\\Old\r\n");
    h.fake.fs.AddDrive(L'D');
    h.w->Form_Load();
    h.w->SetText(Ctl::txtDefaultPath, c.destination);
    h.fake.dialogs.answers = {c.answer};
    h.log.clear();
    h.w->btnDefaultDestination_Click();
    SCOPED_TRACE(c.name);
    EXPECT_EQ(h.Messages(), c.messages);
    EXPECT_EQ(h.fake.fs.Content(StoredFile()), c.stored);
    EXPECT_EQ(h.Focus(), c.focus);
    EXPECT_EQ(h.fake.fs.IsFolder(c.destination), c.folderAfter);
  }
}

TEST(DefaultButton, FailuresKeepTheStoredDefault) {
  struct Case {
    const char* name;
    std::function<void(fake::FakeFileSystem&)> setUp;
    std::wstring where, reason;
  };
  const Case cases[] = {
      {"write dies half-way", [](fake::FakeFileSystem& fs) { fs.FailWritesAfterBytes(3); },
       StoredFile(), L"There is not enough space on the disk."},
      {"settings folder gone and not creatable",
       [](fake::FakeFileSystem& fs) {
         fs.Remove(L"C:\\Program Files\\Tessel");
         fs.DenyWritesUnder(L"C:\\Program Files");
       },
       L"C:\\Program Files\\Tessel\\", L"Access is denied."},
  };
  for (const Case& c : cases) {
    Harness h;
    h.fake.fs.AddTextFile(StoredFile(), "D:\\Old\r\n");
    h.w->Form_Load();
    h.w->SetText(Ctl::txtDefaultPath, L"C:\\");
    c.setUp(h.fake.fs);
    h.log.clear();
    h.w->btnDefaultDestination_Click();
    SCOPED_TRACE(c.name);
    ASSERT_EQ(h.Messages().size(), 1u);
    EXPECT_NE(h.Messages()[0].find(c.where + L"\r\n\r\n" + c.reason), std::wstring::npos)
        << "got: " << h.Messages()[0];
    if (h.fake.fs.IsFile(StoredFile())) {
      EXPECT_EQ(h.fake.fs.Content(StoredFile()), "D:\\Old\r\n");
    }
    EXPECT_EQ(h.Focus(), "");
  }
}

TEST(DefaultButton, UnrepresentableDestinationSurvivesARestart) {
  Harness h;
  h.fake.fs.AddFolder(L"C:\\\u0410\u0440\u0445\u0438\u0432");
  h.w->Form_Load();
  h.w->SetText(Ctl::txtDefaultPath, L"C:\\\u0410\u0440\u0445\u0438\u0432");
  h.w->btnDefaultDestination_Click();
  h.w->btnReset_Click();
  EXPECT_EQ(h.S().txtDefaultPath, L"C:\\\u0410\u0440\u0445\u0438\u0432");
}

}  // namespace
}  // namespace tessel::testing
