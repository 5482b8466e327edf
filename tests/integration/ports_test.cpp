// The machine's serial devices as vantor --list-ports and RTKelvane see them:
// which devices count, their by-id names, and why a device cannot be opened.
#include <gtest/gtest.h>

#include <filesystem>

#include "port_probe.h"
#include "pty_pair.h"
#include "run_dirs.h"
#include "serial_devices.h"

namespace vtest {
namespace {

namespace fs = std::filesystem;

class SerialDevices : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("ports-test-" + std::to_string(::getpid()));
    fs::remove_all(m_root);
    fs::create_directories(m_root / "dev/serial/by-id");
    fs::create_directories(m_root / "sys");
    m_roots = {(m_root / "dev").string(), (m_root / "sys").string()};
  }
  void TearDown() override { fs::remove_all(m_root); }

  void Device(const std::string& name) { WriteFile(m_root / "dev" / name, ""); }
  void UartType(const std::string& name, const std::string& type) {
    fs::create_directories(m_root / "sys" / name);
    WriteFile(m_root / "sys" / name / "type", type + "\n");
  }
  std::string Dev(const std::string& name) const { return (m_root / "dev" / name).string(); }

  fs::path m_root;
  ports::DeviceRoots m_roots;
};

TEST_F(SerialDevices, OnlyPortsWithSomethingBehindThemAreListedInOrder) {
  for (const char* name : {"ttyS0", "ttyS1", "ttyS10", "ttyS2", "ttyUSB1", "ttyUSB0", "ttyACM0", "tty0", "ttyS",
                           "ttySTM0", "ttyUSB0x", "null"}) {
    Device(name);
  }
  UartType("ttyS0", "4");  // a 16550A
  UartType("ttyS1", "0");  // no chip at that address
  UartType("ttyS10", "4");
  // ttyS2 has no type at all: the kernel does not know it as a UART.
  fs::create_directories(m_root / "dev/ttyACM9");  // a directory is no device
  std::vector<std::string> paths;
  for (const ports::SerialDevice& d : ports::ListSerialDevices(m_roots)) paths.push_back(d.path);
  EXPECT_EQ(paths,
            (std::vector<std::string>{Dev("ttyS0"), Dev("ttyS10"), Dev("ttyUSB0"), Dev("ttyUSB1"), Dev("ttyACM0")}));
}

TEST_F(SerialDevices, ByIdNamesGoWithTheirDevice) {
  Device("ttyUSB0");
  Device("ttyACM0");
  const fs::path byId = m_root / "dev/serial/by-id";
  fs::create_symlink("../../ttyUSB0", byId / "usb-FTDI_FT232R-if00-port0");
  fs::create_symlink("../../ttyACM0", byId / "usb-Cradle_CDC-if00");
  fs::create_symlink("../../ttyACM0", byId / "usb-Cradle_CDC-if00-alias");
  fs::create_symlink("../../ttyUSB7", byId / "usb-gone");  // a dangling link belongs to nobody
  const std::vector<ports::SerialDevice> devices = ports::ListSerialDevices(m_roots);
  ASSERT_EQ(devices.size(), 2u);
  EXPECT_EQ(devices[0].path, Dev("ttyUSB0"));
  EXPECT_EQ(devices[0].byId, (std::vector<std::string>{(byId / "usb-FTDI_FT232R-if00-port0").string()}));
  EXPECT_EQ(devices[1].byId, (std::vector<std::string>{(byId / "usb-Cradle_CDC-if00").string(),
                                                       (byId / "usb-Cradle_CDC-if00-alias").string()}));
  EXPECT_TRUE(ports::SameDevice((byId / "usb-Cradle_CDC-if00").string(), Dev("ttyACM0")));
  EXPECT_FALSE(ports::SameDevice((byId / "usb-gone").string(), Dev("ttyUSB7")));
}

TEST_F(SerialDevices, AMissingTreeListsNothing) {
  ports::DeviceRoots nowhere{(m_root / "none").string(), (m_root / "none").string()};
  EXPECT_TRUE(ports::ListSerialDevices(nowhere).empty());
}

TEST(OpenProblem, SaysWhyADeviceCannotServeAsTheLine) {
  const fs::path absent = fs::temp_directory_path() / "ports-test-no-such-device";
  EXPECT_EQ(ports::OpenProblem(absent.string()), "No such file or directory");
  EXPECT_EQ(ports::OpenProblem("/dev/null"), "not a serial line (Inappropriate ioctl for device)");
  EXPECT_EQ(ports::OpenProblem(""), "no device named");
  PtyPair pty;
  EXPECT_EQ(ports::OpenProblem(pty.SlavePath()), "");
}

}  // namespace
}  // namespace vtest
