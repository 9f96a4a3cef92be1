// The print dialog (comdlg32 with global memory blocks) and printing on the
// current output printer with GDI.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>

#include "platform/win32/Win32Api.h"

namespace vtl::win32 {

namespace {

using Mode = platform::Platform::DevModeLayout;
using Names = platform::Platform::DevNamesLayout;

// DEVMODEA as Windows 95 and NT 4 know it, without the driver's own part.
constexpr WORD kDevModeSize = offsetof(DEVMODEA, dmReserved2) + sizeof(DWORD);
constexpr WORD kDevModeVersion = 0x0400;

#ifndef _WIN64
static_assert(sizeof(PRINTDLGA) == 66 && sizeof(DOCINFOA) == 20 && kDevModeSize == 148);
#endif
static_assert(offsetof(DEVMODEA, dmSize) == Mode::StructSize);
static_assert(offsetof(DEVMODEA, dmFields) == Mode::Fields);
static_assert(offsetof(DEVMODEA, dmOrientation) == Mode::Orientation);
static_assert(offsetof(DEVMODEA, dmCopies) == Mode::Copies);
static_assert(offsetof(DEVMODEA, dmDuplex) == Mode::Duplex);

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A movable global block holding `bytes` (at least `minimum` bytes, zero-filled).
HGLOBAL globalBlock(const std::vector<std::uint8_t>& bytes, std::size_t minimum) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::max(bytes.size(), minimum));
    if (block == nullptr)
        return nullptr;
    if (void* data = ::GlobalLock(block)) {
        if (!bytes.empty())
            std::memcpy(data, bytes.data(), bytes.size());
        ::GlobalUnlock(block);
        return block;
    }
    ::GlobalFree(block);
    return nullptr;
}

// The program's device-mode block as a real DEVMODEA.
std::vector<std::uint8_t> toDevMode(const std::vector<std::uint8_t>& block) {
    std::vector<std::uint8_t> mode(kDevModeSize, 0);
    std::memcpy(mode.data(), block.data(), std::min<std::size_t>(block.size(), Mode::Size));
    auto* real = reinterpret_cast<DEVMODEA*>(mode.data());
    real->dmSpecVersion = kDevModeVersion;
    real->dmSize = kDevModeSize;
    real->dmDriverExtra = 0;
    return mode;
}

// A DEVMODEA (with its driver part) in the program's 122-byte layout.
std::vector<std::uint8_t> fromDevMode(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> block(Mode::Size, 0);
    std::memcpy(block.data(), data, std::min<std::size_t>(size, Mode::Size));
    block[Mode::StructSize] = static_cast<std::uint8_t>(Mode::Size);
    block[Mode::StructSize + 1] = 0;
    block[Mode::StructSize + 2] = 0;  // no driver part
    block[Mode::StructSize + 3] = 0;
    return block;
}

// DEVNAMES in the program's 108-byte layout: names from offset 8, cut to fit.
std::vector<std::uint8_t> namesBlock(const std::string& driver, const std::string& device,
                                     const std::string& port) {
    std::vector<std::uint8_t> block(Names::Size, 0);
    std::size_t at = Names::Names;
    const std::string* texts[] = {&driver, &device, &port};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t offset = std::min<std::size_t>(at, Names::Size - 1);
        block[i * 2] = static_cast<std::uint8_t>(offset);
        block[i * 2 + 1] = static_cast<std::uint8_t>(offset >> 8);
        const std::size_t room = Names::Size - 1 - offset;
        const std::size_t length = std::min(texts[i]->size(), room);
        std::memcpy(block.data() + offset, texts[i]->data(), length);
        at = offset + length + 1;
    }
    return block;
}

// The three names of a DEVNAMES block of `size` bytes.
std::vector<std::uint8_t> fromDevNames(const std::uint8_t* data, std::size_t size) {
    auto name = [&](std::size_t field) {
        if (size < Names::Names)
            return std::string();
        const std::size_t offset = data[field] | data[field + 1] << 8;
        if (offset < Names::Names || offset >= size)
            return std::string();
        const auto* start = reinterpret_cast<const char*>(data + offset);
        return std::string(start, strnlen(start, size - offset));
    };
    return namesBlock(name(Names::DriverOffset), name(Names::DeviceOffset),
                      name(Names::OutputOffset));
}

