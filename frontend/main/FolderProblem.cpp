#include "FolderProblem.h"

#include "FileOps.h"
#include "FuntDefine.h"
#include "NumericText.h"
#include "SystemText.h"
#include "TransferCommand.h"
#include "vantor2.h"

namespace {

const char* ReasonText(FolderProblem problem) {
  switch (problem) {
    case FolderProblem::NotGiven: return "폴더가 지정되지 않았습니다.";
    case FolderProblem::Missing: return "폴더가 없습니다.";
    case FolderProblem::NotAFolder: return "같은 이름의 파일이 있습니다. 폴더가 아닙니다.";
    case FolderProblem::NotWritable: return "이 폴더에 파일을 쓸 수 없습니다. 쓰기 권한을 확인하십시오.";
    case FolderProblem::NotEncodable: return "폴더 이름에 이 시스템의 문자 집합에 없는 문자가 있습니다.";
    case FolderProblem::NotKnown: return "이 폴더를 사용할 수 없습니다.";
  }
  return "";
}

// The folder as the operator typed it, in the brackets the log uses.
std::string Shown(const std::string& dir) { return "[" + dir + "] "; }

bool IsAbsolute(const std::string& path) {
  if (FileOps::Separator() == '/') return !path.empty() && path.front() == '/';
  // A drive ("C:\...") or a share ("\\server\...").
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path.front() == '\\' || path.front() == '/'));
}

}  // namespace

FolderProblem CheckFolder(const std::string& dir, bool mustBeWritable) {
  if (NumericText::Trim(dir).empty()) return FolderProblem::NotGiven;
  // The library takes the folder in the system's 8-bit encoding: a name that
  // does not survive it names another folder, or none.
  if (FromSystemNarrow(ToSystemNarrow(dir)) != dir) return FolderProblem::NotEncodable;
  // "recv/" where recv is a file is a file in the way, not a missing folder.
  std::string path = dir;
  while (path.size() > 1 && path.back() == FileOps::Separator() && path[path.size() - 2] != ':') path.pop_back();
  if (FileOps::DirectoryExists(path)) {
    return mustBeWritable && !FileOps::CanWriteIn(path) ? FolderProblem::NotWritable : FolderProblem::NotKnown;
  }
  return FileOps::EntryExists(path) ? FolderProblem::NotAFolder : FolderProblem::Missing;
}

FolderMessage FolderErrorMessage(int result, const std::string& dir, FolderProblem problem) {
  FolderMessage message;
  if (result != VANTOR_RECV_DIR_ERROR && result != VANTOR_SEND_DIR_ERROR) return message;
  message.text = std::string(TransferCommand::ResultMessage(result)) + "\n";
  message.text += problem == FolderProblem::NotGiven ? std::string(ReasonText(problem)) : Shown(dir) + ReasonText(problem);
  message.offerCreate = problem == FolderProblem::Missing;
  if (message.offerCreate) message.text += "\n\n폴더를 만들고 다시 전송하시겠습니까?";
  return message;
}

std::string FolderNotMadeMessage(int result, const std::string& dir, const std::string& reason) {
  const char* first = TransferCommand::ResultMessage(result);
  return std::string(first != nullptr ? first : "") + "\n" + Shown(dir) + "폴더를 만들 수 없습니다: " + reason;
}

bool MakeFolder(const std::string& dir, std::string* reason) {
  const std::string trimmed = NumericText::Trim(dir);
  // MakeDirPath never makes the first level (the root or the drive); a
  // relative path starts at the current directory.
  const std::string path = IsAbsolute(trimmed) ? trimmed : std::string(".") + FileOps::Separator() + trimmed;
  if (MakeDirPath(path) && FileOps::DirectoryExists(path)) return true;
  *reason = FileOps::LastError();
  return false;
}
