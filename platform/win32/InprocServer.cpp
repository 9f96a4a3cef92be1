#include "platform/win32/InprocServer.h"

#include <exception>
#include <string>
#include <vector>

#include "config/VtlError.h"
#include "platform/win32/ComVariant.h"

namespace vtl::win32 {

namespace {

constexpr std::int32_t kAddInError = kErrorBase + 0x300;

LONG g_objects = 0;  // live objects and factories
LONG g_locks = 0;    // IClassFactory::LockServer

void fillException(EXCEPINFO* info, std::int32_t number, const std::string& source,
                   const std::string& description) {
    if (info == nullptr)
        return;
    *info = EXCEPINFO{};
    info->scode = ErrorToScode(number);
    info->bstrSource = NewBstr(source);
    info->bstrDescription = NewBstr(description);
}

class DispatchObject final : public IDispatch {
  public:
    DispatchObject(const InprocClass& cls, std::unique_ptr<AddInObject> inner)
        : cls_(cls), inner_(std::move(inner)) {
        InterlockedIncrement(&g_objects);
    }
    ~DispatchObject() { InterlockedDecrement(&g_objects); }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return DISP_E_BADINDEX;
    }
    // Only the member name is looked up: the members take no named arguments.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (names == nullptr || ids == nullptr)
            return E_POINTER;
        for (UINT i = 0; i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        if (count == 0)
            return S_OK;
        const std::string name = names[0] ? Narrow(names[0], lstrlenW(names[0])) : "";
        for (unsigned i = 0; i < cls_.memberCount; ++i) {
            if (lstrcmpiA(name.c_str(), cls_.members[i]) == 0)
                ids[0] = static_cast<DISPID>(i + 1);
        }
        return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT* badArgument) override {
        if (id < 1 || static_cast<unsigned>(id) > cls_.memberCount ||
            !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        if (params && params->cNamedArgs != 0)
            return DISP_E_NONAMEDARGS;
        const UINT count = params ? params->cArgs : 0;
        std::vector<Variant> args;
        for (UINT i = count; i-- > 0;) {
            try {
                args.push_back(FromVARIANT(params->rgvarg[i]));
            } catch (const VtlError&) {
                if (badArgument)
                    *badArgument = i;
                return DISP_E_TYPEMISMATCH;
            }
        }
        try {
            const Variant value = inner_->Invoke(cls_.members[id - 1], args);
            if (result) {
                VariantInit(result);
                ToVARIANT(value, *result);
            }
            return S_OK;
        } catch (const VtlError& e) {
            fillException(info, e.number(), e.source(), e.description());
        } catch (const std::exception& e) {
            fillException(info, kAddInError, cls_.progId, e.what());
        } catch (...) {
            fillException(info, kAddInError, cls_.progId, "unknown error");
        }
        return DISP_E_EXCEPTION;
    }

  private:
    const InprocClass& cls_;
    std::unique_ptr<AddInObject> inner_;
    LONG refs_ = 1;
};

class ClassFactory final : public IClassFactory {
  public:
    explicit ClassFactory(const InprocClass& cls) : cls_(cls) { InterlockedIncrement(&g_objects); }
    ~ClassFactory() { InterlockedDecrement(&g_objects); }
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&refs_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        DispatchObject* object = nullptr;
        try {
            object = new DispatchObject(cls_, cls_.create());
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }

  private:
    const InprocClass& cls_;
    LONG refs_ = 1;
};

LONG setValue(const std::string& key, const char* name, const std::string& value) {
    HKEY handle = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    rc = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return rc;
}

}  // namespace

HRESULT InprocGetClassObject(const InprocClass& cls, REFCLSID clsid, REFIID iid, void** out) {
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, cls.clsid))
        return CLASS_E_CLASSNOTAVAILABLE;
    ClassFactory* factory = new (std::nothrow) ClassFactory(cls);
    if (factory == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

HRESULT InprocCanUnloadNow() {
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

HRESULT InprocRegister(const InprocClass& cls, HMODULE module) {
    char path[MAX_PATH + 1] = {};
    if (GetModuleFileNameA(module, path, MAX_PATH) == 0)
        return HRESULT_FROM_WIN32(GetLastError());
    const std::string progId = cls.progId;
    const std::string classKey = "CLSID\\" + GuidText(cls.clsid);
    const struct {
        std::string key;
        const char* name;
        std::string value;
    } values[] = {
        {progId, nullptr, cls.description},
        {progId + "\\CLSID", nullptr, GuidText(cls.clsid)},
        {classKey, nullptr, cls.description},
        {classKey + "\\InprocServer32", nullptr, path},
        {classKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {classKey + "\\ProgID", nullptr, progId},
    };
    for (const auto& value : values) {
        const LONG rc = setValue(value.key, value.name, value.value);
        if (rc != ERROR_SUCCESS) {
            InprocUnregister(cls);
            return HRESULT_FROM_WIN32(rc);
        }
    }
    return S_OK;
}

HRESULT InprocUnregister(const InprocClass& cls) {
    const std::string progId = cls.progId;
    const std::string classKey = "CLSID\\" + GuidText(cls.clsid);
    // Leaves first: a key with subkeys cannot be deleted on NT.
    const std::string keys[] = {classKey + "\\InprocServer32", classKey + "\\ProgID", classKey,
                                progId + "\\CLSID", progId};
    HRESULT result = S_OK;
    for (const std::string& key : keys) {
        const LONG rc = RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
            result = HRESULT_FROM_WIN32(rc);
    }
    return result;
}

}  // namespace vtl::win32
