// What the Navigator backend asks of the user. The front end implements it with
// its own windows and installs it; while none is installed nothing is shown.
#pragma once

namespace vtl {

class clsBrowser;

class NavigatorDialogs {
  public:
    virtual ~NavigatorDialogs() = default;

    // The warning that the preference file could not be located. Closing it
    // stores its box "Do not display this warning again" as the program
    // setting "Options"/"NavigatorWarning".
    virtual void ShowNavigatorWarning() = 0;

    struct MailDialogResult {
        bool Cancelled = true;
        bool Changed = false;
    };
    // The e-mail dialog for `config`; OK copies the edits into it.
    virtual MailDialogResult ShowNavigatorMail(clsBrowser& config) = 0;
};

// The installed dialogs, or nullptr.
NavigatorDialogs* navigatorDialogs();
void setNavigatorDialogs(NavigatorDialogs* dialogs);

// Installs `dialogs` while it lives, then restores the previous ones.
class NavigatorDialogsScope {
  public:
    explicit NavigatorDialogsScope(NavigatorDialogs& dialogs) : previous_(navigatorDialogs()) {
        setNavigatorDialogs(&dialogs);
    }
    ~NavigatorDialogsScope() { setNavigatorDialogs(previous_); }
    NavigatorDialogsScope(const NavigatorDialogsScope&) = delete;
    NavigatorDialogsScope& operator=(const NavigatorDialogsScope&) = delete;

  private:
    NavigatorDialogs* previous_;
};

}  // namespace vtl
