// End-to-end: the real tessel.exe under Wine, driven through window messages from this process.
// One check per binding of the windows to their presenters; the rules themselves are proved by
// the native tests. Needs the test drives T: and V: (scripts/test.d/40-gui.sh maps them).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <thread>
#include <vector>

#include "app/fonts.h"
#include "metrics/digit_grouping.h"
#include "metrics/folder_scan.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "ui/browse_users_form.h"
#include "ui/main_form.h"
#include "ui/text_forms.h"
#include "uidriver/driver.h"

namespace tessel::gui {
namespace {

namespace fs = std::filesystem;

std::string Call(const std::wstring& archive, const std::wstring& source) {
  return win32::WideToUtf8(L"\"C:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r \"" + archive +
                           L"\" \"" + source + L"\"\n");
}

class Gui : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(L"T:\\")) << "drive T: is missing: run through scripts/test.d/40-gui.sh";
    SetCursorPos(0, 0);  // no tool tip may cover what a test reads
    for (auto path : {L"T:\\Backups", L"T:\\Photos", L"C:\\users\\jsmith"}) fs::remove_all(path);
    ASSERT_TRUE(MakeFile(L"T:\\Photos\\2023\\hills.jpg") && InstallArchiver() &&
                StoreDestination("T:\\Backups"));
    app.emplace(Tessel::Start(DriverFolder() + L"..\\..\\..\\src\\app\\tessel.exe").value());
    ASSERT_TRUE((main = app->WaitForm(ui::MainForm())) && app->Settle());
    year = Text(C(L"cmbFileNameYear"));
    month = Text(C(L"cmbFileNameMonth"));
  }

  HWND C(std::wstring_view name) const { return main.Control(name); }

  std::optional<Tessel> app;
  Form main;
  std::wstring year, month;  // as start-up selected them
};

