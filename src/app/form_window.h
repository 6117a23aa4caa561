// A top-level window built from a design table: controls, fonts, tool tips, frames that hold
// controls, keyboard navigation in the table's tab order, and the busy pointer.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <vector>

#include "app/fonts.h"
#include "ui/form.h"

namespace tessel::app {

class FormWindow {
 public:
  explicit FormWindow(const ui::FormDef& form);
  virtual ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // Creates the window hidden, with every control of the design. False when Windows refuses.
  bool Create();
  void Destroy();
  HWND Hwnd() const { return hwnd_; }
  bool Alive() const { return hwnd_ != nullptr; }

  HWND Control(int id) const;
  // The design row of the table control that `hwnd` is or lies inside (a combo box's edit part
  // counts as the combo box); nullptr for anything else.
  const ui::ControlDef* ControlOf(HWND hwnd) const;

  // Keyboard handling for the message loop: TAB in table order, then the dialog manager for
  // Enter, Space, arrow keys between option buttons and the rest. True when consumed.
  bool PreTranslate(MSG& msg);

  // Moves the focus `stops` tab stops on from the current one (or the remembered one while the
  // window is not active).
  void MoveFocusBy(int stops);

  // Enables or disables the window for input, as a modal dialog does to its owner; enabled again
  // and active, it has the focus back where it was.
  void Enable(bool enable);

  // Called once the window has been destroyed; the object itself stays valid until its owner
  // drops it.
  std::function<void(FormWindow*)> onDestroyed;

  // The window procedure of every form; binds the object at WM_NCCREATE.
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  virtual void OnCommand(int id, int code, HWND control);
  virtual void OnClose();
  // Messages not handled here; the default passes them to DefWindowProc.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  const ui::FormDef& form_;
  int dpi_ = 96;

 private:
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void Postpone(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  HWND CreateControl(const ui::ControlDef& def);
  void StackControls();
  void AddToolTip(HWND control, std::wstring_view text);
  bool CanTakeFocus(const ui::ControlDef& def) const;
  HWND NextTabStop(HWND from, bool forward) const;
  void FocusControl(HWND control);
  void OnActivate(bool active);
  LRESULT OnCtlColor(HDC dc, HWND control);
  void DrawVerticalButton(const DRAWITEMSTRUCT& item);

  HWND hwnd_ = nullptr;
  HWND toolTip_ = nullptr;
  HWND savedFocus_ = nullptr;
  FontSet fonts_;
  std::map<int, HWND> controls_;
  std::map<HWND, const ui::ControlDef*> defs_;
  std::vector<HWND> frameBorders_;  // the group boxes drawn inside container frames
};

// Registers the window classes the forms use; call once at start.
bool RegisterFormClasses(HINSTANCE instance);

// Shared by the files that make up FormWindow.
namespace detail {
inline constexpr wchar_t kFrameClass[] = L"TesselFrame";
HINSTANCE Instance();  // as given to RegisterFormClasses
}  // namespace detail

}  // namespace tessel::app
