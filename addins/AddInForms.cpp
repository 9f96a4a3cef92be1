#include "addins/AddInForms.h"

namespace vtl {

namespace {
ui::DialogService* g_forms = nullptr;
}

ui::DialogService* addInForms() {
    return g_forms;
}

void setAddInForms(ui::DialogService* dialogs) {
    g_forms = dialogs;
}

}  // namespace vtl