// Copies a global block out and frees it.
template <typename Convert>
std::vector<std::uint8_t> takeBlock(HGLOBAL block, Convert convert) {
    std::vector<std::uint8_t> bytes;
    if (block == nullptr)
        return bytes;
    if (const void* data = ::GlobalLock(block)) {
        bytes = convert(static_cast<const std::uint8_t*>(data), ::GlobalSize(block));
        ::GlobalUnlock(block);
    }
    ::GlobalFree(block);
    return bytes;
}

// The driver's default device mode of `device`; empty when it has none.
std::vector<std::uint8_t> driverDefaults(const std::string& device) {
    std::vector<char> name(device.begin(), device.end());
    name.push_back('\0');
    HANDLE printer = nullptr;
    if (device.empty() || !::OpenPrinterA(name.data(), &printer, nullptr))
        return {};
    std::vector<std::uint8_t> mode;
    const LONG size = ::DocumentPropertiesA(nullptr, printer, name.data(), nullptr, nullptr, 0);
    if (size >= static_cast<LONG>(offsetof(DEVMODEA, dmDuplex) + sizeof(short))) {
        mode.assign(static_cast<std::size_t>(size), 0);
        if (::DocumentPropertiesA(nullptr, printer, name.data(),
                                  reinterpret_cast<DEVMODEA*>(mode.data()), nullptr,
                                  DM_OUT_BUFFER) != IDOK)
            mode.clear();
    }
    ::ClosePrinter(printer);
    return mode;
}

}  // namespace

bool Win32Platform::PrintDlg(PrintDlgInfo& dialog) {
    if (envSet("VANTREL_UNATTENDED"))
        return false;
    PRINTDLGA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = reinterpret_cast<HWND>(dialog.owner);
    request.Flags = dialog.flags;
    request.hDevMode =
        dialog.devMode.empty() ? nullptr : globalBlock(toDevMode(dialog.devMode), kDevModeSize);
    request.hDevNames =
        dialog.devNames.empty() ? nullptr : globalBlock(dialog.devNames, Names::Size);
    const BOOL chosen = ::PrintDlgA(&request);
    if (request.hDC != nullptr)
        ::DeleteDC(request.hDC);
    auto devMode = takeBlock(request.hDevMode, fromDevMode);
    auto devNames = takeBlock(request.hDevNames, fromDevNames);
    if (!chosen)
        return false;
    dialog.devMode = std::move(devMode);
    dialog.devNames = std::move(devNames);
    return true;
}

Win32Platform::PrinterState* Win32Platform::printerState() {
    const std::string device = upper(GetOutputPrinter());
    if (!printerState_ || printerState_->device != device)
        printerState_ = PrinterState{device, driverDefaults(GetOutputPrinter())};
    return printerState_->devMode.empty() ? nullptr : &*printerState_;
}

bool Win32Platform::GetPrinterProperty(PrinterProperty which, std::int16_t& value) {
    PrinterState* state = printerState();
    if (state == nullptr)
        return false;
    const auto* mode = reinterpret_cast<const DEVMODEA*>(state->devMode.data());
    switch (which) {
        case PrinterProperty::Copies:
            value = (mode->dmFields & DM_COPIES) && mode->dmCopies > 0 ? mode->dmCopies : 1;
            return true;
        case PrinterProperty::Orientation:
            value = (mode->dmFields & DM_ORIENTATION) && mode->dmOrientation == DMORIENT_LANDSCAPE
                        ? DMORIENT_LANDSCAPE
                        : DMORIENT_PORTRAIT;
            return true;
        case PrinterProperty::Duplex:
            if ((mode->dmFields & DM_DUPLEX) == 0)
                return false;
            value = mode->dmDuplex >= DMDUP_SIMPLEX && mode->dmDuplex <= DMDUP_HORIZONTAL
                        ? mode->dmDuplex
                        : DMDUP_SIMPLEX;
            return true;
    }
    return false;
}

