// One metrics panel refresh: blank the boxes, walk the folder once, write the three figures.
#include "metrics/metrics.h"

#include "metrics/digit_grouping.h"
#include "metrics/folder_scan.h"
#include "metrics/panel_source.h"

namespace tessel {

namespace {

// Puts the default pointer back however the refresh ends.
class BusyPointer {
 public:
  explicit BusyPointer(Dialogs& dialogs) : dialogs_(dialogs) { dialogs_.SetBusyPointer(true); }
  ~BusyPointer() { dialogs_.SetBusyPointer(false); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  Dialogs& dialogs_;
};

}  // namespace

bool GetMetrics(Panel panel, const BackupSettings& settings, Platform& platform,
                const BoxWriter& write, const StopCheck& stop) {
  BusyPointer busy(platform.dialogs);
  auto box = [panel](PanelBox kind) { return PanelControl(panel, kind); };
  for (PanelBox kind : {PanelBox::Files, PanelBox::Folders, PanelBox::Bytes}) write(box(kind), L"");

  std::optional<std::wstring> root = PanelRoot(panel, settings);
  if (!root) return true;
  std::optional<FolderFigures> figures =
      ScanFolder(platform.fs, *root, PanelRecurses(panel, settings), stop);
  if (!figures) return false;
  std::wstring separator = platform.sys.ThousandsSeparator();
  write(box(PanelBox::Files), GroupDigits(figures->files, separator));
  write(box(PanelBox::Bytes), GroupDigits(figures->bytes, separator));
  write(box(PanelBox::Folders), GroupDigits(figures->folders, separator));
  return true;
}

}  // namespace tessel
