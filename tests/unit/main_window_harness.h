// A main window presenter on the fake platform whose view and shell record what they are asked,
// together with the messages shown, the metrics refreshes begun and the archiver launches.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/main_window.h"
#include "core/settings_fields.h"
#include "fake_platform.h"
#include "jobs/presence_check.h"

namespace tessel::testing {

inline const std::wstring kStoredFile = L"C:\\Program Files\\Tessel\\DefaultDestinationPath.txt";

// What a harness has recorded since it was made or cleared.
struct Record {
  std::wstring writes;    // derived fields written, "Name=text" joined by " | "
  std::string refreshes;  // one letter per refresh: D(estination), U(ser), S(pecific)
  std::string focus;      // tab stops of each focus move
  std::string sequence;   // C(entre), S(how), M(essage), R(efresh), L(aunch) in order
  std::vector<std::wstring> messages;
  std::wstring shell;
  BackupSettings lastRefresh;  // what the last refresh started from
  bool refreshPending = false;
};

class Harness : public MainView, public Shell, public Record {
 public:
  explicit Harness(bool winzip = true, bool addon = true) {
    if (winzip) fake.fs.AddFile(kWinZipProbePath, 1);
    if (addon) fake.fs.AddFile(kAddonProbePath, 1);
    fake.dialogs.onMessage = [this](const fake::Message& m) {
      sequence += 'M';
      messages.push_back(m.text);
    };
    fake.dialogs.onBusy = [this](bool busy) {
      if (!busy) return;
      refreshPending = true;
      lastRefresh = w->Settings();
    };
    fake.sys.onLaunch = [this] { sequence += 'L'; };
    w = std::make_unique<MainWindow>(fake.platform, *this, *this);
  }
  const BackupSettings& S() const { return w->Settings(); }
  void Clear() { static_cast<Record&>(*this) = Record{}; }

  // MainView.
  void Changed(Ctl c) override {
    const std::wstring* text = TextField(S(), c);
    if (const wchar_t* name = DerivedName(c)) {
      writes += (writes.empty() ? L"" : L" | ") + std::wstring(name) + L"=" + *text;
    }
    if (char panel = PanelOf(c); panel && refreshPending) {
      refreshes += panel;  // the first box a refresh writes tells its panel
      sequence += 'R';
      refreshPending = false;
    }
  }
  void MoveFocus(int n) override { focus += (focus.empty() ? "" : ",") + std::to_string(n); }
  void Centre() override { sequence += 'C'; }
  void Show() override { sequence += 'S'; }
  // Shell.
  void CloseBrowseUsers() override { shell += L"CloseBrowseUsers "; }
  void CloseEula() override { shell += L"CloseEula "; }
  void CloseHelp() override { shell += L"CloseHelp "; }
  void OpenBrowseUsers() override { shell += L"OpenBrowseUsers "; }
  void OpenHelp() override { shell += L"OpenHelp "; }
  void OpenEula() override { shell += L"OpenEula "; }
  void ReloadMainWindow() override {
    shell += L"Reload ";
    w = std::make_unique<MainWindow>(fake.platform, *this, *this);
    w->Form_Load();
  }
  void Quit() override { shell += L"Quit "; }

  fake::FakePlatform fake;
  std::unique_ptr<MainWindow> w;

 private:
  static const wchar_t* DerivedName(Ctl c) {
    switch (c) {
      case Ctl::txtExampleFileName:
        return L"Example";
      case Ctl::txtSpecificUserFileName:
        return L"UserFile";
      case Ctl::txtSpecificUserFiles:
        return L"UserFiles";
      case Ctl::txtSpecificDirectoryFiles:
        return L"DirFiles";
      default:
        return nullptr;
    }
  }
  static char PanelOf(Ctl c) {
    int i = static_cast<int>(c);
    auto in = [i](Ctl first, Ctl last) {
      return i >= static_cast<int>(first) && i <= static_cast<int>(last);
    };
    if (in(Ctl::txtFileCountDestination, Ctl::txtFolderSizeDestination)) return 'D';
    if (in(Ctl::txtFileCountUser, Ctl::txtFolderSizeUser)) return 'U';
    if (in(Ctl::txtFileCountSpecific, Ctl::txtFolderSizeSpecific)) return 'S';
    return 0;
  }
};

}  // namespace tessel::testing
