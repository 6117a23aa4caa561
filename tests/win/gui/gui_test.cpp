// End-to-end: the real tessel.exe under Wine, driven through window messages from this process.
// Needs the test drive T: (scripts/test.d/40-gui.sh maps it to a scratch folder).
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "gui/driver.h"
#include "gui/environment.h"
#include "ui/browse_users_form.h"
#include "ui/main_form.h"
#include "ui/text_forms.h"

namespace tessel::gui {
namespace {

const std::wstring kMessageTail =
    L" \r\n\r\n(1) not found to be installed or\r\n(2) not installed to default path.\r\n\r\n"
    L"It must be installed and installed to the\r\n default path for this program to "
    L"function.\r\n Tessel works best if a WinZip license\r\n is purchased.";
const std::wstring kWinZipMissing = L"WinZip was" + kMessageTail;
const std::wstring kAddonMissing = L"The WinZip Command Line Support Add-on was" + kMessageTail;
const std::wstring kArchiver = L"\"C:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r ";

std::wstring TesselExe() {
  if (const char* exe = std::getenv("TESSEL_EXE")) return WindowsPathOf(exe);
  return DriverFolder() + L"..\\..\\..\\src\\app\\tessel.exe";
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

class Gui : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Exists(L"T:\\")) << "drive T: is missing: run through scripts/test.d/40-gui.sh";
    SetCursorPos(0, 0);  // no tool tip may cover what a test reads off the screen
    for (const wchar_t* path : {L"T:\\Backups", L"T:\\Photos", L"C:\\users\\jsmith",
                                L"C:\\users\\LocalService", L"C:\\users\\desktop.ini"}) {
      ASSERT_TRUE(RemoveTree(path)) << Narrow(path);
    }
    ASSERT_TRUE(MakeFolders(L"T:\\Backups"));
    ASSERT_TRUE(MakeFile(L"T:\\Photos\\a.jpg", 1000));
    ASSERT_TRUE(MakeFile(L"T:\\Photos\\b.jpg", 2500));
    ASSERT_TRUE(MakeFile(L"T:\\Photos\\2023\\c.jpg", 10));
    ASSERT_TRUE(InstallArchiver(true, true));
    ClearArchiverCalls();
    ASSERT_TRUE(StoreDestination(L"T:\\Backups"));
  }

  void TearDown() override { app.reset(); }

  // Starts the program and waits for its main window, answering no message.
  Form Start() {
    app = Tessel::Start(TesselExe());
    if (!app) {
      ADD_FAILURE() << "tessel.exe did not start: " << Narrow(TesselExe());
      return {};
    }
    Form main = app->Main(30s);
    EXPECT_TRUE(main) << "no main window";
    app->Settle();
    return main;
  }

  // Clicks a control and answers the question that follows.
  std::optional<MessageBoxInfo> ClickAndAnswer(HWND control, int answer) {
    app->Click(control);
    std::optional<MessageBoxInfo> box = app->WaitMessage(5s);
    if (box) app->Answer(*box, answer);
    app->Settle();
    return box;
  }

  std::optional<Tessel> app;
};

