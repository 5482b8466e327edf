#pragma once
// A stand-in for the transfer library, built by the tests. It exports
// RunVantor like the real library, keeps the arguments of every call, runs a
// hook the test chose while the call lasts, and returns the result the test
// chose. The test reaches the extra functions through the same loaded file.

#include "vantor2.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*StandInHook)(void* context);

struct StandInCall {
  char recvDir[1024];
  char sendDir[1024];
  int portNo;
  int speed;
  int appendMode;
  char userData[64];
};

VANTOR_API void StandIn_Reset(void);
VANTOR_API void StandIn_SetResult(int result);
VANTOR_API void StandIn_SetHook(StandInHook hook, void* context);
VANTOR_API int StandIn_CallCount(void);
// The arguments of the last call; all zero before the first.
VANTOR_API struct StandInCall StandIn_LastCall(void);

#ifdef __cplusplus
}
#endif
