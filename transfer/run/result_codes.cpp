#include "result_codes.h"

namespace vantor {

const char* ResultLogText(int code) {
  switch (code) {
    case VANTOR_PORT_ERROR: return "Com open error";
    case VANTOR_DEVICE_CANCEL: return "Device Cancel";
    case VANTOR_USER_CANCEL: return "User Cancel";
    case VANTOR_ERROR: return "Transfer error";
    case VANTOR_RECEIVED: return "Data Recv Success!";
    case VANTOR_SENT: return "Data Send Success!";
    default: return nullptr;
  }
}

bool IsAcceptedSpeed(int speed) {
  switch (speed) {
    case 9600:
    case 14400:
    case 19200:
    case 38400:
    case 56000:
    case 57600:
    case 115200:
    case 128000:
    case 256000: return true;
    default: return false;
  }
}

}  // namespace vantor
