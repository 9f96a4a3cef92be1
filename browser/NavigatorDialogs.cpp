#include "browser/NavigatorDialogs.h"

namespace vtl {

namespace {
NavigatorDialogs* g_dialogs = nullptr;
}

NavigatorDialogs* navigatorDialogs() {
    return g_dialogs;
}

void setNavigatorDialogs(NavigatorDialogs* dialogs) {
    g_dialogs = dialogs;
}

}  // namespace vtl
