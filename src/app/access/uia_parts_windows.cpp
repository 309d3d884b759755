#include "app/access/uia_parts_windows.h"

#include <utility>

namespace {

constexpr const wchar_t* kStoryName = L"Story";
constexpr const wchar_t* kInputLineName = L"Command";
constexpr int kMostTitleCharacters = 256;

void SetText(VARIANT* value, const std::u16string& text) {
    value->bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                       static_cast<UINT>(text.size()));
    if (value->bstrVal != nullptr) value->vt = VT_BSTR;
}

void SetBool(VARIANT* value, bool on) {
    value->vt = VT_BOOL;
    value->boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
}

// A SAFEARRAY of the ranges given, each counted for the caller.
HRESULT RangeArray(std::initializer_list<ITextRangeProvider*> ranges, SAFEARRAY** result) {
    if (result == nullptr) return E_POINTER;
    *result = SafeArrayCreateVector(VT_UNKNOWN, 0, static_cast<ULONG>(ranges.size()));
    if (*result == nullptr) return E_OUTOFMEMORY;
    LONG index = 0;
    for (ITextRangeProvider* range : ranges) {
        SafeArrayPutElement(*result, &index, static_cast<IUnknown*>(range));
        range->Release();
        ++index;
    }
    return S_OK;
}

}  // namespace

WindowPart::WindowPart(Kind kind, HWND window, IRawElementProviderFragmentRoot* root)
    : kind_(kind), window_(window), root_(root) {
    root_->AddRef();
}

void WindowPart::Disconnect() {
    IRawElementProviderFragmentRoot* root = nullptr;
    WindowPart* sibling = nullptr;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::swap(root, root_);
        std::swap(sibling, sibling_);
    }
    // Outside the lock: the last reference to either may be this part's.
    if (root != nullptr) root->Release();
    if (sibling != nullptr) sibling->Release();
}

void WindowPart::SetSibling(WindowPart* sibling) {
    sibling->AddRef();
    const std::lock_guard<std::mutex> lock(mutex_);
    sibling_ = sibling;
}

bool WindowPart::ShowStory(const std::string& story) {
    if (!story_.Update(story)) return false;
    auto text = std::make_shared<const std::u16string>(story_.Text());
    const std::lock_guard<std::mutex> lock(mutex_);
    text_ = std::move(text);
    return true;
}

bool WindowPart::ShowLine(const std::string& line) {
    std::u16string wide = Utf16FromUtf8(line);
    const std::lock_guard<std::mutex> lock(mutex_);
    if (wide == line_) return false;
    line_ = std::move(wide);
    return true;
}

std::shared_ptr<const std::u16string> WindowPart::Text() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return text_;
}

std::u16string WindowPart::Line() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return line_;
}

IRawElementProviderFragmentRoot* WindowPart::Root() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (root_ != nullptr) root_->AddRef();
    return root_;
}

void* WindowPart::Answer(REFIID id) {
    if (id == __uuidof(ITextProvider)) {
        return kind_ == Kind::kStory ? static_cast<ITextProvider*>(this) : nullptr;
    }
    if (id == __uuidof(IValueProvider)) {
        return kind_ == Kind::kInputLine ? static_cast<IValueProvider*>(this) : nullptr;
    }
    return Among<IRawElementProviderSimple, IRawElementProviderFragment>(id);
}

HRESULT WindowPart::get_ProviderOptions(ProviderOptions* options) {
    if (options == nullptr) return E_POINTER;
    // Called on UI Automation's threads (uia_parts_windows.h).
    *options = ProviderOptions_ServerSideProvider;
    return S_OK;
}

HRESULT WindowPart::GetPatternProvider(PATTERNID pattern, IUnknown** result) {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    if (pattern == UIA_TextPatternId && kind_ == Kind::kStory) {
        return HandOut<IUnknown>(static_cast<ITextProvider*>(this), result);
    }
    if (pattern == UIA_ValuePatternId && kind_ == Kind::kInputLine) {
        return HandOut<IUnknown>(static_cast<IValueProvider*>(this), result);
    }
    return S_OK;
}

