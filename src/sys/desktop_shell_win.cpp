// Starting a program through the desktop shell (see desktop_shell_win.h).
#include "sys/desktop_shell_win.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shobjidl.h>

#include "base/file_access_win.h"
#include "base/scoped_handle_win.h"
#include "sys/system_library_win.h"

namespace orvel {

namespace {

// The running shell's window list, and the service that gives its top-level browser.
constexpr CLSID kShellWindowsClass = {0x9ba05972, 0xf6a8, 0x11cf, {0xa4, 0x42, 0x00, 0xa0, 0xc9, 0x0a, 0x8f, 0x39}};
constexpr GUID kTopLevelBrowserService = {0x4c96be40, 0x915c, 0x11cf, {0x99, 0xd3, 0x00, 0xaa, 0x00, 0x4a, 0xe8, 0x37}};

// Owns one COM interface pointer, of any interface.
class ComPointer {
 public:
  ComPointer() = default;
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  ~ComPointer() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  explicit operator bool() const { return pointer_ != nullptr; }
  // The pointer as the interface it was asked for.
  template <typename Interface>
  Interface* As() const {
    return static_cast<Interface*>(pointer_);
  }
  // For calls that hand out a new pointer.
  void** Out() { return reinterpret_cast<void**>(&pointer_); }
  bool Query(REFIID interface_id, ComPointer& other) const {
    return pointer_ != nullptr && SUCCEEDED(pointer_->QueryInterface(interface_id, other.Out())) && other;
  }

 private:
  IUnknown* pointer_ = nullptr;
};

// The string calls of automation. oleaut32.dll is loaded from the system folder, and
// only on this way: nothing else in the installer needs it.
class AutomationLibrary {
 public:
  AutomationLibrary() : library_(LoadSystemLibrary("oleaut32.dll")) {
    if (!library_) return;
    allocate_ = EntryPoint<AllocateFn>(library_.Get(), "SysAllocStringLen");
    free_ = EntryPoint<FreeFn>(library_.Get(), "SysFreeString");
  }
  bool IsUsable() const { return allocate_ != nullptr && free_ != nullptr; }
  BSTR Allocate(UINT length) const { return allocate_(nullptr, length); }
  void Free(BSTR text) const { free_(text); }

 private:
  using AllocateFn = BSTR(WINAPI*)(const OLECHAR*, UINT);
  using FreeFn = void(WINAPI*)(BSTR);

  ScopedLibrary library_;
  AllocateFn allocate_ = nullptr;
  FreeFn free_ = nullptr;
};

// An ANSI text as an automation string; null when it cannot be made.
class AutomationString {
 public:
  AutomationString(const AutomationLibrary& library, const std::string& text) : library_(library) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    text_ = library.Allocate(static_cast<UINT>(length));
    if (text_ != nullptr)
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), text_, length);
  }
  AutomationString(const AutomationString&) = delete;
  AutomationString& operator=(const AutomationString&) = delete;
  ~AutomationString() {
    if (text_ != nullptr) library_.Free(text_);
  }
  BSTR Get() const { return text_; }

 private:
  const AutomationLibrary& library_;
  BSTR text_ = nullptr;
};

VARIANT StringVariant(BSTR text) {
  VARIANT value = {};
  value.vt = VT_BSTR;
  value.bstrVal = text;
  return value;
}

// The desktop's IShellDispatch2, reached from the shell's window list.
bool FindDesktopDispatch(ComPointer& shell) {
  ComPointer windows;
  if (FAILED(::CoCreateInstance(kShellWindowsClass, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows),
                                windows.Out())))
    return false;
  VARIANT none = {};  // VT_EMPTY
  long window = 0;
  ComPointer desktop;
  if (windows.As<IShellWindows>()->FindWindowSW(&none, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                                                 reinterpret_cast<IDispatch**>(desktop.Out())) != S_OK ||
      !desktop)
    return false;
  ComPointer services;
  ComPointer browser;
  ComPointer view;
  ComPointer background;
  ComPointer folder_view;
  ComPointer application;
  return desktop.Query(__uuidof(IServiceProvider), services) &&
         SUCCEEDED(services.As<IServiceProvider>()->QueryService(kTopLevelBrowserService, __uuidof(IShellBrowser),
                                                                 browser.Out())) &&
         browser &&
         SUCCEEDED(browser.As<IShellBrowser>()->QueryActiveShellView(reinterpret_cast<IShellView**>(view.Out()))) &&
         view &&
         SUCCEEDED(view.As<IShellView>()->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), background.Out())) &&
         background.Query(__uuidof(IShellFolderViewDual), folder_view) &&
         SUCCEEDED(folder_view.As<IShellFolderViewDual>()->get_Application(
             reinterpret_cast<IDispatch**>(application.Out()))) &&
         application.Query(__uuidof(IShellDispatch2), shell);
}

}  // namespace

ComApartment::ComApartment()
    : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComApartment::~ComApartment() {
  if (initialised_) ::CoUninitialize();
}

bool ShellExecuteThroughDesktop(const std::string& file, const std::string& folder, int show) {
  const AutomationLibrary library;
  if (!library.IsUsable()) return false;
  ComPointer shell;
  if (!FindDesktopDispatch(shell)) return false;
  const AutomationString file_text(library, file);
  const AutomationString folder_text(library, folder);
  const AutomationString verb(library, "open");
  if (file_text.Get() == nullptr || folder_text.Get() == nullptr || verb.Get() == nullptr) return false;
  VARIANT no_parameters = {};  // VT_EMPTY
  VARIANT show_state = {};
  show_state.vt = VT_I4;
  show_state.lVal = show;
  return SUCCEEDED(shell.As<IShellDispatch2>()->ShellExecute(file_text.Get(), no_parameters, StringVariant(folder_text.Get()),
                                       StringVariant(verb.Get()), show_state));
}

}  // namespace orvel
