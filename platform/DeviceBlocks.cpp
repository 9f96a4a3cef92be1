#include "platform/DeviceBlocks.h"

#include <algorithm>

#include "platform/Platform.h"

namespace vtl::platform {

namespace {

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

}  // namespace vtl::platform
