#include "TransferCommand.h"

#include "SystemText.h"
#include "VarDefine.h"
#include "vantor2.h"

namespace TransferCommand {

vantor::TransferArgs MakeArgs(const std::string& recvDir, const std::string& sendDir, bool append) {
  vantor::TransferArgs args;
  args.recvDir = ToSystemNarrow(recvDir);
  args.sendDir = ToSystemNarrow(sendDir);
  args.portNo = gPortNo;
  args.speed = gBaudRate;
  args.appendMode = append ? 1 : 0;
  args.userData = VarDefine::kUserData;
  return args;
}

const char* ResultMessage(int result) {
  switch (result) {
    case VANTOR_RECV_DIR_ERROR: return "Recv 디렉토리 설정에러";
    case VANTOR_SEND_DIR_ERROR: return "Send 디렉토리 설정에러";
    case VANTOR_PORT_NO_ERROR: return "통신포트 설정에러";
    case VANTOR_SPEED_ERROR: return "통신속도 설정에러";
    default: return nullptr;
  }
}

}  // namespace TransferCommand
