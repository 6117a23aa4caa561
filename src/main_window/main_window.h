// The main window's presenter: owns BackupSettings and carries out every reaction of the main
// window by its own name. It never sees a window handle; the view mirrors what it changes.
#pragma once

#include <array>
#include <string>

#include "core/backup_settings.h"
#include "core/controls.h"
#include "core/naming.h"
#include "jobs/backup_jobs.h"
#include "main_window/main_view.h"
#include "metrics/metrics.h"
#include "platform/platform.h"

namespace tessel {

class MainWindow {
 public:
  MainWindow(Platform& platform, MainView& view, Shell& shell);

  const BackupSettings& Settings() const { return s_; }

  // The one door for input fields (txtDefaultPath, TxtSrc, txtSpecificBackupFileName, txtUsers):
  // stores the text, tells the view, and runs the field's change reaction, whether the user typed
  // it or the program assigned it.
  void SetText(Ctl field, const std::wstring& text);

  // The user edited an input field (a key typed, a deletion, a paste): as SetText, except that
  // the panel refresh it starts is put off while more input already waits, and cut short when
  // input arrives while it runs, since its figures would be overwritten before anyone saw them.
  // The panel's boxes are then left empty, as while a refresh runs, and the panel pending.
  void EditText(Ctl field, const std::wstring& text);

  // Input has paused: the pending panels are refreshed, destination, user, then specific
  // directory. New input may cut these short again; they stay pending then.
  void InputPaused();

  // The user typed into a list's text part: stored and mirrored, no reaction runs.
  void SetListText(Ctl list, const std::wstring& text);

  // An entry of cmbFileNameYear or cmbFileNameMonth became selected (by the user or the program):
  // pending panels are refreshed, then selection and text stored and mirrored, then the list's
  // click reaction runs.
  void SelectListEntry(Ctl list, int index);

  // A button or option of the window was clicked: pending panels are refreshed to the end first,
  // so the reaction runs on the very state it would have found had every keystroke's refresh
  // run; not for Reset and Quit, which drop the panels. Then the control's click reaction runs.
  void Click(Ctl control);

  // Start-up.
  void Form_Load();
  void Form_Load2();

  // Field reactions.
  void txtDefaultPath_Change();
  void txtSpecificBackupFileName_Change();
  void TxtSrc_Change();
  void txtUsers_Change();
  void cmbFileNameMonth_Click();
  void cmbFileNameYear_Click();

  // Versioning, reset and quit. An option's click selects it; clicking the option that is already
  // selected changes nothing.
  void optYes_Click();
  void optNo_Click();
  // Refreshes pending panels first, as a click does.
  void Reset2();
  // Asks the shell to rebuild the main window, which destroys this presenter: nothing runs after.
  void btnReset_Click();
  void btnQuit_Click();

  // Backups.
  void btnBackupUser_Click();
  void btnSpecificBackup_Click();

  // Destination.
  void btnDefaultDestination_Click();
  void btnBrowseDefault_Click();
  void btnBrowseSpecific_Click();

  // Secondary windows and the vendor link.
  void btnBrowseForUsers_Click();
  void btnHelp_Click();
  void btnEULA_Click();
  void btnWinZip_Click();

  // Metrics panels. Run to the end, except for the refresh of a field the user is editing.
  void GetMetricsDestination();
  void GetMetricsUser();
  void GetMetricsSpecific();

 private:
  // Writes a text field (derived field or metrics box) and mirrors it; no reaction runs.
  void Write(Ctl field, std::wstring text);
  void SetVisible(Ctl control, bool visible);
  void SetCheck(Ctl box, int value);
  void SelectOption(bool yes);
  void ClearList(Ctl list);
  void FillLists();
  bool CheckArchiver();
  // The three derived fields that versioning, reset and start-up rewrite together.
  void WriteArchivePathsAndPattern(std::wstring_view drive, UsersSpelling spelling);
  void VersioningOn();
  // Refills both lists (their reactions run), moves the focus on two stops and rewrites the user
  // archive path from the lists' new texts, even for an empty user.
  void RefillListsAndRewriteUserArchive();

  void ZipSpecificUser();
  void ZipUserDefined();
  // Quotes refused, drive checked, folder made, then one archiver run (the shell told while it
  // runs) and the destination's figures.
  void Run(const BackupJob& job);

  // One panel refresh. When `mayStop`, waiting input puts it off or cuts it short: its boxes stay
  // empty and the panel pending.
  void Refresh(Panel panel, bool mayStop);
  // Refreshes every pending panel to the end.
  void CompletePending();

  Platform& platform_;
  MainView& view_;
  Shell& shell_;
  BackupSettings s_;
  std::array<bool, 3> pending_{};  // by Panel: figures owed for the field's current text
  bool editing_ = false;           // inside EditText
};

}  // namespace tessel
