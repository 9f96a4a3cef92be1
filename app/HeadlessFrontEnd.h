// The program without windows: every message box is written as one line,
// every question gets its default answer, the restart dialog runs the saved
// default method, the Navigator warning is written as one line and other
// forms close at once as if cancelled. It remembers whether any message
// reported a failure.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "ui/DialogService.h"

namespace vtl {

class HeadlessFrontEnd : public ui::DialogService {
  public:
    explicit HeadlessFrontEnd(std::ostream& out) : out_(out) {}

    platform::Answer MsgBox(const std::string& text, std::uint32_t style,
                            const std::string& caption) override;
    void ShowModal(ui::Form& form) override;
    void ShowModeless(ui::Form& form) override;

    // True once a message has reported a failure.
    bool failed() const { return failed_; }
    void setFailed() { failed_ = true; }

    // The message's line: its caption ("Vantrel" when it has none), ": " and
    // the text with each line break as one blank.
    static std::string line(const std::string& text, const std::string& caption);
    // A message reports a failure when it has a warning, error or critical
    // icon, or tells of a file that could not be opened, saved, exported or
    // printed, or of a printer that could not be set.
    static bool reportsFailure(const std::string& text, std::uint32_t style);

  private:
    std::ostream& out_;
    bool failed_ = false;
};

}  // namespace vtl
