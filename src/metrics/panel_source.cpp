// The three panels' sources and Recurse boxes.
#include "metrics/panel_source.h"

#include "core/text.h"

namespace tessel {

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
  Ctl box = PanelControl(panel, PanelBox::Recurse);
  return *FieldIn(settings, box, &ControlField::check) == kChecked;
}

}  // namespace tessel
