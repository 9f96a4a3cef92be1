// Add-in creation on the portable platform: add-in modules are shared
// libraries in the addins/ folder beside the program, loaded with dlopen.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <exception>
#include <system_error>

#include "addins/AddInForms.h"
#include "addins/AddInModule.h"
#include "config/VbText.h"
#include "config/VtlError.h"
#include "platform/portable/PortablePlatform.h"

namespace vtl::portable {

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kAddInError = kErrorBase + 0x300;

}  // namespace

// A loaded module; modules stay loaded for the rest of the process.
struct PortablePlatform::AddInModuleRef {
    std::string path;
    const VantrelAddInModule* table = nullptr;
};

namespace {

using ModuleRef = std::shared_ptr<PortablePlatform::AddInModuleRef>;

struct LoadResult {
    ModuleRef module;
    std::string error;
};

LoadResult loadAddInModule(const fs::path& file) {
    static std::vector<ModuleRef> loaded;
    const std::string path = file.string();
    for (const ModuleRef& module : loaded) {
        if (module->path == path)
            return {module, {}};
    }
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = ::dlerror();
        return {nullptr, reason ? reason : "The file is no shared library."};
    }
    auto entry = reinterpret_cast<VantrelAddInClassesFn>(::dlsym(handle, kAddInEntry));
    const VantrelAddInModule* table = entry ? entry() : nullptr;
    if (table == nullptr) {
        ::dlclose(handle);
        return {nullptr, "The file is no Vantrel add-in."};
    }
    if (table->abi != kAddInAbi || table->variantSize != sizeof(Variant) ||
        table->create == nullptr || table->bindHost == nullptr ||
        (table->classCount != 0 && table->classes == nullptr)) {
        ::dlclose(handle);
        return {nullptr, "The add-in was built for another version of Vantrel."};
    }
    auto module = std::make_shared<PortablePlatform::AddInModuleRef>();
    module->path = path;
    module->table = table;
    loaded.push_back(module);
    return {module, {}};
}

// Every member call of an add-in goes through here: the module sees the
// current platform, and whatever the member throws comes back as a VtlError
// that names the class and the member.
class GuardedAddIn : public AddInObject {
  public:
    GuardedAddIn(std::string className, ModuleRef module, std::shared_ptr<AddInObject> inner)
        : className_(std::move(className)), module_(std::move(module)), inner_(std::move(inner)) {}

    Variant Invoke(const std::string& member, const std::vector<Variant>& args) override {
        const std::string where = className_ + "." + member + ": ";
        try {
            if (module_) {
                const VantrelAddInHost host{&platform::sys(), addInForms()};
                module_->table->bindHost(&host);
            }
            return inner_->Invoke(member, args);
        } catch (const VtlError& e) {
            throw VtlError(e.number(), className_, where + e.description());
        } catch (const std::exception& e) {
            throw VtlError(kAddInError, className_, where + e.what());
        } catch (...) {
            throw VtlError(kAddInError, className_, where + "unknown error");
        }
    }

  private:
    std::string className_;
    ModuleRef module_;
    std::shared_ptr<AddInObject> inner_;
};

fs::path programFolder() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : self.parent_path();
}

}  // namespace

void PortablePlatform::setAddInClass(const std::string& className, AddInFactory factory) {
    if (factory)
        addInClasses_[UCase(className)] = std::move(factory);
    else
        addInClasses_.erase(UCase(className));
}

fs::path PortablePlatform::addInFolder() const {
    return addInFolder_ ? *addInFolder_ : programFolder() / "addins";
}

std::vector<std::shared_ptr<PortablePlatform::AddInModuleRef>> PortablePlatform::scanAddInModules(
    bool& anyBroken) {
    anyBroken = false;
    std::vector<fs::path> files;
    std::error_code ec;
    for (auto it = fs::directory_iterator(addInFolder(), ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        if (it->path().extension() == ".so")
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());

    std::vector<ModuleRef> modules;
    for (const fs::path& file : files) {
        LoadResult result = loadAddInModule(file);
        if (result.module) {
            modules.push_back(result.module);
            continue;
        }
        anyBroken = true;
        const std::string path = file.string();
        if (std::find(reportedAddInFiles_.begin(), reportedAddInFiles_.end(), path) ==
            reportedAddInFiles_.end()) {
            reportedAddInFiles_.push_back(path);
            MessageBox("The add-in file '" + path + "' could not be loaded.\r\n\r\n" + result.error,
                       platform::mb::OK | platform::mb::IconExclamation, "Vantrel");
        }
    }
    return modules;
}

std::shared_ptr<AddInObject> PortablePlatform::CreateObject(const std::string& className) {
    const std::string key = UCase(className);
    if (auto local = addInClasses_.find(key); local != addInClasses_.end()) {
        std::shared_ptr<AddInObject> inner = local->second();
        return inner ? std::make_shared<GuardedAddIn>(className, nullptr, std::move(inner))
                     : nullptr;
    }

    bool anyBroken = false;
    for (const ModuleRef& module : scanAddInModules(anyBroken)) {
        const VantrelAddInModule& table = *module->table;
        for (std::uint32_t i = 0; i < table.classCount; ++i) {
            if (table.classes[i].className == nullptr || UCase(table.classes[i].className) != key)
                continue;
            std::shared_ptr<AddInObject> inner;
            try {
                const VantrelAddInHost host{this, addInForms()};
                table.bindHost(&host);
                inner.reset(table.create(table.classes[i].className));
            } catch (const std::exception& e) {
                throw VtlError(kAddInError, className,
                               "The add-in class '" + className + "' failed: " + e.what());
            }
            if (!inner) {
                throw VtlError(
                    kAddInError, className,
                    "The add-in file '" + module->path + "' could not create '" + className + "'.");
            }
            return std::make_shared<GuardedAddIn>(table.classes[i].className, module,
                                                  std::move(inner));
        }
    }
    if (anyBroken) {
        throw VtlError(kAddInError, className,
                       "The add-in class '" + className +
                           "' was not found, and an add-in file could not be loaded.");
    }
    return nullptr;
}

std::vector<platform::Platform::AddInClassInfo> PortablePlatform::ShippedAddIns() {
    std::vector<AddInClassInfo> found;
    bool anyBroken = false;
    for (const ModuleRef& module : scanAddInModules(anyBroken)) {
        const VantrelAddInModule& table = *module->table;
        for (std::uint32_t i = 0; i < table.classCount; ++i) {
            const VantrelAddInClass& c = table.classes[i];
            if (c.className == nullptr || c.name == nullptr)
                continue;
            found.push_back(
                {c.className, c.name, c.os ? c.os : "", module->path, c.version ? c.version : ""});
        }
    }
    return found;
}

}  // namespace vtl::portable