HRESULT WindowPart::GetPropertyValue(PROPERTYID property, VARIANT* value) {
    if (value == nullptr) return E_POINTER;
    value->vt = VT_EMPTY;
    const bool story = kind_ == Kind::kStory;
    switch (property) {
        case UIA_NamePropertyId:
        case UIA_AutomationIdPropertyId:
            value->bstrVal = SysAllocString(story ? kStoryName : kInputLineName);
            if (value->bstrVal != nullptr) value->vt = VT_BSTR;
            break;
        case UIA_ControlTypePropertyId:
            value->vt = VT_I4;
            value->lVal = story ? kUiaDocumentControlType : kUiaEditControlType;
            break;
        case UIA_IsKeyboardFocusablePropertyId:
            SetBool(value, !story);
            break;
        case UIA_HasKeyboardFocusPropertyId:
            SetBool(value, !story && focused_);
            break;
        // Also asked of the element itself, by clients that read pattern properties as properties.
        case UIA_ValueValuePropertyId:
            if (!story) SetText(value, Line());
            break;
        case UIA_ValueIsReadOnlyPropertyId:
            if (!story) SetBool(value, false);
            break;
        default:
            break;
    }
    return S_OK;
}

HRESULT WindowPart::get_HostRawElementProvider(IRawElementProviderSimple** host) {
    // Only the window's own element has a host.
    return HandOut<IRawElementProviderSimple>(nullptr, host);
}

HRESULT WindowPart::Navigate(NavigateDirection direction, IRawElementProviderFragment** result) {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    IRawElementProviderFragmentRoot* root = Root();
    if (root == nullptr) return kUiaElementNotAvailable;
    HRESULT answer = S_OK;
    // The story comes first, the line below it.
    const bool towardsSibling = kind_ == Kind::kStory
                                    ? direction == NavigateDirection_NextSibling
                                    : direction == NavigateDirection_PreviousSibling;
    if (direction == NavigateDirection_Parent) {
        answer = root->QueryInterface(__uuidof(IRawElementProviderFragment),
                                      reinterpret_cast<void**>(result));
    } else if (towardsSibling) {
        const std::lock_guard<std::mutex> lock(mutex_);
        answer = HandOut<IRawElementProviderFragment>(sibling_, result);
    }
    root->Release();
    return answer;
}

HRESULT WindowPart::GetRuntimeId(SAFEARRAY** result) {
    if (result == nullptr) return E_POINTER;
    // Unique inside the window's element, which UI Automation prefixes with the window's own.
    *result = SafeArrayCreateVector(VT_I4, 0, 2);
    if (*result == nullptr) return E_OUTOFMEMORY;
    int id[2] = {kUiaAppendRuntimeId, kind_ == Kind::kStory ? 1 : 2};
    for (LONG index = 0; index < 2; ++index) SafeArrayPutElement(*result, &index, &id[index]);
    return S_OK;
}

HRESULT WindowPart::get_BoundingRectangle(UiaRect* result) {
    if (result == nullptr) return E_POINTER;
    *result = {};
    // The window's client area: the console draws both parts over all of it.
    RECT client{};
    POINT origin{};
    if (GetClientRect(window_, &client) && ClientToScreen(window_, &origin)) {
        *result = {static_cast<double>(origin.x), static_cast<double>(origin.y),
                   static_cast<double>(client.right), static_cast<double>(client.bottom)};
    }
    return S_OK;
}

HRESULT WindowPart::GetEmbeddedFragmentRoots(SAFEARRAY** result) {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    return S_OK;
}

HRESULT WindowPart::SetFocus() {
    // The line has the focus whenever the window has; the story takes none.
    if (kind_ == Kind::kStory) return kUiaInvalidOperation;
    SetForegroundWindow(window_);
    return S_OK;
}

HRESULT WindowPart::get_FragmentRoot(IRawElementProviderFragmentRoot** result) {
    if (result == nullptr) return E_POINTER;
    *result = Root();
    return *result != nullptr ? S_OK : kUiaElementNotAvailable;
}

HRESULT WindowPart::GetSelection(SAFEARRAY** result) {
    return RangeArray({}, result);
}

HRESULT WindowPart::GetVisibleRanges(SAFEARRAY** result) {
    return RangeArray({MakeTextRange(this, {0, Length()})}, result);
}

HRESULT WindowPart::RangeFromChild(IRawElementProviderSimple*, ITextRangeProvider** result) {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    return E_INVALIDARG;  // the story has no elements inside
}

HRESULT WindowPart::RangeFromPoint(UiaPoint, ITextRangeProvider** result) {
    if (result == nullptr) return E_POINTER;
    // Where the text lies on the screen is the toolkit's: the newest text, at the view's end.
    *result = MakeTextRange(this, {Length(), Length()});
    return S_OK;
}

