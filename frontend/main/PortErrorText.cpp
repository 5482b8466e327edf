#include "PortErrorText.h"

QString PortErrorText(const PortErrorFacts& facts) {
  const QString com = QStringLiteral("COM%1").arg(facts.portNo);
  const QString reason =
      facts.reason.isEmpty() ? QStringLiteral("장치가 통신 설정(속도, 8N1)을 받아들이지 않습니다") : facts.reason;
  QString text = QStringLiteral("통신포트를 열 수 없습니다: %1\n장치: %2\n원인: %3\n\n").arg(com, facts.device, reason);
  if (facts.fromEnvironment) {
    text += QStringLiteral("이 장치는 환경 변수 VANTOR_COM%1 이 정합니다.").arg(facts.portNo);
  } else {
    text += QStringLiteral("장치는 설정 파일의 [Ports] 그룹에서 %1=장치 로 정합니다").arg(com);
    text += facts.settingsFile.isEmpty() ? QStringLiteral(".") : QStringLiteral(":\n") + facts.settingsFile;
  }
  return text;
}