bool Win32Platform::SetPrinterProperty(PrinterProperty which, std::int16_t value) {
    PrinterState* state = printerState();
    if (state == nullptr)
        return false;
    auto* mode = reinterpret_cast<DEVMODEA*>(state->devMode.data());
    switch (which) {
        case PrinterProperty::Copies:
            if (value < 1 || value > 9999)
                return false;
            mode->dmCopies = value;
            mode->dmFields |= DM_COPIES;
            return true;
        case PrinterProperty::Orientation:
            if (value != DMORIENT_PORTRAIT && value != DMORIENT_LANDSCAPE)
                return false;
            mode->dmOrientation = value;
            mode->dmFields |= DM_ORIENTATION;
            return true;
        case PrinterProperty::Duplex:
            // Only a printer whose driver names duplex can print on both sides.
            if ((mode->dmFields & DM_DUPLEX) == 0 || value < DMDUP_SIMPLEX ||
                value > DMDUP_HORIZONTAL)
                return false;
            mode->dmDuplex = value;
            return true;
    }
    return false;
}

namespace {

// One print job on a printer device context.
class Job {
  public:
    Job(HDC dc, HFONT font) : dc_(dc), font_(font) {}
    ~Job() {
        if (open_)
            ::AbortDoc(dc_);
    }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    bool start() {
        DOCINFOA doc{};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = "Vantrel";
        open_ = ::StartDocA(dc_, &doc) > 0;
        return open_ && newPage();
    }
    bool line(const std::string& text) {
        if (y_ + lineHeight_ > pageHeight_ && y_ > 0 && !(endPage() && newPage()))
            return false;
        if (!text.empty() && !::TextOutA(dc_, 0, y_, text.data(), static_cast<int>(text.size())))
            return false;
        y_ += lineHeight_;
        return true;
    }
    bool pageBreak() { return endPage() && newPage(); }
    bool finish() {
        if (!endPage() || ::EndDoc(dc_) <= 0)
            return false;
        open_ = false;
        return true;
    }

  private:
    bool newPage() {
        if (::StartPage(dc_) <= 0)
            return false;
        // Windows 95/98 reset the device context at each page.
        ::SelectObject(dc_, font_);
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(dc_, &metrics);
        lineHeight_ = std::max<int>(1, metrics.tmHeight + metrics.tmExternalLeading);
        pageHeight_ = ::GetDeviceCaps(dc_, VERTRES);
        y_ = 0;
        return true;
    }
    bool endPage() { return ::EndPage(dc_) > 0; }

    HDC dc_;
    HFONT font_;
    bool open_ = false;
    int y_ = 0;
    int lineHeight_ = 1;
    int pageHeight_ = 0;
};

long lastErrorOr(long otherwise) {
    const DWORD code = ::GetLastError();
    return code != 0 ? static_cast<long>(code) : otherwise;
}

}  // namespace

long Win32Platform::PrintText(const std::string& text, const std::string& fontName, int fontSize) {
    const std::string device = GetOutputPrinter();
    PrinterState* state = printerState();
    if (state == nullptr)
        return ERROR_INVALID_PRINTER_NAME;
    HDC dc = ::CreateDCA(nullptr, device.c_str(), nullptr,
                         reinterpret_cast<const DEVMODEA*>(state->devMode.data()));
    if (dc == nullptr)
        return lastErrorOr(ERROR_INVALID_PRINTER_NAME);
    const int height = -::MulDiv(fontSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    HFONT font = ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               FIXED_PITCH | FF_MODERN, fontName.c_str());
    long result = ERROR_SUCCESS;
    {
        Job job(dc, font);
        bool ok = job.start();
        // Lines end at CR LF, CR or LF; a form feed starts a new page.
        const std::string document = text + "\r\n";
        std::string line;
        for (std::size_t i = 0; ok && i < document.size(); ++i) {
            const char c = document[i];
            if (c == '\r' || c == '\n') {
                if (c == '\r' && i + 1 < document.size() && document[i + 1] == '\n')
                    ++i;
                ok = job.line(line);
                line.clear();
            } else if (c == '\f') {
                ok = job.line(line) && job.pageBreak();
                line.clear();
            } else {
                line += c;
            }
        }
        ok = ok && job.finish();
        if (!ok)
            result = lastErrorOr(ERROR_WRITE_FAULT);
    }
    if (font != nullptr)
        ::DeleteObject(font);
    ::DeleteDC(dc);
    return result;
}

}  // namespace vtl::win32