TEST_F(Gui, StartUpReportsEachMissingArchiverFileAndStillShowsTheWindow) {
  const struct {
    const char* name;
    bool winzip, addon;
    std::vector<std::wstring> messages;
    int chkWinZip, ChkAddon;
  } cases[] = {
      {"both present", true, true, {}, BST_CHECKED, BST_CHECKED},
      {"WinZip missing", false, true, {kWinZipMissing}, BST_UNCHECKED, BST_CHECKED},
      {"add-on missing", true, false, {kAddonMissing}, BST_CHECKED, BST_UNCHECKED},
      {"both missing", false, false, {kWinZipMissing, kAddonMissing}, BST_UNCHECKED, BST_UNCHECKED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(InstallArchiver(c.winzip, c.addon));
    app = Tessel::Start(TesselExe());
    ASSERT_TRUE(app);
    for (const std::wstring& expected : c.messages) {
      std::optional<MessageBoxInfo> box = app->WaitMessage(30s);
      ASSERT_TRUE(box) << "no message";
      EXPECT_EQ(box->text, expected);
      EXPECT_FALSE(box->yesNo);
      EXPECT_FALSE(app->FindForm(ui::MainForm())) << "the window showed before the message";
      ASSERT_TRUE(app->Answer(*box, IDOK));
    }
    Form main = app->Main(30s);
    ASSERT_TRUE(main) << "the window must be shown";
    app->Settle();
    EXPECT_FALSE(app->FindMessage()) << "an unexpected message";
    EXPECT_EQ(CheckState(main.Control(L"chkWinZip")), c.chkWinZip);
    EXPECT_EQ(CheckState(main.Control(L"ChkAddon")), c.ChkAddon);
    // Filled up to the end of the load sequence either way.
    HWND year = main.Control(L"cmbFileNameYear");
    HWND month = main.Control(L"cmbFileNameMonth");
    EXPECT_EQ(Text(month), ThisMonth());
    EXPECT_EQ(ComboEntries(month).size(), 12u);
    EXPECT_EQ(Text(year), ThisYear());
    EXPECT_EQ(ComboEntries(year),
              (std::vector<std::wstring>{std::to_wstring(ThisYearNumber() - 2),
                                         std::to_wstring(ThisYearNumber() - 1), ThisYear(),
                                         std::to_wstring(ThisYearNumber() + 1),
                                         std::to_wstring(ThisYearNumber() + 2)}));
    EXPECT_EQ(Text(main.Control(L"txtUsers")), UserName());
    EXPECT_EQ(Text(main.Control(L"txtDefaultPath")), L"T:\\Backups");
    EXPECT_EQ(Text(main.Control(L"txtSpecificUserFileName")),
              L"T:\\Backups\\" + UserName() + L"-" + ThisYear() + ThisMonth() + L".zip");
    app.reset();
  }
}

TEST_F(Gui, SpecificDirectoryBackupAsksForTheMissingFolderThenRunsTheArchiver) {
  ASSERT_TRUE(StoreDestination(L"T:\\Backups\\New Folder"));
  Form main = Start();
  ASSERT_TRUE(main);
  app->Type(main.Control(L"TxtSrc"), L"T:\\Photos");
  app->Type(main.Control(L"txtSpecificBackupFileName"), L"my photos");
  std::wstring stamp = ThisYear() + ThisMonth();
  EXPECT_EQ(Text(main.Control(L"txtSpecificDirectoryFiles")), L"T:\\Photos\\*.*");
  EXPECT_EQ(Text(main.Control(L"txtExampleFileName")),
            L"T:\\Backups\\New Folder\\my photos-" + stamp + L".zip");

  HWND zip = main.Control(L"btnSpecificBackup");
  std::optional<MessageBoxInfo> box = ClickAndAnswer(zip, IDNO);
  ASSERT_TRUE(box) << "no folder question";
  EXPECT_EQ(box->text,
            L"The default folder, T:\\Backups\\New Folder , doesn't exist.\r\nWould you like it "
            L"created?");
  EXPECT_TRUE(box->yesNo);
  EXPECT_FALSE(Exists(L"T:\\Backups\\New Folder"));
  EXPECT_TRUE(ArchiverCalls().empty()) << "answered No: nothing may run";

  ASSERT_TRUE(ClickAndAnswer(zip, IDYES));
  EXPECT_TRUE(Exists(L"T:\\Backups\\New Folder"));
  ASSERT_TRUE(WaitFor([] { return !ArchiverCalls().empty(); }));
  EXPECT_EQ(ArchiverCalls(),
            std::vector<std::wstring>{kArchiver + L"\"T:\\Backups\\New Folder\\My Photos-" + stamp +
                                      L".zip\" \"T:\\Photos\\\""});
  EXPECT_FALSE(app->FindMessage()) << "no message after a backup";
}

TEST_F(Gui, UserBackupAfterPickingAProfileInBrowseForUsers) {
  ASSERT_TRUE(MakeFile(L"C:\\users\\jsmith\\Documents\\letter.txt", 10));
  ASSERT_TRUE(MakeFolders(L"C:\\users\\LocalService"));
  ASSERT_TRUE(MakeFile(L"C:\\users\\desktop.ini", 10));
  Form main = Start();
  ASSERT_TRUE(main);

  app->Click(main.Control(L"btnBrowseForUsers"));
  Form browse = app->WaitForm(ui::BrowseUsersForm());
  ASSERT_TRUE(browse);
  HWND list = browse.Control(L"lstUsers");
  std::vector<std::wstring> users = ListEntries(list);
  auto has = [&](const wchar_t* name) {
    return std::find(users.begin(), users.end(), name) != users.end();
  };
  EXPECT_TRUE(has(L"Jsmith") && has(L"Public")) << "profiles missing";
  EXPECT_FALSE(has(L"Localservice")) << "a system profile was offered";
  EXPECT_TRUE(has(L"Desktop.ini")) << "a file with attributes besides normal is listed too";
  EXPECT_TRUE(std::is_sorted(users.begin(), users.end(), [](const auto& a, const auto& b) {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  }));

  int jsmith = static_cast<int>(std::find(users.begin(), users.end(), L"Jsmith") - users.begin());
  app->DoubleClickListEntry(list, jsmith);
  ASSERT_TRUE(WaitFor([&] { return !app->FindForm(ui::BrowseUsersForm()); }))
      << "the window stays open after the pick";
  app->Settle();
  EXPECT_EQ(Text(main.Control(L"txtUsers")), L"Jsmith");
  EXPECT_EQ(Text(main.Control(L"txtSpecificUserFiles")), L"C:\\Users\\Jsmith\\Documents\\*.*");
  EXPECT_EQ(app->ActiveWindow(), main.Hwnd());

  app->Click(main.Control(L"btnBackupUser"));
  ASSERT_TRUE(WaitFor([] { return !ArchiverCalls().empty(); }));
  EXPECT_EQ(ArchiverCalls(), std::vector<std::wstring>{
                                 kArchiver + L"\"T:\\Backups\\Jsmith-" + ThisYear() + ThisMonth() +
                                 L".zip\" \"C:\\Users\\Jsmith\\Documents\\*.*\""});
}

TEST_F(Gui, BrowseForUsersClosedOrEmptyPickKeepsTheUser) {
  Form main = Start();
  ASSERT_TRUE(main);
  HWND users = main.Control(L"txtUsers");
  std::wstring before = Text(users);

  // Browse again while open: a fresh window without the selection.
  app->Click(main.Control(L"btnBrowseForUsers"));
  Form browse = app->WaitForm(ui::BrowseUsersForm());
  ASSERT_TRUE(browse);
  app->ClickListEntry(browse.Control(L"lstUsers"), 0);
  EXPECT_EQ(SendMessageW(browse.Control(L"lstUsers"), LB_GETCURSEL, 0, 0), 0);
  HWND old = browse.Hwnd();
  app->Click(main.Control(L"btnBrowseForUsers"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(old); })) << "the old window stays";
  browse = app->WaitForm(ui::BrowseUsersForm());
  ASSERT_TRUE(browse);
  EXPECT_EQ(app->CountForms(ui::BrowseUsersForm()), 1);
  EXPECT_EQ(SendMessageW(browse.Control(L"lstUsers"), LB_GETCURSEL, 0, 0), LB_ERR);

  // The close box after selecting an entry: nothing is handed over.
  app->ClickListEntry(browse.Control(L"lstUsers"), 0);
  app->CloseWindow(browse.Hwnd());
  ASSERT_TRUE(WaitFor([&] { return !app->FindForm(ui::BrowseUsersForm()); }));
  EXPECT_EQ(Text(users), before);

  // "Get User" with nothing selected closes the window and keeps the user.
  app->Click(main.Control(L"btnBrowseForUsers"));
  browse = app->WaitForm(ui::BrowseUsersForm());
  ASSERT_TRUE(browse);
  app->Click(browse.Control(L"cmdUsers"));
  ASSERT_TRUE(WaitFor([&] { return !app->FindForm(ui::BrowseUsersForm()); }));
  EXPECT_EQ(Text(users), before);
  EXPECT_EQ(CheckState(main.Control(L"optYes")), BST_CHECKED);
}

