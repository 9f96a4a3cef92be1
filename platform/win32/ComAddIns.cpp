// Add-ins as COM objects. COM is initialised once, for the program's one
// thread; objects are called through IDispatch by member name.
#include "platform/win32/ComAddIns.h"

#include <algorithm>
#include <vector>

#include "addins/AddInObject.h"
#include "addins/ComAddIn.h"
#include "config/VtlError.h"
#include "platform/win32/ComVariant.h"

#undef MessageBox  // the platform member, not the user32 macro

namespace vtl::win32 {

namespace {

constexpr std::int32_t kAddInError = kErrorBase + 0x300;

// Set while a shipped add-in file cannot be used: a class then missing may be
// one of its own, so it is an error rather than "not registered".
bool g_shippedBroken = false;

void initializeCom() {
    static const bool initialized = SUCCEEDED(CoInitialize(nullptr));
    (void)initialized;
}

template <typename Function>
Function entry(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

bool notRegistered(HRESULT hr) {
    return hr == CO_E_CLASSSTRING || hr == REGDB_E_CLASSNOTREG;
}

class ComAddIn : public AddInObject {
  public:
    ComAddIn(std::string className, IDispatch* object)
        : className_(std::move(className)), object_(object) {}
    ~ComAddIn() override { object_->Release(); }
    ComAddIn(const ComAddIn&) = delete;
    ComAddIn& operator=(const ComAddIn&) = delete;

    Variant Invoke(const std::string& member, const std::vector<Variant>& args) override {
        const std::string where = className_ + "." + member + ": ";
        std::wstring name = Widen(member);
        LPOLESTR names[] = {name.data()};
        DISPID id = DISPID_UNKNOWN;
        HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr))
            fail(hr, where);

        // Arguments go right to left.
        std::vector<VariantHolder> values(args.size());
        std::vector<VARIANT> argv(args.size());
        for (std::size_t i = 0; i < args.size(); ++i) {
            ToVARIANT(args[i], *values[i].get());
            argv[args.size() - 1 - i] = *values[i];
        }
        DISPPARAMS params{argv.empty() ? nullptr : argv.data(), nullptr,
                          static_cast<UINT>(argv.size()), 0};
        VariantHolder result;
        EXCEPINFO info{};
        UINT badArgument = 0;
        hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                             DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, result.get(), &info,
                             &badArgument);
        if (hr == DISP_E_EXCEPTION)
            raise(info, where);
        if (FAILED(hr))
            fail(hr, where);
        try {
            return FromVARIANT(*result);
        } catch (const VtlError& e) {
            throw VtlError(e.number(), className_, where + e.description());
        }
    }

  private:
    // A failed call, with the text an automation client gives it.
    [[noreturn]] void fail(HRESULT hr, const std::string& where) const {
        struct Known {
            HRESULT code;
            std::int32_t number;
            const char* text;
        };
        static const Known kKnown[] = {
            {DISP_E_UNKNOWNNAME, 438, "Object doesn't support this property or method"},
            {DISP_E_MEMBERNOTFOUND, 438, "Object doesn't support this property or method"},
            {DISP_E_BADPARAMCOUNT, 450, "Wrong number of arguments or invalid property assignment"},
            {DISP_E_PARAMNOTOPTIONAL, 449, "Argument not optional"},
            {DISP_E_TYPEMISMATCH, 13, "Type mismatch"},
        };
        for (const Known& known : kKnown) {
            if (known.code == hr)
                throw VtlError(known.number, className_, where + known.text);
        }
        throw VtlError(static_cast<std::int32_t>(hr), className_, where + ErrorText(hr));
    }

    // An error the add-in raised.
    [[noreturn]] void raise(EXCEPINFO& info, const std::string& where) const {
        if (info.pfnDeferredFillIn)
            info.pfnDeferredFillIn(&info);
        const std::int32_t number = info.wCode ? info.wCode : ScodeToError(info.scode);
        std::string source = NarrowBstr(info.bstrSource);
        std::string description = NarrowBstr(info.bstrDescription);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        if (description.empty())
            description = ErrorText(info.scode ? info.scode : E_FAIL);
        throw VtlError(number, source.empty() ? className_ : source, where + description);
    }

