#include "app/HeadlessFrontEnd.h"

#include "config/modAPI.h"
#include "ui/frmNetscape.h"
#include "ui/frmRestart.h"

namespace vtl {

namespace {

bool startsWith(const std::string& text, const std::string& head) {
    return text.rfind(head, 0) == 0;
}

}  // namespace

std::string HeadlessFrontEnd::line(const std::string& text, const std::string& caption) {
    std::string result = (caption.empty() ? std::string(kAppName) : caption) + ": ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        result += (c == '\r' || c == '\n') ? ' ' : c;
    }
    return result;
}

bool HeadlessFrontEnd::reportsFailure(const std::string& text, std::uint32_t style) {
    const std::uint32_t icon = style & platform::mb::IconMask;
    if (icon == platform::mb::IconExclamation || icon == platform::mb::IconCritical)
        return true;
    return (startsWith(text, "The file '") &&
            text.find("' could not be opened.") != std::string::npos) ||
           startsWith(text, "Error opening file '") || text == "Error saving configuration." ||
           text == "Invalid configuration file." || text == "Missing export filename." ||
           startsWith(text, "An error occurred while attempting to print.") ||
           startsWith(text, "SetPrinterFailed.");
}

platform::Answer HeadlessFrontEnd::MsgBox(const std::string& text, std::uint32_t style,
                                          const std::string& caption) {
    if (reportsFailure(text, style))
        failed_ = true;
    out_ << line(text, caption) << '\n' << std::flush;
    return platform::defaultAnswer(style);
}

void HeadlessFrontEnd::ShowModal(ui::Form& form) {
    form.load();
    if (auto* restart = dynamic_cast<ui::frmRestart*>(&form))
        restart->runDefault();
    if (auto* warning = dynamic_cast<ui::frmNetscape*>(&form))
        out_ << line(warning->lblWarning.caption(), warning->caption()) << '\n' << std::flush;
    form.unload();
}

void HeadlessFrontEnd::ShowModeless(ui::Form& form) {
    form.load();
    form.setVisible(true);
}

}  // namespace vtl
