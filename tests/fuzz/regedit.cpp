// REGEDIT4 text: the reader with the writer helpers reach a fixed point after one
// cycle, and the registry loaded from the text, written back and loaded again
// holds the same tree.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/portable/RegFile.h"

namespace {

using namespace vtl::portable;

// Writes what it is given with the RegFile helpers.
class Writer : public RegSink {
  public:
    std::string out{kRegHeader};
    void key(std::string_view path) override { appendKeyLine(out, path); }
    void deleteKey(std::string_view path) override { appendKeyLine(out, path, true); }
    void value(std::string_view name, std::uint32_t type,
               std::vector<std::uint8_t>&& data) override {
        appendValueLine(out, name, type, data.data(), data.size());
    }
    void deleteValue(std::string_view name) override { appendDeleteValueLine(out, name); }
};

std::string treeOf(const std::filesystem::path& file) {
    PortableRegistry reg(file);
    return vtl::fuzz::dumpRegistry(reg);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vtl::fuzz::check;
    const std::string input = vtl::fuzz::text(data, size);
    Writer first, second;
    try {
        parseReg(input, "input", first);
    } catch (const ImageError&) {
        return 0;  // refused with its line: fine
    }
    try {
        parseReg(first.out, "written", second);
    } catch (const ImageError& e) {
        check(false, "the written text does not parse", e.what());
    }
    check(second.out == first.out, "the written text reads back otherwise", second.out);

    const std::filesystem::path file = vtl::fuzz::scratch() / "registry.reg";
    std::filesystem::remove(file.string() + ".journal");
    vtl::test::writeFile(file, input);
    std::string before;
    try {
        PortableRegistry reg(file);
        before = vtl::fuzz::dumpRegistry(reg);
        check(reg.fold(), "the registry cannot be written");
    } catch (const ImageError&) {
        return 0;
    }
    try {
        check(treeOf(file) == before, "the registry reads back otherwise", before);
    } catch (const ImageError& e) {
        check(false, "the written registry does not load", e.what());
    }
    return 0;
}
