#include "korean_texts.h"

#include <cstdio>

#include "text_codec.h"

namespace vantor {
namespace {

std::string ToCp949(const char* utf8) {
  // The source texts are fixed and valid; a failure here means the system has
  // no CP949 converter at all. The texts then stay in UTF-8 rather than vanish.
  auto text = Utf8ToCp949(utf8);
  if (!text) {
    std::fprintf(stderr, "Vantor2: no code page 949 converter (iconv CP949); texts stay in UTF-8\n");
    return utf8;
  }
  return *text;
}

KoreanTexts Build() {
  KoreanTexts t;
  t.waiting = ToCp949("통신 대기중...");
  t.userCancel = ToCp949("사용자 중단...");
  t.deviceCancel = ToCp949("송수신 취소...");
  t.headerRecv = ToCp949("헤더 수신...");
  t.enqHeaderRecv = ToCp949("ENQ 헤더 수신...");
  t.badEnq = ToCp949("잘못된 ENQ 헤더 수신...");
  t.sohError = ToCp949("SOH 헤더 수신 에러");
  t.pcToHht = ToCp949("PC -> HHT로 전송중...");
  t.hhtToPc = ToCp949("HHT -> PC로 전송중...");
  t.badData = ToCp949("잘못된 데이터 수신...");
  t.parseStart = ToCp949("데이타 Parsing Start!");
  t.parseEnd = ToCp949("데이타 Parsing End!");
  t.logFailure = ToCp949("로그를 남길 수 없습니다.");
  return t;
}

}  // namespace

const KoreanTexts& Texts() {
  static const KoreanTexts texts = Build();
  return texts;
}

}  // namespace vantor
