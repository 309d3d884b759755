#pragma once

// The window as UI Automation sees it, a tree of three elements: the window's own, and inside it
// the story as a document a screen reader reads and reviews (the text pattern), then the line
// the player types as an edit field that has the keyboard focus while the window has (the value
// pattern). They answer from what the window last handed them.
//
// The window's element is called on the window's thread. Its two parts are called on UI
// Automation's own threads (called on the window's thread through COM, Wine's UI Automation
// deadlocks making elements for them), so what they answer with is handed over under a lock,
// the story as a snapshot that ranges read. Every reference between the elements is counted,
// and the cycles are broken when the window goes (Disconnect).

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "app/access/text_units.h"
#include "app/access/uia_com_windows.h"
#include "app/access/uia_declarations_windows.h"

class WindowPart final : public ComObject<IRawElementProviderSimple, IRawElementProviderFragment,
                                          ITextProvider, IValueProvider> {
public:
    enum class Kind { kStory, kInputLine };

    WindowPart(Kind kind, HWND window, IRawElementProviderFragmentRoot* root);

    // Lets go of the window's element and the sibling: every question from now on is answered
    // "not available".
    void Disconnect();
    void SetSibling(WindowPart* sibling);
    // What the window shows now; whether it changed. On the window's thread.
    bool ShowStory(const std::string& story);
    bool ShowLine(const std::string& line);
    void SetFocused(bool focused) { focused_ = focused; }
    // The story's text as last shown, for the ranges over it.
    std::shared_ptr<const std::u16string> Text() const;

    // IRawElementProviderSimple
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override;
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** result) override;
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override;

    // IRawElementProviderFragment
    HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction,
                                       IRawElementProviderFragment** result) override;
    HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** result) override;
    HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* result) override;
    HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** result) override;
    HRESULT STDMETHODCALLTYPE SetFocus() override;
    HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** result) override;

    // ITextProvider: the story. Nothing in it is selected, and all of it counts as visible, since
    // a screen reader's review goes through the whole.
    HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** result) override;
    HRESULT STDMETHODCALLTYPE GetVisibleRanges(SAFEARRAY** result) override;
    HRESULT STDMETHODCALLTYPE RangeFromChild(IRawElementProviderSimple* child,
                                             ITextRangeProvider** result) override;
    HRESULT STDMETHODCALLTYPE RangeFromPoint(UiaPoint point, ITextRangeProvider** result) override;
    HRESULT STDMETHODCALLTYPE get_DocumentRange(ITextRangeProvider** result) override;
    HRESULT STDMETHODCALLTYPE get_SupportedTextSelection(SupportedTextSelection* result) override;

    // IValueProvider: the line typed. The player types it; a program cannot set it.
    HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE get_Value(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* result) override;

protected:
    // Each part answers for its own pattern only.
    void* Answer(REFIID id) override;

private:
    ~WindowPart() override { Disconnect(); }

    // The window's element, counted for the caller; null once disconnected.
    IRawElementProviderFragmentRoot* Root() const;
    std::u16string Line() const;
    int Length() const { return static_cast<int>(Text()->size()); }

    const Kind kind_;
    const HWND window_;
    std::atomic<bool> focused_{false};
    StoryDocument story_;  // the window's thread's only
    mutable std::mutex mutex_;
    IRawElementProviderFragmentRoot* root_;  // guarded by mutex_, as the three below
    WindowPart* sibling_ = nullptr;
    std::shared_ptr<const std::u16string> text_ = std::make_shared<std::u16string>();
    std::u16string line_;
};

// The window's own element: its title as its name, the window control type, and the story and
// the line inside it, the line holding the focus. All else (place, focus among windows) comes
// from the element Windows makes for any window, its host. No patterns: the window is read, not
// operated.
class WindowElement final : public ComObject<IRawElementProviderSimple, IRawElementProviderFragment,
                                             IRawElementProviderFragmentRoot> {
public:
    explicit WindowElement(HWND window);

    // The window is gone; its parts may outlive it in a client's hands, answering nothing.
    void Disconnect();
    WindowPart& story() { return *story_; }
    WindowPart& line() { return *line_; }

    // IRawElementProviderSimple and IRawElementProviderFragment. The window's own place and
    // runtime id come from its host, the element Windows makes for the window.
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override;
    HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** result) override;
    HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* result) override;
    // Its own: its options, name and type, its two parts, and no focus of its own to set.
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override;
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** result) override;
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction,
                                       IRawElementProviderFragment** result) override;
    HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** result) override;
    HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** result) override;
    HRESULT STDMETHODCALLTYPE SetFocus() override { return S_OK; }

    // IRawElementProviderFragmentRoot
    HRESULT STDMETHODCALLTYPE
    ElementProviderFromPoint(double x, double y, IRawElementProviderFragment** result) override;
    HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** result) override;

private:
    ~WindowElement() override;

    const HWND window_;
    WindowPart* story_;
    WindowPart* line_;
};

// A range over the story part's text, which it keeps alive.
ITextRangeProvider* MakeTextRange(WindowPart* story, RangeSpan span);
