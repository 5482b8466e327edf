#include "comm_log.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <mutex>

#include "korean_texts.h"
#include "text_codec.h"

namespace vantor {
namespace {

std::mutex g_handlerMutex;
LogFailureHandler g_handler;

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

void WriteLog(std::string_view text) {
  ::mkdir(kLogDir, 0777);  // fails when it exists; the open below decides
  std::string entry(text);
  entry += "\r\n";
  std::FILE* f = std::fopen(kLogPath, "ab+");
  if (f == nullptr) {
    ReportFailure();
    return;
  }
  std::fseek(f, 0, SEEK_END);
  const bool written = std::fwrite(entry.data(), 1, entry.size(), f) == entry.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) ReportFailure();
}

std::string FormatTimeStamp(std::time_t seconds, unsigned milliseconds) {
  std::tm local{};
  ::localtime_r(&seconds, &local);
  char ctimeText[64] = {};
  ::asctime_r(&local, ctimeText);  // "Mon Mar 29 07:15:35 2004\n"
  char out[128];
  std::snprintf(out, sizeof out, "The time is %.19s.%hu %s\n", ctimeText, static_cast<unsigned short>(milliseconds),
                ctimeText + 20);
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
