#include "ui/PrinterDialog.h"

#include <algorithm>
#include <cctype>

#include "config/VbText.h"
#include "platform/Platform.h"

namespace vtl::ui {

namespace {

using platform::Platform;
using Mode = Platform::DevModeLayout;
using Names = Platform::DevNamesLayout;

std::uint32_t readNumber(const std::vector<std::uint8_t>& block, std::size_t offset,
                         std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        if (offset + i < block.size())
            value |= static_cast<std::uint32_t>(block[offset + i]) << (8 * i);
    }
    return value;
}

void writeNumber(std::vector<std::uint8_t>& block, std::size_t offset, std::size_t bytes,
                 std::uint32_t value) {
    for (std::size_t i = 0; i < bytes; ++i)
        block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::int16_t readShort(const std::vector<std::uint8_t>& block, std::size_t offset) {
    return static_cast<std::int16_t>(readNumber(block, offset, 2));
}

void writeShort(std::vector<std::uint8_t>& block, std::size_t offset, std::int16_t value) {
    writeNumber(block, offset, 2, static_cast<std::uint16_t>(value));
}

// The text from `offset` up to the first NUL, within `limit` bytes.
std::string textAt(const std::vector<std::uint8_t>& block, std::size_t offset, std::size_t limit) {
    std::string text;
    for (std::size_t i = offset; i < block.size() && i < offset + limit && block[i] != 0; ++i)
        text += static_cast<char>(block[i]);
    return text;
}

}  // namespace

std::vector<std::uint8_t> makeDevMode(const DevMode& mode) {
    std::vector<std::uint8_t> block(Mode::Size, 0);
    const std::size_t length = std::min(mode.deviceName.size(), Mode::DeviceNameLength);
    std::copy_n(mode.deviceName.begin(), length, block.begin() + Mode::DeviceName);
    writeNumber(block, Mode::StructSize, 2, Mode::Size);
    writeNumber(block, Mode::Fields, 4, mode.fields);
    writeShort(block, Mode::Orientation, mode.orientation);
    writeShort(block, Mode::Copies, mode.copies);
    writeShort(block, Mode::Duplex, mode.duplex);
    return block;
}

DevMode readDevMode(const std::vector<std::uint8_t>& block) {
    DevMode mode;
    mode.deviceName = textAt(block, Mode::DeviceName, Mode::DeviceNameLength);
    mode.fields = readNumber(block, Mode::Fields, 4);
    mode.orientation = readShort(block, Mode::Orientation);
    mode.copies = readShort(block, Mode::Copies);
    mode.duplex = readShort(block, Mode::Duplex);
    return mode;
}

std::vector<std::uint8_t> makeDevNames(const DevNames& names) {
    std::vector<std::uint8_t> block(Names::Size, 0);
    std::string text = names.driver;
    text += '\0';
    text += names.device;
    text += '\0';
    text += names.port;
    text += '\0';
    text.resize(std::min(text.size(), Names::NamesLength));
    std::copy(text.begin(), text.end(), block.begin() + Names::Names);
    const std::size_t driver = Names::Names;
    const std::size_t device = driver + names.driver.size() + 1;
    const std::size_t port = device + names.device.size() + 1;
    writeNumber(block, Names::DriverOffset, 2, static_cast<std::uint32_t>(driver));
    writeNumber(block, Names::DeviceOffset, 2, static_cast<std::uint32_t>(device));
    writeNumber(block, Names::OutputOffset, 2, static_cast<std::uint32_t>(port));
    writeNumber(block, Names::Default, 2, 0);
    return block;
}

DevNames readDevNames(const std::vector<std::uint8_t>& block) {
    const auto name = [&block](std::size_t field) {
        const std::size_t offset = readNumber(block, field, 2);
        return offset < Names::Names ? std::string() : textAt(block, offset, Names::Size);
    };
    return {name(Names::DriverOffset), name(Names::DeviceOffset), name(Names::OutputOffset)};
}

bool showPrinterDialog(std::uintptr_t hwndOwner, std::uint32_t flags) {
    Platform& sys = platform::sys();
    using Property = Platform::PrinterProperty;

    const std::string current = sys.GetOutputPrinter();
    DevNames names{"", current, ""};
    for (const Platform::PrinterEntry& printer : sys.Printers()) {
        if (UCase(printer.deviceName) == UCase(current)) {
            names.driver = printer.driverName;
            names.port = printer.port;
            break;
        }
    }
    DevMode mode;
    mode.deviceName = current;
    mode.fields = Platform::DM_ORIENTATION | Platform::DM_DUPLEX;
    if (!sys.GetPrinterProperty(Property::Orientation, mode.orientation))
        mode.orientation = 0;
    if (!sys.GetPrinterProperty(Property::Duplex, mode.duplex))
        mode.duplex = 0;

    Platform::PrintDlgInfo dialog;
    dialog.owner = hwndOwner;
    dialog.flags = flags;
    dialog.devMode = makeDevMode(mode);
    dialog.devNames = makeDevNames(names);
    if (!sys.PrintDlg(dialog))
        return false;

    const DevMode chosen = readDevMode(dialog.devMode);
    dialog.devMode.clear();
    dialog.devNames.clear();
    const std::string device = UCase(chosen.deviceName);
    if (device != current) {
        for (const Platform::PrinterEntry& printer : sys.Printers()) {
            if (UCase(printer.deviceName) == device) {
                sys.SetOutputPrinter(printer.deviceName);
                break;
            }
        }
    }
    sys.SetPrinterProperty(Property::Copies, chosen.copies);
    sys.SetPrinterProperty(Property::Duplex, chosen.duplex);
    sys.SetPrinterProperty(Property::Orientation, chosen.orientation);
    return true;
}

}  // namespace vtl::ui
