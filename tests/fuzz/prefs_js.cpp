// The prefs.js editor on a fuzzed file: every user_pref key in it can be read;
// values saved read back, also after the file was written and opened again, and
// a second write leaves the file as the first wrote it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "browser/clsNavigatorPrefs.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vtl::fuzz::check;
    auto& machine = vtl::fuzz::image();
    const std::string input = vtl::fuzz::text(data, size);
    const auto file = machine.dir() / "drive_c" / "prefs.js";
    vtl::test::writeFile(file, input);
    const std::string name = "C:\\prefs.js";
    {
        vtl::clsNavigatorPrefs prefs;
        prefs.openPrefsFile(name, true);
        check(prefs.isOpen(), "the file does not open");
        const std::string pattern = "user_pref(\"";
        for (std::size_t at = input.find(pattern); at != std::string::npos;
             at = input.find(pattern, at + 1)) {
            const std::size_t start = at + pattern.size();
            prefs.getSetting(input.substr(start, input.find('"', start) - start));
        }
        prefs.saveSettingStr("network.proxy.http", "proxy.example");
        prefs.saveSettingInt("network.proxy.http_port", 8080);
        prefs.saveSettingBln("network.proxy.vantrel", true);
        prefs.deleteSetting("network.proxy.vantrel");
        if (!machine.messages().empty())
            return 0;  // refused (an empty file, too many lines): fine
        check(prefs.getSetting("network.proxy.http") == "proxy.example", "a saved text reads back");
        check(prefs.getSetting("network.proxy.http_port") == "8080", "a saved number reads back");
    }
    const std::string written = vtl::test::readFile(file);
    {
        vtl::clsNavigatorPrefs prefs;
        prefs.openPrefsFile(name, true);
        check(prefs.getSetting("network.proxy.http") == "proxy.example", "a text reads back");
        check(prefs.getSetting("network.proxy.http_port") == "8080", "a number reads back");
    }
    check(vtl::test::readFile(file) == written, "a second write changes the file", written);
    check(machine.messages().empty(), "a message", machine.messages().front().text);
    return 0;
}
