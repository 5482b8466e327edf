#pragma once
// Notifications on Windows: a balloon from the notification area, with the
// program's icon. The icon is put there for the balloon and taken away when
// the balloon ends (its time is up or it is clicked), when the icon itself is
// clicked, and at the latest when the notifier ends with the program. The
// shell's messages about it come to a message-only window of the notifier's
// own, through the message loop of the thread that made it.

#include <windows.h>

#include <shellapi.h>

#include "Notifier.h"

class TrayNotifier final : public Notifier {
 public:
  // The message the shell sends about the icon: wParam the icon's id, lParam
  // the event (NIN_BALLOONTIMEOUT, NIN_BALLOONUSERCLICK, mouse messages).
  static constexpr UINT kCallbackMessage = WM_APP + 17;

  TrayNotifier();
  ~TrayNotifier() override;
  TrayNotifier(const TrayNotifier&) = delete;
  TrayNotifier& operator=(const TrayNotifier&) = delete;

  // Shows the balloon; a balloon still shown is replaced. The texts are cut
  // to what a balloon holds (63 and 255 characters), with "…" at the cut.
  void Notify(const std::string& title, const std::string& text) override;

  // True while the icon is in the notification area.
  bool IconShown() const { return m_shown; }
  // The id of the current icon (each balloon has an icon of its own).
  UINT IconId() const { return m_id; }
  HWND Handle() const { return m_hWnd; }
  // What the last balloon handed to the shell.
  const NOTIFYICONDATAW& Sent() const { return m_sent; }

 private:
  static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void OnIconEvent(UINT id, UINT event);
  void RemoveIcon();

  HWND m_hWnd = nullptr;
  HICON m_icon = nullptr;       // the notification area's size
  HICON m_largeIcon = nullptr;  // the balloon's
  UINT m_id = 0;
  bool m_shown = false;
  NOTIFYICONDATAW m_sent{};
};
