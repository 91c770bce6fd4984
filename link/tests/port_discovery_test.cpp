#include "link/port_discovery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/recording_frontend.h"
#include "link/platform_serial.h"
#include "link/sysfs_ports.h"

namespace fs = std::filesystem;

namespace {
// A fake /sys: class/tty/<name>/device links into devices/, as the kernel lays it out.
class FakeSysfs : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("fake-sysfs-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::create_directories(root / "class" / "tty");
    }
    void TearDown() override { fs::remove_all(root); }

    void addUsbPort(const std::string& name, const std::string& product, int bus = 1) {
        fs::path usbDevice = root / "devices/pci0000:00/0000:00:14.0" /
                             ("usb" + std::to_string(bus)) / (std::to_string(bus) + "-1");
        fs::path iface = usbDevice / (std::to_string(bus) + "-1:1.0") / name;
        fs::create_directories(iface);
        if (!product.empty()) std::ofstream(usbDevice / "product") << product << "\n";
        addClassEntry(name, iface, "ftdi_sio");
    }
    void addUartPort(const std::string& name, const std::string& type) {
        fs::path dev = root / "devices/platform/serial8250" / name;
        fs::create_directories(dev);
        addClassEntry(name, dev, "serial8250");
        std::ofstream(root / "class" / "tty" / name / "type") << type << "\n";
    }
    void addVirtualTty(const std::string& name) {
        fs::create_directories(root / "devices/virtual/tty" / name);
        fs::create_directory_symlink(root / "devices/virtual/tty" / name,
                                     root / "class" / "tty" / name);
    }
    void addClassEntry(const std::string& name, const fs::path& device, const std::string& driver) {
        fs::path entry = root / "class" / "tty" / name;
        fs::create_directories(entry);
        fs::create_directory_symlink(device, entry / "device");
        fs::path drv = root / "bus/drivers" / driver;
        fs::create_directories(drv);
        if (!fs::exists(device / "driver")) fs::create_directory_symlink(drv, device / "driver");
    }
    fs::path root;
    common::RecordingFrontend frontend;
};
}  // namespace

TEST_F(FakeSysfs, UsbPortIsChosenOverAUart) {
    addUartPort("ttyS0", "4");
    addUsbPort("ttyUSB0", "FT232R USB UART");
    addVirtualTty("tty1");
    auto ports = serial::EnumeratePorts(root.string());
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].name, "ttyS0");
    EXPECT_EQ(ports[0].description, "Communications Port");
    EXPECT_EQ(ports[1].description, "USB Serial Port (FT232R USB UART)");
    EXPECT_EQ(serial::FindConverterPort(frontend, root.string()), "ttyUSB0");
    EXPECT_TRUE(frontend.calls().empty());
}

TEST_F(FakeSysfs, LastOfSeveralConvertersWinsInNaturalOrder) {
    addUsbPort("ttyUSB2", "", 1);
    addUsbPort("ttyUSB10", "", 2);
    auto ports = serial::EnumeratePorts(root.string());
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].name, "ttyUSB2");
    EXPECT_EQ(serial::FindConverterPort(frontend, root.string()), "ttyUSB10");
}

TEST_F(FakeSysfs, NamesWithLongNumbersAreOrderedWithoutFailing) {
    addUsbPort("ttyUSB100000000000000000000", "", 1);
    addUsbPort("ttyUSB9", "", 2);
    auto ports = serial::EnumeratePorts(root.string());
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].name, "ttyUSB9");
    EXPECT_EQ(serial::ChooseConverterPort(ports), "ttyUSB100000000000000000000");
}

TEST_F(FakeSysfs, PlaceholderUartsAreSkippedAndNoConverterIsSaid) {
    addUartPort("ttyS0", "0");
    addUartPort("ttyS1", "4");
    auto ports = serial::EnumeratePorts(root.string());
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].name, "ttyS1");
    EXPECT_EQ(serial::FindConverterPort(frontend, root.string()), "");
    EXPECT_EQ(frontend.texts("message"),
              std::vector<std::string>{"No USB Serial converter found\n"});
}

TEST_F(FakeSysfs, MissingTreeGivesNoPorts) {
    EXPECT_TRUE(serial::EnumeratePorts((root / "nothing").string()).empty());
}
