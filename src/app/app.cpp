// Window lifetimes. Windows are destroyed at once when asked; their objects are freed from the
// message loop afterwards, because the request often comes from inside one of their own events.
#include "app/app.h"

#include "ui/text_forms.h"

namespace tessel::app {

namespace {

constexpr wchar_t kServiceClass[] = L"TesselService";
constexpr UINT kReapMessage = WM_APP + 10;
constexpr UINT kReloadMessage = WM_APP + 11;

}  // namespace

App::App(HINSTANCE instance, Platform& platform, win32::Win32Dialogs& dialogs)
    : instance_(instance), platform_(platform), dialogs_(dialogs) {
  WNDCLASSEXW cls = {};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = ServiceProc;
  cls.hInstance = instance;
  cls.lpszClassName = kServiceClass;
  RegisterClassExW(&cls);
  service_ = CreateWindowExW(0, kServiceClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             instance, this);
}

App::~App() {
  dialogs_.SetOwner(nullptr);
  browse_.reset();
  eula_.reset();
  help_.reset();
  main_.reset();
  retired_.clear();
  if (service_) DestroyWindow(service_);
}

LRESULT CALLBACK App::ServiceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<App*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && message == kReapMessage) {
    self->retired_.clear();
    return 0;
  }
  if (self && message == kReloadMessage) {
    self->reloading_ = true;
    if (self->main_) self->main_->Destroy();
    self->reloading_ = false;
    self->retired_.clear();
    if (!self->quitting_ && !self->BuildMainWindow()) self->Quit();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

template <typename W>
void App::Watch(std::unique_ptr<W>& slot) {
  slot->onDestroyed = [this, &slot](FormWindow* window) {
    if (slot.get() != window) return;
    if (window == main_.get()) {
      dialogs_.SetOwner(nullptr);
      // Gone other than by Reset (the system closed it, say): nothing is left to run for.
      if (!reloading_ && !quitting_) Quit();
    }
    Retire(std::unique_ptr<FormWindow>(slot.release()));
  };
}

void App::Retire(std::unique_ptr<FormWindow> window) {
  retired_.push_back(std::move(window));
  if (service_) PostMessageW(service_, kReapMessage, 0, 0);
}

bool App::Start() {
  return service_ && BuildMainWindow();
}

bool App::BuildMainWindow() {
  main_ = std::make_unique<MainFrame>(platform_, *this);
  Watch(main_);
  if (!main_->Create()) {
    main_.reset();
    return false;
  }
  // Message boxes and the folder picker are modal to the main window, also before it shows.
  dialogs_.SetOwner(main_->Hwnd());
  MainFrame* frame = main_.get();
  frame->Presenter().Form_Load();
  // Shown even when the load sequence ended early (no add-on).
  if (main_.get() == frame) frame->Show();
  return true;
}

void App::CloseBrowseUsers() {
  if (browse_) browse_->Destroy();
}

void App::CloseEula() {
  if (eula_) eula_->Destroy();
}

void App::CloseHelp() {
  if (help_) help_->Destroy();
}

void App::OpenBrowseUsers() {
  CloseBrowseUsers();
  browse_ = std::make_unique<BrowseUsersWindow>(platform_, *this);
  Watch(browse_);
  if (!browse_->Create()) {
    browse_.reset();
    return;
  }
  BrowseUsersWindow* window = browse_.get();
  window->Presenter().Form_Load();
  window->Show();
}

void App::OpenText(std::unique_ptr<TextWindow>& slot, const ui::FormDef& form, std::wstring text) {
  if (slot) slot->Destroy();
  slot = std::make_unique<TextWindow>(form, std::move(text));
  Watch(slot);
  if (!slot->Create()) {
    slot.reset();
    return;
  }
  slot->Form_Load();
  slot->Show();
}

void App::OpenHelp() {
  OpenText(help_, ui::HelpForm(), ui::HelpText());
}

void App::OpenEula() {
  OpenText(eula_, ui::EulaForm(), ui::EulaText());
}

void App::ReloadMainWindow() {
  // The request comes from the main window's own Reset button: rebuild once that event is over.
  if (service_) PostMessageW(service_, kReloadMessage, 0, 0);
}

void App::Quit() {
  quitting_ = true;
  if (main_ && main_->Hwnd()) ShowWindow(main_->Hwnd(), SW_HIDE);
  PostQuitMessage(0);
}

void App::ActivateMainWindow() {
  if (main_ && main_->Hwnd()) SetForegroundWindow(main_->Hwnd());
}

void App::Reset2() {
  if (main_) main_->Reset2();
}

bool App::PreTranslate(MSG& msg) {
  FormWindow* windows[] = {main_.get(), help_.get(), eula_.get(), browse_.get()};
  for (FormWindow* window : windows) {
    if (window && window->PreTranslate(msg)) return true;
  }
  return false;
}

int App::Run() {
  MSG msg;
  while (!quitting_) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // Nothing queued: the figures put off while keys came can be made now. As in a window's
      // procedure, a failure ends the event, not the program.
      try {
        if (main_) main_->Presenter().InputPaused();
      } catch (...) {
      }
      if (quitting_ || GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    }
    if (msg.message == WM_QUIT) break;
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

void App::ArchiverRunning(bool running) {
  FormWindow* windows[] = {main_.get(), help_.get(), eula_.get(), browse_.get()};
  if (running) {
    foreground_ = nullptr;
    for (FormWindow* window : windows) {
      if (window && window->Hwnd() == GetForegroundWindow()) foreground_ = window->Hwnd();
    }
  }
  for (FormWindow* window : windows) {
    if (window) window->Enable(!running);
  }
  taskbar_.ShowBusy(main_ ? main_->Hwnd() : nullptr, running);
  // The archiver's window may have taken the front, and Windows gives it back to no disabled
  // window when that closes.
  if (!running && foreground_ && IsWindow(foreground_) && GetForegroundWindow() != foreground_) {
    SetForegroundWindow(foreground_);
  }
}

}  // namespace tessel::app
