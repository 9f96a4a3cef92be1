// File > Export... and File > Print: the settings report of the window's document.
#include <exception>

#include "app/FileDialogs.h"
#include "app/frmMain.h"
#include "config/VtlError.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "platform/Platform.h"
#include "ui/clsSettings.h"

namespace vtl {

namespace {

constexpr const char* kTextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
constexpr const char* kPrintFailed =
    "An error occurred while attempting to print.  Please check your printer and try again.";

}  // namespace

void frmMain::wireReportCommands() {
    mnuFileExport.onClick = [this] { mnuFileExport_Click(); };
    mnuFilePrint.onClick = [this] { mnuFilePrint_Click(); };
}

void frmMain::mnuFileExport_Click() {
    try {
        if (!document)
            return;
        const std::string folder =
            document->ConfFile().empty() ? platform::sys().AppPath() : document->ConfFile();
        const std::string file = TrimNull(ShowSaveDialog(0, kTextFilter, "Export", folder, "txt"));
        if (file.empty())
            return;
        ui::clsSettings report;
        report.ConfigFile(document->ConfFile());
        report.ExportAllSettings(*document, oNetConfig, oIEConfig, oNNConfig, file);
    } catch (const ProgramEnd&) {
        throw;
    } catch (const VtlError& e) {
        // The file keeps what it held.
        dialogs().MsgBox(e.description(), platform::mb::OK | platform::mb::IconExclamation,
                         kAppName);
    } catch (const std::exception& e) {
        dialogs().MsgBox(e.what(), platform::mb::OK | platform::mb::IconExclamation, kAppName);
    }
}

void frmMain::mnuFilePrint_Click() {
    if (!document || dialogs().MsgBox("Print current configuration?",
                                      platform::mb::YesNo | platform::mb::IconQuestion,
                                      kAppName) != platform::Answer::Yes) {
        return;
    }
    try {
        ui::clsSettings report;
        report.ConfigFile(document->ConfFile());
        report.PrintAllSettings(*document, oNetConfig, oIEConfig, oNNConfig);
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception&) {
        dialogs().MsgBox(kPrintFailed, platform::mb::OK | platform::mb::IconInformation, kAppName);
    }
}

}  // namespace vtl
