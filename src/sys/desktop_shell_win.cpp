// Starting a program through the desktop shell (see desktop_shell_win.h).
#include "sys/desktop_shell_win.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shobjidl.h>

#include "sys/scoped_handle_win.h"
#include "sys/system_library_win.h"

namespace orvel {

namespace {

// The running shell's window list, and the service that gives its top-level browser.
constexpr CLSID kShellWindowsClass = {0x9ba05972, 0xf6a8, 0x11cf, {0xa4, 0x42, 0x00, 0xa0, 0xc9, 0x0a, 0x8f, 0x39}};
constexpr GUID kTopLevelBrowserService = {0x4c96be40, 0x915c, 0x11cf, {0x99, 0xd3, 0x00, 0xaa, 0x00, 0x4a, 0xe8, 0x37}};

// Owns one COM interface pointer.
template <typename Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  ~ComPointer() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For calls that hand out a new pointer.
  void** Out() { return reinterpret_cast<void**>(&pointer_); }
  Interface** TypedOut() { return &pointer_; }

  template <typename Other>
  bool QueryInto(ComPointer<Other>& other) const {
    return pointer_ != nullptr && SUCCEEDED(pointer_->QueryInterface(__uuidof(Other), other.Out())) && other;
  }

 private:
  Interface* pointer_ = nullptr;
};

// The string calls of automation. oleaut32.dll is loaded from the system folder, and
// only on this way: nothing else in the installer needs it.
class AutomationLibrary {
 public:
  AutomationLibrary() : library_(LoadSystemLibrary("oleaut32.dll")) {
    if (!library_) return;
    allocate_ = reinterpret_cast<AllocateFn>(reinterpret_cast<void*>(::GetProcAddress(library_.Get(), "SysAllocStringLen")));
    free_ = reinterpret_cast<FreeFn>(reinterpret_cast<void*>(::GetProcAddress(library_.Get(), "SysFreeString")));
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
bool FindDesktopDispatch(ComPointer<IShellDispatch2>& shell) {
  ComPointer<IShellWindows> windows;
  if (FAILED(::CoCreateInstance(kShellWindowsClass, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows),
                                windows.Out())))
    return false;
  VARIANT none = {};  // VT_EMPTY
  long window = 0;
  ComPointer<IDispatch> desktop;
  if (windows->FindWindowSW(&none, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.TypedOut()) != S_OK ||
      !desktop)
    return false;
  ComPointer<IServiceProvider> services;
  ComPointer<IShellBrowser> browser;
  ComPointer<IShellView> view;
  ComPointer<IDispatch> background;
  ComPointer<IShellFolderViewDual> folder_view;
  ComPointer<IDispatch> application;
  return desktop.QueryInto(services) &&
         SUCCEEDED(services->QueryService(kTopLevelBrowserService, __uuidof(IShellBrowser), browser.Out())) &&
         browser && SUCCEEDED(browser->QueryActiveShellView(view.TypedOut())) && view &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), background.Out())) &&
         background.QueryInto(folder_view) && SUCCEEDED(folder_view->get_Application(application.TypedOut())) &&
         application.QueryInto(shell);
}

}  // namespace

bool ProcessIsElevated() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  ScopedKernelHandle owned(token);
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  return ::GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size) &&
         type == TokenElevationTypeFull;
}

ComApartment::ComApartment()
    : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComApartment::~ComApartment() {
  if (initialised_) ::CoUninitialize();
}

bool ShellExecuteThroughDesktop(const std::string& file, const std::string& folder, int show) {
  const AutomationLibrary library;
  if (!library.IsUsable()) return false;
  ComPointer<IShellDispatch2> shell;
  if (!FindDesktopDispatch(shell)) return false;
  const AutomationString file_text(library, file);
  const AutomationString folder_text(library, folder);
  const AutomationString verb(library, "open");
  if (file_text.Get() == nullptr || folder_text.Get() == nullptr || verb.Get() == nullptr) return false;
  VARIANT no_parameters = {};  // VT_EMPTY
  VARIANT show_state = {};
  show_state.vt = VT_I4;
  show_state.lVal = show;
  return SUCCEEDED(shell->ShellExecute(file_text.Get(), no_parameters, StringVariant(folder_text.Get()),
                                       StringVariant(verb.Get()), show_state));
}

}  // namespace orvel
