// The presenter's doors for field changes and clicks, its small state helpers and the buttons
// that only hand over to the shell.
#include "main_window/main_window.h"

#include "core/control_table.h"
#include "core/vendor_link.h"
#include "jobs/presence_check.h"

namespace tessel {

MainWindow::MainWindow(Platform& platform, MainView& view, Shell& shell)
    : platform_(platform), view_(view), shell_(shell) {}

void MainWindow::SetText(Ctl field, const std::wstring& text) {
  std::wstring* target = TextField(s_, field);
  if (!target) return;
  *target = text;
  view_.Changed(field);
  // The input fields' reactions; display boxes have none.
  if (field == Ctl::txtDefaultPath) return txtDefaultPath_Change();
  if (field == Ctl::TxtSrc) return TxtSrc_Change();
  if (field == Ctl::txtSpecificBackupFileName) return txtSpecificBackupFileName_Change();
  if (field == Ctl::txtUsers) txtUsers_Change();
}

void MainWindow::SetListText(Ctl list, const std::wstring& text) {
  ComboState* combo = ListField(s_, list);
  if (!combo) return;
  combo->text = text;
  // Text that no longer matches the selected entry means the entry is no longer what is shown.
  if (combo->selected >= 0 && combo->entries[static_cast<size_t>(combo->selected)] != text) {
    combo->selected = -1;
  }
  view_.Changed(list);
}

void MainWindow::SelectListEntry(Ctl list, int index) {
  CompletePending();
  ComboState* combo = ListField(s_, list);
  if (!combo || index < 0 || static_cast<size_t>(index) >= combo->entries.size()) return;
  combo->selected = index;
  combo->text = combo->entries[static_cast<size_t>(index)];
  view_.Changed(list);
  if (list == Ctl::cmbFileNameMonth) {
    cmbFileNameMonth_Click();
  } else {
    cmbFileNameYear_Click();
  }
}

void MainWindow::Click(Ctl control) {
  if (control != Ctl::btnReset && control != Ctl::btnQuit) CompletePending();
  switch (control) {
    case Ctl::btnBackupUser:
      return btnBackupUser_Click();
    case Ctl::btnSpecificBackup:
      return btnSpecificBackup_Click();
    case Ctl::btnDefaultDestination:
      return btnDefaultDestination_Click();
    case Ctl::btnBrowseDefault:
      return btnBrowseDefault_Click();
    case Ctl::btnBrowseSpecific:
      return btnBrowseSpecific_Click();
    case Ctl::btnBrowseForUsers:
      return btnBrowseForUsers_Click();
    case Ctl::btnHelp:
      return btnHelp_Click();
    case Ctl::btnEULA:
      return btnEULA_Click();
    case Ctl::btnWinZip:
      return btnWinZip_Click();
    case Ctl::btnReset:
      return btnReset_Click();
    case Ctl::btnQuit:
      return btnQuit_Click();
    case Ctl::optYes:
      return optYes_Click();
    case Ctl::optNo:
      return optNo_Click();
    default:
      return;
  }
}

void MainWindow::Write(Ctl field, std::wstring text) {
  std::wstring* target = TextField(s_, field);
  if (!target) return;
  *target = std::move(text);
  view_.Changed(field);
}

void MainWindow::SetVisible(Ctl control, bool visible) {
  bool* field = FieldIn(s_, control, &ControlField::visible);
  if (!field) return;
  *field = visible;
  view_.Changed(control);
}

void MainWindow::SetCheck(Ctl box, int value) {
  *FieldIn(s_, box, &ControlField::check) = value;
  view_.Changed(box);
}

void MainWindow::SelectOption(bool yes) {
  s_.optYes = yes;
  s_.optNo = !yes;
  view_.Changed(Ctl::optYes);
  view_.Changed(Ctl::optNo);
}

void MainWindow::ClearList(Ctl list) {
  ComboState* combo = ListField(s_, list);
  *combo = ComboState{};
  view_.Changed(list);
}

bool MainWindow::CheckArchiver() {
  return CheckWinZipInstalled(platform_, [this](PresenceBox box, int value) {
    SetCheck(box == PresenceBox::WinZip ? Ctl::chkWinZip : Ctl::ChkAddon, value);
  });
}

void MainWindow::WriteArchivePathsAndPattern(std::wstring_view drive, UsersSpelling spelling) {
  Write(Ctl::txtExampleFileName, SpecificArchivePath(s_));
  Write(Ctl::txtSpecificUserFileName, UserArchivePath(s_));
  Write(Ctl::txtSpecificUserFiles, UserDocumentsPattern(s_, drive, spelling));
}

void MainWindow::btnBrowseForUsers_Click() {
  shell_.OpenBrowseUsers();
}

void MainWindow::btnHelp_Click() {
  shell_.OpenHelp();
}

void MainWindow::btnEULA_Click() {
  shell_.OpenEula();
}

void MainWindow::btnWinZip_Click() {
  platform_.sys.OpenWebAddress(kVendorAddress);
}

}  // namespace tessel
