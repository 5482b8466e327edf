#include "comm_log.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>

#include "korean_texts.h"
#include "local_time.h"
#include "text_codec.h"

namespace vantor {
namespace {

std::mutex g_handlerMutex;
LogFailureHandler g_handler;
std::atomic<CFileSystem*> g_fs{nullptr};

void ReportFailure() {
  LogFailureHandler handler;
  {
    std::lock_guard lock(g_handlerMutex);
    handler = g_handler;
  }
  const std::string& text = Texts().logFailure;
  if (handler) {
    handler(text);
  } else {
    std::fprintf(stderr, "%s (%s)\n", Cp949ToLocalLossy(text).c_str(), kLogPath);
  }
}

}  // namespace

void SetLogFailureHandler(LogFailureHandler handler) {
  std::lock_guard lock(g_handlerMutex);
  g_handler = std::move(handler);
}

void SetLogFileSystem(CFileSystem* fs) { g_fs = fs; }

CFileSystem& LogFileSystem() {
  CFileSystem* fs = g_fs;
  return fs != nullptr ? *fs : SystemFileSystem();
}

void WriteLog(std::string_view text) {
  CFileSystem& fs = LogFileSystem();
  fs.CreateDirectory(kLogDir);  // fails when it exists; the open below decides
  std::string entry(text);
  entry += "\r\n";
  std::unique_ptr<CFile> f = fs.Open(kLogPath, OpenMode::Append);
  if (!f || f->Write(entry.data(), entry.size())) ReportFailure();
}

std::string FormatTimeStamp(std::time_t seconds, unsigned milliseconds) {
  // The C library's ctime text, "Mon Mar 29 07:15:35 2004", with C-locale
  // names whatever the process's locale.
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::tm t = LocalTime(seconds);
  char out[128];
  std::snprintf(out, sizeof out, "The time is %.3s %.3s%3d %.2d:%.2d:%.2d.%hu %d\n\n", kDays[(t.tm_wday % 7 + 7) % 7],
                kMonths[(t.tm_mon % 12 + 12) % 12], t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                static_cast<unsigned short>(milliseconds), 1900 + t.tm_year);
  return out;
}

void WriteTimeStamp() {
  using namespace std::chrono;
  const auto now = system_clock::now().time_since_epoch();
  const auto secs = duration_cast<seconds>(now);
  const auto ms = duration_cast<milliseconds>(now - secs);
  WriteLog(FormatTimeStamp(static_cast<std::time_t>(secs.count()), static_cast<unsigned>(ms.count())));
}

}  // namespace vantor
