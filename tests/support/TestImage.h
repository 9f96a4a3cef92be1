// A scratch copy of a machine image with its platform installed for one test.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "addins/AddInForms.h"
#include "browser/NavigatorDialogs.h"
#include "platform/portable/PortablePlatform.h"
#include "ui/DialogService.h"
#include "ui/NavigatorForms.h"
#include "ui/frmNNMail.h"
#include "ui/frmNetscape.h"
#include "ui/frmPrintSetup.h"

namespace vtl::test {

inline std::filesystem::path samplesDir() {
    return VANTREL_SAMPLES_DIR;
}

// A fresh, empty temporary folder, removed with the object.
class TempDir {
  public:
    TempDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("vantrel-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        // Make read-only leftovers removable.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        }
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void writeFile(const std::filesystem::path& file, const std::string& content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
}

// Stands in for the user in the forms shown outside the main window: the
// Navigator warning (box left clear) and e-mail dialog (cancelled), the print
// dialog (cancelled) and add-ins' own dialogs (closed), unless a test's
// handler acts for the user.
class TestForms : public ui::DialogService {
  public:
    platform::Answer MsgBox(const std::string& text, std::uint32_t style,
                            const std::string& caption) override {
        return platform::sys().MessageBox(text, style, caption);
    }
    void ShowModal(ui::Form& form) override {
        form.load();
        form.setVisible(true);
        if (auto* warning = dynamic_cast<ui::frmNetscape*>(&form)) {
            warning->chkWarning.setValue(navigatorWarning && navigatorWarning() ? 1 : 0);
        } else if (auto* mail = dynamic_cast<ui::frmNNMail*>(&form)) {
            if (navigatorMail)
                navigatorMail(*mail);
            else
                mail->cmdCancel.click();
        } else if (auto* print = dynamic_cast<ui::frmPrintSetup*>(&form)) {
            if (printDialog)
                printDialog(*print);
        } else if (addInForm) {
            addInForm(form);
        }
        form.setVisible(false);
        form.unload();
    }
    void ShowModeless(ui::Form& form) override {
        form.load();
        form.setVisible(true);
    }

    std::function<bool()> navigatorWarning;  // returns the box's state
    std::function<void(ui::frmNNMail&)> navigatorMail;
    std::function<void(ui::frmPrintSetup&)> printDialog;
    std::function<void(ui::Form&)> addInForm;
};

// A copy of a sample image ("win98", "nt4", "win2000") or of an image made from
// a registry text alone, with its platform installed while the object lives.
// Message boxes are recorded and answered with their default button unless a
// test scripts the answers; the other forms go to its TestForms.
class TestImage {
  public:
    struct Message {
        std::string text;
        std::uint32_t style;
        std::string caption;
    };

    static std::unique_ptr<TestImage> sample(const std::string& name) {
        auto image = std::unique_ptr<TestImage>(new TestImage);
        std::filesystem::copy(samplesDir() / name, image->dir(),
                              std::filesystem::copy_options::recursive);
        image->start();
        return image;
    }

    // An image whose registry.reg holds `regText` (REGEDIT4 header added when missing).
    static std::unique_ptr<TestImage> fromRegistry(const std::string& regText) {
        auto image = std::unique_ptr<TestImage>(new TestImage);
        std::string text =
            regText.rfind("REGEDIT4", 0) == 0 ? regText : "REGEDIT4\r\n\r\n" + regText;
        writeFile(image->dir() / "registry.reg", text);
        std::filesystem::create_directories(image->dir() / "drive_c");
        image->start();
        return image;
    }

    const std::filesystem::path& dir() const { return machine_; }
    portable::PortablePlatform& platform() { return *platform_; }
    const std::vector<Message>& messages() const { return messages_; }
    void clearMessages() { messages_.clear(); }
    // Stand-ins for the user in the forms outside the main window.
    void setNavigatorWarningHandler(std::function<bool()> handler) {
        forms_.navigatorWarning = std::move(handler);
    }
    void setNavigatorMailHandler(std::function<void(ui::frmNNMail&)> handler) {
        forms_.navigatorMail = std::move(handler);
    }
    void setPrintDialogHandler(std::function<void(ui::frmPrintSetup&)> handler) {
        forms_.printDialog = std::move(handler);
    }
    void setAddInFormHandler(std::function<void(ui::Form&)> handler) {
        forms_.addInForm = std::move(handler);
    }

    // Ends the platform (its registry is folded into registry.reg) and starts a new one.
    void restart() {
        scope_.reset();
        platform_.reset();
        start();
    }
    // Ends the platform for good, leaving registry.reg holding every change.
    void stop() {
        scope_.reset();
        platform_.reset();
    }

  private:
    TestImage() : machine_(dir_.path() / "machine") {
        std::filesystem::create_directories(machine_);
    }

    void start() {
        platform_ = std::make_unique<portable::PortablePlatform>(machine_);
        platform_->setMessageHandler(
            [this](const std::string& text, std::uint32_t style, const std::string& caption) {
                messages_.push_back({text, style, caption});
                return platform::defaultAnswer(style);
            });
        platform_->setPrintDialogHandler(
            [this](platform::Platform::PrintDlgInfo& dialog,
                   const std::vector<portable::PortablePlatform::PrintDialogPrinter>& printers) {
                std::vector<ui::frmPrintSetup::Printer> listed;
                for (const auto& p : printers)
                    listed.push_back({p.deviceName, p.driverName, p.port, p.duplex});
                return ui::runPrintSetup(dialog, listed, platform_->GetOutputPrinter(), forms_);
            });
        scope_ = std::make_unique<platform::PlatformScope>(*platform_);
    }

    TempDir dir_;
    std::filesystem::path machine_;
    std::unique_ptr<portable::PortablePlatform> platform_;
    std::unique_ptr<platform::PlatformScope> scope_;
    std::vector<Message> messages_;
    TestForms forms_;
    ui::NavigatorForms navigatorForms_{forms_};
    NavigatorDialogsScope navigatorScope_{navigatorForms_};
    AddInFormsScope addInFormsScope_{forms_};
};

}  // namespace vtl::test
