// The views of the program's dialogs, registered with the dialog service under
// their forms' names: About, the adapter and Navigator warnings, the Navigator
// e-mail settings, Options, Print Setup, the advanced printer settings,
// Restart and the add-in manager.
#pragma once

#include "views/win32/Win32Dialogs.h"

namespace vtl::views {

void registerDialogViews(Win32Dialogs& dialogs);

// The view of each dialog (the form must be of the named class).
std::unique_ptr<FormView> makeAboutView(ui::Form& form);       // frmAbout
std::unique_ptr<FormView> makeNICWarningView(ui::Form& form);  // frmNICWarning
std::unique_ptr<FormView> makeNNMailView(ui::Form& form);      // frmNNMail
std::unique_ptr<FormView> makeNetscapeView(ui::Form& form);    // frmNetscape
std::unique_ptr<FormView> makeOptionsView(ui::Form& form);     // frmOptions
std::unique_ptr<FormView> makePrintSetupView(ui::Form& form);  // frmPrintSetup
std::unique_ptr<FormView> makePrinterView(ui::Form& form);     // frmPrinter
std::unique_ptr<FormView> makeRestartView(ui::Form& form);     // frmRestart
std::unique_ptr<FormView> makeAddInsView(ui::Form& form);      // frmAddIns

// Starts a new tab group at `control` (the first control after a group of option buttons).
void startGroup(HWND control);

}  // namespace vtl::views
