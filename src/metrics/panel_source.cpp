// The three panels' sources, boxes and Recurse boxes.
#include "metrics/panel_source.h"

#include "core/text.h"

namespace tessel {

PanelBoxes BoxesOf(Panel panel) {
  switch (panel) {
    case Panel::Destination:
      return {Ctl::txtFileCountDestination, Ctl::txtFolderCountDestination,
              Ctl::txtFolderSizeDestination};
    case Panel::User:
      return {Ctl::txtFileCountUser, Ctl::txtFolderCountUser, Ctl::txtFolderSizeUser};
    case Panel::Specific:
      break;
  }
  return {Ctl::txtFileCountSpecific, Ctl::txtFolderCountSpecific, Ctl::txtFolderSizeSpecific};
}

std::optional<std::wstring> PanelRoot(Panel panel, const BackupSettings& settings) {
  switch (panel) {
    case Panel::Destination:
      return QualifyPath(settings.txtDefaultPath);
    case Panel::User: {
      // The pattern ends in "\Documents\*.*"; cutting three characters leaves the folder.
      const std::wstring& pattern = settings.txtSpecificUserFiles;
      if (pattern.size() <= 3) return std::nullopt;
      return QualifyPath(std::wstring_view(pattern).substr(0, pattern.size() - 3));
    }
    case Panel::Specific:
      break;
  }
  return QualifyPath(settings.TxtSrc);
}

bool PanelRecurses(Panel panel, const BackupSettings& settings) {
  switch (panel) {
    case Panel::Destination:
      return settings.chkRecurseDestination == kChecked;
    case Panel::User:
      return settings.chkRecurseUser == kChecked;
    case Panel::Specific:
      break;
  }
  return settings.chkRecurseSpecific == kChecked;
}

}  // namespace tessel