// Run at 96 dpi and by the stage once more at 144 dpi. Fonts belong to their process: the
// captions are measured in the fonts the program makes for the controls' styles at this DPI.
TEST_F(Gui, WindowIsBuiltFromItsTableAndEveryCaptionFits) {
  const ui::FormDef& form = ui::MainForm();
  HDC dc = CreateCompatibleDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  auto px = [&](int twips) { return ui::TwipsToPixels(twips, dpi); };
  app::FontSet fonts;
  fonts.Create(form, dpi);
  RECT rc;
  GetClientRect(main.hwnd, &rc);
  EXPECT_TRUE(rc.right == px(form.clientWidth) && rc.bottom == px(form.clientHeight)) << dpi;
  for (const ui::ControlDef& def : form.controls) {
    SCOPED_TRACE(win32::WideToUtf8(def.name) + " at " + std::to_string(dpi) + " dpi");
    HWND h = C(def.name);  // found only inside its container
    ASSERT_TRUE(h);
    EXPECT_EQ(IsWindowVisible(h) != FALSE, !(def.flags & ui::kHidden));
    GetWindowRect(h, &rc);
    MapWindowPoints(nullptr, main.hwnd, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_NEAR(rc.left, px(def.left), 1);
    EXPECT_NEAR(rc.top, px(def.top), 1);
    EXPECT_NEAR(rc.right - rc.left, px(def.width), 1);
    int height = rc.bottom - rc.top;  // a combo box's is its drop-down list's
    EXPECT_NEAR(height, def.kind == ui::Kind::ComboBox ? height : px(def.height), 1);
    if (def.caption.empty() || (def.flags & ui::kHidden)) continue;

    GetClientRect(h, &rc);
    // What the check mark, a button's edges or a frame's line before its caption leave.
    int margin = def.kind == ui::Kind::Label ? 0 : def.kind == ui::Kind::Button ? 4 : 18;
    int room = rc.right - MulDiv(margin, dpi, 96);
    SelectObject(dc, fonts.Get(def.font));
    SIZE text;
    // A vertical caption's letters stand one under another.
    int lines = def.flags & ui::kVertical ? static_cast<int>(def.caption.size()) : 1;
    for (size_t at = 0, step = def.caption.size() / lines; at < def.caption.size(); at += step) {
      GetTextExtentPoint32W(dc, &def.caption[at], static_cast<int>(step), &text);
      EXPECT_LE(text.cx, room) << "the caption is cut at " << at;
    }
    EXPECT_LE(text.cy * lines, rc.bottom);
  }
  DeleteDC(dc);
}

// A face draws every character it has no glyph for as the same box, so a name drawn as boxes
// looks exactly like as many characters that no face has (U+0378 is unassigned). The list draws
// through GDI, where a TrueType face's links reach other faces: under Wine the forms' Tahoma has
// Cyrillic itself and reaches CJK only through the face scripts/wine.sh (wine_gui) stands in.
// Then a user is picked the way assistive tools select, without the notifications a user's clicks
// send, and so are the year and versioning: what the controls show is what is backed up.
TEST_F(Gui, UserNamesAreDrawnWithGlyphsAndPickAndBackupTakeWhatTheControlsShow) {
  const std::wstring names[] = {L"\u0416\u0434\u0430\u043d\u043e\u0432\u0430",
                                L"\u738b\u9759\u6021"};
  auto boxes = [](const std::wstring& name) { return std::wstring(name.size(), L'\u0378'); };
  std::vector<std::wstring> folders = {L"C:\\users\\jsmith"};
  for (const std::wstring& name : names) {
    folders.insert(folders.end(), {L"C:\\users\\" + name, L"C:\\users\\" + boxes(name)});
  }
  for (auto& folder : folders) ASSERT_TRUE(MakeFile(folder + L"\\Documents\\letter.txt"));
  ASSERT_TRUE(MakeFile(L"T:\\Backups\\old.zip"));
  ASSERT_TRUE(app->Click(C(L"btnBrowseForUsers")));
  Form browse = app->WaitForm(ui::BrowseUsersForm());
  ASSERT_TRUE(browse && app->WaitDrawn(browse));
  HWND list = browse.Control(L"lstUsers");
  // What the screen shows of an entry, found by its exact text, less its row's edges, where the
  // focus rectangle is drawn; nothing when it is not listed.
  auto drawn = [&](const std::wstring& text) {
    std::vector<COLORREF> pixels;
    RECT row = {};
    for (LRESULT i = Send(list, LB_GETCOUNT).value_or(0) - 1; i >= 0 && pixels.empty(); --i) {
      std::wstring item(static_cast<size_t>(Send(list, LB_GETTEXTLEN, i).value_or(0)) + 1, L'\0');
      Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
      if (item.c_str() != text) continue;
      Send(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&row));
      MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
      HDC screen = GetDC(nullptr);
      for (int y = row.top + 1; y < row.bottom - 1; ++y) {
        for (int x = row.left + 1; x < row.right - 1; ++x) pixels.push_back(GetPixel(screen, x, y));
      }
      ReleaseDC(nullptr, screen);
    }
    return pixels;
  };
  for (const std::wstring& name : names) {
    SCOPED_TRACE(win32::WideToUtf8(name));
    std::vector<COLORREF> glyphs = drawn(name), missing = drawn(boxes(name));
    ASSERT_FALSE(glyphs.empty() || missing.empty()) << "not listed";
    EXPECT_TRUE(drawn(name) == glyphs) << "the screen is not read back unchanged";
    EXPECT_TRUE(missing != glyphs) << "drawn as missing-glyph boxes";
  }
  auto name = reinterpret_cast<LPARAM>(L"Jsmith");
  ASSERT_GE(Send(list, LB_SELECTSTRING, -1, name).value_or(-1), 0);
  ASSERT_TRUE(app->Click(browse.Control(L"cmdUsers")));
  EXPECT_FALSE(IsWindow(browse.hwnd));
  EXPECT_EQ(Text(C(L"txtUsers")), L"Jsmith");
  EXPECT_EQ(Text(C(L"txtSpecificUserFiles")), L"C:\\Users\\Jsmith\\Documents\\*.*");

  Send(C(L"cmbFileNameYear"), CB_SETCURSEL, 0);
  std::wstring first = Text(C(L"cmbFileNameYear"));
  Send(C(L"optYes"), BM_SETCHECK, BST_UNCHECKED);
  Send(C(L"optNo"), BM_SETCHECK, BST_CHECKED);
  ASSERT_TRUE(app->Click(C(L"btnBackupUser")));
  EXPECT_FALSE(IsWindowVisible(C(L"cmbFileNameMonth"))) << "versioning off hides the month";
  EXPECT_EQ(ArchiverCalls(),
            Call(L"T:\\Backups\\Jsmith-" + first + L".zip", L"C:\\Users\\Jsmith\\Documents\\*.*"));
  for (const std::wstring& folder : folders) fs::remove_all(folder);
}

