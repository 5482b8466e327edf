// The device picker of the port settings dialog: what it lists for a COM
// port, which entry it selects, what a picked or typed text stands for, and
// what OK writes into the group "Ports". The devices are those of a machine
// with a UART on COM1's own device, a USB adapter with two by-id names and a
// modem without one. "<own1>" to "<own4>" stand for the library's own
// devices of COM1 to COM4 (/dev/ttyS0 ... on Linux, \\.\COM1 ... on
// Windows).

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Environment.h"
#include "PortDevicePicker.h"
#include "PortDevices.h"
#include "RecordingStore.h"

namespace {

const std::string kById = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
const std::string kById2 = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0-second";

// "<ownN>" in text becomes the library's own device of COMn.
std::string Expand(std::string text) {
  for (int n = 1; n <= 4; ++n) {
    const std::string mark = "<own" + std::to_string(n) + ">";
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
      text.replace(at, mark.size(), PortDevices::DefaultDeviceOf(n));
    }
  }
  return text;
}

std::vector<ports::SerialDevice> Detected() {
  return {{PortDevices::DefaultDeviceOf(1), {}}, {"/dev/ttyUSB0", {kById, kById2}}, {"/dev/ttyACM0", {}}};
}

// No variable of the environment names a device while a test runs.
class PickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int n = 1; n <= 4; ++n) Environment::Unset(PortDevices::VariableOf(n));
  }
  void TearDown() override { SetUp(); }
};

std::vector<std::string> Texts(const PortDevicePicker::View& view) {
  std::vector<std::string> texts;
  for (const PortDevicePicker::Choice& choice : view.choices) texts.push_back(choice.text);
  return texts;
}

struct ViewRow {
  const char* name;
  std::map<int, std::string> stored;  // the group "Ports" ("<ownN>" expanded)
  int position;                       // in the COM port list
  std::vector<std::string> texts;     // "<ownN>" expanded
  int selected;
  bool enabled;
};

class PickerViews : public PickerTest, public ::testing::WithParamInterface<ViewRow> {};

