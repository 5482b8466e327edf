#include "ToolbarCommands.h"

#include "DirSelectRules.h"

ToolbarCommand CommandOfKey(const std::string& key) {
  const std::string upper = DirSelectRules::UpperCase(key);
  if (upper == "EXIT") return ToolbarCommand::Exit;
  if (upper == "SETTING") return ToolbarCommand::Setting;
  return ToolbarCommand::None;
}
