// The spooler, printing and network connections where Wine has them.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32Platform.h"

namespace vtl::win32 {
namespace {

namespace pf = vtl::platform;

TEST(Win32Printers, MissingPrinterAndBadHandles) {
    Win32Platform sys;
    pf::PrinterHandle printer = 99;
    EXPECT_FALSE(
        sys.OpenPrinter("No Such Printer 4711", printer, {std::nullopt, pf::PRINTER_ALL_ACCESS}));
    EXPECT_EQ(printer, 0u);
    EXPECT_EQ(sys.GetLastError(), pf::ERROR_INVALID_PRINTER_NAME);

    pf::PrinterInfo5 info;
    std::uint32_t needed = 7;
    struct Case {
        const char* call;
        bool result;
    };
    const Case cases[] = {
        {"GetPrinter", sys.GetPrinter(12345, 5, &info, 4096, needed)},
        {"SetPrinter", sys.SetPrinter(12345, 5, &info, 0)},
        {"ClosePrinter", sys.ClosePrinter(12345)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(c.result) << c.call;
    EXPECT_EQ(sys.GetLastError(), pf::ERROR_INVALID_HANDLE);
    EXPECT_EQ(needed, 0u);
}

TEST(Win32Printers, OutputPrinterIsTheProfileDefault) {
    Win32Platform sys;
    const std::string device = sys.GetProfileString("windows", "device", "", 1024);
    EXPECT_EQ(sys.GetOutputPrinter(), device.substr(0, device.find(',')));
    sys.SetOutputPrinter("No Such Printer 4711");
    EXPECT_EQ(sys.GetOutputPrinter(), "No Such Printer 4711");
    std::int16_t value = 0;
    EXPECT_FALSE(sys.GetPrinterProperty(pf::Platform::PrinterProperty::Copies, value));
    EXPECT_FALSE(sys.SetPrinterProperty(pf::Platform::PrinterProperty::Orientation, 2));
    EXPECT_EQ(sys.PrintText("report", "Courier New", 10), pf::ERROR_INVALID_PRINTER_NAME);
}

TEST(Win32Printers, InstalledPrintersOpenAndReport) {
    Win32Platform sys;
    const auto printers = sys.Printers();
    if (printers.empty())
        GTEST_SKIP() << "no printers installed here";
    for (const auto& entry : printers) {
        pf::PrinterHandle printer = 0;
        ASSERT_TRUE(
            sys.OpenPrinter(entry.deviceName, printer, {std::nullopt, pf::PRINTER_ACCESS_USE}))
            << entry.deviceName;
        pf::PrinterInfo5 info;
        std::uint32_t needed = 0;
        EXPECT_FALSE(sys.GetPrinter(printer, 5, nullptr, 0, needed));
        EXPECT_EQ(sys.GetLastError(), pf::ERROR_INSUFFICIENT_BUFFER);
        EXPECT_GT(needed, 0u);
        EXPECT_TRUE(sys.GetPrinter(printer, 5, &info, needed, needed));
        EXPECT_EQ(info.printerName, entry.deviceName);
        EXPECT_EQ(info.portName, entry.port);
        EXPECT_FALSE(sys.GetPrinter(printer, 2, &info, 4096, needed));
        EXPECT_EQ(sys.GetLastError(), pf::ERROR_INVALID_LEVEL);
        EXPECT_TRUE(sys.ClosePrinter(printer));
    }
}

TEST(Win32Network, FailedConnectionsReportACode) {
    Win32Platform sys;
    struct Case {
        std::string local;
        std::string remote;
    };
    const Case cases[] = {
        {"LPT9", "\\\\no-such-server-4711\\queue"},
        {"LPT9", "not a network path"},
    };
    for (const Case& c : cases) {
        pf::NetResource resource;
        resource.scope = pf::RESOURCE_GLOBALNET;
        resource.type = pf::RESOURCETYPE_ANY;
        resource.localName = c.local;
        resource.remoteName = c.remote;
        const std::string password;
        const std::string user = "1";
        EXPECT_NE(sys.WNetAddConnection2(resource, &password, &user, pf::CONNECT_UPDATE_PROFILE),
                  pf::ERROR_SUCCESS)
            << c.remote;
    }
    EXPECT_NE(sys.WNetCancelConnection2("LPT9", pf::CONNECT_UPDATE_PROFILE, true),
              pf::ERROR_SUCCESS);
}

}  // namespace
}  // namespace vtl::win32
