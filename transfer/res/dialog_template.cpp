#include "dialog_template.h"

#include <array>

#include "control_ids.h"

namespace vantor {
namespace {

constexpr std::uint32_t kText = kStyleVisible | kStyleGroup;
constexpr std::uint32_t kBar = kStyleVisible | kStyleBorder | kStyleSmooth;

constexpr std::array<DialogControl, 16> kControls{{
    {IDCANCEL, ControlKind::PushButton, "Cancel", 70, 96, 50, 10, kStyleVisible | kStyleTabStop},
    {IDC_STATUS, ControlKind::Static, "통신 대기중...", 7, 7, 173, 11, kText | kStyleBorder},
    {-1, ControlKind::Static, "Total Size:", 7, 21, 36, 8, kText},
    {-1, ControlKind::Static, "File Size:", 7, 64, 32, 8, kText},
    {IDC_TOTAL_COUNT, ControlKind::Static, "", 43, 21, 137, 8, kText},
    {IDC_FILE_COUNT, ControlKind::Static, "", 43, 64, 137, 8, kText},
    {IDC_PROGRESS_TOTAL, ControlKind::ProgressBar, "Progress1", 7, 31, 173, 9, kBar},
    {IDC_PROGRESS_FILE, ControlKind::ProgressBar, "Progress1", 7, 74, 173, 9, kBar},
    {-1, ControlKind::Static, "0%", 7, 40, 11, 8, kText},
    {-1, ControlKind::Static, "0%", 7, 83, 11, 8, kText},
    {-1, ControlKind::Static, "100%", 161, 40, 19, 8, kText},
    {-1, ControlKind::Static, "100%", 161, 83, 19, 8, kText},
    {-1, ControlKind::Static, "50%", 86, 40, 15, 8, kText},
    {-1, ControlKind::Static, "50%", 86, 83, 15, 8, kText},
    {-1, ControlKind::Static, "File Name:", 7, 53, 36, 8, kText},
    {IDC_FILE_NAME, ControlKind::Static, "", 43, 53, 137, 8, kText},
}};

constexpr Rgb kGray{230, 230, 230};
constexpr Rgb kStatus{150, 200, 200};

}  // namespace

const DialogTemplate& TransferDialogTemplate() {
  static const DialogTemplate dialog{
      IDD_TRANSFER,
      "MERIDEX - VANTOR2  [ VER 5.2.1 ]",
      "System",
      10,
      187,
      113,
      kStylePopup | kStyleCaption | kStyleSysMenu | kStyleModalFrame | kStyleSetFont,
      kControls,
  };
  return dialog;
}

std::optional<Rgb> CtlColor(CtlKind kind, int controlId) {
  switch (kind) {
    case CtlKind::Dialog: return kGray;
    case CtlKind::Static: return controlId == IDC_STATUS ? kStatus : kGray;
    case CtlKind::Other: break;
  }
  return std::nullopt;
}

}  // namespace vantor
