// The Navigator backend's questions answered with the program's forms
// (frmNetscape, frmNNMail), shown through a front end's dialog service.
#pragma once

#include "browser/NavigatorDialogs.h"
#include "ui/DialogService.h"

namespace vtl::ui {

class NavigatorForms : public NavigatorDialogs {
  public:
    explicit NavigatorForms(DialogService& dialogs) : dialogs_(dialogs) {}

    void ShowNavigatorWarning() override;
    MailDialogResult ShowNavigatorMail(clsBrowser& config) override;

  private:
    DialogService& dialogs_;
};

}  // namespace vtl::ui
