// The Network Drives add-in as a COM in-process server: the DLL's entries,
// the object that runs clsNetworkDrives on the DLL's own Win32 platform, and
// the Win32 view of its dialog, which forwards the user's actions to the
// frmNetworkDrives model and redraws from it.
#include "addins/AddInForms.h"
#include "addins/ComAddIn.h"
#include "addins/NetworkDrives/clsNetworkDrives.h"
#include "addins/NetworkDrives/frmNetworkDrives.h"
#include "config/VtlError.h"
#include "platform/win32/Win32Platform.h"
#include "ui/DialogService.h"
// After the platform's names, which the Windows macros would replace.
#include "platform/win32/ComVariant.h"
#include "platform/win32/InprocServer.h"

#undef MessageBox  // the platform member, not the user32 macro

namespace {

using namespace vtl;
using netdrives::frmNetworkDrives;

HMODULE g_module = nullptr;

// {3C40222F-34B2-4811-9FB5-C4B6F500C602}
constexpr CLSID kClsid = {
    0x3c40222f, 0x34b2, 0x4811, {0x9f, 0xb5, 0xc4, 0xb6, 0xf5, 0x00, 0xc6, 0x02}};

// --- The dialog's view. ---

enum : WORD {
    IdList = 100,
    IdDriveLabel,
    IdDrive,
    IdPathLabel,
    IdPath,
    IdReconnect,
    IdAdd,
    IdRemove,
};

// A dialog template in memory: DLGTEMPLATE, then DWORD-aligned items.
class DialogTemplate {
  public:
    DialogTemplate(const std::string& caption, short cx, short cy, WORD items) {
        dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        dword(0);
        words_.insert(words_.end(), {items, 0, 0, static_cast<WORD>(cx), static_cast<WORD>(cy)});
        words_.insert(words_.end(), {0, 0});  // no menu, standard class
        text(caption);
        words_.push_back(8);
        text("MS Sans Serif");
    }
    void add(WORD id, WORD atom, DWORD style, short x, short y, short cx, short cy,
             const std::string& title) {
        if (words_.size() % 2)
            words_.push_back(0);
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        words_.insert(words_.end(),
                      {static_cast<WORD>(x), static_cast<WORD>(y), static_cast<WORD>(cx),
                       static_cast<WORD>(cy), id, 0xFFFF, atom});
        text(title);
        words_.push_back(0);  // no creation data
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void dword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void text(const std::string& value) {
        for (wchar_t c : win32::Widen(value))
            words_.push_back(static_cast<WORD>(c));
        words_.push_back(0);
    }
    std::vector<WORD> words_;
};

struct ViewState {
    frmNetworkDrives& form;
    bool refreshing = false;
};

std::string windowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void refresh(HWND dialog, ViewState& state) {
    frmNetworkDrives& form = state.form;
    state.refreshing = true;
    SetWindowTextA(dialog, form.caption().c_str());
    HWND list = GetDlgItem(dialog, IdList);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < form.lstDrives.listCount(); ++i)
        SendMessageA(list, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(form.lstDrives.listAt(i).c_str()));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(form.lstDrives.listIndex()), 0);
    SendDlgItemMessageA(dialog, IdDrive, CB_SETCURSEL,
                        static_cast<WPARAM>(form.cboDrive.listIndex()), 0);
    HWND path = GetDlgItem(dialog, IdPath);
    if (windowText(path) != form.txtPath.text())
        SetWindowTextA(path, form.txtPath.text().c_str());
    CheckDlgButton(dialog, IdReconnect,
                   form.chkReconnect.value() == 1 ? BST_CHECKED : BST_UNCHECKED);
    const std::pair<WORD, const ui::Control*> controls[] = {
        {IdList, &form.lstDrives}, {IdDrive, &form.cboDrive},
        {IdPath, &form.txtPath},   {IdReconnect, &form.chkReconnect},
        {IdAdd, &form.cmdAdd},     {IdRemove, &form.cmdRemove},
        {IDOK, &form.cmdOK},       {IDCANCEL, &form.cmdCancel},
    };
    for (const auto& [id, control] : controls)
        EnableWindow(GetDlgItem(dialog, id), control->enabled());
    state.refreshing = false;
}

