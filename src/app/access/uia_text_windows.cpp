// A text range over the story, as a screen reader moves through it: the rules are TextUnits';
// this only checks what COM hands in and carries the calls out.

#include "app/access/uia_parts_windows.h"

namespace {

// Asked of a range handed in, to tell this program's ranges from any other (never answered
// outside the process: a client's range reaches a provider as the provider's own).
constexpr GUID kOwnRange = {
    0xf77d073e, 0xb191, 0x42be, {0xa3, 0x4f, 0x23, 0xad, 0x23, 0x6a, 0x31, 0x8b}};

bool IsUnit(int unit) {
    return unit >= static_cast<int>(TextUnit::kCharacter) &&
           unit <= static_cast<int>(TextUnit::kDocument);
}

bool IsEndpoint(int endpoint) {
    return endpoint == static_cast<int>(RangeEndpoint::kStart) ||
           endpoint == static_cast<int>(RangeEndpoint::kEnd);
}

// The story's text at one moment, with the rules of ranges over it.
struct Snapshot {
    explicit Snapshot(const WindowPart& story) : text(story.Text()), units(*text) {}
    std::shared_ptr<const std::u16string> text;
    TextUnits units;
};

class TextRange final : public ComObject<ITextRangeProvider> {
public:
    TextRange(WindowPart* story, RangeSpan span) : story_(story), span_(span) { story_->AddRef(); }

    HRESULT STDMETHODCALLTYPE Clone(ITextRangeProvider** result) override {
        if (result == nullptr) return E_POINTER;
        *result = MakeTextRange(story_, span_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Compare(ITextRangeProvider* range, BOOL* result) override {
        if (result == nullptr) return E_POINTER;
        const TextRange* other = Ours(range);
        *result = other != nullptr && Now().units.Clamp(other->span_) == Now().units.Clamp(span_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CompareEndpoints(int endpoint, ITextRangeProvider* target,
                                               int targetEndpoint, int* result) override {
        if (result == nullptr) return E_POINTER;
        const TextRange* other = Ours(target);
        if (other == nullptr || !IsEndpoint(endpoint) || !IsEndpoint(targetEndpoint)) {
            return E_INVALIDARG;
        }
        *result = At(endpoint) - other->At(targetEndpoint);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(int unit) override {
        if (!IsUnit(unit)) return E_INVALIDARG;
        span_ = Now().units.Enclosing(span_, static_cast<TextUnit>(unit));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FindAttribute(TEXTATTRIBUTEID, VARIANT, BOOL,
                                            ITextRangeProvider** result) override {
        // The story's plain text has no attributes to find.
        return HandOut<ITextRangeProvider>(nullptr, result);
    }
    HRESULT STDMETHODCALLTYPE FindText(BSTR text, BOOL backward, BOOL ignoreCase,
                                       ITextRangeProvider** result) override {
        if (result == nullptr) return E_POINTER;
        *result = nullptr;
        if (text == nullptr) return E_INVALIDARG;
        const std::u16string needle(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
        if (const auto found = Now().units.Find(span_, needle, backward, ignoreCase)) {
            *result = MakeTextRange(story_, *found);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAttributeValue(TEXTATTRIBUTEID, VARIANT* result) override {
        if (result == nullptr) return E_POINTER;
        // Every attribute is "not supported", the value UI Automation reserves for it.
        result->vt = VT_EMPTY;
        if (Uia().notSupported != nullptr && SUCCEEDED(Uia().notSupported(&result->punkVal))) {
            result->vt = VT_UNKNOWN;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** result) override {
        if (result == nullptr) return E_POINTER;
        // Where lines fall on the screen is the GUI toolkit's, which tells none: no rectangles.
        *result = SafeArrayCreateVector(VT_R8, 0, 0);
        return *result != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetEnclosingElement(IRawElementProviderSimple** result) override {
        return HandOut<IRawElementProviderSimple>(story_, result);
    }
    HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* result) override {
        if (result == nullptr) return E_POINTER;
        *result = nullptr;
        if (maxLength < -1) return E_INVALIDARG;
        const std::u16string text = Now().units.Text(span_, maxLength);
        *result = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                    static_cast<UINT>(text.size()));
        return *result != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE Move(int unit, int count, int* result) override {
        if (result == nullptr) return E_POINTER;
        if (!IsUnit(unit)) return E_INVALIDARG;
        *result = Now().units.Move(span_, static_cast<TextUnit>(unit), count);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(int endpoint, int unit, int count,
                                                 int* result) override {
        if (result == nullptr) return E_POINTER;
        if (!IsEndpoint(endpoint) || !IsUnit(unit)) return E_INVALIDARG;
        *result = Now().units.MoveEndpoint(span_, static_cast<RangeEndpoint>(endpoint),
                                           static_cast<TextUnit>(unit), count);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MoveEndpointByRange(int endpoint, ITextRangeProvider* target,
                                                  int targetEndpoint) override {
        const TextRange* other = Ours(target);
        if (other == nullptr || !IsEndpoint(endpoint) || !IsEndpoint(targetEndpoint)) {
            return E_INVALIDARG;
        }
        span_ = Now().units.Clamp(span_);
        Now().units.SetEndpoint(span_, static_cast<RangeEndpoint>(endpoint),
                                other->At(targetEndpoint));
        return S_OK;
    }
    // Nothing in the story can be selected; the view follows the newest text by itself.
    HRESULT STDMETHODCALLTYPE Select() override { return kUiaInvalidOperation; }
    HRESULT STDMETHODCALLTYPE AddToSelection() override { return kUiaInvalidOperation; }
    HRESULT STDMETHODCALLTYPE RemoveFromSelection() override { return kUiaInvalidOperation; }
    HRESULT STDMETHODCALLTYPE ScrollIntoView(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetChildren(SAFEARRAY** result) override {
        if (result == nullptr) return E_POINTER;
        *result = SafeArrayCreateVector(VT_UNKNOWN, 0, 0);
        return *result != nullptr ? S_OK : E_OUTOFMEMORY;
    }

protected:
    void* Answer(REFIID id) override {
        return id == kOwnRange ? static_cast<ITextRangeProvider*>(this)
                               : Among<ITextRangeProvider>(id);
    }

private:
    ~TextRange() override { story_->Release(); }

    Snapshot Now() const { return Snapshot(*story_); }
    int At(int endpoint) const {
        const RangeSpan span = Now().units.Clamp(span_);
        return endpoint == static_cast<int>(RangeEndpoint::kStart) ? span.start : span.end;
    }
    // The range given when it is one of this story's.
    const TextRange* Ours(ITextRangeProvider* range) const {
        void* asked = nullptr;
        if (range == nullptr || FAILED(range->QueryInterface(kOwnRange, &asked))) return nullptr;
        auto* given = static_cast<ITextRangeProvider*>(asked);
        given->Release();  // the caller holds it still
        const auto* other = static_cast<const TextRange*>(given);
        return other->story_ == story_ ? other : nullptr;
    }

    WindowPart* story_;
    RangeSpan span_;
};

}  // namespace

ITextRangeProvider* MakeTextRange(WindowPart* story, RangeSpan span) {
    return new TextRange(story, Snapshot(*story).units.Clamp(span));
}
