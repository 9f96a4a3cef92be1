// The platform interface: every call the program makes into the operating
// system goes through here. `win32` forwards to the real Windows API; the
// portable implementation emulates a Windows machine kept in a directory.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// --- Add-in creation: the objects it makes. ---
namespace vtl {
class AddInObject;
}  // namespace vtl

namespace vtl::platform {

// Registry handles and types, as Win32 has them.
using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;

// Win32 result codes the program meets.
inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_ACCESS_DENIED = 5;
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_OUTOFMEMORY = 14;
inline constexpr long ERROR_INVALID_PARAMETER = 87;
inline constexpr long ERROR_MORE_DATA = 234;
inline constexpr long ERROR_NO_MORE_ITEMS = 259;
inline constexpr long ERROR_BADDB = 1009;
inline constexpr long ERROR_BADKEY = 1010;
inline constexpr long ERROR_CANTOPEN = 1011;
inline constexpr long ERROR_CANTREAD = 1012;
inline constexpr long ERROR_CANTWRITE = 1013;
inline constexpr long ERROR_KEY_DELETED = 1018;
inline constexpr long ERROR_PATH_NOT_FOUND = 3;
inline constexpr long ERROR_WRITE_FAULT = 29;
inline constexpr long ERROR_READ_FAULT = 30;
inline constexpr long ERROR_DISK_FULL = 112;

// File attributes, as GetFileAttributesA returns them.
inline constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
inline constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;

inline constexpr std::uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr std::uint32_t VER_PLATFORM_WIN32_NT = 2;

// What GetVersionExA fills in.
struct OsVersionInfo {
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;
    std::string csdVersion;
};

// Message box styles and answers, with the Windows values.
namespace mb {
inline constexpr std::uint32_t OK = 0x0;
inline constexpr std::uint32_t OKCancel = 0x1;
inline constexpr std::uint32_t AbortRetryIgnore = 0x2;
inline constexpr std::uint32_t YesNoCancel = 0x3;
inline constexpr std::uint32_t YesNo = 0x4;
inline constexpr std::uint32_t RetryCancel = 0x5;
inline constexpr std::uint32_t IconCritical = 0x10;
inline constexpr std::uint32_t IconQuestion = 0x20;
inline constexpr std::uint32_t IconExclamation = 0x30;
inline constexpr std::uint32_t IconInformation = 0x40;
inline constexpr std::uint32_t DefaultButton2 = 0x100;
inline constexpr std::uint32_t DefaultButton3 = 0x200;
inline constexpr std::uint32_t ButtonMask = 0xF;
inline constexpr std::uint32_t IconMask = 0xF0;
inline constexpr std::uint32_t DefaultMask = 0xF00;
}  // namespace mb

// ShowWindow states.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_RESTORE = 9;

// ExitWindowsEx flags.
inline constexpr std::uint32_t EWX_LOGOFF = 0;
inline constexpr std::uint32_t EWX_SHUTDOWN = 1;
inline constexpr std::uint32_t EWX_REBOOT = 2;
inline constexpr std::uint32_t EWX_FORCE = 4;
inline constexpr std::uint32_t EWX_POWEROFF = 8;

enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The answer a box gives when nobody is there to click: its default button.
Answer defaultAnswer(std::uint32_t style);

// --- Printers and spooler, network connections: types and values as Win32 has them. ---
using PrinterHandle = std::uint32_t;
inline constexpr std::uint32_t PRINTER_ACCESS_ADMINISTER = 0x4;
inline constexpr std::uint32_t PRINTER_ACCESS_USE = 0x8;
inline constexpr std::uint32_t PRINTER_ALL_ACCESS = 0xF000C;
inline constexpr std::uint32_t PRINTER_ATTRIBUTE_DEFAULT = 0x4;
inline constexpr std::uint32_t HWND_BROADCAST = 0xFFFF;
inline constexpr std::uint32_t WM_WININICHANGE = 0x001A;
inline constexpr std::uint32_t RESOURCE_GLOBALNET = 2;
inline constexpr std::uint32_t RESOURCETYPE_ANY = 0;
inline constexpr std::uint32_t RESOURCETYPE_DISK = 1;
inline constexpr std::uint32_t RESOURCETYPE_PRINT = 2;
inline constexpr std::uint32_t CONNECT_UPDATE_PROFILE = 0x1;
inline constexpr long ERROR_BAD_NETPATH = 53;
inline constexpr long ERROR_BAD_NET_NAME = 67;
inline constexpr long ERROR_ALREADY_ASSIGNED = 85;
inline constexpr long ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr long ERROR_INVALID_LEVEL = 124;
inline constexpr long ERROR_BAD_DEVICE = 1200;
inline constexpr long ERROR_INVALID_PRINTER_NAME = 1801;
inline constexpr long ERROR_NOT_CONNECTED = 2250;

// PRINTER_DEFAULTS without a device mode.
struct PrinterDefaults {
    std::optional<std::string> dataType;
    std::uint32_t desiredAccess = 0;
};

// PRINTER_INFO_5.
struct PrinterInfo5 {
    std::string printerName;
    std::string portName;
    std::uint32_t attributes = 0;
    std::uint32_t deviceNotSelectedTimeout = 0;
    std::uint32_t transmissionRetryTimeout = 0;
};

// NETRESOURCE.
struct NetResource {
    std::uint32_t scope = 0;
    std::uint32_t type = 0;
    std::uint32_t displayType = 0;
    std::uint32_t usage = 0;
    std::string localName;
    std::string remoteName;
    std::string comment;
    std::string provider;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // --- Registry (advapi32). Each returns a Win32 result code. ---
    // subKey == nullptr opens a second handle to `parent` itself.
    virtual long RegOpenKeyEx(HKEY parent, const std::string* subKey, std::uint32_t access,
                              HKEY& result) = 0;
    // Creates every missing key along `subKey`; disposition 1 = created, 2 = opened.
    virtual long RegCreateKeyEx(HKEY parent, const std::string& subKey, std::uint32_t access,
                                HKEY& result, std::uint32_t& disposition) = 0;
    virtual long RegCloseKey(HKEY key) = 0;
    virtual long RegDeleteKey(HKEY parent, const std::string& subKey) = 0;
    virtual long RegDeleteValue(HKEY key, const std::string& name) = 0;
    // data == nullptr asks only for type and size; otherwise `data` receives the bytes.
    virtual long RegQueryValueEx(HKEY key, const std::string& name, std::uint32_t& type,
                                 std::vector<std::uint8_t>* data, std::uint32_t& size) = 0;
    virtual long RegSetValueEx(HKEY key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) = 0;
    virtual long RegQueryInfoKey(HKEY key, std::uint32_t& subKeys, std::uint32_t& values) = 0;
    virtual long RegEnumKeyEx(HKEY key, std::uint32_t index, std::string& name) = 0;
    virtual long RegEnumValue(HKEY key, std::uint32_t index, std::string& name, std::uint32_t& type,
                              std::vector<std::uint8_t>& data) = 0;

