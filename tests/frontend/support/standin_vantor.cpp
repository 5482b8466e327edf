#include "standin_vantor.h"

#include <cstring>

namespace {

StandInCall g_last{};
int g_calls = 0;
int g_result = VANTOR_RECEIVED;
StandInHook g_hook = nullptr;
void* g_context = nullptr;

void Copy(char* target, std::size_t size, const char* text) {
  std::strncpy(target, text != nullptr ? text : "", size - 1);
  target[size - 1] = '\0';
}

}  // namespace

extern "C" {

VANTOR_API int VANTOR_CALL RunVantor(const char* recvDir, const char* sendDir, int portNo, int speed, int appendMode,
                                     const char* userData) {
  ++g_calls;
  Copy(g_last.recvDir, sizeof g_last.recvDir, recvDir);
  Copy(g_last.sendDir, sizeof g_last.sendDir, sendDir);
  g_last.portNo = portNo;
  g_last.speed = speed;
  g_last.appendMode = appendMode;
  Copy(g_last.userData, sizeof g_last.userData, userData);
  if (g_hook != nullptr) g_hook(g_context);
  return g_result;
}

VANTOR_API void VANTOR_CALL VantorCancel(void) {}

VANTOR_API void StandIn_Reset(void) {
  g_last = StandInCall{};
  g_calls = 0;
  g_result = VANTOR_RECEIVED;
  g_hook = nullptr;
  g_context = nullptr;
}

VANTOR_API void StandIn_SetResult(int result) { g_result = result; }

VANTOR_API void StandIn_SetHook(StandInHook hook, void* context) {
  g_hook = hook;
  g_context = context;
}

VANTOR_API int StandIn_CallCount(void) { return g_calls; }

VANTOR_API StandInCall StandIn_LastCall(void) { return g_last; }
}
