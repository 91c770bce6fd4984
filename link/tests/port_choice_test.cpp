// The converter choice and the Windows ports-class rule, on a fixed list: the same on every
// platform.
#include <gtest/gtest.h>

#include "common/recording_frontend.h"
#include "link/com_port_names.h"
#include "link/port_discovery.h"

namespace {
class FixedPorts final : public serial::PortEnumeration {
  public:
    explicit FixedPorts(std::vector<serial::PortInfo> ports) : ports_(std::move(ports)) {}
    std::vector<serial::PortInfo> EnumeratePorts() override { return ports_; }

  private:
    std::vector<serial::PortInfo> ports_;
};

serial::PortsClassDevice Device(const char* portName, const char* description) {
    serial::PortsClassDevice d;
    if (portName) d.portName = portName;
    if (description) d.description = description;
    return d;
}
}  // namespace

TEST(ConverterChoice, TheLastPortWithUsbInItsDescriptionWins) {
    common::RecordingFrontend frontend;
    FixedPorts one({{"com1", "Communications Port"}, {"com7", "USB Serial Port"}});
    EXPECT_EQ(serial::FindConverterPort(frontend, one), "com7");
    FixedPorts two({{"com4", "USB Serial Port"},
                    {"com9", "Prolific USB-to-Serial Comm Port"},
                    {"com2", "usb lower case does not count"}});
    EXPECT_EQ(serial::FindConverterPort(frontend, two), "com9");
    EXPECT_TRUE(frontend.texts("message").empty());
}

TEST(ConverterChoice, NoConverterIsSaidAndGivesNoName) {
    common::RecordingFrontend frontend;
    FixedPorts none(std::vector<serial::PortInfo>{{"com1", "Communications Port"}});
    EXPECT_EQ(serial::FindConverterPort(frontend, none), "");
    FixedPorts empty(std::vector<serial::PortInfo>{});
    EXPECT_EQ(serial::FindConverterPort(frontend, empty), "");
    EXPECT_EQ(frontend.texts("message"),
              (std::vector<std::string>{"No USB Serial converter found\n",
                                        "No USB Serial converter found\n"}));
}

TEST(PortsClass, OnlyComNamesWithDigitsBecomePortsInLowerCase) {
    auto ports = serial::ComPortsOf(
        {Device("COM1", "Communications Port"), Device("LPT1", "Printer Port"),
         Device("COM3A", "USB x"), Device("COM", "USB y"), Device("com6", "USB Serial Port"),
         Device("Com12", "USB Serial Port"), Device(nullptr, "USB z"), Device("COM8", nullptr)});
    ASSERT_EQ(ports.size(), 4u);
    EXPECT_EQ(ports[0].name, "com1");
    EXPECT_EQ(ports[1].name, "com6");
    EXPECT_EQ(ports[2].name, "com12");
    EXPECT_EQ(ports[3].name, "com8");
    EXPECT_EQ(ports[3].description, "");  // unreadable description: empty, port kept
    EXPECT_EQ(serial::ChooseConverterPort(ports), "com12");
}

TEST(PortsClass, NumbersAreReadAsNumbersAndHugeOnesAreNotPorts) {
    EXPECT_EQ(serial::ComPortNumber("COM007"), 7u);
    EXPECT_EQ(serial::ComPortNumber("COM256"), 256u);
    EXPECT_EQ(serial::ComPortNumber("COM-1"), std::nullopt);
    EXPECT_EQ(serial::ComPortNumber("COM 5"), std::nullopt);
    // Would wrap round to a small number in 32 bits.
    EXPECT_EQ(serial::ComPortNumber("COM4294967301"), std::nullopt);
    auto ports = serial::ComPortsOf({Device("COM5", std::string(400, 'U').c_str())});
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].description.size(), serial::kMaxPortDescription);
}
