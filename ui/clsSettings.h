// The settings report: every setting of a configuration as plain-text lines
// of fixed width, printed or written to a text file. A new report object is
// made for each command and dropped afterwards.
#pragma once

#include <memory>
#include <string>

namespace vtl {

class clsVtlConfig;
class clsNetConfig;
class clsBrowser;

namespace ui {

class clsSettings {
  public:
    // The file name of the configuration reported; empty for the current one.
    void ConfigFile(const std::string& value) { configFile_ = value; }

    // Builds the report and prints it as one document on the program's
    // current printer. Throws VtlError when the printer fails; the caller
    // reports it ("An error occurred while attempting to print.  ...").
    void PrintAllSettings(const clsVtlConfig& objVtlConfig,
                          const std::shared_ptr<clsNetConfig>& objNetConfig,
                          const std::shared_ptr<clsBrowser>& objIEConfig,
                          const std::shared_ptr<clsBrowser>& objNNConfig);

    // Builds the report and writes it, followed by one line break, to the file
    // (name with surrounding blanks removed), replacing the file atomically.
    // An empty name shows "Missing export filename." and writes nothing.
    // Throws VtlError when the file cannot be written; what was there stays.
    void ExportAllSettings(const clsVtlConfig& objVtlConfig,
                           const std::shared_ptr<clsNetConfig>& objNetConfig,
                           const std::shared_ptr<clsBrowser>& objIEConfig,
                           const std::shared_ptr<clsBrowser>& objNNConfig,
                           const std::string& astrFilename);

    // The report text both operations use: lines separated by CR LF.
    std::string AllSettings(const clsVtlConfig& objVtlConfig,
                            const std::shared_ptr<clsNetConfig>& objNetConfig,
                            const std::shared_ptr<clsBrowser>& objIEConfig,
                            const std::shared_ptr<clsBrowser>& objNNConfig) const;

    // Centres a text in `width` columns with leading blanks only; half
    // columns round to the even count. A text as wide or wider is unchanged.
    static std::string CenterText(const std::string& text, int width);

  private:
    std::string GetHeaderText(const clsVtlConfig& objVtlConfig) const;
    static std::string GetNetworkText(const clsNetConfig& objNetConfig);
    static std::string GetBrowserText(const clsBrowser& objBrowser);

    std::string configFile_;
};

}  // namespace ui
}  // namespace vtl
