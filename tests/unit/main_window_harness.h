// A main window presenter on the fake platform whose view and shell record into one journal,
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

enum class Ev { Changed, Focus, Centre, Show, Message, Refresh, Launch, Shell };

struct Event {
  Ev kind = Ev::Changed;
  Ctl ctl{};
  int n = 0;             // tab stops of a focus move
  std::wstring text;     // a changed field's new text, a message, a shell call
  BackupSettings state;  // the settings a metrics refresh started from
};

class Harness : public MainView, public Shell {
 public:
  explicit Harness(bool winzip = true, bool addon = true) {
    if (winzip) fake.fs.AddFile(kWinZipProbePath, 1);
    if (addon) fake.fs.AddFile(kAddonProbePath, 1);
    fake.dialogs.onMessage = [this](const fake::Message& m) { Log(Ev::Message).text = m.text; };
    fake.dialogs.onBusy = [this](bool busy) {
      if (busy) Log(Ev::Refresh).state = w->Settings();
    };
    fake.sys.onLaunch = [this] { Log(Ev::Launch); };
    w = std::make_unique<MainWindow>(fake.platform, *this, *this);
  }

  const BackupSettings& S() const { return w->Settings(); }

  // Derived fields written, as "name=text" joined by " | ".
  std::wstring Writes() const {
    std::wstring out;
    for (const Event& e : log) {
      const wchar_t* name = DerivedName(e.ctl);
      if (e.kind != Ev::Changed || !name) continue;
      out += (out.empty() ? L"" : L" | ") + std::wstring(name) + L"=" + e.text;
    }
    return out;
  }
  // Metrics refreshes begun, one letter per panel: D(estination), U(ser), S(pecific).
  std::string Refreshes() const {
    std::string out;
    for (size_t i = 0; i < log.size(); ++i) {
      if (log[i].kind != Ev::Refresh) continue;
      for (size_t k = i + 1; k < log.size(); ++k) {
        if (char panel = PanelOf(log[k]); panel) {
          out += panel;
          break;
        }
      }
    }
    return out;
  }
  std::string Focus() const { return Joined(Ev::Focus); }
  // The journal's kinds in order, for checking what came before what: C(entre), S(how),
  // M(essage), R(efresh), L(aunch).
  std::string Sequence() const {
    std::string out;
    for (const Event& e : log) out += "cFCSMRLs"[static_cast<int>(e.kind)];
    return out;
  }
  std::vector<std::wstring> Messages() const {
    std::vector<std::wstring> out;
    for (const Event& e : log) {
      if (e.kind == Ev::Message) out.push_back(e.text);
    }
    return out;
  }
  std::vector<std::wstring> ShellCalls() const {
    std::vector<std::wstring> out;
    for (const Event& e : log) {
      if (e.kind == Ev::Shell) out.push_back(e.text);
    }
    return out;
  }

  // MainView.
  void Changed(Ctl c) override {
    Event& e = Log(Ev::Changed);
    e.ctl = c;
    if (const std::wstring* text = TextField(w->Settings(), c)) e.text = *text;
    if (const ComboState* list = ListField(w->Settings(), c)) e.text = list->text;
  }
  void MoveFocus(int n) override { Log(Ev::Focus).n = n; }
  void Centre() override { Log(Ev::Centre); }
  void Show() override { Log(Ev::Show); }
  // Shell.
  void CloseBrowseUsers() override { Log(Ev::Shell).text = L"CloseBrowseUsers"; }
  void CloseEula() override { Log(Ev::Shell).text = L"CloseEula"; }
  void CloseHelp() override { Log(Ev::Shell).text = L"CloseHelp"; }
  void OpenBrowseUsers() override { Log(Ev::Shell).text = L"OpenBrowseUsers"; }
  void OpenHelp() override { Log(Ev::Shell).text = L"OpenHelp"; }
  void OpenEula() override { Log(Ev::Shell).text = L"OpenEula"; }
  void ReloadMainWindow() override {
    Log(Ev::Shell).text = L"ReloadMainWindow";
    w = std::make_unique<MainWindow>(fake.platform, *this, *this);
    w->Form_Load();
  }
  void Quit() override { Log(Ev::Shell).text = L"Quit"; }

  fake::FakePlatform fake;
  std::unique_ptr<MainWindow> w;
  std::vector<Event> log;

 private:
  Event& Log(Ev kind) {
    log.emplace_back();
    log.back().kind = kind;
    return log.back();
  }
  std::string Joined(Ev kind) const {
    std::string out;
    for (const Event& e : log) {
      if (e.kind == kind) out += (out.empty() ? "" : ",") + std::to_string(e.n);
    }
    return out;
  }
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
  static char PanelOf(const Event& e) {
    if (e.kind != Ev::Changed) return 0;
    switch (e.ctl) {
      case Ctl::txtFileCountDestination:
      case Ctl::txtFolderCountDestination:
      case Ctl::txtFolderSizeDestination:
        return 'D';
      case Ctl::txtFileCountUser:
      case Ctl::txtFolderCountUser:
      case Ctl::txtFolderSizeUser:
        return 'U';
      case Ctl::txtFileCountSpecific:
      case Ctl::txtFolderCountSpecific:
      case Ctl::txtFolderSizeSpecific:
        return 'S';
      default:
        return 0;
    }
  }
};

inline std::wstring StoredFile() {
  return L"C:\\Program Files\\Tessel\\DefaultDestinationPath.txt";
}

}  // namespace tessel::testing
