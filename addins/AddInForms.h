// Where add-ins show their own dialogs: the program's dialog service, which the
// front end installs. An add-in module gets it with the platform before every
// call into it (addins/AddInModule.h).
#pragma once

namespace vtl::ui {
class DialogService;
}  // namespace vtl::ui

namespace vtl {

// The installed dialog service, or nullptr: an add-in's dialog is then not shown.
ui::DialogService* addInForms();
void setAddInForms(ui::DialogService* dialogs);

// Installs `dialogs` while it lives, then restores the previous service.
class AddInFormsScope {
  public:
    explicit AddInFormsScope(ui::DialogService& dialogs) : previous_(addInForms()) {
        setAddInForms(&dialogs);
    }
    ~AddInFormsScope() { setAddInForms(previous_); }
    AddInFormsScope(const AddInFormsScope&) = delete;
    AddInFormsScope& operator=(const AddInFormsScope&) = delete;

  private:
    ui::DialogService* previous_;
};

}  // namespace vtl