TEST_F(Gui, VersioningOffAndOn) {
  Form main = Start();
  ASSERT_TRUE(main);
  app->Type(main.Control(L"TxtSrc"), L"T:\\Photos");
  app->Type(main.Control(L"txtSpecificBackupFileName"), L"docs");
  HWND month = main.Control(L"cmbFileNameMonth");
  HWND monthFrame = main.Control(L"frmMonth");
  HWND example = main.Control(L"txtExampleFileName");

  app->Click(main.Control(L"optNo"));
  EXPECT_EQ(CheckState(main.Control(L"optNo")), BST_CHECKED);
  EXPECT_EQ(CheckState(main.Control(L"optYes")), BST_UNCHECKED);
  EXPECT_FALSE(Visible(month));
  EXPECT_FALSE(Visible(monthFrame));
  EXPECT_EQ(Text(month), L"");
  EXPECT_EQ(Text(example), L"T:\\Backups\\docs-" + ThisYear() + L".zip");
  app->Click(main.Control(L"btnSpecificBackup"));
  ASSERT_TRUE(WaitFor([] { return ArchiverCalls().size() == 1; }));
  EXPECT_EQ(ArchiverCalls().back(),
            kArchiver + L"\"T:\\Backups\\Docs-" + ThisYear() + L".zip\" \"T:\\Photos\\\"");

  HWND yes = main.Control(L"optYes");
  app->Click(yes);
  EXPECT_EQ(CheckState(yes), BST_CHECKED);
  EXPECT_TRUE(Visible(month));
  EXPECT_TRUE(Visible(monthFrame));
  EXPECT_EQ(Text(month), ThisMonth());
  EXPECT_EQ(Text(example), L"T:\\Backups\\docs-" + ThisYear() + ThisMonth() + L".zip");
  // Five stops on from the option: two of its own and three from refilling the lists.
  EXPECT_EQ(main.NameOf(app->Focus()), L"btnWinZip");
  app->Click(main.Control(L"btnSpecificBackup"));
  ASSERT_TRUE(WaitFor([] { return ArchiverCalls().size() == 2; }));
  EXPECT_EQ(ArchiverCalls().back(), kArchiver + L"\"T:\\Backups\\Docs-" + ThisYear() + ThisMonth() +
                                        L".zip\" \"T:\\Photos\\\"");
}