TEST_P(PickerViews, ListTheDefaultTheDetectedAndTheStoredDevice) {
  const ViewRow& row = GetParam();
  RecordingStore store;
  for (const auto& [port, device] : row.stored) store.portDevices[port] = Expand(device);
  const PortDevices ports;
  const PortDevicePicker::Picker picker(store, ports, Detected());
  const PortDevicePicker::View view = picker.ViewOf(row.position);
  std::vector<std::string> expected;
  for (const std::string& text : row.texts) expected.push_back(Expand(text));
  EXPECT_EQ(Texts(view), expected);
  EXPECT_EQ(view.selected, row.selected);
  EXPECT_EQ(view.enabled, row.enabled);
  EXPECT_EQ(view.note, "");
  EXPECT_TRUE(store.portDeviceWrites.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PickerViews,
    ::testing::Values(
        // The port's own device comes first, once; the adapter by its first
        // by-id name with its kernel name.
        ViewRow{"NothingStored", {}, 0, {"<own1> (기본)", kById + " (ttyUSB0)", "/dev/ttyACM0"}, 0, true},
        // COM1's own device is an ordinary one for COM2.
        ViewRow{"AnotherPort", {}, 1, {"<own2> (기본)", "<own1>", kById + " (ttyUSB0)", "/dev/ttyACM0"}, 0, true},
        ViewRow{"StoredById", {{1, kById}}, 0, {"<own1> (기본)", kById + " (ttyUSB0)", "/dev/ttyACM0"}, 1, true},
        // Another port's entry selects nothing here.
        ViewRow{"StoredForCom2Only", {{2, kById}}, 0, {"<own1> (기본)", kById + " (ttyUSB0)", "/dev/ttyACM0"}, 0, true},
        // A kernel name stays what it is: selecting the by-id entry instead
        // would change the settings on OK without the operator's doing.
        ViewRow{"StoredKernelName",
                {{1, "/dev/ttyUSB0"}},
                0,
                {"<own1> (기본)", kById + " (ttyUSB0)", "/dev/ttyACM0", "/dev/ttyUSB0"},
                3,
                true},
        ViewRow{"StoredButUnplugged",
                {{1, "/dev/ttyUSB7"}},
                0,
                {"<own1> (기본)", kById + " (ttyUSB0)", "/dev/ttyACM0", "/dev/ttyUSB7"},
                3,
                true},
        ViewRow{
            "StoredOwnDevice", {{1, "<own1>"}}, 0, {"<own1> (기본)", kById + " (ttyUSB0)", "/dev/ttyACM0"}, 0, true},
        ViewRow{"NoPortSelected", {{1, kById}}, -1, {}, -1, false}, ViewRow{"PositionOutside", {}, 4, {}, -1, false}),
    [](const ::testing::TestParamInfo<ViewRow>& row) { return std::string(row.param.name); });

struct StoreRow {
  const char* name;
  std::map<int, std::string> stored;
  std::vector<std::pair<int, std::string>> choices;  // position, the box's text ("<ownN>" expanded)
  std::vector<std::pair<int, std::string>> writes;   // port, device; "" removes
};

class PickerStores : public PickerTest, public ::testing::WithParamInterface<StoreRow> {};

TEST_P(PickerStores, WritesTheChangedPortsAndRemovesTheDefault) {
  const StoreRow& row = GetParam();
  RecordingStore store;
  for (const auto& [port, device] : row.stored) store.portDevices[port] = Expand(device);
  const PortDevices ports;
  PortDevicePicker::Picker picker(store, ports, Detected());
  for (const auto& [position, text] : row.choices) picker.Choose(position, Expand(text));
  EXPECT_TRUE(store.portDeviceWrites.empty());  // only OK writes
  picker.Store(store);
  std::vector<std::pair<int, std::string>> expected;
  for (const auto& [port, device] : row.writes) expected.emplace_back(port, Expand(device));
  EXPECT_EQ(store.portDeviceWrites, expected);
  EXPECT_TRUE(store.writes.empty());  // the codes are PortChoices' business
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PickerStores,
    ::testing::Values(StoreRow{"PickedById", {}, {{0, kById + " (ttyUSB0)"}}, {{1, kById}}},
                      StoreRow{"PickedPlainDevice", {}, {{0, "/dev/ttyACM0"}}, {{1, "/dev/ttyACM0"}}},
                      StoreRow{"DefaultRemovesTheEntry", {{1, kById}}, {{0, "<own1> (기본)"}}, {{1, ""}}},
                      StoreRow{"BlankIsTheDefault", {{1, kById}}, {{0, "  "}}, {{1, ""}}},
                      StoreRow{"TypedOwnDeviceIsTheDefault", {{1, kById}}, {{0, " <own1> "}}, {{1, ""}}},
                      StoreRow{"TypedPathTrimmed", {}, {{0, "  /dev/ttyS5 "}}, {{1, "/dev/ttyS5"}}},
                      StoreRow{"TypedDetectedPath", {}, {{0, "/dev/ttyACM0"}}, {{1, "/dev/ttyACM0"}}},
                      StoreRow{"UnchangedWritesNothing", {{1, kById}}, {{0, kById + " (ttyUSB0)"}}, {}},
                      StoreRow{"NothingChosenWritesNothing", {{2, "/dev/ttyUSB7"}}, {}, {}},
                      StoreRow{"DefaultStoredAsPathWritesNothing", {{1, "<own1>"}}, {{0, "<own1> (기본)"}}, {}},
                      StoreRow{"PickedAndTakenBack", {}, {{0, "/dev/ttyACM0"}, {0, "<own1> (기본)"}}, {}},
                      // Each port keeps its own choice; OK writes them in port order.
                      StoreRow{"TwoPorts",
                               {{2, "/dev/ttyUSB7"}},
                               {{1, "/dev/ttyACM0"}, {0, kById + " (ttyUSB0)"}, {3, "<own4> (기본)"}},
                               {{1, kById}, {2, "/dev/ttyACM0"}}},
                      StoreRow{"NoPortSelectedIsIgnored", {}, {{-1, "/dev/ttyACM0"}, {4, "/dev/ttyACM0"}}, {}}),
    [](const ::testing::TestParamInfo<StoreRow>& row) { return std::string(row.param.name); });

TEST_F(PickerTest, ATypedPathIsListedAndSelectedWhenThePortIsShownAgain) {
  RecordingStore store;
  const PortDevices ports;
  PortDevicePicker::Picker picker(store, ports, Detected());
  picker.Choose(0, "/tmp/COM1");
  picker.Choose(1, "/dev/ttyACM0");
  const PortDevicePicker::View com1 = picker.ViewOf(0);
  ASSERT_EQ(com1.choices.size(), 4u);
  EXPECT_EQ(com1.choices[3].text, "/tmp/COM1");
  EXPECT_EQ(com1.selected, 3);
  EXPECT_EQ(picker.ViewOf(1).selected, 3);  // COM2: own, own1, by-id, ttyACM0
  EXPECT_EQ(picker.ChosenDevice(1), "/tmp/COM1");
  EXPECT_EQ(picker.ChosenDevice(2), "/dev/ttyACM0");
}

TEST_F(PickerTest, APortTheEnvironmentNamesShowsItsDeviceAndTakesNoChoice) {
  Environment::Set("VANTOR_COM2", "/dev/from-environment");
  RecordingStore store;
  store.portDevices = {{2, "/dev/ttyUSB7"}};
  const PortDevices ports;  // notes the environment as the program does at start
  ports.Apply(store);       // a transfer before the dialog: COM2 keeps the variable's device
  PortDevicePicker::Picker picker(store, ports, Detected());
  const PortDevicePicker::View view = picker.ViewOf(1);
  ASSERT_EQ(view.choices.size(), 1u);
  EXPECT_EQ(view.choices[0].text, "/dev/from-environment");
  EXPECT_EQ(view.selected, 0);
  EXPECT_FALSE(view.enabled);
  EXPECT_EQ(view.note, "환경 변수 VANTOR_COM2 이 정한 장치 (설정보다 우선)");
  picker.Choose(1, "/dev/ttyACM0");
  picker.Choose(1, "");
  picker.Choose(0, "/dev/ttyACM0");  // COM1 is not concerned
  picker.Store(store);
  EXPECT_EQ(store.portDeviceWrites, (std::vector<std::pair<int, std::string>>{{1, "/dev/ttyACM0"}}));
  EXPECT_EQ(store.portDevices[2], "/dev/ttyUSB7");
  EXPECT_TRUE(picker.ViewOf(0).enabled);
  EXPECT_EQ(picker.ViewOf(0).note, "");
}

TEST_F(PickerTest, AVariableSetOnlyByTheSettingsIsNoEnvironmentChoice) {
  // After a transfer the program's environment holds the settings' devices;
  // a picker made with the start's PortDevices still offers the port.
  RecordingStore store;
  store.portDevices = {{1, kById}};
  const PortDevices ports;
  ports.Apply(store);
  ASSERT_EQ(Environment::Get("VANTOR_COM1"), kById);
  const PortDevicePicker::Picker picker(store, ports, Detected());
  EXPECT_TRUE(picker.ViewOf(0).enabled);
  EXPECT_EQ(picker.ViewOf(0).selected, 1);
}

}  // namespace
