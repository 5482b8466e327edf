// Which Qt platform the library starts, from the environment and the probes'
// answers. A wrong "yes" here ends the caller's process inside Qt.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "qt_platform_choice.h"

namespace {

struct Row {
  const char* what;
  std::map<std::string, std::string> env;
  const char* expected;  // null: no GUI
};

// X answers at ":0" only; a compositor listens at "wayland-1" only.
const Row kRows[] = {
    {"nothing set", {}, nullptr},
    {"offscreen", {{"QT_QPA_PLATFORM", "offscreen"}}, "offscreen"},
    {"minimal", {{"QT_QPA_PLATFORM", "minimal"}}, "minimal"},
    {"offscreen, plugin not installed", {{"QT_QPA_PLATFORM", "offscreen"}, {"NO_PLUGINS", "1"}}, nullptr},
    {"DISPLAY answers", {{"DISPLAY", ":0"}}, "xcb"},
    {"DISPLAY does not answer", {{"DISPLAY", ":9"}}, nullptr},
    {"X answers but no plugin", {{"DISPLAY", ":0"}, {"NO_PLUGINS", "1"}}, nullptr},
    {"xcb named, no DISPLAY", {{"QT_QPA_PLATFORM", "xcb"}}, nullptr},
    {"xcb named, DISPLAY does not answer", {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":9"}}, nullptr},
    {"xcb with options", {{"QT_QPA_PLATFORM", "xcb:nograb"}, {"DISPLAY", ":0"}}, "xcb:nograb"},
    {"list, first unusable", {{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":0"}}, "xcb"},
    {"list, none usable", {{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":9"}}, nullptr},
    {"wayland answers", {{"WAYLAND_DISPLAY", "wayland-1"}, {"DISPLAY", ":9"}}, "wayland"},
    {"wayland gone, X answers", {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, "xcb"},
    {"wayland named, default socket absent", {{"QT_QPA_PLATFORM", "wayland"}}, nullptr},
    {"platform that cannot be checked", {{"QT_QPA_PLATFORM", "linuxfb"}}, nullptr},
    {"empty QT_QPA_PLATFORM counts as unset", {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ":0"}}, "xcb"},
};

TEST(ChooseQtPlatform, Table) {
  for (const Row& row : kRows) {
    const auto& env = row.env;
    vantor::GuiEnvironment fake{
        [&](const char* name) -> const char* {
          auto it = env.find(name);
          return it == env.end() ? nullptr : it->second.c_str();
        },
        [&](const std::string& name) {
          static const std::set<std::string> installed{"offscreen", "minimal", "xcb", "wayland", "linuxfb"};
          return !env.contains("NO_PLUGINS") && installed.contains(name);
        },
        [](const std::string& display) { return display == ":0"; },
        [](const std::string& socket) { return socket == "wayland-1"; },
    };
    const std::optional<std::string> chosen = vantor::ChooseQtPlatform(fake);
    EXPECT_EQ(chosen.value_or("<none>"), row.expected != nullptr ? row.expected : "<none>") << row.what;
  }
}

TEST(ChooseQtPlatform, ProbesOnlyWhatIsNamed) {
  // Without DISPLAY the X probe must not run: xcb_connect(NULL) would use a
  // default display that the caller never named.
  bool xProbed = false;
  vantor::GuiEnvironment fake{
      [](const char* name) -> const char* { return std::string(name) == "QT_QPA_PLATFORM" ? "xcb" : nullptr; },
      [](const std::string&) { return true; },
      [&](const std::string&) { return xProbed = true; },
      [](const std::string&) { return true; },
  };
  EXPECT_FALSE(vantor::ChooseQtPlatform(fake).has_value());
  EXPECT_FALSE(xProbed);
}

}  // namespace