TEST_F(Gui, ListPicksRunTheirReactionsAndMoveTheFocusOn) {
  Form main = Start();
  ASSERT_TRUE(main);
  HWND month = main.Control(L"cmbFileNameMonth");
  HWND year = main.Control(L"cmbFileNameYear");
  HWND userArchive = main.Control(L"txtSpecificUserFileName");
  std::wstring prefix = L"T:\\Backups\\" + UserName() + L"-";

  // A month picked with the mouse: one stop on, to Reset.
  int otherMonth = ThisMonthNumber() == 1 ? 1 : 0;  // January, or February in January
  ASSERT_TRUE(app->PickByMouse(month, otherMonth));
  std::wstring monthText = otherMonth == 0 ? L"01" : L"02";
  EXPECT_EQ(Text(month), monthText);
  EXPECT_EQ(Text(userArchive), prefix + ThisYear() + monthText + L".zip");
  EXPECT_EQ(main.NameOf(app->Focus()), L"btnReset");

  // A year picked with the arrow keys: two stops on, to Reset again.
  ASSERT_TRUE(app->PickByKeys(year, 3));
  std::wstring nextYear = std::to_wstring(ThisYearNumber() + 1);
  EXPECT_EQ(Text(year), nextYear);
  EXPECT_EQ(Text(userArchive), prefix + nextYear + monthText + L".zip");
  EXPECT_EQ(main.NameOf(app->Focus()), L"btnReset");

  // With versioning off the month list is hidden: a year pick lands on Quit.
  app->Click(main.Control(L"optNo"));
  ASSERT_TRUE(app->PickByMouse(year, 0));
  EXPECT_EQ(Text(userArchive), prefix + std::to_wstring(ThisYearNumber() - 2) + L".zip");
  EXPECT_EQ(main.NameOf(app->Focus()), L"btnQuit");
}

