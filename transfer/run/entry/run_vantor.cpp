// The library's exported entry points.
#include "clock.h"
#include "run_transfer.h"
#include "text_codec.h"
#include "vantor2.h"
#include "version_block.h"
#include "window_factory.h"

extern "C" VANTOR_API int VANTOR_CALL RunVantor(const char* recvDir, const char* sendDir, int portNo, int speed,
                                                int appendMode, const char* userData) {
  vantor::TransferArgs args;
  args.recvDir = recvDir != nullptr ? recvDir : "";
  args.sendDir = sendDir != nullptr ? sendDir : "";
  args.portNo = portNo;
  args.speed = speed;
  args.appendMode = appendMode;
  args.userData = userData != nullptr ? userData : "";
  // A rejected call shows no window and touches nothing.
  if (const int code = vantor::CheckArgs(args)) return code;
  std::unique_ptr<vantor::CDialogWindow> window = vantor::CreateTransferWindow();
  std::unique_ptr<vantor::CComLine> line = vantor::CreateComLine();
  vantor::CSystemClock clock;
  return vantor::RunTransfer(args, *window, *line, clock);
}

extern "C" VANTOR_API void VANTOR_CALL VantorCancel(void) { vantor::CancelCurrentTransfer(); }

extern "C" VANTOR_API const char* VANTOR_CALL VantorVersion(void) {
  // In the caller's encoding, as every narrow text of the library: a Windows
  // caller shows it in the ANSI code page.
  static const std::string text = vantor::Utf8ToLocalLossy(vantor::VersionText());
  return text.c_str();
}
