// The main window's presenter: owns BackupSettings and carries out every reaction of the main
// window by its own name. It never sees a window handle; the view mirrors what it changes.
#pragma once

#include <string>

#include "core/backup_settings.h"
#include "core/controls.h"
#include "core/main_view.h"
#include "core/naming.h"
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

  // The user typed into a list's text part: stored and mirrored, no reaction runs.
  void SetListText(Ctl list, const std::wstring& text);

  // An entry of cmbFileNameYear or cmbFileNameMonth became selected (by the user or the program):
  // selection and text stored and mirrored, then the list's click reaction runs.
  void SelectListEntry(Ctl list, int index);

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

  // Metrics panels.
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

  // Settings file: false when the folder or the file could not be made (already reported).
  bool CreateDefaultPathFile();
  void ReadTextFile();

  void ZipSpecificUser();
  void ZipUserDefined();

  Platform& platform_;
  MainView& view_;
  Shell& shell_;
  BackupSettings s_;
};

}  // namespace tessel