TEST_F(Gui, TypingReachesThePresenterAndZipAsksThenRunsTheArchiver) {
  ASSERT_TRUE(app->Type(C(L"TxtSrc"), L"T:\\Photos"));
  ASSERT_TRUE(app->Type(C(L"txtSpecificBackupFileName"), L"my photos"));
  EXPECT_EQ(Text(C(L"txtSpecificDirectoryFiles")), L"T:\\Photos\\*.*");
  EXPECT_EQ(Text(C(L"txtExampleFileName")), L"T:\\Backups\\my photos-" + year + month + L".zip");
  EXPECT_EQ(Text(C(L"txtFolderCountSpecific")), L"1");

  ASSERT_TRUE(app->Click(C(L"btnSpecificBackup")));
  EXPECT_EQ(app->Answer(IDYES),
            L"The default folder, T:\\Backups , doesn't exist.\r\nWould you like it created?");
  EXPECT_EQ(ArchiverCalls(),
            Call(L"T:\\Backups\\My Photos-" + year + month + L".zip", L"T:\\Photos\\"));
}

TEST_F(Gui, TabVisitsEveryStopInTableOrderAndAYearPickMovesOn) {
  auto key = [&](WPARAM vk) {
    return app->Post(app->Focus(), {{WM_KEYDOWN, vk, 1}, {WM_KEYUP, vk, 0xC0000001}});
  };
  // On the control or, in a combo box, on its edit part.
  auto at = [&](std::wstring_view name) {
    HWND focus = app->Focus();
    return focus && (focus == C(name) || GetParent(focus) == C(name));
  };
  EXPECT_TRUE(at(L"TxtSrc")) << "start-up moves three stops on";
  // Round from there and three stops more; of the options only the selected one is a stop.
  std::vector<const ui::ControlDef*> stops = ui::TabOrder(ui::MainForm());
  std::erase_if(stops, [](const ui::ControlDef* c) { return c->name == L"optNo"; });
  size_t from = std::ranges::find(stops, ui::MainForm().Find(L"TxtSrc")) - stops.begin();
  for (size_t i = 1; i <= stops.size() + 3; ++i) {
    ASSERT_TRUE(key(VK_TAB));
    EXPECT_TRUE(at(stops[(from + i) % stops.size()]->name)) << i << " stops on";
  }
  // The arrow key picks next year: the derived names follow, the focus moves two stops on.
  std::wstring user = Text(C(L"txtUsers"));
  ASSERT_TRUE(key(VK_DOWN));
  std::wstring next = std::to_wstring(std::stoi(year) + 1);
  EXPECT_EQ(Text(C(L"txtSpecificUserFileName")),
            L"T:\\Backups\\" + user + L"-" + next + month + L".zip");
  EXPECT_TRUE(at(L"btnReset"));
}

// A walk of V: (50,000 files) keeps the window answering. Typed ahead with real keys while each
// prefix's walk runs, the field holds every character and, at rest, the panel shows the figures
// of a whole walk of the text.
TEST_F(Gui, TypedAheadTheFieldIsWholeAndItsFiguresExact) {
  const std::wstring path = L"V:\\folder00001";
  ASSERT_TRUE(fs::exists(path)) << "drive V: is missing: run through scripts/test.d/40-gui.sh";
  HWND field = C(L"txtDefaultPath");
  auto walk = std::async(std::launch::async, Send, field, WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(L"V:\\"), 5s);
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(Send(main.hwnd, WM_NULL, 0, 0, 250ms) &&
              walk.wait_for(0s) != std::future_status::ready)
      << "no answer while the walk ran";
  walk.get();

  ASSERT_TRUE(ClickWithMouse(field) && WaitFor([&] { return app->Focus() == field; }));
  Send(field, EM_SETSEL, 0, -1);  // the first key replaces the text
  for (wchar_t c : path) PressKey(c), std::this_thread::sleep_for(40ms);
  ASSERT_TRUE(WaitFor([&] { return Text(field) == path; })) << win32::WideToUtf8(Text(field));
  ASSERT_TRUE(app->Settle());
  win32::Win32FileSystem files;
  win32::Win32System sys;
  FolderFigures whole = ScanFolder(files, path, true).value();
  auto shown = [&](uint64_t n) { return GroupDigits(n, sys.ThousandsSeparator()); };
  EXPECT_EQ(Text(C(L"txtFileCountDestination")), shown(whole.files));
  EXPECT_EQ(Text(C(L"txtFolderSizeDestination")), shown(whole.bytes));
  EXPECT_EQ(Text(C(L"txtFolderCountDestination")), shown(whole.folders));
}

