#include "DefaultDirs.h"

#include <tuple>

#include "FileOps.h"
#include "FuntDefine.h"
#include "NumericText.h"
#include "SettingsStore.h"
#include "VarDefine.h"

namespace {

std::string WithoutFinalSeparators(std::string path) {
  while (path.size() > 1 && path.back() == FileOps::Separator()) path.pop_back();
  return path;
}

// Creates the default folder of key when the store names it; an empty text
// when done, else the operator's message.
std::string CreateIfDefault(SettingsStore& store, const char* key, const std::string& defaultDir,
                            const std::string& fallback) {
  const std::string stored = NumericText::Trim(store.Read(key, defaultDir));
  if (stored.empty() || WithoutFinalSeparators(stored) != WithoutFinalSeparators(defaultDir)) return {};
  if (FileOps::DirectoryExists(defaultDir)) return {};
  if (MakeDirPath(defaultDir)) return {};
  std::string message = "기본 폴더를 만들 수 없습니다: " + defaultDir + "\n원인: " + FileOps::LastError();
  if (fallback.empty()) return message;
  if (!FileOps::DirectoryExists(fallback) && !MakeDirPath(fallback)) {
    return message + "\n\n대신 쓸 폴더도 만들 수 없습니다: " + fallback + "\n원인: " + FileOps::LastError();
  }
  WriteSetting(store, key, fallback);
  return message + "\n\n대신 이 폴더를 씁니다: " + fallback;
}

}  // namespace

std::vector<std::string> CreateDefaultDirs(SettingsStore& store) {
  std::vector<std::string> messages;
  for (const auto& [key, dir, fallback] :
       {std::tuple{VarDefine::kKeySendDir, DefaultDirs::SendDir(), DefaultDirs::FallbackSendDir()},
        std::tuple{VarDefine::kKeyRecvDir, DefaultDirs::RecvDir(), DefaultDirs::FallbackRecvDir()}}) {
    std::string message = CreateIfDefault(store, key, dir, fallback);
    if (!message.empty()) messages.push_back(std::move(message));
  }
  return messages;
}
