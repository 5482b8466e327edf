#include "StartSettings.h"

#include "DefaultDirs.h"
#include "NumericText.h"
#include "SettingsStore.h"
#include "VarDefine.h"

DirectoryBoxes LoadStartSettings(SettingsStore& store) {
  const std::string portCode = NumericText::Trim(store.Read(VarDefine::kKeyPortNo, VarDefine::kDefaultPortCode));
  const std::string sendDir = store.Read(VarDefine::kKeySendDir, DefaultDirs::SendDir());
  const std::string recvDir = store.Read(VarDefine::kKeyRecvDir, DefaultDirs::RecvDir());
  WriteSetting(store, VarDefine::kKeyPortNo, portCode);
  WriteSetting(store, VarDefine::kKeySendDir, sendDir);
  WriteSetting(store, VarDefine::kKeyRecvDir, recvDir);
  return {NumericText::Trim(sendDir), NumericText::Trim(recvDir)};
}
