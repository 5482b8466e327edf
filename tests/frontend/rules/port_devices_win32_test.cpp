// COM names on Windows: the line opens COM10 and above only as \\.\COMn, so
// a bare "COMn" typed into the port dialog or written into the key Ports
// stands for \\.\COMn; any other name is taken as it is.

#include <gtest/gtest.h>

#include <string>

#include "Environment.h"
#include "PortDevicePicker.h"
#include "PortDevices.h"
#include "RecordingStore.h"

namespace {

struct NameRow {
  const char* typed;
  const char* device;
};

class ComNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(ComNames, ABareComNameIsTheDevicePath) {
  EXPECT_EQ(PortDevices::DeviceOfName(GetParam().typed), GetParam().device);
}

INSTANTIATE_TEST_SUITE_P(Rows, ComNames,
                         ::testing::Values(NameRow{"COM5", "\\\\.\\COM5"}, NameRow{"com12", "\\\\.\\COM12"},
                                           NameRow{"\\\\.\\COM7", "\\\\.\\COM7"}, NameRow{"COM", "COM"},
                                           NameRow{"COM1A", "COM1A"}, NameRow{"COM 3", "COM 3"},
                                           NameRow{"\\\\.\\KelvaneNoSuchPort", "\\\\.\\KelvaneNoSuchPort"}));

TEST(ComNames, TheSettingsAndThePickerTakeTheDevicePath) {
  for (int n = 1; n <= 4; ++n) Environment::Unset(PortDevices::VariableOf(n));
  RecordingStore store;
  store.portDevices = {{1, "COM12"}, {2, "com2"}};
  const PortDevices ports;
  ports.Apply(store);
  EXPECT_EQ(Environment::Get("VANTOR_COM1"), "\\\\.\\COM12");
  PortDevicePicker::Picker picker(store, ports, {{"\\\\.\\COM12", {}}});
  EXPECT_EQ(picker.ViewOf(0).selected, 1);  // the stored "COM12" is the detected \\.\COM12
  EXPECT_EQ(picker.ViewOf(1).selected, 0);  // "com2" is COM2's own device
  picker.Choose(2, "com10");
  picker.Store(store);
  EXPECT_EQ(store.portDeviceWrites, (std::vector<std::pair<int, std::string>>{{3, "\\\\.\\COM10"}}));
  for (int n = 1; n <= 4; ++n) Environment::Unset(PortDevices::VariableOf(n));
}

}  // namespace
