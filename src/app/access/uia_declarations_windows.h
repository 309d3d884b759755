#pragma once

// UI Automation as the program uses it: mingw-w64's headers and what they lack, declared here
// by hand, each with the value of the Windows SDK header it mirrors. Not uiautomation.h: its
// uiautomationcoreapi.h names a parameter `new`, which C++ refuses.

#include <windows.h>

#include <ole2.h>
#include <uiautomationclient.h>
#include <uiautomationcore.h>

// uiautomationcoreapi.h
constexpr long kUiaRootObjectId = -25;       // UiaRootObjectId
constexpr int kUiaAppendRuntimeId = 3;       // UiaAppendRuntimeId
constexpr HRESULT kUiaElementNotAvailable =  // UIA_E_ELEMENTNOTAVAILABLE
    static_cast<HRESULT>(0x80040201);
constexpr HRESULT kUiaInvalidOperation =  // UIA_E_INVALIDOPERATION
    static_cast<HRESULT>(0x80131509);

// uiautomationclient.h: control types and events.
constexpr CONTROLTYPEID kUiaEditControlType = 50004;      // UIA_EditControlTypeId
constexpr CONTROLTYPEID kUiaDocumentControlType = 50030;  // UIA_DocumentControlTypeId
constexpr CONTROLTYPEID kUiaWindowControlType = 50032;    // UIA_WindowControlTypeId
constexpr EVENTID kUiaFocusChangedEvent = 20005;          // UIA_AutomationFocusChangedEventId
constexpr EVENTID kUiaTextChangedEvent = 20015;           // UIA_Text_TextChangedEventId

// uiautomationcore.h
enum SupportedTextSelection {
    SupportedTextSelection_None = 0,  // SupportedTextSelection_None
};

// uiautomationcore.h: UiaPoint.
struct UiaPoint {
    double x;
    double y;
};

// uiautomationcore.h: ITextRangeProvider, IID 5347ad7b-c355-46f8-aff5-909033582f63, its
// methods in the SDK's order. The text unit and endpoint are int, as TextUnit and
// TextPatternRangeEndpoint are (text_units.h holds their values).
struct ITextRangeProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Clone(ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Compare(ITextRangeProvider* range, BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareEndpoints(int endpoint, ITextRangeProvider* target,
                                                       int targetEndpoint, int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(int unit) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAttribute(TEXTATTRIBUTEID attribute, VARIANT value,
                                                    BOOL backward, ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindText(BSTR text, BOOL backward, BOOL ignoreCase,
                                               ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttributeValue(TEXTATTRIBUTEID attribute,
                                                        VARIANT* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEnclosingElement(IRawElementProviderSimple** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Move(int unit, int count, int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(int endpoint, int unit, int count,
                                                         int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByRange(int endpoint, ITextRangeProvider* target,
                                                          int targetEndpoint) = 0;
    virtual HRESULT STDMETHODCALLTYPE Select() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE ScrollIntoView(BOOL alignToTop) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChildren(SAFEARRAY** result) = 0;
};
__CRT_UUID_DECL(ITextRangeProvider, 0x5347ad7b, 0xc355, 0x46f8, 0xaf, 0xf5, 0x90, 0x90, 0x33, 0x58,
                0x2f, 0x63)

// uiautomationcore.h: ITextProvider, IID 3589c92c-63f3-4367-99bb-ada653b77cf2.
struct ITextProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVisibleRanges(SAFEARRAY** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromChild(IRawElementProviderSimple* child,
                                                     ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromPoint(UiaPoint point,
                                                     ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentRange(ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    get_SupportedTextSelection(SupportedTextSelection* result) = 0;
};
__CRT_UUID_DECL(ITextProvider, 0x3589c92c, 0x63f3, 0x4367, 0x99, 0xbb, 0xad, 0xa6, 0x53, 0xb7, 0x7c,
                0xf2)

// uiautomationcore.h: IValueProvider, IID c7935180-6fb3-4201-b174-7df73adbf64a.
struct IValueProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* result) = 0;
};
__CRT_UUID_DECL(IValueProvider, 0xc7935180, 0x6fb3, 0x4201, 0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb,
                0xf6, 0x4a)

// What the program calls in UIAutomationCore.dll, for which mingw-w64 has no import library.
// Loaded on first use, from the system's folder: a game no screen reader asks about loads none
// of it. A call this Windows lacks is null.
struct UiaCalls {
    HRESULT(WINAPI* raiseNotification)
    (IRawElementProviderSimple*, int kind, int processing, BSTR, BSTR) = nullptr;
    HRESULT(WINAPI* raiseEvent)(IRawElementProviderSimple*, EVENTID) = nullptr;
    LRESULT(WINAPI* returnProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*) = nullptr;
    HRESULT(WINAPI* hostProvider)(HWND, IRawElementProviderSimple**) = nullptr;
    HRESULT(WINAPI* notSupported)(IUnknown**) = nullptr;  // UiaGetReservedNotSupportedValue
    BOOL(WINAPI* clientsListening)() = nullptr;
};
const UiaCalls& Uia();
