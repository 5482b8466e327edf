#pragma once
// The choices of the port settings dialog. A stored code is the 1-based
// position in its list; "0" means nothing selected. Stored codes outside "0"
// to "4" leave their list without a selection. OK stores "CommSpeed" first,
// then "CommPortNo", each as the position plus one without blanks.

#include <array>
#include <string>

class SettingsStore;

namespace PortChoices {

inline constexpr int kItemsPerList = 4;
inline constexpr std::array<const char*, kItemsPerList> kSpeedItems = {"9600 BPS", "19200 BPS", "38400 BPS",
                                                                       "115200 BPS"};
inline constexpr std::array<const char*, kItemsPerList> kPortItems = {"COM1", "COM2", "COM3", "COM4"};
inline constexpr char kTitle[] = "통신포트 선택";

// The list position a stored code selects: -1 for none.
int PositionOfCode(const std::string& storedCode);
// The code OK stores for a list position (-1 for none gives "0").
std::string CodeOfPosition(int position);

struct Selection {
  int speed = -1;
  int port = -1;
};
// The positions the dialog opens with, read from the store.
Selection Load(const SettingsStore& store);
// OK: stores both positions, the speed first.
void Store(SettingsStore& store, const Selection& selection);

}  // namespace PortChoices
