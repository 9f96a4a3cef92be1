// The version-checker control on the main window: it asks the maker's update
// server for the newest version, compares it with the running one and reports
// the result to the user itself. Views wrap a real checker; without one the
// headless checker records what it was asked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vtl::ui {

class VersionChecker {
  public:
    struct Settings {
        std::string server;
        std::uint16_t port = 80;
        std::string versionPage;  // path of the page that names the newest version
        std::string productPage;  // where the user can fetch it
        std::string caption;
        std::string login;
        std::string accessText;
    };

    virtual ~VersionChecker() = default;
    virtual void configure(const Settings& settings) = 0;
    // The running version as Major * 10000 + Minor * 100 + Revision.
    virtual void setCurrentVersion(long version) = 0;
    virtual void check() = 0;
};

class HeadlessVersionChecker : public VersionChecker {
  public:
    struct Request {
        Settings settings;
        long version = 0;
    };

    void configure(const Settings& settings) override { settings_ = settings; }
    void setCurrentVersion(long version) override { version_ = version; }
    void check() override { requests_.push_back({settings_, version_}); }

    const std::vector<Request>& requests() const { return requests_; }

  private:
    Settings settings_;
    long version_ = 0;
    std::vector<Request> requests_;
};

}  // namespace vtl::ui
