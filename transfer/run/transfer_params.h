#pragma once
// The values of one transfer, as RunVantor hands them to the dialog.

#include <string>

namespace vantor {

struct TransferParams {
  int m_nAppendMode = 0;
  int m_nSpeed = 0;
  std::string m_strPort;     // "COM1".."COM4"
  std::string m_strSendDir;  // locale encoding, ends in "/"
  std::string m_strRecvDir;
  std::string m_strUserData;
};

}  // namespace vantor
