// A COM add-in of the tests' own: it writes every call it receives, one line
// "Member(arguments)", to the file beside the DLL named <dll>.log. It keeps a
// value in the configuration file's section "Recorder" ("Value"); "Fail=Member"
// there makes that member raise an error (from LoadSettings on), "Restart=1"
// makes restart true after ApplySettings.
#include <string>

#include "addins/ComAddIn.h"
#include "config/VtlError.h"
#include "platform/win32/InprocServer.h"

namespace {

using namespace vtl;

HMODULE g_module = nullptr;

constexpr const char* kProgId = "VantrelTest.Recorder";
constexpr const char* kSection = "Recorder";

// {91EFB591-CB5B-43A5-A091-D54CB8CA95C0}
constexpr CLSID kClsid = {
    0x91efb591, 0xcb5b, 0x43a5, {0xa0, 0x91, 0xd5, 0x4c, 0xb8, 0xca, 0x95, 0xc0}};

std::string modulePath() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(g_module, path, MAX_PATH);
    return path;
}

std::string profileValue(const std::string& file, const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA(kSection, key, "", value, sizeof value, file.c_str());
    return value;
}

class Recorder : public AddInObject {
  public:
    Variant Invoke(const std::string& member, const std::vector<Variant>& args) override {
        std::string line = member + "(";
        for (std::size_t i = 0; i < args.size(); ++i)
            line += (i ? "," : "") + text(args[i]);
        record(line + ")");

        const std::string file = args.empty() ? std::string() : args[0].text();
        if (member == "LoadSettings") {
            value_ = profileValue(file, "Value");
            fail_ = profileValue(file, "Fail");
            restartWanted_ = profileValue(file, "Restart") == "1";
        }
        if (member == fail_)
            throw VtlError(kErrorBase + 0x42, kProgId, "The recorder refuses " + member + ".");
        if (member == "saveSettings") {
            WritePrivateProfileStringA(kSection, "Value", value_.c_str(), file.c_str());
        } else if (member == "ApplySettings") {
            restart_ = restartWanted_;
        } else if (member == "restart") {
            return Variant(restart_);
        } else if (member == "Changed") {
            return Variant(true);
        }
        return {};
    }

  private:
    static std::string text(const Variant& value) {
        return value.kind() == Variant::Kind::String
                   ? value.text()
                   : std::to_string(static_cast<long>(value.number()));
    }

    static void record(const std::string& line) {
        const std::string log = modulePath() + ".log";
        HANDLE file = CreateFileA(log.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        SetFilePointer(file, 0, nullptr, FILE_END);
        const std::string text = line + "\r\n";
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }

    std::string value_;
    std::string fail_;
    bool restartWanted_ = false;
    bool restart_ = false;
};

const char* const kMembers[] = {"LoadSettings", "saveSettings", "Initialize", "ApplySettings",
                                "restart",      "Show",         "Changed",    "about"};

std::unique_ptr<AddInObject> create() {
    return std::make_unique<Recorder>();
}

const win32::InprocClass kClass{kClsid, kProgId, "Vantrel test recorder", kMembers, 8, create};

const VantrelComAddInClass kClasses[] = {{kProgId, "Recorder", "*", "2.5.0"}};

}  // namespace

VANTREL_INPROC_SERVER(kClass, kClasses, g_module)
