// The rules of the settings, written once for both window systems: reading
// stored codes, the code tables, what the main window's load shows and writes
// back, the port dialog's choices and the toolbar's keys. The same test runs
// on Linux and as a Windows program under Wine.

#include <gtest/gtest.h>

#include "CommSettings.h"
#include "NumericText.h"
#include "PortChoices.h"
#include "RecordingStore.h"
#include "StartSettings.h"
#include "ToolbarCommands.h"
#include "VarDefine.h"

namespace {

using Writes = std::vector<std::pair<std::string, std::string>>;

struct NumberRow {
  const char* text;
  double value;
};

class LeadingNumber : public ::testing::TestWithParam<NumberRow> {};

TEST_P(LeadingNumber, ReadsTheNumberAtTheStart) {
  EXPECT_EQ(NumericText::LeadingNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Rows, LeadingNumber,
                         ::testing::Values(NumberRow{"3", 3}, NumberRow{"  4", 4}, NumberRow{"3abc", 3},
                                           NumberRow{"1.0", 1}, NumberRow{"2.5", 2.5}, NumberRow{"", 0},
                                           NumberRow{"abc", 0}, NumberRow{"-2", -2}, NumberRow{"9600", 9600},
                                           NumberRow{"1 2", 1}, NumberRow{".", 0}, NumberRow{"+7", 7}));

TEST(Trim, RemovesBlanksOnBothSidesOnly) {
  EXPECT_EQ(NumericText::Trim("  C:\\send  "), "C:\\send");
  EXPECT_EQ(NumericText::Trim(" a b "), "a b");
  EXPECT_EQ(NumericText::Trim("   "), "");
}

struct InEffectRow {
  const char* port;   // nullptr: not stored
  const char* speed;  // nullptr: not stored
  int portNo;
  int baudRate;
  const char* status;
};

class InEffect : public ::testing::TestWithParam<InEffectRow> {};

TEST_P(InEffect, FollowsTheCodeTables) {
  const InEffectRow& row = GetParam();
  RecordingStore store;
  if (row.port != nullptr) store.values[VarDefine::kKeyPortNo] = row.port;
  if (row.speed != nullptr) store.values[VarDefine::kKeySpeed] = row.speed;
  const CommSettings::InEffect inEffect = CommSettings::ReadInEffect(store);
  EXPECT_EQ(inEffect.portNo, row.portNo);
  EXPECT_EQ(inEffect.baudRate, row.baudRate);
  EXPECT_EQ(inEffect.statusText, row.status);
  EXPECT_TRUE(store.writes.empty());  // codes outside the tables are never corrected
}

INSTANTIATE_TEST_SUITE_P(Rows, InEffect,
                         ::testing::Values(InEffectRow{nullptr, nullptr, 1, 19200, "통신설정 : COM1 - 19200, N, 8, 1"},
                                           InEffectRow{"3", nullptr, 3, 19200, "통신설정 : COM3 - 19200, N, 8, 1"},
                                           InEffectRow{" 4 ", "1", 4, 9600, "통신설정 : COM4 - 9600, N, 8, 1"},
                                           InEffectRow{"2", "3", 2, 38400, "통신설정 : COM2 - 38400, N, 8, 1"},
                                           InEffectRow{"1", "4", 1, 115200, "통신설정 : COM1 - 115200, N, 8, 1"},
                                           InEffectRow{"7", "9600", 1, 19200, "통신설정 : COM1 - 19200, N, 8, 1"},
                                           InEffectRow{"", "", 1, 19200, "통신설정 : COM1 - 19200, N, 8, 1"},
                                           InEffectRow{"3abc", "1.0", 3, 9600, "통신설정 : COM3 - 9600, N, 8, 1"},
                                           InEffectRow{"2.5", "3.5", 1, 19200, "통신설정 : COM1 - 19200, N, 8, 1"}));

TEST(StartSettings, FirstStartWritesThreeKeysBackInOrder) {
  RecordingStore store;
  const DirectoryBoxes boxes = LoadStartSettings(store);
  EXPECT_FALSE(boxes.sendDir.empty());
  EXPECT_FALSE(boxes.recvDir.empty());
  EXPECT_EQ(store.writes, (Writes{{"CommPortNo", "1"}, {"SendDir", boxes.sendDir}, {"RecvDir", boxes.recvDir}}));
  EXPECT_EQ(store.values.count("CommSpeed"), 0u);
}

TEST(StartSettings, BoxesAreTrimmedAndTheStoreKeepsItsBlanks) {
  RecordingStore store;
  store.values = {
      {"CommPortNo", " 4 "}, {"SendDir", "  /data/send  "}, {"RecvDir", " /data/recv/"}, {"CommSpeed", "7"}};
  const DirectoryBoxes boxes = LoadStartSettings(store);
  EXPECT_EQ(boxes.sendDir, "/data/send");
  EXPECT_EQ(boxes.recvDir, "/data/recv/");
  EXPECT_EQ(store.writes, (Writes{{"CommPortNo", "4"}, {"SendDir", "  /data/send  "}, {"RecvDir", " /data/recv/"}}));
  EXPECT_EQ(store.values["CommSpeed"], "7");
}

TEST(StartSettings, AStoreThatRefusesWritesStillGivesTheBoxes) {
  RecordingStore store;
  store.refuseWrites = true;
  store.values = {{"SendDir", "/s"}, {"RecvDir", "/r"}};
  const DirectoryBoxes boxes = LoadStartSettings(store);
  EXPECT_EQ(boxes.sendDir, "/s");
  EXPECT_EQ(boxes.recvDir, "/r");
}

struct PositionRow {
  const char* stored;
  int position;
};

class PositionOfCode : public ::testing::TestWithParam<PositionRow> {};

TEST_P(PositionOfCode, SelectsTheListPosition) {
  EXPECT_EQ(PortChoices::PositionOfCode(GetParam().stored), GetParam().position) << GetParam().stored;
}

INSTANTIATE_TEST_SUITE_P(Rows, PositionOfCode,
                         ::testing::Values(PositionRow{"1", 0}, PositionRow{"4", 3}, PositionRow{" 3 ", 2},
                                           PositionRow{"0", -1}, PositionRow{"", -1}, PositionRow{"5", -1},
                                           PositionRow{"x", -1}, PositionRow{"2.4", 1}, PositionRow{"99999", -1}));

TEST(PortChoices, OpenWithTheDefaultsAndStoreTheSpeedFirst) {
  RecordingStore store;
  PortChoices::Selection selection = PortChoices::Load(store);
  EXPECT_EQ(selection.speed, 1);  // "19200 BPS"
  EXPECT_EQ(selection.port, 0);   // "COM1"
  EXPECT_STREQ(PortChoices::kSpeedItems[static_cast<std::size_t>(selection.speed)], "19200 BPS");
  selection = {3, -1};
  PortChoices::Store(store, selection);
  EXPECT_EQ(store.writes, (Writes{{"CommSpeed", "4"}, {"CommPortNo", "0"}}));
}

struct KeyRow {
  const char* key;
  ToolbarCommand command;
};

class ToolbarKeys : public ::testing::TestWithParam<KeyRow> {};

TEST_P(ToolbarKeys, AreComparedInUpperCase) { EXPECT_EQ(CommandOfKey(GetParam().key), GetParam().command); }

INSTANTIATE_TEST_SUITE_P(Rows, ToolbarKeys,
                         ::testing::Values(KeyRow{"Exit", ToolbarCommand::Exit}, KeyRow{"EXIT", ToolbarCommand::Exit},
                                           KeyRow{"Setting", ToolbarCommand::Setting},
                                           KeyRow{"setting", ToolbarCommand::Setting},
                                           KeyRow{"Help", ToolbarCommand::None}, KeyRow{"", ToolbarCommand::None}));

}  // namespace
