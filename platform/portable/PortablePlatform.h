// The platform on a machine: either a machine image, a directory holding an
// emulated Windows PC,
//   registry.reg   the whole registry (REGEDIT4)
//   drive_c/ ...   the drives, one folder per letter
// or the system drive of an offline Windows NT 4 / 2000 installation (a
// folder holding <Windows folder>\system32\config\SYSTEM), which is drive C:
// and whose registry is its hive files (HiveRegistry). Which Windows it is
// comes from its registry, as on a real PC.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vtl::portable {

class RegistryStore;
class HiveRegistry;

struct MachineOptions {
    // The profile whose NTUSER.DAT is HKEY_CURRENT_USER (system drives only).
    std::optional<std::string> user;
    // Drive letter (upper case) -> host folder, over the image's own drives.
    std::map<char, std::filesystem::path> drives;
};

class PortablePlatform : public platform::Platform {
  public:
    using MessageHandler = std::function<platform::Answer(
        const std::string& text, std::uint32_t style, const std::string& caption)>;

    // Throws ImageError when the image or its registry cannot be used.
    explicit PortablePlatform(const std::filesystem::path& imageDir,
                              const MachineOptions& options = {});
    ~PortablePlatform() override;

    const std::filesystem::path& imageDir() const { return imageDir_; }
    // A failed write of the image's registry files (disk full, I/O error,
    // permissions changed) is reported once as a critical message box, also
    // when it happens at the final write-back in the destructor.
    bool imageWriteFailed() const { return imageWriteFailed_; }
    RegistryStore& registry() { return *registry_; }
    // The hive-backed registry of a system drive, else nullptr.
    HiveRegistry* hives() { return hives_; }
    // Replaces how message boxes are shown; by default each is written to
    // standard error as one line and answered with its default button.
    void setMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }

    long RegOpenKeyEx(platform::HKEY parent, const std::string* subKey, std::uint32_t access,
                      platform::HKEY& result) override;
    long RegCreateKeyEx(platform::HKEY parent, const std::string& subKey, std::uint32_t access,
                        platform::HKEY& result, std::uint32_t& disposition) override;
    long RegCloseKey(platform::HKEY key) override;
    long RegDeleteKey(platform::HKEY parent, const std::string& subKey) override;
    long RegDeleteValue(platform::HKEY key, const std::string& name) override;
    long RegQueryValueEx(platform::HKEY key, const std::string& name, std::uint32_t& type,
                         std::vector<std::uint8_t>* data, std::uint32_t& size) override;
    long RegSetValueEx(platform::HKEY key, const std::string& name, std::uint32_t type,
                       const std::uint8_t* data, std::uint32_t size) override;
    long RegQueryInfoKey(platform::HKEY key, std::uint32_t& subKeys,
                         std::uint32_t& values) override;
    long RegEnumKeyEx(platform::HKEY key, std::uint32_t index, std::string& name) override;
    long RegEnumValue(platform::HKEY key, std::uint32_t index, std::string& name,
                      std::uint32_t& type, std::vector<std::uint8_t>& data) override;

    bool GetVersionEx(platform::OsVersionInfo& info) override;
    std::string GetWindowsDirectory() override;
    std::string GetSystemDirectory() override;

    // --- Files (PortableFiles.cpp). Windows paths on a drive resolve inside
    // the image, other paths are host paths. A file or folder without its
    // owner's write permission is read-only, even to root: it is neither
    // replaced nor deleted, and a folder takes no new file. ---
    // The host path a path names.
    std::string HostPath(const std::string& path);
    bool FindFirstFile(const std::string& path) override;
    std::uint32_t GetFileAttributes(const std::string& path) override;
    long ReadFile(const std::string& path, std::string& contents) override;
    long WriteFile(const std::string& path, const std::string& contents) override;
    long ReplaceFile(const std::string& from, const std::string& to) override;
    bool DeleteFile(const std::string& path) override;
    std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue, std::uint32_t size,
                                        const std::string& file) override;
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& file) override;

    platform::Answer MessageBox(const std::string& text, std::uint32_t style,
                                const std::string& caption) override;

    // --- Printers and spooler, network connections (PortablePrinters.cpp). ---
    // The system profile is win.ini in the Windows folder. The installed
    // printers are the keys below Control\Print\Printers; setting the default
    // attribute rewrites win.ini's device line. Connections made with
    // CONNECT_UPDATE_PROFILE are kept where Windows keeps persistent ones:
    // \HKEY_CURRENT_USER\Network\<device> (NT family) or
    // \HKEY_CURRENT_USER\Network\Persistent\<device> (95/98), and are
    // connected again when the platform starts.
    std::string GetOutputPrinter() override;
    void SetOutputPrinter(const std::string& deviceName) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue, std::uint32_t size) override;
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;
    long SendMessage(std::uint32_t window, std::uint32_t message, std::uintptr_t wParam,
                     const std::string& lParam) override;
    bool OpenPrinter(const std::string& printerName, platform::PrinterHandle& printer,
                     const platform::PrinterDefaults& defaults) override;
    bool GetPrinter(platform::PrinterHandle printer, std::uint32_t level,
                    platform::PrinterInfo5* info, std::uint32_t bufSize,
                    std::uint32_t& needed) override;
    bool SetPrinter(platform::PrinterHandle printer, std::uint32_t level,
                    const platform::PrinterInfo5* info, std::uint32_t command) override;
    bool ClosePrinter(platform::PrinterHandle printer) override;
    long GetLastError() override;
    long WNetAddConnection2(const platform::NetResource& resource, const std::string* password,
                            const std::string* userName, std::uint32_t flags) override;
    long WNetCancelConnection2(const std::string& name, std::uint32_t flags, bool force) override;

    // What the printer and connection calls did, for whoever watches the machine.
    struct SentMessage {
        std::uint32_t window;
        std::uint32_t message;
        std::uintptr_t wParam;
        std::string lParam;
    };
    struct NetCall {
        enum class Kind { Add, Cancel } kind;
        std::string device;
        std::string remote;  // Add only
        std::uint32_t flags;
        bool force;  // Cancel only
        long result;
    };
    const std::vector<SentMessage>& sentMessages() const { return sentMessages_; }
    const std::vector<NetCall>& netCalls() const { return netCalls_; }
    // The connections of this session: device (upper case) -> remote path.
    const std::map<std::string, std::string>& netConnections();
    std::size_t openPrinterHandles() const { return printerHandles_.size(); }

  private:
    std::optional<std::string> readString(const std::string& keyPath, const std::string& name);
    bool isNtFamily();

    std::filesystem::path imageDir_;
    std::map<char, std::filesystem::path> drives_;
    std::unique_ptr<RegistryStore> registry_;
    HiveRegistry* hives_ = nullptr;
    MessageHandler messageHandler_;
    bool imageWriteFailed_ = false;

    // Printers and spooler, network connections.
    struct OpenedPrinter {
        std::string key;  // subkey below Control\Print\Printers
        std::uint32_t access;
    };
    std::string winIniPath();
    std::optional<std::string> findPrinterKey(const std::string& deviceName);
    std::string connectionKey(const std::string& device);
    void loadConnections();
    std::optional<std::string> outputPrinter_;
    std::vector<SentMessage> sentMessages_;
    std::vector<NetCall> netCalls_;
    std::optional<std::map<std::string, std::string>> connections_;
    std::map<platform::PrinterHandle, OpenedPrinter> printerHandles_;
    platform::PrinterHandle nextPrinterHandle_ = 1;
    long lastError_ = 0;

    // --- Printing (PortablePrinting.cpp). The printer object prints on the
    // current output printer: each document is a spool file "NNNNN.SPL" in
    // the image's spool folder (the printers key's "DefaultSpoolDirectory",
    // else <Windows folder>\spool\PRINTERS), a header naming printer, driver,
    // port, font, copies, orientation and duplex, a blank line, then the text.
    // A printer's defaults come from its "Default DevMode" (orientation, and
    // duplex when its fields name it; without it the printer cannot print on
    // both sides), else portrait and one copy. The print dialog has no window
    // here: without a handler it is cancelled; a front end's handler answers
    // it for the user, given the installed printers, and returns false to
    // cancel. ---
  public:
    struct PrintDialogPrinter {
        std::string deviceName;
        std::string driverName;
        std::string port;
        bool duplex = false;  // can print on both sides
    };
    using PrintDialogHandler =
        std::function<bool(PrintDlgInfo& dialog, const std::vector<PrintDialogPrinter>& printers)>;
    void setPrintDialogHandler(PrintDialogHandler handler) {
        printDialogHandler_ = std::move(handler);
    }
    bool PrintDlg(PrintDlgInfo& dialog) override;
    std::vector<PrinterEntry> Printers() override;
    bool GetPrinterProperty(PrinterProperty which, std::int16_t& value) override;
    bool SetPrinterProperty(PrinterProperty which, std::int16_t value) override;
    long PrintText(const std::string& text, const std::string& fontName, int fontSize) override;
    // The host folder that receives print jobs.
    std::filesystem::path spoolFolder();

  private:
    struct PrinterState {
        std::string device;  // upper case
        std::int16_t copies = 1;
        std::int16_t orientation = 1;
        std::optional<std::int16_t> duplex;  // nullopt: one-sided only
    };
    PrinterState printerDefaults(const std::string& device);
    PrinterState& printerState();
    std::optional<PrinterState> printerState_;
    PrintDialogHandler printDialogHandler_;
    // --- End of Printing. ---

    // --- Shell (PortableShell.cpp). The program lives in
    // C:\Program Files\Vantrel. Each shell request is appended as one line to
    // shell.log in the image folder: verb, file, parameters, working folder
    // and window state, separated by tabs. ---
  public:
    std::string AppPath() override;
    std::uint32_t GetCurrentProcessId() override;
    long ShellExecute(const std::string& verb, const std::string& file,
                      const std::string& parameters, const std::string& directory,
                      int showCmd) override;

    // --- Shutdown and power (PortablePower.cpp). Nothing happens to the host:
    // each request is appended as one line to power.log in the image folder
    // (method, tab, local time): "reboot", "shutdown", "suspend", "logoff" or
    // "hibernate". For reboot, shutdown and suspend, when the environment
    // variable VANTREL_POWER_COMMAND is set, that shell command is run with the
    // method as its one argument and waited for; the call fails when the
    // command does. ---
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
    bool SetSystemPowerState(bool suspend, bool force) override;

  private:
    bool powerRequest(const std::string& method, bool runsCommand);

    // --- File dialogs and windows (PortableWindows.cpp). Headless, every file
    // dialog is cancelled; a handler stands in for the user and returns the
    // chosen path, or nothing to cancel.
    // An interactive instance publishes its main window as a record
    // "instances/<uid>.<pid>" in the image (caption, shown, minimised); the
    // windows of the session are the live records of the same user, their
    // handles the process ids. ShowWindow and SetForegroundWindow on another
    // instance's window append to a file "<uid>.<pid>.requests" beside its
    // record, which that instance collects with takeWindowRequests. ---
  public:
    using FileDialogHandler = std::function<std::optional<std::string>(
        bool save, const platform::Platform::OpenFileName& dialog)>;
    void setFileDialogHandler(FileDialogHandler handler) {
        fileDialogHandler_ = std::move(handler);
    }
    bool GetOpenFileName(OpenFileName& dialog) override;
    bool GetSaveFileName(OpenFileName& dialog) override;

    // Publishes (or updates) this process's main window until closeMainWindow;
    // the record of a process that has ended counts for nothing.
    void publishMainWindow(const std::string& caption, bool shown = true, bool iconic = false);
    void closeMainWindow();
    // The requests other instances left for this one's window, oldest first:
    // "restore", "front".
    std::vector<std::string> takeWindowRequests();

    bool PrevInstance() override;
    void EnumWindows(const std::function<bool(std::uintptr_t window)>& callback) override;
    bool IsWindowVisible(std::uintptr_t window) override;
    std::string GetWindowText(std::uintptr_t window) override;
    bool IsIconic(std::uintptr_t window) override;
    bool ShowWindow(std::uintptr_t window, int showCmd) override;
    bool SetForegroundWindow(std::uintptr_t window) override;

  private:
    struct WindowRecord {
        std::string caption;
        bool shown = false;
        bool iconic = false;
    };
    bool choose(bool save, OpenFileName& dialog);
    std::filesystem::path instanceRecord(std::uintptr_t window) const;
    std::optional<WindowRecord> readWindow(std::uintptr_t window);
    bool requestWindow(std::uintptr_t window, const std::string& request);
    FileDialogHandler fileDialogHandler_;
    bool published_ = false;

    // --- Add-in creation (PortableAddIns.cpp). Classes come from the add-in
    // modules (*.so) in the addins/ folder beside the running program, each
    // exporting the table of addins/AddInModule.h, or from classes made
    // available in-process, which come first. A module that cannot be loaded
    // is reported once per platform in a message box; while one is broken, a
    // class that no module provides counts as an error, not as unavailable.
    // Members that throw come back as VtlError naming the class and member. ---
  public:
    struct AddInModuleRef;  // a loaded module
    using AddInFactory = std::function<std::shared_ptr<AddInObject>()>;
    void setAddInClass(const std::string& className, AddInFactory factory);
    // Default: <folder of the running program>/addins.
    void setAddInFolder(std::filesystem::path folder) { addInFolder_ = std::move(folder); }
    std::filesystem::path addInFolder() const;
    std::shared_ptr<AddInObject> CreateObject(const std::string& className) override;
    std::vector<AddInClassInfo> ShippedAddIns() override;

  private:
    std::vector<std::shared_ptr<AddInModuleRef>> scanAddInModules(bool& anyBroken);
    std::map<std::string, AddInFactory> addInClasses_;  // by upper-case class name
    std::optional<std::filesystem::path> addInFolder_;
    std::vector<std::string> reportedAddInFiles_;
    // --- End of add-in creation. ---
};

// A Windows path on a drive ("C:\x" or "c:/x") resolved inside the image,
// component by component without regard to case; components that do not exist
// keep the case they were given. Other paths are returned unchanged. A drive
// listed in `drives` is that folder, else <imageDir>/drive_<letter>.
std::string resolveImagePath(const std::filesystem::path& imageDir, const std::string& path,
                             const std::map<char, std::filesystem::path>& drives = {});

// The one-line form in which a headless run shows a message box.
std::string messageLine(const std::string& text, const std::string& caption);

}  // namespace vtl::portable
