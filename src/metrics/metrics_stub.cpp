// Placeholder until the folder scans land: empties the panel's boxes.
#include "metrics/metrics.h"

namespace tessel {

void GetMetrics(Panel panel, const BackupSettings&, Platform& platform, const BoxWriter& write) {
  platform.dialogs.SetBusyPointer(true);
  switch (panel) {
    case Panel::Destination:
      write(Ctl::txtFileCountDestination, L"");
      write(Ctl::txtFolderCountDestination, L"");
      write(Ctl::txtFolderSizeDestination, L"");
      break;
    case Panel::User:
      write(Ctl::txtFileCountUser, L"");
      write(Ctl::txtFolderCountUser, L"");
      write(Ctl::txtFolderSizeUser, L"");
      break;
    case Panel::Specific:
      write(Ctl::txtFileCountSpecific, L"");
      write(Ctl::txtFolderCountSpecific, L"");
      write(Ctl::txtFolderSizeSpecific, L"");
      break;
  }
  platform.dialogs.SetBusyPointer(false);
}

}  // namespace tessel
