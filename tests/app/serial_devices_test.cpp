#include <gtest/gtest.h>

#include <filesystem>

#include "app/serial_devices.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using qlxtest::WriteAll;

// A fake root with a few serial devices and what sysfs says about them.
class FakeTree {
public:
    FakeTree()
    {
        fs::create_directories(root() / "dev/serial/by-id");
        for (const char* name :
             {"ttyS0", "ttyS1", "ttyS2", "ttyS10", "ttyS", "ttyUSB0", "ttyUSB1", "ttyUSBx", "ttyACM0", "tty0", "null"})
            WriteAll((root() / "dev" / name).string(), "");
        Sys("class/tty/ttyS0/type", "4\n");
        Sys("class/tty/ttyS1/type", "0\n");  // no UART behind it
        Sys("class/tty/ttyS10/type", "4\n");
        // ttyUSB0: FTDI adapter; sysfs links the tty to its USB interface.
        const fs::path usb = root() / "sys/devices/pci0000:00/usb1/1-1";
        fs::create_directories(usb / "1-1:1.0/ttyUSB0");
        WriteAll((usb / "manufacturer").string(), "FTDI\n");
        WriteAll((usb / "product").string(), "FT232R USB UART\n");
        fs::create_directories(root() / "sys/class/tty/ttyUSB0");
        fs::create_directory_symlink(usb / "1-1:1.0/ttyUSB0", root() / "sys/class/tty/ttyUSB0/device");
        // ttyACM0: a device that names only its product.
        const fs::path acm = root() / "sys/devices/pci0000:00/usb1/1-2";
        fs::create_directories(acm / "1-2:1.0");
        WriteAll((acm / "product").string(), "QLX Link\n");
        fs::create_directories(root() / "sys/class/tty/ttyACM0");
        fs::create_directory_symlink(acm / "1-2:1.0", root() / "sys/class/tty/ttyACM0/device");
        fs::create_symlink("../../ttyUSB0", root() / "dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0");
    }
    fs::path root() const { return dir_.path(); }

private:
    void Sys(const std::string& rel, const std::string& content)
    {
        const fs::path p = root() / "sys" / rel;
        fs::create_directories(p.parent_path());
        WriteAll(p.string(), content);
    }
    qlxtest::TempDir dir_;
};

TEST(SerialDevices, ListsRealPortsAdaptersAndStableNamesInOrder)
{
    FakeTree tree;
    const std::string denied = (tree.root() / "dev/ttyUSB1").string();
    const auto devices =
        qlx::ListSerialDevices(tree.root().string(), [&](const std::string& p) { return p != denied; });
    struct Expected {
        const char* path;
        const char* description;
        bool accessible;
    };
    const Expected expected[] = {
        {"/dev/ttyS0", "", true},
        {"/dev/ttyS10", "", true},
        {"/dev/ttyUSB0", "FTDI FT232R USB UART", true},
        {"/dev/ttyUSB1", "", false},
        {"/dev/ttyACM0", "QLX Link", true},
        {"/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0", "FTDI FT232R USB UART", true},
    };
    ASSERT_EQ(devices.size(), std::size(expected));
    for (size_t i = 0; i < devices.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(devices[i].path, expected[i].path);
        EXPECT_EQ(devices[i].description, expected[i].description);
        EXPECT_EQ(devices[i].accessible, expected[i].accessible);
    }
}

TEST(SerialDevices, EmptyTreeHasNoDevices)
{
    qlxtest::TempDir dir;
    EXPECT_TRUE(qlx::ListSerialDevices(dir.path().string()).empty());
}

TEST(SerialDevices, PermissionCheckSeesMissingDevices)
{
    qlxtest::TempDir dir;
    WriteAll(dir.file("port"), "");
    EXPECT_TRUE(qlx::CanOpenDevice(dir.file("port")));
    EXPECT_FALSE(qlx::CanOpenDevice(dir.file("absent")));
}

}  // namespace
