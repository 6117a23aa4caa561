// Declarative window designs: one row per control, walked by the window builder and checked by
// tests. Positions are in twips (1/1440 inch) relative to the window's client area.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace tessel::ui {

enum class Kind {
  Frame,          // captioned border; may hold other controls
  Label,          // static text
  TextBox,        // single-line edit
  MultiLineText,  // multi-line edit, vertical scroll bar, lines wrapped at the box's width
  Button,
  CheckBox,
  Option,    // option (radio) button; one group per container
  ComboBox,  // editable text with a drop-down list
  ListBox,   // single selection
};

enum class FontStyle { Regular, Bold, BoldUnderline };

// Flags beyond the kind.
enum Flag : unsigned {
  kNone = 0,
  kHidden = 1u << 0,      // never shown
  kRightAlign = 1u << 1,  // text flush right
  kButtonFace = 1u << 2,  // button-face background instead of the window colour
  kDisplay = 1u << 3,     // written by the program only: a read-only box that is no tab stop, or a
                          // check box that a click does not toggle
  kChecked = 1u << 4,     // design value of a check box or option button
  kVertical = 1u << 5,    // narrow, tall button: caption letters stacked
};

inline constexpr int kWindow = -1;  // container of controls held by the window itself

// A control's window identifier is this plus its table id; clear of IDOK, IDCANCEL and the rest
// that the dialog manager sends on Enter and Escape, and of the ids that controls give their own
// parts (a combo box's edit part is 1001).
inline constexpr int kControlIdBase = 0x4000;

struct ControlDef {
  int id;                  // the control's identifier within its window
  std::wstring_view name;  // the control's own name
  Kind kind;
  std::wstring_view caption;     // empty: none
  std::wstring_view toolTip;     // empty: none
  int left, top, width, height;  // window client coordinates, twips
  int tabIndex;
  int container;  // id of the frame that holds the control, or kWindow
  FontStyle font;
  unsigned flags = kNone;
};

enum class Border {
  FixedSingle,  // not resizable, no minimise or maximise box, close box kept
  Sizable,      // the usual resizable window with all title-bar buttons
};

struct FormDef {
  std::wstring_view name;
  std::wstring_view caption;
  int clientWidth, clientHeight;  // twips
  Border border;
  std::wstring_view fontFace;
  int fontSizeHundredths;  // point size times 100 (8.25 pt is 825)
  std::span<const ControlDef> controls;

  const ControlDef* Find(int id) const;
  const ControlDef* Find(std::wstring_view controlName) const;
};

// Whether the control is a keyboard stop at all: labels, frames, hidden controls and display text
// boxes never are. (Of a group of option buttons only the selected one is, which the window
// decides.)
bool TakesFocus(const ControlDef& control);

// The controls that take the focus, in ascending tab index.
std::vector<const ControlDef*> TabOrder(const FormDef& form);

// Twips to pixels at `dpi` dots per inch (15 twips a pixel at 96), rounded to nearest.
int TwipsToPixels(int twips, int dpi);

// Where a control sits inside its container: its window position less the frame's, in twips.
struct Offset {
  int left, top;
};
Offset PositionInContainer(const FormDef& form, const ControlDef& control);

}  // namespace tessel::ui
