// The communication log and its time stamp.
#include <gtest/gtest.h>

#include "comm_log.h"
#include "fakes.h"

namespace {

using namespace vantor;

TEST(CommLog, EntryIsTheTextAndCrLf) {
  vtest::TempCwd cwd;
  WriteLog("Port Open");
  WriteLog(std::string("SendData = [\x02\x06]"));
  EXPECT_EQ(vtest::ReadFile("Log/comm.log"), "Port Open\r\nSendData = [\x02\x06]\r\n");
}

TEST(CommLog, TimeStampHasMillisecondsWithoutLeadingZeros) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  // Monday 29 March 2004, 07:15:35 UTC.
  const std::time_t t = 1080544535;
  EXPECT_EQ(FormatTimeStamp(t, 42), "The time is Mon Mar 29 07:15:35.42 2004\n\n");
  EXPECT_EQ(FormatTimeStamp(t, 7), "The time is Mon Mar 29 07:15:35.7 2004\n\n");
  EXPECT_EQ(FormatTimeStamp(t, 999), "The time is Mon Mar 29 07:15:35.999 2004\n\n");
  // A single-digit day is blank-padded, as ctime does.
  EXPECT_EQ(FormatTimeStamp(1078125300, 0), "The time is Mon Mar  1 07:15:00.0 2004\n\n");
}

TEST(CommLog, TimeStampEntryEndsInLfLfCrLf) {
  vtest::TempCwd cwd;
  WriteTimeStamp();
  const std::string log = vtest::ReadFile("Log/comm.log");
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log.substr(log.size() - 4), "\n\n\r\n");
  EXPECT_EQ(log.rfind("The time is ", 0), 0u);
}

TEST(CommLog, EveryFailedEntryIsReportedOnce) {
  vtest::TempCwd cwd;
  vtest::WriteFile("Log", "a plain file where the directory should be");
  std::vector<std::string> reported;
  SetLogFailureHandler([&](const std::string& text) { reported.push_back(text); });
  WriteLog("one");
  WriteLog("two");
  SetLogFailureHandler(nullptr);
  ASSERT_EQ(reported.size(), 2u);
  // "로그를 남길 수 없습니다." in code page 949.
  EXPECT_EQ(reported[0], "\xB7\xCE\xB1\xD7\xB8\xA6 \xB3\xB2\xB1\xE6 \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.");
}

}  // namespace
