#include "RunNoticeText.h"

#include "TransferCommand.h"
#include "vantor2.h"

namespace RunNoticeText {
namespace {

// Names beyond these are counted, not named: the line stays one line.
constexpr std::size_t kNamedFiles = 5;

std::string StoredList(const std::vector<Stored>& stored) {
  std::string list;
  for (std::size_t i = 0; i < stored.size() && i < kNamedFiles; ++i) {
    if (i > 0) list += ", ";
    list += stored[i].name;
    if (!stored[i].records) continue;
    list += ' ';
    list += std::to_string(*stored[i].records);
    list += "건";
  }
  if (stored.size() > kNamedFiles) list += " 외 " + std::to_string(stored.size() - kNamedFiles) + "개 파일";
  return list;
}

std::string WithLog(const std::string& text, const Facts& facts) { return text + ". 로그: " + facts.logPath; }

}  // namespace

std::optional<long long> RecordsStored(std::optional<std::int64_t> before, std::optional<std::int64_t> after,
                                       long long recordLength, bool append) {
  if (!after || recordLength <= 0) return std::nullopt;
  const std::int64_t gained = append ? *after - before.value_or(0) : *after;
  if (gained < 0 || gained % recordLength != 0) return std::nullopt;
  return gained / recordLength;
}

std::string Text(const Facts& facts) {
  switch (facts.result) {
    case VANTOR_RECEIVED:
      if (!facts.logRead) return "데이터 수신 완료 (저장 내역은 로그에 있습니다: " + facts.logPath + ")";
      if (facts.stored.empty()) return "데이터 수신 완료: 저장된 파일 없음";
      return "데이터 수신 완료: " + StoredList(facts.stored) + " 저장";
    case VANTOR_SENT:
      // The log names no file as sent: the terminal's requests are in it
      // only as the raw frames of the line. A terminal that also sent data
      // in the same run had it stored.
      if (facts.stored.empty()) return "마스터 파일 송신 완료";
      return "마스터 파일 송신 완료, 데이터 수신: " + StoredList(facts.stored) + " 저장";
    case VANTOR_ERROR: return WithLog("송수신 에러: 통신 오류로 중단되었습니다", facts);
    case VANTOR_USER_CANCEL: return WithLog("송수신 중단: PC에서 취소했습니다", facts);
    case VANTOR_DEVICE_CANCEL: return WithLog("송수신 중단: 단말기에서 취소했습니다", facts);
    case VANTOR_PORT_ERROR:
      return WithLog("송수신 에러: 통신포트를 열 수 없습니다 (COM" + std::to_string(facts.portNo) + ")", facts);
    // The library refuses these before it starts its log: the log there is
    // an earlier run's, so the value refused is named instead.
    case VANTOR_RECV_DIR_ERROR:
      return "송수신 에러: " + std::string(TransferCommand::ResultMessage(facts.result)) + " (" + facts.recvDir + ")";
    case VANTOR_SEND_DIR_ERROR:
      return "송수신 에러: " + std::string(TransferCommand::ResultMessage(facts.result)) + " (" + facts.sendDir + ")";
    case VANTOR_PORT_NO_ERROR:
      return "송수신 에러: " + std::string(TransferCommand::ResultMessage(facts.result)) + " (COM" +
             std::to_string(facts.portNo) + ")";
    case VANTOR_SPEED_ERROR:
      return "송수신 에러: " + std::string(TransferCommand::ResultMessage(facts.result)) + " (" +
             std::to_string(facts.speed) + ")";
    default: return WithLog("송수신 에러: 결과 코드 " + std::to_string(facts.result), facts);
  }
}

}  // namespace RunNoticeText
