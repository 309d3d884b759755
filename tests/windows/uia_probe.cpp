// Asks UI Automation about a window as a screen reader does, through the calls of
// UIAutomationCore.dll a client makes, and prints one line for the window and one for each
// element inside it, in order: "NAME|CONTROL TYPE", with "|focused" for the element with the
// keyboard focus. 1 when no window has the title, 2 when UI Automation has no answer. Wine's
// UI Automation (8.0) reads no patterns and no pattern's properties: calling its pattern calls
// ends the program, and it knows no UIA_ValueValuePropertyId.
// Under Wine, which has no provider of its own for a window, an answer is the game's provider.
//   uia_probe.exe TITLE

#include <windows.h>

#include <ole2.h>
#include <uiautomationclient.h>

#include <cstdio>
#include <string>

namespace {

// What mingw-w64's headers lack, with the values of the SDK's uiautomationcoreapi.h.
struct UiaCondition {
    int conditionType;  // ConditionType_True = 0
};
struct UiaCacheRequest {
    UiaCondition* viewCondition;
    int scope;  // TreeScope_Element = 1
    PROPERTYID* properties;
    int propertyCount;
    PATTERNID* patterns;
    int patternCount;
    int elementMode;  // AutomationElementMode_Full = 1
};
constexpr int kNavigateFirstChild = 3;   // NavigateDirection_FirstChild
constexpr int kNavigateNextSibling = 1;  // NavigateDirection_NextSibling

template <typename Call>
Call Find(HMODULE library, const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

struct Client {
    explicit Client(HMODULE uia)
        : propertyValue(Find<decltype(propertyValue)>(uia, "UiaGetPropertyValue")),
          navigate(Find<decltype(navigate)>(uia, "UiaNavigate")),
          nodeFromVariant(Find<decltype(nodeFromVariant)>(uia, "UiaHUiaNodeFromVariant")) {}

    HRESULT(WINAPI* propertyValue)(HANDLE, PROPERTYID, VARIANT*);
    HRESULT(WINAPI* navigate)(HANDLE, int, UiaCondition*, UiaCacheRequest*, SAFEARRAY**, BSTR*);
    HRESULT(WINAPI* nodeFromVariant)(VARIANT*, HANDLE*);

    // The element `direction` leads to from `node`, or null.
    HANDLE Navigate(HANDLE node, int direction) const {
        UiaCondition any{0};
        UiaCacheRequest request{&any, 1, nullptr, 0, nullptr, 0, 1};
        SAFEARRAY* found = nullptr;
        BSTR tree = nullptr;
        HANDLE next = nullptr;
        if (navigate != nullptr && nodeFromVariant != nullptr &&
            SUCCEEDED(navigate(node, direction, &any, &request, &found, &tree)) &&
            found != nullptr) {
            LONG first[2] = {0, 0};
            VARIANT element{};
            if (SUCCEEDED(SafeArrayGetElement(found, first, &element))) {
                nodeFromVariant(&element, &next);
            }
            SafeArrayDestroy(found);
        }
        SysFreeString(tree);
        return next;
    }

    // "NAME|TYPE", then "|focused" for the focus; empty when UI Automation has no answer.
    std::wstring Describe(HANDLE node) const {
        VARIANT name{};
        VARIANT type{};
        if (FAILED(propertyValue(node, UIA_NamePropertyId, &name)) ||
            FAILED(propertyValue(node, UIA_ControlTypePropertyId, &type)) || name.vt != VT_BSTR ||
            type.vt != VT_I4) {
            return L"";
        }
        std::wstring line = std::wstring(name.bstrVal) + L"|" + std::to_wstring(type.lVal);
        VARIANT focus{};
        if (SUCCEEDED(propertyValue(node, UIA_HasKeyboardFocusPropertyId, &focus)) &&
            focus.vt == VT_BOOL && focus.boolVal == VARIANT_TRUE) {
            line += L"|focused";
        }
        return line;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const HWND window = argc == 2 ? FindWindowA(nullptr, argv[1]) : nullptr;
    if (window == nullptr) return 1;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const HMODULE uia = LoadLibraryW(L"UIAutomationCore.dll");
    const auto nodeFromHandle = Find<HRESULT(WINAPI*)(HWND, HANDLE*)>(uia, "UiaNodeFromHandle");
    const Client client(uia);
    HANDLE node = nullptr;
    if (nodeFromHandle == nullptr || client.propertyValue == nullptr ||
        FAILED(nodeFromHandle(window, &node))) {
        return 2;
    }
    int direction = kNavigateFirstChild;
    for (HANDLE at = node; at != nullptr; at = client.Navigate(at, direction)) {
        const std::wstring line = client.Describe(at);
        if (line.empty()) return 2;
        std::printf("%ls\n", line.c_str());
        if (at != node) direction = kNavigateNextSibling;
    }
    return 0;
}