    // --- System information (kernel32). ---
    virtual bool GetVersionEx(OsVersionInfo& info) = 0;
    virtual std::string GetWindowsDirectory() = 0;
    virtual std::string GetSystemDirectory() = 0;

    // --- Files (kernel32). The program names files with Windows paths
    // ("C:\WINNT\win.ini"); the portable platform also takes host paths for the
    // user's own files (configuration files, reports). The core reads and writes
    // files only through these members. ---
    // True when a directory search for `path` finds an entry.
    virtual bool FindFirstFile(const std::string& path) = 0;
    // GetFileAttributesA: FILE_ATTRIBUTE_* bits, INVALID_FILE_ATTRIBUTES when
    // there is no such file or folder.
    virtual std::uint32_t GetFileAttributes(const std::string& path) = 0;
    // The whole file. ERROR_SUCCESS, or ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND
    // (no such folder), ERROR_ACCESS_DENIED (a folder, or not readable),
    // ERROR_READ_FAULT.
    virtual long ReadFile(const std::string& path, std::string& contents) = 0;
    // Replaces the file whole: `contents` is written beside it and then takes
    // its place, so a failure leaves the previous file as it was and a new file
    // never exists half written. Codes as ReadFile, plus ERROR_WRITE_FAULT and
    // ERROR_DISK_FULL; a read-only file gives ERROR_ACCESS_DENIED, untouched.
    virtual long WriteFile(const std::string& path, const std::string& contents) = 0;
    // Moves `from` over `to`, replacing it with `from`'s contents; `to` keeps
    // its read-only state. Same safety and codes as WriteFile.
    virtual long ReplaceFile(const std::string& from, const std::string& to) = 0;
    // DeleteFileA: false when nothing was deleted.
    virtual bool DeleteFile(const std::string& path) = 0;
    // GetPrivateProfileStringA with a section and a key: at most size - 1
    // characters of the value, else of `defaultValue`.
    virtual std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                                const std::string& defaultValue, std::uint32_t size,
                                                const std::string& file) = 0;
    // WritePrivateProfileStringA with a section, a key and a value.
    virtual bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                           const std::string& value, const std::string& file) = 0;

    // --- User interface. ---
    virtual Answer MessageBox(const std::string& text, std::uint32_t style,
                              const std::string& caption) = 0;
    // --- Printers and spooler (kernel32 profile, user32, winspool). ---
    // Device name of the program's current output printer; at start the
    // system's default printer.
    virtual std::string GetOutputPrinter() = 0;
    virtual void SetOutputPrinter(const std::string& deviceName) = 0;
    // The system profile (win.ini). A read returns at most size - 1 characters.
    virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::uint32_t size) = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
    // lParam as the text it points to (WM_WININICHANGE: the section name).
    virtual long SendMessage(std::uint32_t window, std::uint32_t message, std::uintptr_t wParam,
                             const std::string& lParam) = 0;
    // These four return FALSE on failure, with the reason in GetLastError.
    virtual bool OpenPrinter(const std::string& printerName, PrinterHandle& printer,
                             const PrinterDefaults& defaults) = 0;
    // info == nullptr or bufSize < needed: fails with ERROR_INSUFFICIENT_BUFFER
    // and sets `needed` to the bytes the record takes. Only level 5.
    virtual bool GetPrinter(PrinterHandle printer, std::uint32_t level, PrinterInfo5* info,
                            std::uint32_t bufSize, std::uint32_t& needed) = 0;
    virtual bool SetPrinter(PrinterHandle printer, std::uint32_t level, const PrinterInfo5* info,
                            std::uint32_t command) = 0;
    virtual bool ClosePrinter(PrinterHandle printer) = 0;
    virtual long GetLastError() = 0;

    // --- Network connections (mpr). Each returns a Win32 result code. ---
    virtual long WNetAddConnection2(const NetResource& resource, const std::string* password,
                                    const std::string* userName, std::uint32_t flags) = 0;
    virtual long WNetCancelConnection2(const std::string& name, std::uint32_t flags,
                                       bool force) = 0;

    // --- Printing (comdlg32 PrintDlgA with its global memory blocks, and the
    // program's printer object): the settings report and the print-setup
    // dialog. A platform without them has no printers: printing fails and
    // the dialog is cancelled. ---
    static constexpr std::uint32_t PD_PRINTSETUP = 0x40;
    static constexpr std::uint32_t DM_ORIENTATION = 0x1;
    static constexpr std::uint32_t DM_COPIES = 0x100;
    static constexpr std::uint32_t DM_DUPLEX = 0x1000;
    static constexpr std::int16_t DMORIENT_PORTRAIT = 1;
    static constexpr std::int16_t DMORIENT_LANDSCAPE = 2;
    static constexpr std::int16_t DMDUP_SIMPLEX = 1;
    static constexpr std::int16_t DMDUP_VERTICAL = 2;
    static constexpr std::int16_t DMDUP_HORIZONTAL = 3;
    // The device-mode block (DEVMODE as the program declares it, 122 bytes):
    // byte offsets of its fields; numbers are little-endian.
    struct DevModeLayout {
        static constexpr std::size_t Size = 122;
        static constexpr std::size_t DeviceName = 0;  // NUL-padded
        static constexpr std::size_t DeviceNameLength = 32;
        static constexpr std::size_t StructSize = 36;  // 16 bits
        static constexpr std::size_t Fields = 40;      // 32 bits, DM_*
        static constexpr std::size_t Orientation = 44;
        static constexpr std::size_t Copies = 54;
        static constexpr std::size_t Duplex = 62;
    };
    // The device-names block (DEVNAMES, 108 bytes): four 16-bit fields (the
    // offsets of driver, device and port name, counted in characters from the
    // block's start, and the default flag), then the NUL-ended names.
    struct DevNamesLayout {
        static constexpr std::size_t Size = 108;
        static constexpr std::size_t DriverOffset = 0;
        static constexpr std::size_t DeviceOffset = 2;
        static constexpr std::size_t OutputOffset = 4;
        static constexpr std::size_t Default = 6;
        static constexpr std::size_t Names = 8;
        static constexpr std::size_t NamesLength = 100;
    };
    // PRINTDLG: the blocks stand for the movable global memory (empty: none).
    struct PrintDlgInfo {
        std::uintptr_t owner = 0;
        std::vector<std::uint8_t> devMode;
        std::vector<std::uint8_t> devNames;
        std::uint32_t flags = 0;
    };
    // Returns false when the user cancels; on OK both blocks hold the choice.
    virtual bool PrintDlg(PrintDlgInfo& /*dialog*/) { return false; }
    // The installed printers, as the printer object lists them.
    struct PrinterEntry {
        std::string deviceName;
        std::string driverName;
        std::string port;
    };
    virtual std::vector<PrinterEntry> Printers() { return {}; }
    // Settings of the current output printer (GetOutputPrinter); a printer that
    // becomes current starts with its own defaults. Each call returns false
    // when the printer cannot report or take the value.
    enum class PrinterProperty { Copies, Orientation, Duplex };
    virtual bool GetPrinterProperty(PrinterProperty /*which*/, std::int16_t& /*value*/) {
        return false;
    }
    virtual bool SetPrinterProperty(PrinterProperty /*which*/, std::int16_t /*value*/) {
        return false;
    }
    // Prints `text` as one document on the current output printer in the
    // font given, adds a final line break and ends the document. Returns 0
    // or a Win32 error code.
    virtual long PrintText(const std::string& /*text*/, const std::string& /*fontName*/,
                           int /*fontSize*/) {
        return ERROR_INVALID_PRINTER_NAME;
    }
    // --- End of Printing. ---

    // --- Shell (shell32) and the program's own folder. ---
    // The folder the program was started from, as a Windows path without a
    // trailing "\".
    virtual std::string AppPath() = 0;
    // GetCurrentProcessId: this process's number, unlike any other running one's.
    virtual std::uint32_t GetCurrentProcessId() = 0;
    // ShellExecuteA: `file` opened with the handler for `verb` ("" the
    // default one), working folder `directory`, window state `showCmd`.
    // Returns a value above 32 on success, else an error code (2: no such file).
    virtual long ShellExecute(const std::string& verb, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              int showCmd) = 0;

    // --- File dialogs (comdlg32) and top-level windows (user32): start-up,
    // the single-instance rule and the file commands. A platform without them
    // keeps these defaults: every file dialog is cancelled, no other window
    // exists. ---
    // OPENFILENAME as the program fills it in; `file` receives the chosen path.
    struct OpenFileName {
        std::uint32_t structSize = 76;
        std::uintptr_t owner = 0;
        std::string filter;  // pairs of description and pattern, each ended by a NUL
        std::string file;    // in: the buffer's text; out: the chosen path
        std::uint32_t maxFile = 0;
        std::string fileTitle;
        std::uint32_t maxFileTitle = 0;
        std::string initialDir;
        std::string title;
        std::uint32_t flags = 0;
        std::string defExt;
    };
    // Both return false when the user cancelled.
    virtual bool GetOpenFileName(OpenFileName& /*dialog*/) { return false; }
    virtual bool GetSaveFileName(OpenFileName& /*dialog*/) { return false; }
    // True when another instance of this program runs for the same user.
    virtual bool PrevInstance() { return false; }
    // Calls `callback` for each top-level window, in z-order, until it returns false.
    virtual void EnumWindows(const std::function<bool(std::uintptr_t window)>& /*callback*/) {}
    virtual bool IsWindowVisible(std::uintptr_t /*window*/) { return false; }
    virtual std::string GetWindowText(std::uintptr_t /*window*/) { return ""; }
    virtual bool IsIconic(std::uintptr_t /*window*/) { return false; }
    virtual bool ShowWindow(std::uintptr_t /*window*/, int /*showCmd*/) { return false; }
    virtual bool SetForegroundWindow(std::uintptr_t /*window*/) { return false; }

    // --- Shutdown and power (user32 ExitWindowsEx, kernel32 SetSystemPowerState).
    // Each returns false when the system refuses. On Windows NT the shutdown
    // privilege is asked for first. ---
    // Ends the session as `flags` (EWX_*) asks; `reserved` is 0.
    virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
    // Suspends (`suspend` true) or hibernates the PC; `force` skips asking the programs.
    virtual bool SetSystemPowerState(bool suspend, bool force) = 0;

    // --- Add-in creation. Add-in objects are made from their class names and
    // called late-bound by member name (addins/AddInObject.h). A platform
    // without add-ins keeps these defaults: no class is available, none ships. ---
    // What an add-in that ships with the program declares for its registration.
    struct AddInClassInfo {
        std::string className;
        std::string name;     // the add-in's name in the settings store
        std::string os;       // "9x", "NT", "2K" or "*"
        std::string file;     // the file that provides the class
        std::string version;  // version text
    };
    // A new object of the class; null when no add-in provides the class.
    // Throws VtlError when the class may exist but no object can be made
    // (an add-in file that cannot be loaded).
    virtual std::shared_ptr<AddInObject> CreateObject(const std::string& /*className*/) {
        return nullptr;
    }
    // The add-in classes that ship with the program.
    virtual std::vector<AddInClassInfo> ShippedAddIns() { return {}; }
    // --- End of add-in creation. ---
};

// The platform the running program uses. Set once at start-up (or per test).
Platform& sys();
void setPlatform(Platform* platform);

// Installs a platform for the lifetime of the scope, restoring the previous one.
class PlatformScope {
  public:
    explicit PlatformScope(Platform& platform);
    ~PlatformScope();
    PlatformScope(const PlatformScope&) = delete;
    PlatformScope& operator=(const PlatformScope&) = delete;

  private:
    Platform* previous_;
};

}  // namespace vtl::platform
