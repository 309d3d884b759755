#include "app/access/uia_window_windows.h"

#include "app/access/uia_declarations_windows.h"
#include "app/access/uia_parts_windows.h"

namespace {

template <typename Call>
void Find(HMODULE library, const char* name, Call& call) {
    call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// The program's one window, whose procedure has no room for state of its own.
struct AutomatedWindow {
    WNDPROC glfwProcedure = nullptr;
    WindowElement* provider = nullptr;
    bool handedOver = false;  // UI Automation holds the provider
};
AutomatedWindow automated;

// Tells clients that listen, as screen readers do; events nobody listens for are not made.
void Raise(IRawElementProviderSimple* element, EVENTID event) {
    if (Uia().raiseEvent == nullptr) return;
    if (Uia().clientsListening != nullptr && !Uia().clientsListening()) return;
    Uia().raiseEvent(element, event);
}

LRESULT CALLBACK AnswerAutomation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC glfwProcedure = automated.glfwProcedure;
    if (message == WM_GETOBJECT && static_cast<long>(lParam) == kUiaRootObjectId &&
        Uia().returnProvider != nullptr) {
        automated.handedOver = true;
        return Uia().returnProvider(window, wParam, lParam, automated.provider);
    }
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        automated.provider->line().SetFocused(message == WM_SETFOCUS);
        if (message == WM_SETFOCUS) Raise(&automated.provider->line(), kUiaFocusChangedEvent);
    }
    if (message == WM_DESTROY) {
        // UI Automation lets go of the provider, and GLFW's procedure gets the window back.
        if (automated.handedOver) Uia().returnProvider(window, 0, 0, nullptr);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(glfwProcedure));
        automated.provider->Disconnect();
        automated.provider->Release();
        automated = {};
    }
    return CallWindowProcW(glfwProcedure, window, message, wParam, lParam);
}

// Raises on the provider of the moment, on the window's thread: the tree's owner may answer for
// the window after speech was set up.
class WindowNotifier : public UiaNotifier {
public:
    // Only a missing call counts as "cannot": a notification that fails is one text lost.
    bool Raise(const Notification& notification) override {
        WindowElement* provider = automated.provider;
        if (provider == nullptr || Uia().raiseNotification == nullptr) return false;
        const BSTR text = SysAllocStringLen(notification.text.data(),
                                            static_cast<UINT>(notification.text.size()));
        const BSTR activity = SysAllocString(notification.activityId.c_str());
        if (text != nullptr && activity != nullptr) {
            Uia().raiseNotification(provider, static_cast<int>(notification.kind),
                                    static_cast<int>(notification.processing), text, activity);
        }
        SysFreeString(text);
        SysFreeString(activity);
        return true;
    }
};

}  // namespace

const UiaCalls& Uia() {
    static const UiaCalls calls = [] {
        UiaCalls found;
        // From the system's folder only, never one planted beside the game.
        const HMODULE library =
            LoadLibraryExW(L"UIAutomationCore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (library == nullptr) return found;
        Find(library, "UiaRaiseNotificationEvent", found.raiseNotification);
        Find(library, "UiaRaiseAutomationEvent", found.raiseEvent);
        Find(library, "UiaReturnRawElementProvider", found.returnProvider);
        Find(library, "UiaHostProviderFromHwnd", found.hostProvider);
        Find(library, "UiaGetReservedNotSupportedValue", found.notSupported);
        Find(library, "UiaClientsAreListening", found.clientsListening);
        return found;
    }();
    return calls;
}

void AnswerAutomationFor(HWND window) {
    if (window == nullptr || automated.provider != nullptr) return;
    // The provider is called through COM on this thread, which must have an apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    automated.provider = new WindowElement(window);
    automated.provider->line().SetFocused(GetFocus() == window);
    automated.glfwProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswerAutomation)));
    if (automated.glfwProcedure == nullptr) {
        automated.provider->Disconnect();
        automated.provider->Release();
        automated = {};
    }
}

void ShowAutomationText(const std::string& story, const std::string& line) {
    if (automated.provider == nullptr) return;
    // New text is said as notifications (notification_speech_windows.h); the event lets a
    // reader's review of the story see it.
    if (automated.provider->story().ShowStory(story)) {
        Raise(&automated.provider->story(), kUiaTextChangedEvent);
    }
    automated.provider->line().ShowLine(line);
}

std::unique_ptr<UiaNotifier> OpenWindowNotifier() {
    return std::make_unique<WindowNotifier>();
}
