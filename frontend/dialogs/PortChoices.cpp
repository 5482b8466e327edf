#include "PortChoices.h"

#include "NumericText.h"
#include "SettingsStore.h"
#include "VarDefine.h"

namespace PortChoices {

int PositionOfCode(const std::string& storedCode) {
  int position = 0;
  if (!NumericText::ToInt16(NumericText::LeadingNumber(NumericText::Trim(storedCode)) - 1, &position)) return -1;
  return position >= 0 && position < kItemsPerList ? position : -1;
}

std::string CodeOfPosition(int position) { return std::to_string(position + 1); }

Selection Load(const SettingsStore& store) {
  Selection selection;
  selection.speed = PositionOfCode(store.Read(VarDefine::kKeySpeed, VarDefine::kDefaultSpeedCode));
  selection.port = PositionOfCode(store.Read(VarDefine::kKeyPortNo, VarDefine::kDefaultPortCode));
  return selection;
}

void Store(SettingsStore& store, const Selection& selection) {
  WriteSetting(store, VarDefine::kKeySpeed, CodeOfPosition(selection.speed));
  WriteSetting(store, VarDefine::kKeyPortNo, CodeOfPosition(selection.port));
}

}  // namespace PortChoices
