#pragma once

// The COM plumbing the program's UI Automation objects share: counted references and the
// interfaces each answers for. An object starts with one reference, its maker's, and deletes
// itself when the last goes.

#include <windows.h>

#include <atomic>

template <typename First, typename... Rest>
class ComObject : public First, public Rest... {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = id == __uuidof(IUnknown) ? static_cast<First*>(this) : Answer(id);
        if (*object == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;

    // The interface `id` names among those this object is made of, or null; an object that
    // answers for fewer than all of them narrows this.
    virtual void* Answer(REFIID id) { return Among<First, Rest...>(id); }

    template <typename Interface, typename... More>
    void* Among(REFIID id) {
        if (id == __uuidof(Interface)) return static_cast<Interface*>(this);
        if constexpr (sizeof...(More) > 0) {
            return Among<More...>(id);
        } else {
            return nullptr;
        }
    }

private:
    std::atomic<ULONG> references_{1};
};

// A reference handed out through an out-parameter: counted for the caller.
template <typename Interface>
HRESULT HandOut(Interface* object, Interface** out) {
    if (out == nullptr) return E_POINTER;
    *out = object;
    if (object != nullptr) object->AddRef();
    return S_OK;
}
