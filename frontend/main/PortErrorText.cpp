#include "PortErrorText.h"

std::string PortErrorText(const PortErrorFacts& facts) {
  const std::string com = "COM" + std::to_string(facts.portNo);
  const std::string reason = facts.reason.empty() ? "장치가 통신 설정(속도, 8N1)을 받아들이지 않습니다" : facts.reason;
  std::string text = "통신포트를 열 수 없습니다: " + com + "\n장치: " + facts.device + "\n원인: " + reason + "\n\n";
  if (facts.fromEnvironment) {
    text += "이 장치는 환경 변수 VANTOR_COM" + std::to_string(facts.portNo) + " 이 정합니다.";
  } else if (facts.inRegistry) {
    text += "장치는 레지스트리의 Ports 키에서 " + com + " 값으로 정합니다";
    text += facts.settingsFile.empty() ? "." : ":\n" + facts.settingsFile;
  } else {
    text += "장치는 설정 파일의 [Ports] 그룹에서 " + com + "=장치 로 정합니다";
    text += facts.settingsFile.empty() ? "." : ":\n" + facts.settingsFile;
  }
  return text;
}