HRESULT WindowPart::get_DocumentRange(ITextRangeProvider** result) {
    if (result == nullptr) return E_POINTER;
    *result = MakeTextRange(this, {0, Length()});
    return S_OK;
}

HRESULT WindowPart::get_SupportedTextSelection(SupportedTextSelection* result) {
    if (result == nullptr) return E_POINTER;
    *result = SupportedTextSelection_None;
    return S_OK;
}

HRESULT WindowPart::SetValue(LPCWSTR) {
    return kUiaInvalidOperation;
}

HRESULT WindowPart::get_Value(BSTR* result) {
    if (result == nullptr) return E_POINTER;
    VARIANT value{};
    SetText(&value, Line());
    *result = value.vt == VT_BSTR ? value.bstrVal : nullptr;
    return *result != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT WindowPart::get_IsReadOnly(BOOL* result) {
    if (result == nullptr) return E_POINTER;
    *result = FALSE;
    return S_OK;
}

WindowElement::WindowElement(HWND window)
    : window_(window),
      story_(new WindowPart(WindowPart::Kind::kStory, window, this)),
      line_(new WindowPart(WindowPart::Kind::kInputLine, window, this)) {
    story_->SetSibling(line_);
    line_->SetSibling(story_);
}

WindowElement::~WindowElement() {
    story_->Release();
    line_->Release();
}

void WindowElement::Disconnect() {
    story_->Disconnect();
    line_->Disconnect();
}

HRESULT WindowElement::get_ProviderOptions(ProviderOptions* options) {
    if (options == nullptr) return E_POINTER;
    // Called on the window's thread, through COM, as the calls GLFW's window gets.
    *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider |
                                            ProviderOptions_UseComThreading);
    return S_OK;
}

HRESULT WindowElement::GetPatternProvider(PATTERNID, IUnknown** result) {
    return HandOut<IUnknown>(nullptr, result);
}

HRESULT WindowElement::GetPropertyValue(PROPERTYID property, VARIANT* value) {
    if (value == nullptr) return E_POINTER;
    value->vt = VT_EMPTY;
    if (property == UIA_NamePropertyId) {
        wchar_t title[kMostTitleCharacters] = L"";
        GetWindowTextW(window_, title, kMostTitleCharacters);
        value->bstrVal = SysAllocString(title);
        if (value->bstrVal != nullptr) value->vt = VT_BSTR;
    } else if (property == UIA_ControlTypePropertyId) {
        value->vt = VT_I4;
        value->lVal = kUiaWindowControlType;
    }
    return S_OK;
}

HRESULT WindowElement::get_HostRawElementProvider(IRawElementProviderSimple** host) {
    if (host == nullptr) return E_POINTER;
    *host = nullptr;
    return Uia().hostProvider != nullptr ? Uia().hostProvider(window_, host) : E_FAIL;
}

HRESULT WindowElement::Navigate(NavigateDirection direction, IRawElementProviderFragment** result) {
    WindowPart* part = direction == NavigateDirection_FirstChild  ? story_
                       : direction == NavigateDirection_LastChild ? line_
                                                                  : nullptr;
    return HandOut<IRawElementProviderFragment>(part, result);
}

HRESULT WindowElement::GetRuntimeId(SAFEARRAY** result) {
    return GetEmbeddedFragmentRoots(result);  // none: the host's
}

HRESULT WindowElement::get_BoundingRectangle(UiaRect* result) {
    if (result == nullptr) return E_POINTER;
    *result = {};  // the host's
    return S_OK;
}

HRESULT WindowElement::GetEmbeddedFragmentRoots(SAFEARRAY** result) {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    return S_OK;
}

HRESULT WindowElement::get_FragmentRoot(IRawElementProviderFragmentRoot** result) {
    return HandOut<IRawElementProviderFragmentRoot>(this, result);
}

HRESULT WindowElement::ElementProviderFromPoint(double, double,
                                                IRawElementProviderFragment** result) {
    // The toolkit tells no rows' places: the story, which fills nearly all of the window.
    return HandOut<IRawElementProviderFragment>(story_, result);
}

HRESULT WindowElement::GetFocus(IRawElementProviderFragment** result) {
    return HandOut<IRawElementProviderFragment>(::GetFocus() == window_ ? line_ : nullptr, result);
}
