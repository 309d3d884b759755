#include "app/speech/uia_window_windows.h"

#include <ole2.h>
// Not uiautomation.h: its uiautomationcoreapi.h names a parameter `new`, which C++ refuses.
#include <uiautomationclient.h>
#include <uiautomationcore.h>

#include <atomic>

namespace {

// Documented values that mingw-w64's headers lack, or that C++ cannot include.
constexpr int kWindowControlType = 50032;  // UIA_WindowControlTypeId
constexpr long kUiaRootObjectId = -25;     // UiaRootObjectId
constexpr int kMostTitleCharacters = 256;

// What the program calls in UIAutomationCore.dll, for which mingw-w64 has no import library.
// Loaded on first use: a game no screen reader asks about loads none of it.
struct UiaCalls {
    HRESULT(WINAPI* raiseNotification)
    (IRawElementProviderSimple*, NotificationKind, NotificationProcessing, BSTR, BSTR) = nullptr;
    LRESULT(WINAPI* returnProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*) = nullptr;
    HRESULT(WINAPI* hostProvider)(HWND, IRawElementProviderSimple**) = nullptr;
};

template <typename Call>
void Find(HMODULE library, const char* name, Call& call) {
    call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

const UiaCalls& Uia() {
    static const UiaCalls calls = [] {
        UiaCalls found;
        // From the system's folder only, never one planted beside the game.
        const HMODULE library =
            LoadLibraryExW(L"UIAutomationCore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (library == nullptr) return found;
        Find(library, "UiaRaiseNotificationEvent", found.raiseNotification);
        Find(library, "UiaReturnRawElementProvider", found.returnProvider);
        Find(library, "UiaHostProviderFromHwnd", found.hostProvider);
        return found;
    }();
    return calls;
}

// The window as a screen reader sees it: its title as its name, the window control type. All
// else (place, focus, what lies inside) comes from the provider Windows makes for any window,
// its host. No patterns: the window is read, not operated. A COM object, so it deletes itself
// when the last reference goes.
class WindowProvider final : public IRawElementProviderSimple {
public:
    explicit WindowProvider(HWND window) : window_(window) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (id != __uuidof(IUnknown) && id != __uuidof(IRawElementProviderSimple)) {
            return E_NOINTERFACE;
        }
        *object = static_cast<IRawElementProviderSimple*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
        if (options == nullptr) return E_POINTER;
        // Called on the window's thread, through COM, as the calls GLFW's window gets.
        *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider |
                                                ProviderOptions_UseComThreading);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown** pattern) override {
        if (pattern == nullptr) return E_POINTER;
        *pattern = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override {
        if (value == nullptr) return E_POINTER;
        value->vt = VT_EMPTY;
        if (property == UIA_NamePropertyId) {
            wchar_t title[kMostTitleCharacters] = L"";
            GetWindowTextW(window_, title, kMostTitleCharacters);
            value->bstrVal = SysAllocString(title);
            if (value->bstrVal != nullptr) value->vt = VT_BSTR;
        } else if (property == UIA_ControlTypePropertyId) {
            value->vt = VT_I4;
            value->lVal = kWindowControlType;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    get_HostRawElementProvider(IRawElementProviderSimple** host) override {
        if (host == nullptr) return E_POINTER;
        *host = nullptr;
        return Uia().hostProvider != nullptr ? Uia().hostProvider(window_, host) : E_FAIL;
    }

private:
    HWND window_;
    std::atomic<ULONG> references_{1};
};

// The program's one window, whose procedure has no room for state of its own.
struct AutomatedWindow {
    WNDPROC glfwProcedure = nullptr;
    IRawElementProviderSimple* provider = nullptr;
    bool handedOver = false;  // UI Automation holds the provider
};
AutomatedWindow automated;

LRESULT CALLBACK AnswerAutomation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC glfwProcedure = automated.glfwProcedure;
    if (message == WM_GETOBJECT && static_cast<long>(lParam) == kUiaRootObjectId &&
        Uia().returnProvider != nullptr) {
        automated.handedOver = true;
        return Uia().returnProvider(window, wParam, lParam, automated.provider);
    }
    if (message == WM_DESTROY) {
        // UI Automation lets go of the provider, and GLFW's procedure gets the window back.
        if (automated.handedOver) Uia().returnProvider(window, 0, 0, nullptr);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(glfwProcedure));
        automated.provider->Release();
        automated = {};
    }
    return CallWindowProcW(glfwProcedure, window, message, wParam, lParam);
}

class WindowNotifier : public UiaNotifier {
public:
    explicit WindowNotifier(IRawElementProviderSimple* provider) : provider_(provider) {
        if (provider_ != nullptr) provider_->AddRef();
    }
    ~WindowNotifier() override {
        if (provider_ != nullptr) provider_->Release();
    }

    // Only a missing call counts as "cannot": a notification that fails is one text lost.
    bool Raise(const Notification& notification) override {
        if (provider_ == nullptr || Uia().raiseNotification == nullptr) return false;
        const BSTR text = SysAllocStringLen(notification.text.data(),
                                            static_cast<UINT>(notification.text.size()));
        const BSTR activity = SysAllocString(notification.activityId.c_str());
        if (text != nullptr && activity != nullptr) {
            Uia().raiseNotification(provider_, notification.kind, notification.processing, text,
                                    activity);
        }
        SysFreeString(text);
        SysFreeString(activity);
        return true;
    }

private:
    IRawElementProviderSimple* provider_;
};

}  // namespace

void AnswerAutomationFor(HWND window) {
    if (window == nullptr || automated.provider != nullptr) return;
    // The provider is called through COM on this thread, which must have an apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    automated.provider = new WindowProvider(window);
    automated.glfwProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswerAutomation)));
    if (automated.glfwProcedure == nullptr) {
        automated.provider->Release();
        automated = {};
    }
}

std::unique_ptr<UiaNotifier> OpenWindowNotifier() {
    return std::make_unique<WindowNotifier>(automated.provider);
}