void forward(HWND dialog, ViewState& state, WORD id, WORD code) {
    frmNetworkDrives& form = state.form;
    // Only the notifications that are user entries reach the model.
    switch (id) {
        case IdList:
            if (code != LBN_SELCHANGE)
                return;
            form.lstDrives.userSelect(
                static_cast<int>(SendDlgItemMessageA(dialog, IdList, LB_GETCURSEL, 0, 0)));
            break;
        case IdDrive:
            if (code != CBN_SELCHANGE)
                return;
            form.cboDrive.userSelect(
                static_cast<int>(SendDlgItemMessageA(dialog, IdDrive, CB_GETCURSEL, 0, 0)));
            break;
        case IdPath:
            if (code != EN_CHANGE)
                return;
            form.txtPath.userType(windowText(GetDlgItem(dialog, IdPath)));
            break;
        case IdReconnect:
            form.chkReconnect.userClick();
            break;
        case IdAdd:
            form.cmdAdd.userClick();
            break;
        case IdRemove:
            form.cmdRemove.userClick();
            break;
        case IDOK:
            form.cmdOK.userClick();
            break;
        case IDCANCEL:
            form.cmdCancel.userClick();
            break;
        default:
            return;
    }
    if (!form.visible())
        EndDialog(dialog, id);
    else
        refresh(dialog, state);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto& state = *reinterpret_cast<ViewState*>(lParam);
        for (const std::string& letter : state.form.cboDrive.list())
            SendDlgItemMessageA(dialog, IdDrive, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(letter.c_str()));
        refresh(dialog, state);
        return TRUE;
    }
    auto* state = reinterpret_cast<ViewState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (state == nullptr || state->refreshing)
        return FALSE;
    try {
        if (message == WM_COMMAND) {
            forward(dialog, *state, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        }
        if (message == WM_CLOSE) {
            forward(dialog, *state, IDCANCEL, BN_CLICKED);
            return TRUE;
        }
    } catch (...) {
        // An error must not cross the window procedure: the dialog closes as cancelled.
        state->form.setVisible(false);
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

void showDialog(frmNetworkDrives& form) {
    DialogTemplate layout(form.caption(), 260, 152, 10);
    const auto add = [&](WORD id, WORD atom, DWORD style, short x, short y, short cx, short cy,
                         const ui::Control& control) {
        layout.add(id, atom, style, x, y, cx, cy, control.caption());
    };
    constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83, kCombo = 0x85;
    add(IdList, kListBox, LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 180, 90,
        form.lstDrives);
    add(IdAdd, kButton, BS_PUSHBUTTON | WS_TABSTOP, 195, 7, 58, 14, form.cmdAdd);
    add(IdRemove, kButton, BS_PUSHBUTTON | WS_TABSTOP, 195, 25, 58, 14, form.cmdRemove);
    add(IdDriveLabel, kStatic, SS_LEFT, 7, 104, 30, 8, form.lblDrive);
    add(IdDrive, kCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 40, 102, 40, 120,
        form.cboDrive);
    add(IdPathLabel, kStatic, SS_LEFT, 88, 104, 22, 8, form.lblPath);
    add(IdPath, kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 112, 102, 141, 12, form.txtPath);
    add(IdReconnect, kButton, BS_CHECKBOX | WS_TABSTOP, 7, 120, 120, 10, form.chkReconnect);
    add(IDOK, kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 140, 132, 55, 14, form.cmdOK);
    add(IDCANCEL, kButton, BS_PUSHBUTTON | WS_TABSTOP, 198, 132, 55, 14, form.cmdCancel);

    form.load();
    form.setVisible(true);
    ViewState state{form};
    const INT_PTR result = DialogBoxIndirectParamA(g_module, layout.get(), GetActiveWindow(),
                                                   dialogProc, reinterpret_cast<LPARAM>(&state));
    form.setVisible(false);
    form.unload();
    if (result == -1) {
        throw VtlError(kErrorBase + 0x311, netdrives::kClassName,
                       "The dialog could not be shown: " +
                           win32::ErrorText(HRESULT_FROM_WIN32(GetLastError())));
    }
}

// --- The object. ---

// The add-in's dialogs: its own form in the Win32 view above, message boxes
// through the DLL's platform.
class ServerForms : public ui::DialogService {
  public:
    platform::Answer MsgBox(const std::string& text, std::uint32_t style,
                            const std::string& caption) override {
        return platform::sys().MessageBox(text, style, caption);
    }
    void ShowModal(ui::Form& form) override {
        if (auto* dialog = dynamic_cast<frmNetworkDrives*>(&form))
            showDialog(*dialog);
    }
    void ShowModeless(ui::Form& form) override { ShowModal(form); }
};

class NetworkDrivesObject : public AddInObject {
  public:
    Variant Invoke(const std::string& member, const std::vector<Variant>& args) override {
        static win32::Win32Platform platform;
        static ServerForms forms;
        platform::PlatformScope scope(platform);
        AddInFormsScope formsScope(forms);
        return drives_.Invoke(member, args);
    }

  private:
    netdrives::clsNetworkDrives drives_;
};

const char* const kMembers[] = {"LoadSettings", "saveSettings", "Initialize", "ApplySettings",
                                "restart",      "Show",         "Changed",    "about"};

std::unique_ptr<AddInObject> create() {
    return std::make_unique<NetworkDrivesObject>();
}

const win32::InprocClass kClass{kClsid, netdrives::kClassName, netdrives::kAddInName, kMembers, 8,
                                create};

const VantrelComAddInClass kClasses[] = {
    {netdrives::kClassName, netdrives::kAddInName, "*", netdrives::kVersion}};

}  // namespace

VANTREL_INPROC_SERVER(kClass, kClasses, g_module)