    std::string className_;
    IDispatch* object_;
};

// True when `progId` is registered as served by the DLL at `path`.
bool registeredAt(const std::string& progId, const std::string& path) {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(Widen(progId).c_str(), &clsid)))
        return false;
    const std::string key = "CLSID\\" + GuidText(clsid) + "\\InprocServer32";
    HKEY server = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &server) != ERROR_SUCCESS)
        return false;
    char value[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    const LONG rc =
        RegQueryValueExA(server, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(server);
    return rc == ERROR_SUCCESS && type == REG_SZ && lstrcmpiA(value, path.c_str()) == 0;
}

// Reports an add-in file that cannot be used, once per run.
void reportBroken(const std::string& path, const std::string& reason) {
    static std::vector<std::string> reported;
    g_shippedBroken = true;
    if (std::find(reported.begin(), reported.end(), path) != reported.end())
        return;
    reported.push_back(path);
    platform::sys().MessageBox(
        "The add-in file '" + path + "' could not be loaded.\r\n\r\n" + reason,
        platform::mb::OK | platform::mb::IconExclamation, "Vantrel");
}

std::vector<std::string> dllFiles(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

// Registers the DLL's classes where needed and describes them; false when
// the file is no usable add-in.
bool describe(const std::string& path, std::vector<platform::Platform::AddInClassInfo>& found) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        reportBroken(path, ErrorText(HRESULT_FROM_WIN32(GetLastError())));
        return false;
    }
    const auto classes = entry<VantrelComAddInClassesFn>(module, kComAddInEntry);
    const auto registerServer = entry<HRESULT(STDAPICALLTYPE*)()>(module, "DllRegisterServer");
    unsigned count = 0;
    const VantrelComAddInClass* table = classes ? classes(&count) : nullptr;
    if (table == nullptr || registerServer == nullptr) {
        FreeLibrary(module);
        reportBroken(path, "The file is no Vantrel add-in.");
        return false;
    }
    bool registered = true;
    for (unsigned i = 0; i < count; ++i)
        registered = registered && table[i].progId && registeredAt(table[i].progId, path);
    if (!registered) {
        const HRESULT hr = registerServer();
        if (FAILED(hr)) {
            FreeLibrary(module);
            reportBroken(path, "It could not be registered: " + ErrorText(hr));
            return false;
        }
    }
    for (unsigned i = 0; i < count; ++i) {
        const VantrelComAddInClass& c = table[i];
        if (c.progId && c.name)
            found.push_back({c.progId, c.name, c.os ? c.os : "", path, c.version ? c.version : ""});
    }
    FreeLibrary(module);
    return true;
}

}  // namespace

std::shared_ptr<AddInObject> CreateComAddIn(const std::string& className) {
    initializeCom();
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(Widen(className).c_str(), &clsid);
    IDispatch* object = nullptr;
    if (SUCCEEDED(hr)) {
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(&object));
    }
    if (notRegistered(hr)) {
        if (!g_shippedBroken)
            return nullptr;
        throw VtlError(kAddInError, className,
                       "The add-in class '" + className +
                           "' was not found, and an add-in file could not be loaded.");
    }
    if (FAILED(hr) || object == nullptr) {
        throw VtlError(kAddInError, className,
                       "The add-in class '" + className +
                           "' could not be created: " + ErrorText(FAILED(hr) ? hr : E_NOINTERFACE));
    }
    return std::make_shared<ComAddIn>(className, object);
}

std::vector<platform::Platform::AddInClassInfo> ShippedComAddIns(const std::string& appPath) {
    initializeCom();
    g_shippedBroken = false;
    std::string folder = appPath;
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    folder += "\\addins";
    std::vector<platform::Platform::AddInClassInfo> found;
    for (const std::string& name : dllFiles(folder))
        describe(folder + "\\" + name, found);
    return found;
}

}  // namespace vtl::win32
