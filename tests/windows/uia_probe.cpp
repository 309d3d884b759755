// Asks UI Automation about a window as a screen reader does, and prints its name and control
// type as "NAME|TYPE"; 1 when no window has the title, 2 when UI Automation has no answer.
// Under Wine, which has no provider of its own for a window, an answer is the game's provider.
//   uia_probe.exe TITLE

#include <windows.h>

#include <ole2.h>
#include <uiautomationclient.h>

#include <cstdio>

template <typename Call>
Call Find(HMODULE library, const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

int main(int argc, char** argv) {
    const HWND window = argc == 2 ? FindWindowA(nullptr, argv[1]) : nullptr;
    if (window == nullptr) return 1;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const HMODULE uia = LoadLibraryW(L"UIAutomationCore.dll");
    const auto nodeFromHandle = Find<HRESULT(WINAPI*)(HWND, HANDLE*)>(uia, "UiaNodeFromHandle");
    const auto propertyValue =
        Find<HRESULT(WINAPI*)(HANDLE, PROPERTYID, VARIANT*)>(uia, "UiaGetPropertyValue");
    HANDLE node = nullptr;
    VARIANT name{};
    VARIANT type{};
    if (nodeFromHandle == nullptr || propertyValue == nullptr ||
        FAILED(nodeFromHandle(window, &node)) ||
        FAILED(propertyValue(node, UIA_NamePropertyId, &name)) ||
        FAILED(propertyValue(node, UIA_ControlTypePropertyId, &type)) || name.vt != VT_BSTR ||
        type.vt != VT_I4) {
        return 2;
    }
    std::printf("%ls|%ld\n", name.bstrVal, type.lVal);
    return 0;
}