TEST_F(Gui, FolderPickersFillTheSourceOrChangeNothingOnCancel) {
  Form main = Start();
  ASSERT_TRUE(main);
  HWND source = main.Control(L"TxtSrc");

  app->Click(main.Control(L"btnBrowseSpecific"));
  HWND picker = app->WaitFolderPicker();
  ASSERT_TRUE(picker);
  EXPECT_EQ(app->ActiveWindow(), picker) << "the picker is modal to the main window";
  EXPECT_FALSE(IsWindowEnabled(main.Hwnd()));
  ASSERT_TRUE(app->ClosePicker(picker, IDCANCEL));
  EXPECT_EQ(Text(source), L"");

  // Drive T: itself: desktop, My Computer, then its second drive (C:, T:, Z:).
  app->Click(main.Control(L"btnBrowseSpecific"));
  picker = app->WaitFolderPicker();
  ASSERT_TRUE(picker);
  app->TreeSearch(picker, L"My");
  app->TreeKeys(picker, {VK_RIGHT, VK_DOWN, VK_DOWN});
  ASSERT_TRUE(app->ClosePicker(picker, IDOK));
  EXPECT_EQ(Text(source), L"T:\\");
  EXPECT_EQ(Text(main.Control(L"txtSpecificDirectoryFiles")), L"T:\\*.*");
}

TEST_F(Gui, DestinationPickerCancelKeepsThePathAndStillCountsTheFolder) {
  Form main = Start();
  ASSERT_TRUE(main);
  HWND files = main.Control(L"txtFileCountDestination");
  if (Text(files).empty()) GTEST_SKIP() << "this build's metrics panels stay blank";
  EXPECT_EQ(Text(files), L"0");
  ASSERT_TRUE(MakeFile(L"T:\\Backups\\new.zip", 10));
  app->Click(main.Control(L"btnBrowseDefault"));
  HWND picker = app->WaitFolderPicker();
  ASSERT_TRUE(picker);
  ASSERT_TRUE(app->ClosePicker(picker, IDCANCEL));
  EXPECT_EQ(Text(main.Control(L"txtDefaultPath")), L"T:\\Backups");
  EXPECT_EQ(Text(files), L"1");
}