// While the archiver runs the window answers, refuses a second ZIP click and acts on a text set
// from outside only once the run is over.
TEST_F(Gui, DuringABackupTheWindowAnswersAndStartsNoSecondRun) {
  ASSERT_TRUE(InstallArchiver(3000) && MakeFile(L"T:\\Backups\\old.zip"));
  HWND zip = C(L"btnBackupUser");
  ASSERT_TRUE(PostMessageW(zip, BM_CLICK, 0, 0));
  ASSERT_TRUE(WaitFor([] { return !ArchiverCalls().empty(); }));
  EXPECT_FALSE(IsWindowEnabled(main.hwnd));
  EXPECT_TRUE(Send(main.hwnd, WM_NULL, 0, 0, 1s));
  ASSERT_TRUE(ClickWithMouse(zip));
  Send(C(L"txtSpecificBackupFileName"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"late"));
  EXPECT_EQ(Text(C(L"txtExampleFileName")), L"") << "acted on inside the backup";

  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main.hwnd) != FALSE; }) && app->Settle());
  std::string calls = ArchiverCalls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), '\n'), 1) << calls;
  EXPECT_EQ(Text(C(L"txtExampleFileName")), L"T:\\Backups\\late-" + year + month + L".zip");
}

TEST_F(Gui, HelpAndLicenceOpenOnceEachFromTheTopAndClose) {
  const std::tuple<const wchar_t*, const ui::FormDef&, std::wstring> cases[] = {
      {L"btnHelp", ui::HelpForm(), ui::HelpText()}, {L"btnEULA", ui::EulaForm(), ui::EulaText()}};
  for (const auto& [button, form, text] : cases) {
    SCOPED_TRACE(win32::WideToUtf8(button));
    ASSERT_TRUE(app->Click(C(button)));
    Form first = app->WaitForm(form);
    ASSERT_TRUE(first && app->Click(C(button)));
    EXPECT_FALSE(IsWindow(first.hwnd)) << "the old copy stays";
    Form again = app->WaitForm(form);
    EXPECT_EQ(Text(again.Control(L"txtHelp")), text);
    EXPECT_EQ(GetWindow(again.hwnd, GW_OWNER), nullptr) << "modeless, without an owner";
    ASSERT_TRUE(app->Click(again.Control(L"btnClose")));
    EXPECT_FALSE(IsWindow(again.hwnd));
  }
}

TEST_F(Gui, ResetRebuildsTheWindowAndQuitEndsTheProgram) {
  ASSERT_TRUE(app->Click(C(L"optNo")));
  ASSERT_TRUE(app->Click(C(L"btnHelp")) && app->WaitForm(ui::HelpForm()));
  HWND old = main.hwnd;
  ASSERT_TRUE(app->Click(C(L"btnReset")));
  EXPECT_FALSE(IsWindow(old));
  ASSERT_TRUE(main = app->WaitForm(ui::MainForm()));
  EXPECT_FALSE(app->WaitForm(ui::HelpForm(), 0ms));
  EXPECT_EQ(Send(C(L"optYes"), BM_GETCHECK), BST_CHECKED);
  EXPECT_TRUE(IsWindowVisible(C(L"cmbFileNameMonth")));
  EXPECT_EQ(Text(C(L"cmbFileNameMonth")), month);

  ASSERT_TRUE(app->Click(C(L"btnBrowseForUsers")) && app->WaitForm(ui::BrowseUsersForm()));
  EXPECT_TRUE(app->Click(C(L"btnQuit")) && app->WaitExit());
}

}  // namespace
}  // namespace tessel::gui
