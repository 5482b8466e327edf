#pragma once
// What a toolbar button does: its key, turned to upper case, is "EXIT" (the
// main window is asked to close) or "SETTING" (the port settings dialog, then
// FP_SetPortNo); any other key does nothing.

#include <string>

enum class ToolbarCommand { Exit, Setting, None };

ToolbarCommand CommandOfKey(const std::string& key);
