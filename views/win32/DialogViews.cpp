#include "views/win32/DialogViews.h"

namespace vtl::views {

void registerDialogViews(Win32Dialogs& dialogs) {
    const std::pair<const char*, Win32Dialogs::Factory> views[] = {
        {"frmAbout", makeAboutView},     {"frmNICWarning", makeNICWarningView},
        {"frmNNMail", makeNNMailView},   {"frmNetscape", makeNetscapeView},
        {"frmOptions", makeOptionsView}, {"frmPrintSetup", makePrintSetupView},
        {"frmPrinter", makePrinterView}, {"frmRestart", makeRestartView},
        {"frmAddIns", makeAddInsView},
    };
    for (const auto& [name, factory] : views)
        dialogs.registerView(name, factory);
}

void startGroup(HWND control) {
    SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) | WS_GROUP);
}

}  // namespace vtl::views