// Run once at 96 dpi and once more by the stage at 144 dpi.
TEST_F(Gui, WindowIsLaidOutFromItsTableAtTheScreensDpi) {
  Form main = Start();
  ASSERT_TRUE(main);
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  auto px = [&](int twips) { return ui::TwipsToPixels(twips, dpi); };
  RECT client;
  GetClientRect(main.Hwnd(), &client);
  EXPECT_EQ(client.right, px(8430)) << "at " << dpi << " dpi";
  EXPECT_EQ(client.bottom, px(6840)) << "at " << dpi << " dpi";
  LONG style = GetWindowLongW(main.Hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "fixed single border";
  EXPECT_TRUE(style & WS_SYSMENU) << "the close box stays";

  // Where controls sit in window client coordinates, whoever holds them.
  auto placed = [&](const wchar_t* name) {
    RECT rc;
    GetWindowRect(main.Control(name), &rc);
    MapWindowPoints(nullptr, main.Hwnd(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  };
  for (const wchar_t* name : {L"TxtSrc", L"txtFolderCountSpecific", L"btnQuit", L"btnHelp",
                              L"btnEULA", L"cmbFileNameMonth", L"optNo", L"frmMonth"}) {
    const ui::ControlDef& def = *ui::MainForm().Find(name);
    RECT rc = placed(name);
    EXPECT_NEAR(rc.left, px(def.left), 1) << Narrow(name);
    EXPECT_NEAR(rc.top, px(def.top), 1) << Narrow(name);
    EXPECT_NEAR(rc.right - rc.left, px(def.width), 1) << Narrow(name);
    if (def.kind != ui::Kind::ComboBox) {
      EXPECT_NEAR(rc.bottom - rc.top, px(def.height), 1) << Narrow(name);
    }
  }
  // Held by the frame, or by the window although inside the frame's rectangle.
  EXPECT_EQ(GetParent(main.Control(L"TxtSrc")), main.Control(L"frmSpecificDirectory"));
  EXPECT_EQ(GetParent(main.Control(L"txtFolderCountSpecific")), main.Hwnd());
  for (const wchar_t* name :
       {L"chkRecurseSpecific", L"chkRecurseUser", L"chkRecurseDestination", L"List1"}) {
    EXPECT_FALSE(Visible(main.Control(name))) << Narrow(name) << " must stay hidden";
  }
  EXPECT_TRUE(GetWindowLongW(main.Control(L"txtFolderSizeUser"), GWL_STYLE) & ES_RIGHT);
  EXPECT_FALSE(GetWindowLongW(main.Control(L"txtUsers"), GWL_STYLE) & ES_RIGHT);

  // Background colours as drawn: derived paths on button face, metrics boxes on window colour.
  app->Settle();
  auto colourAt = [&](const wchar_t* name, bool nearRight) {
    RECT rc = ClientRectOnScreen(main.Control(name));
    int x = nearRight ? rc.right - 4 : rc.left + 4;
    return GetPixel(screen, x, (rc.top + rc.bottom) / 2);
  };
  const struct {
    const wchar_t* name;
    bool nearRight;
    int colour;
  } boxes[] = {{L"txtExampleFileName", true, COLOR_BTNFACE},
               {L"txtSpecificUserFiles", true, COLOR_BTNFACE},
               {L"txtFileCountUser", false, COLOR_WINDOW},
               {L"txtDefaultPath", true, COLOR_WINDOW}};
  for (const auto& box : boxes) {
    // Painting comes after every other message: wait for it.
    COLORREF expected = GetSysColor(box.colour);
    EXPECT_TRUE(WaitFor([&] { return colourAt(box.name, box.nearRight) == expected; }, 10s))
        << Narrow(box.name) << ": got colour " << std::hex << colourAt(box.name, box.nearRight)
        << ", expected " << expected;
  }
  ReleaseDC(nullptr, screen);
}

TEST_F(Gui, TabFollowsTheTableOrder) {
  Form main = Start();
  ASSERT_TRUE(main);
  // Start-up moved the focus three stops on from the first one.
  EXPECT_EQ(main.NameOf(app->Focus()), L"TxtSrc");
  for (int i = 0; i < 30 && main.NameOf(app->Focus()) != L"btnBackupUser"; ++i) app->Tab();
  ASSERT_EQ(main.NameOf(app->Focus()), L"btnBackupUser");
  const wchar_t* expected[] = {L"txtDefaultPath",
                               L"btnBrowseDefault",
                               L"TxtSrc",
                               L"btnBrowseSpecific",
                               L"txtSpecificBackupFileName",
                               L"cmbFileNameYear",
                               L"cmbFileNameMonth",
                               L"btnReset",
                               L"btnQuit",
                               L"optYes",
                               L"txtUsers",
                               L"btnSpecificBackup",
                               L"btnDefaultDestination",
                               L"btnBrowseForUsers",
                               L"btnWinZip",
                               L"btnHelp",
                               L"btnEULA",
                               L"btnBackupUser"};
  for (const wchar_t* name : expected) {
    app->Tab();
    EXPECT_EQ(main.NameOf(app->Focus()), name);
  }
}

TEST_F(Gui, DefaultStoresTheDestinationAndMovesTheFocusOn) {
  Form main = Start();
  ASSERT_TRUE(main);
  HWND destination = main.Control(L"txtDefaultPath");
  app->ClearText(destination);
  app->Type(destination, L"T:\\Later");
  std::optional<MessageBoxInfo> box = ClickAndAnswer(main.Control(L"btnDefaultDestination"), IDNO);
  ASSERT_TRUE(box);
  EXPECT_TRUE(box->yesNo);
  EXPECT_FALSE(Exists(L"T:\\Later"));
  HANDLE file =
      CreateFileW(kSettingsFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  char bytes[64] = {};
  DWORD got = 0;
  ReadFile(file, bytes, sizeof bytes - 1, &got, nullptr);
  CloseHandle(file);
  EXPECT_EQ(std::string(bytes, got), "T:\\Later\r\n");
  EXPECT_EQ(main.NameOf(app->Focus()), L"btnBrowseForUsers");
}

TEST_F(Gui, HelpAndLicenceOpenOnceEachWithFreshText) {
  Form main = Start();
  ASSERT_TRUE(main);
  const struct {
    const wchar_t* button;
    const ui::FormDef& form;
    std::wstring text;
  } cases[] = {{L"btnHelp", ui::HelpForm(), ui::HelpText()},
               {L"btnEULA", ui::EulaForm(), ui::EulaText()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.button));
    app->Click(main.Control(c.button));
    Form first = app->WaitForm(c.form);
    ASSERT_TRUE(first);
    HWND box = first.Control(L"txtHelp");
    EXPECT_EQ(Text(box), c.text);
    // Typing and scrolling change only what is shown.
    app->Type(box, L"scribble");
    PostMessageW(box, WM_VSCROLL, SB_PAGEDOWN, 0);
    app->Settle();
    EXPECT_GT(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    app->Click(main.Control(c.button));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(first.Hwnd()); })) << "the old copy stays";
    Form second = app->WaitForm(c.form);
    ASSERT_TRUE(second);
    EXPECT_EQ(app->CountForms(c.form), 1);
    HWND fresh = second.Control(L"txtHelp");
    EXPECT_EQ(Text(fresh), c.text);
    EXPECT_EQ(SendMessageW(fresh, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "not shown from the top";
  }
  // Both stay open beside the main window, which stays usable: modeless, without an owner.
  Form help = app->FindForm(ui::HelpForm());
  ASSERT_TRUE(help);
  EXPECT_TRUE(app->FindForm(ui::EulaForm()));
  EXPECT_TRUE(IsWindowEnabled(main.Hwnd()));
  EXPECT_EQ(GetWindow(help.Hwnd(), GW_OWNER), nullptr);

  // Resizable, and resizing moves nothing inside.
  EXPECT_TRUE(GetWindowLongW(help.Hwnd(), GWL_STYLE) & WS_THICKFRAME);
  RECT before = ClientRectOnScreen(help.Control(L"btnClose"));
  RECT frame;
  GetWindowRect(help.Hwnd(), &frame);
  SetWindowPos(help.Hwnd(), nullptr, 0, 0, frame.right - frame.left + 120,
               frame.bottom - frame.top + 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  app->Settle();
  RECT after = ClientRectOnScreen(help.Control(L"btnClose"));
  EXPECT_TRUE(EqualRect(&before, &after)) << "the Close button moved";

  app->Click(help.Control(L"btnClose"));
  EXPECT_TRUE(WaitFor([&] { return !app->FindForm(ui::HelpForm()); }));
}

// The prefix's stand-in browser records each address in T:\browser-calls.txt and stays two
// seconds, as a browser would.
TEST_F(Gui, VendorLinkOpensTheAddressEachTimeWithoutWaiting) {
  const std::wstring calls = L"T:\\browser-calls.txt";
  ASSERT_TRUE(RemoveTree(calls));
  Form main = Start();
  ASSERT_TRUE(main);
  HWND link = main.Control(L"btnWinZip");
  EXPECT_EQ(Text(link), L"www.winzip.com");
  for (int click = 1; click <= 2; ++click) {
    auto before = std::chrono::steady_clock::now();
    app->Click(link);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1500ms) << "the window waited";
  }
  auto lines = [&] {
    std::vector<std::string> found;
    HANDLE file = CreateFileW(calls.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return found;
    char bytes[512] = {};
    DWORD got = 0;
    ReadFile(file, bytes, sizeof bytes - 1, &got, nullptr);
    CloseHandle(file);
    std::string text(bytes, got);
    for (size_t end; (end = text.find('\n')) != std::string::npos; text.erase(0, end + 1)) {
      found.push_back(text.substr(0, end));
    }
    return found;
  };
  ASSERT_TRUE(WaitFor([&] { return lines().size() == 2; }, 20s)) << "the shell was not asked twice";
  EXPECT_EQ(lines(),
            (std::vector<std::string>{"http://www.winzip.com/", "http://www.winzip.com/"}));
}

TEST_F(Gui, ResetClosesTheHelpWindowAndRebuildsTheMainWindow) {
  Form main = Start();
  ASSERT_TRUE(main);
  app->Type(main.Control(L"txtSpecificBackupFileName"), L"label");
  app->Click(main.Control(L"optNo"));
  app->Click(main.Control(L"btnHelp"));
  ASSERT_TRUE(app->WaitForm(ui::HelpForm()));

  HWND old = main.Hwnd();
  app->Click(main.Control(L"btnReset"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(old); })) << "the main window was not rebuilt";
  Form fresh = app->Main();
  ASSERT_TRUE(fresh);
  app->Settle();
  EXPECT_FALSE(app->FindForm(ui::HelpForm())) << "Help stays open";
  EXPECT_EQ(app->CountForms(ui::MainForm()), 1);
  EXPECT_EQ(Text(fresh.Control(L"txtSpecificBackupFileName")), L"");
  EXPECT_EQ(CheckState(fresh.Control(L"optYes")), BST_CHECKED);
  EXPECT_TRUE(Visible(fresh.Control(L"cmbFileNameMonth")));
  EXPECT_EQ(Text(fresh.Control(L"cmbFileNameMonth")), ThisMonth());
  EXPECT_EQ(Text(fresh.Control(L"txtUsers")), UserName());
}

TEST_F(Gui, QuitAndTheCloseBoxEndTheProgram) {
  Form main = Start();
  ASSERT_TRUE(main);
  app->Click(main.Control(L"btnBrowseForUsers"));
  app->Click(main.Control(L"btnHelp"));
  ASSERT_TRUE(app->WaitForm(ui::HelpForm()));
  ASSERT_TRUE(app->FindForm(ui::BrowseUsersForm()));
  PostMessageW(main.Control(L"btnQuit"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(main.Control(L"btnQuit"), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(app->WaitExit(10s)) << "Quit left the program running";

  main = Start();
  ASSERT_TRUE(main);
  PostMessageW(main.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(app->WaitExit(10s)) << "the close box left the program running";
}

// The executable's own resources: the program icon and the manifest.
TEST(Resources, IconAndManifest) {
  HMODULE exe = LoadLibraryExW(TesselExe().c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(exe) << Narrow(TesselExe());
#pragma pack(push, 2)
  struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitsPerPixel;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  HRSRC group = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_TRUE(group);
  const auto* header = static_cast<const WORD*>(LockResource(LoadResource(exe, group)));
  ASSERT_TRUE(header);
  const auto* entries = reinterpret_cast<const GroupEntry*>(header + 3);
  std::set<std::pair<int, int>> images;
  for (WORD i = 0; i < header[2]; ++i) {
    images.insert({entries[i].width, entries[i].bitsPerPixel});
  }
  std::set<std::pair<int, int>> expected;
  for (int size : {16, 32, 48}) {
    for (int bits : {4, 8, 32}) expected.insert({size, bits});
  }
  EXPECT_EQ(images, expected);

  HRSRC manifest = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_TRUE(manifest);
  std::string text(static_cast<const char*>(LockResource(LoadResource(exe, manifest))),
                   SizeofResource(exe, manifest));
  for (const char* needed : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             "level=\"asInvoker\"", ">true</dpiAware>"}) {
    EXPECT_NE(text.find(needed), std::string::npos) << "manifest lacks " << needed;
  }
  EXPECT_TRUE(FindResourceW(exe, MAKEINTRESOURCEW(1), RT_VERSION)) << "no version resource";
  FreeLibrary(exe);
}

}  // namespace
}  // namespace tessel::gui
