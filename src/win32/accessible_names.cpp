// The standard accessible object of a control, its name and description replaced. The
// accessibility library is looked up when first needed, so the program starts where it
// is missing.
#include "win32/accessible_names.hpp"

#include <oleacc.h>

#include <atomic>
#include <string>
#include <utility>

#include "editor/messages.hpp"
#include "textengine/wide_text.hpp"

namespace ravlet::win32 {
namespace {

using CreateStdFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using AllocStringFn = BSTR(WINAPI*)(const OLECHAR*);

struct Library {
    CreateStdFn createStd = nullptr;
    LresultFn lresult = nullptr;
    AllocStringFn allocString = nullptr;
    bool Usable() const { return createStd && lresult && allocString; }
};

template <typename F>
F Lookup(const wchar_t* dll, const char* name) {
    const HMODULE module = ::LoadLibraryW(dll);
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
                  : nullptr;
}

const Library& Functions() {
    static const Library library{Lookup<CreateStdFn>(L"oleacc.dll", "CreateStdAccessibleObject"),
                                 Lookup<LresultFn>(L"oleacc.dll", "LresultFromObject"),
                                 Lookup<AllocStringFn>(L"oleaut32.dll", "SysAllocString")};
    return library;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard object, all of it passed through but the name, the description and the
// default action of the control itself.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* inner, std::wstring name, std::wstring description,
                    std::function<void()> action)
        : inner_(inner),
          name_(std::move(name)),
          description_(std::move(description)),
          action_(std::move(action)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // Nothing else: an interface of the standard object would answer for another
        // object's identity, which marshalling it to the screen reader refuses.
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            inner_->Release();
            delete this;
        }
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return inner_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID lcid, ITypeInfo** info) override {
        return inner_->GetTypeInfo(i, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return inner_->GetIDsOfNames(riid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                     UINT* arg) override {
        return inner_->Invoke(id, riid, lcid, flags, params, result, info, arg);
    }

    // IAccessible: what the window description says of the control itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return inner_->get_accName(child, name);
        return Text(name_, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!IsSelf(child)) return inner_->get_accDescription(child, description);
        return Text(description_, description);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!IsSelf(child) || !action_) return inner_->get_accDefaultAction(child, action);
        return Text(Utf8ToWide(messages::kShowWholeText).value_or(std::wstring()), action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child) || !action_) return inner_->accDoDefaultAction(child);
        action_();
        return S_OK;
    }

    // IAccessible: the rest as the system gives it.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return inner_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return inner_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return inner_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return inner_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return inner_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return inner_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return inner_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return inner_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return inner_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return inner_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return inner_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return inner_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return inner_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return inner_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return inner_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return inner_->put_accName(child, name);
    }
    // The value field's edit takes a value set here as it takes typed text.
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return inner_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() = default;

    static HRESULT Text(const std::wstring& text, BSTR* out) {
        if (out == nullptr) return E_POINTER;
        *out = Functions().allocString(text.c_str());
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    IAccessible* inner_;
    std::wstring name_;
    std::wstring description_;
    std::function<void()> action_;
    std::atomic<ULONG> references_{1};
};

}  // namespace

LRESULT AccessibleObject(HWND hwnd, WPARAM wParam, LPARAM lParam,
                         const window::Component& component,
                         const std::function<void()>& defaultAction) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
    const Library& library = Functions();
    if (!library.Usable()) return 0;
    IAccessible* inner = nullptr;
    if (FAILED(library.createStd(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&inner))) ||
        inner == nullptr) {
        return 0;
    }
    auto* named =
        new NamedAccessible(inner, Utf8ToWide(component.accessibleName).value_or(std::wstring()),
                            Utf8ToWide(component.toolTip).value_or(std::wstring()), defaultAction);
    const LRESULT result = library.lresult(__uuidof(IAccessible), wParam, named);
    named->Release();  // LresultFromObject holds its own reference
    return result;
}

}  // namespace ravlet::win32
