// The platform on the real Windows API (ANSI functions, Windows 95 to 2000).
// Include this header before <windows.h>: the Windows macros rename the
// members of Platform.
//
// Test hooks (environment):
//   VANTREL_POWER_COMMAND  restarts, shutdowns and suspends run this command
//                          with the method as its one argument instead.
//   VANTREL_UNATTENDED     message boxes go to standard error as one line and
//                          get their default button; file and print dialogs
//                          are cancelled.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vtl::win32 {

class Win32Platform : public platform::Platform {
  public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // --- Registry (Win32Registry.cpp). Handles other than the predefined
    // roots are numbers of this object's handle table. ---
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

    // --- System information (Win32Platform.cpp). ---
    bool GetVersionEx(platform::OsVersionInfo& info) override;
    std::string GetWindowsDirectory() override;
    std::string GetSystemDirectory() override;

    // --- Files and profile files (Win32Files.cpp). A file is replaced by
    // writing a temporary file beside it and renaming that over it; on
    // Windows 95/98, whose MoveFileExA does nothing, the old file is first
    // renamed aside and put back when the second rename fails. ---
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

    // --- Printers, spooler, network connections (Win32Printers.cpp). ---
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
    std::vector<PrinterEntry> Printers() override;

    // --- Printing (Win32Printing.cpp): GDI on the current output printer,
    // whose settings start from the driver's defaults. ---
    bool PrintDlg(PrintDlgInfo& dialog) override;
    bool GetPrinterProperty(PrinterProperty which, std::int16_t& value) override;
    bool SetPrinterProperty(PrinterProperty which, std::int16_t value) override;
    long PrintText(const std::string& text, const std::string& fontName, int fontSize) override;

    // --- Shell, windows, file dialogs (Win32Shell.cpp). ---
    std::string AppPath() override;
    std::uint32_t GetCurrentProcessId() override;
    long ShellExecute(const std::string& verb, const std::string& file,
                      const std::string& parameters, const std::string& directory,
                      int showCmd) override;
    bool GetOpenFileName(OpenFileName& dialog) override;
    bool GetSaveFileName(OpenFileName& dialog) override;
    // A named mutex per user, taken on the first call.
    bool PrevInstance() override;
    void EnumWindows(const std::function<bool(std::uintptr_t window)>& callback) override;
    bool IsWindowVisible(std::uintptr_t window) override;
    std::string GetWindowText(std::uintptr_t window) override;
    bool IsIconic(std::uintptr_t window) override;
    bool ShowWindow(std::uintptr_t window, int showCmd) override;
    bool SetForegroundWindow(std::uintptr_t window) override;

    // --- Shutdown and power (Win32Power.cpp). On NT the shutdown privilege
    // is enabled first. ---
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
    bool SetSystemPowerState(bool suspend, bool force) override;

    // --- Add-ins: COM classes (ComAddIns.h). ---
    std::shared_ptr<AddInObject> CreateObject(const std::string& className) override;
    std::vector<AddInClassInfo> ShippedAddIns() override;

  private:
    bool isNt();
    bool choose(bool save, OpenFileName& dialog);

    // Registry handle table: the number the program sees -> the real handle.
    std::map<platform::HKEY, void*> keys_;
    platform::HKEY nextKey_ = 1;
    void* realKey(platform::HKEY key) const;
    platform::HKEY addKey(void* key);

    // Printer handle table, as above.
    std::map<platform::PrinterHandle, void*> printers_;
    platform::PrinterHandle nextPrinter_ = 1;
    long lastError_ = 0;
    std::optional<std::string> outputPrinter_;

    // The current output printer's settings: its device mode as the driver
    // gives it, with the program's changes.
    struct PrinterState {
        std::string device;  // upper case
        std::vector<std::uint8_t> devMode;
    };
    PrinterState* printerState();
    std::optional<PrinterState> printerState_;

    void* instanceMutex_ = nullptr;
    std::optional<bool> nt_;
};

// The one-line form in which an unattended run shows a message box.
std::string messageLine(const std::string& text, const std::string& caption);

// An environment variable of the process ("" when unset); envSet: not empty.
std::string envValue(const char* name);
bool envSet(const char* name);

}  // namespace vtl::win32
