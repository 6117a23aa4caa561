// Start-up: the full load sequence of the main window and the smaller one that refills the year
// and month lists.
#include <string>

#include "destination/default_destination.h"
#include "destination/settings_file.h"
#include "main_window/main_window.h"

namespace tessel {

namespace {

std::wstring TwoDigits(int n) {
  std::wstring text = std::to_wstring(n);
  return n < 10 ? L"0" + text : text;
}

}  // namespace

// Month entries "01" to "12", then the five years around this one; selecting the current entries
// runs the list reactions, which rebuild the derived fields and move the focus on.
void MainWindow::FillLists() {
  Date today = platform_.sys.Today();
  for (int month = 1; month <= 12; ++month) s_.cmbFileNameMonth.entries.push_back(TwoDigits(month));
  view_.Changed(Ctl::cmbFileNameMonth);
  SelectListEntry(Ctl::cmbFileNameMonth, today.month - 1);

  for (int year = today.year - 2; year <= today.year + 2; ++year) {
    s_.cmbFileNameYear.entries.push_back(std::to_wstring(year));
  }
  view_.Changed(Ctl::cmbFileNameYear);
  SelectListEntry(Ctl::cmbFileNameYear, 2);
}

void MainWindow::Form_Load() {
  view_.Centre();
  std::wstring drive = SystemDriveLetter(platform_.sys);

  // A failure is reported; a missing or empty settings file must not leave the destination empty.
  if (CreateDefaultPathFile(platform_)) {
    for (const std::wstring& line : ReadDefaultPathFile(platform_)) {
      SetText(Ctl::txtDefaultPath, line);
    }
    if (s_.txtDefaultPath.empty()) SetText(Ctl::txtDefaultPath, BuiltInDestination(drive));
  } else {
    SetText(Ctl::txtDefaultPath, BuiltInDestination(drive));
  }

  FillLists();

  if (SelectedUserName.empty()) SetText(Ctl::txtUsers, GetNetworkUserName(platform_.sys));

  GetMetricsDestination();
  GetMetricsUser();

  WriteArchivePathsAndPattern(drive, UsersSpelling::Users);
  SelectedUserName.clear();

  // The window is shown by the caller even when the add-on is missing.
  if (!CheckArchiver()) return;
  view_.Show();
}

void MainWindow::Form_Load2() {
  FillLists();
  GetMetricsDestination();
  GetMetricsUser();
  SelectedUserName.clear();
}

}  // namespace tessel
