#pragma once
// The device picker of the port settings dialog: for the COM port selected
// in the dialog it shows the device that port stands for and lets the
// operator pick another one, which OK keeps in the group "Ports" of the
// settings (PortDevices turns it into VANTOR_COMn before each transfer).
//
// The list of one port holds, in this order:
//   - the library's own device of the port (PortDevices::DefaultDeviceOf),
//     which stands for "no entry in Ports";
//   - the serial devices found on the machine (ports::ListSerialDevices), each
//     by its first /dev/serial/by-id name when it has one: that name stays the
//     same whichever USB socket the cradle is in;
//   - the device the settings name, when it is none of these (a cradle that
//     is unplugged now, a path typed earlier), and likewise a path the
//     operator typed in this dialog.
// The operator may also type a path; a text that is one of the list's texts
// stands for that entry's device. On Windows a bare "COMn" is taken as
// \\.\COMn, the name the line opens for every n.
//
// A port whose device the environment named when the program started shows
// that device, disabled, with a note: the variable wins over the settings for
// as long as the program runs, so a choice there could not take effect, and
// OK writes nothing for it.
//
// The picker keeps one choice per port, so moving between the COM ports
// keeps what was picked for each. OK writes the ports whose device differs
// from the settings' (removing the entry when the default is chosen); Cancel
// writes nothing. No windows here: the Qt and the Win32 dialog show a View
// and hand back the text of their box.

#include <array>
#include <string>
#include <vector>

#include "PortChoices.h"
#include "serial_devices.h"

class PortDevices;
class SettingsStore;

namespace PortDevicePicker {

// Added to the default device's text.
inline constexpr char kDefaultMark[] = " (기본)";

struct Choice {
  std::string device;  // what Ports keeps; empty for the default (no entry)
  std::string text;    // what the list shows
};

// What the picker shows for one COM port.
struct View {
  std::vector<Choice> choices;
  int selected = -1;  // position in choices; -1 for none
  bool enabled = false;
  std::string note;  // the line under the picker; empty when there is nothing to say
};

// The note of a port that the environment variable names.
std::string EnvironmentNote(int portNo);

class Picker {
 public:
  // Reads the Ports settings and the environment as they are now; detected
  // are the machine's serial devices.
  Picker(const SettingsStore& store, const PortDevices& ports, std::vector<ports::SerialDevice> detected);

  // position: the position in the dialog's COM port list (0 = COM1); any
  // other value (no selection) shows an empty, disabled picker.
  View ViewOf(int position) const;
  // The operator's choice for the port at position: the text in the
  // picker's box, a list text or a typed path. Blank text chooses the
  // default. Ignored for a port the environment names.
  void Choose(int position, const std::string& boxText);
  // The device chosen for COMn; empty for the default.
  std::string ChosenDevice(int portNo) const;
  // OK: writes the Ports entry of every port whose choice differs from the
  // settings, in port order; an entry whose choice is the default is removed.
  void Store(SettingsStore& store) const;

 private:
  static constexpr int kPorts = PortChoices::kItemsPerList;
  struct Port {
    bool fromEnvironment = false;
    std::string environmentDevice;
    std::string stored;  // the settings' device, empty for none or the default
    std::string chosen;
  };

  std::vector<Choice> ChoicesOf(int portNo) const;

  std::vector<ports::SerialDevice> m_detected;
  std::array<Port, kPorts + 1> m_ports{};  // by port number; [0] unused
};

}  // namespace PortDevicePicker
