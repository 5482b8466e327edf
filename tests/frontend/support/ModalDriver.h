#pragma once
// Acts on the next modal dialog that a handler opens: the action is queued
// before the handler runs and fires once the dialog is on the screen. If no
// dialog comes, the attempt is recorded as missed and nothing waits forever.

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

class ModalDriver {
 public:
  // action gets the dialog and must close it.
  void Next(std::function<void(QWidget*)> action) {
    auto fired = std::make_shared<bool>(false);
    m_fired = fired;
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> self = poll;
    *poll = [action, tries, fired, self]() {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        *fired = true;
        action(dialog);
        return;
      }
      if (++*tries < kMaxTries) {
        if (auto again = self.lock()) QTimer::singleShot(kPollMs, [again]() { (*again)(); });
      }
    };
    QTimer::singleShot(0, [poll]() { (*poll)(); });
  }
  bool Fired() const { return m_fired && *m_fired; }

 private:
  static constexpr int kPollMs = 10;
  static constexpr int kMaxTries = 500;
  std::shared_ptr<bool> m_fired;
};
