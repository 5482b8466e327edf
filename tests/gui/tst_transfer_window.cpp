// The transfer window on its own: the template it shows, its colours, and its
// side of the window seam (loop, wakes from other threads, cancel routes, the
// log-failure box), driven by a scripted dialog instead of the protocol.
#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "control_ids.h"
#include "korean_texts.h"
#include "qt_transfer_dialog.h"
#include "transfer_window_qt.h"

using vantor::CTransferDialogQt;
using vantor::CTransferWindowQt;

namespace {

// A dialog whose reactions the test scripts.
struct ScriptedEvents final : vantor::CDialogEvents {
  std::function<void()> init, cancel, wake;
  int inits = 0, cancels = 0;
  std::atomic<int> wakes{0};
  std::thread::id wakeThread;
  void OnInitDialog() override {
    ++inits;
    if (init) init();
  }
  void OnCancel() override {
    ++cancels;
    if (cancel) cancel();
  }
  void OnWake() override {
    wakeThread = std::this_thread::get_id();
    ++wakes;
    if (wake) wake();
  }
};

struct Expected {
  int id;
  const char* kind;
  const char* text;
  int x, y, cx, cy;
};

// The dialog as the operator must see it: ids, kinds, texts and positions in
// dialog units, in template order.
const Expected kExpected[] = {
    {2, "QPushButton", "Cancel", 70, 96, 50, 10},
    {1001, "QLabel", "통신 대기중...", 7, 7, 173, 11},
    {-1, "QLabel", "Total Size:", 7, 21, 36, 8},
    {-1, "QLabel", "File Size:", 7, 64, 32, 8},
    {1004, "QLabel", "", 43, 21, 137, 8},
    {1003, "QLabel", "", 43, 64, 137, 8},
    {1000, "QProgressBar", nullptr, 7, 31, 173, 9},
    {1002, "QProgressBar", nullptr, 7, 74, 173, 9},
    {-1, "QLabel", "0%", 7, 40, 11, 8},
    {-1, "QLabel", "0%", 7, 83, 11, 8},
    {-1, "QLabel", "100%", 161, 40, 19, 8},
    {-1, "QLabel", "100%", 161, 83, 19, 8},
    {-1, "QLabel", "50%", 86, 40, 15, 8},
    {-1, "QLabel", "50%", 86, 83, 15, 8},
    {-1, "QLabel", "File Name:", 7, 53, 36, 8},
    {1005, "QLabel", "", 43, 53, 137, 8},
};

int Round(int value, int base, int units) { return (value * base + units / 2) / units; }

QRect Pixels(const QSize& base, int x, int y, int cx, int cy) {
  return {Round(x, base.width(), 4), Round(y, base.height(), 8), Round(cx, base.width(), 4),
          Round(cy, base.height(), 8)};
}

QColor PixelAt(const QImage& image, const QWidget* dialog, const QWidget* control, QPoint inside) {
  return image.pixelColor(control->mapTo(dialog, inside) * image.devicePixelRatio());
}

// Counts the paint events a widget receives.
struct PaintCounter final : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Runs fn on the dialog's loop once it runs.
void Soon(std::function<void()> fn) { QTimer::singleShot(0, std::move(fn)); }

// Ends the dialog when a check inside the loop returns early, so that a
// failed check fails the test instead of leaving the loop running.
struct EndOnExit {
  CTransferWindowQt& window;
  int code;
  ~EndOnExit() { window.EndDialog(code); }
};

}  // namespace

class TestTransferWindow : public QObject {
  Q_OBJECT

 private slots:
  void templateControls();
  void windowFrameCaptionAndFont();
  void shownCentredWithFocusOnCancel();
  void colours();
  void barsFollowRangeAndPosition();
  void textsDecodedFromCodePage949();
  void aNewStatusIsPaintedBeforeTheCallReturns();

  void endInInitialisationRunsNoLoop();
  void wakeBeforeTheLoopIsKept();
  void everyWakeFromAnotherThreadReachesTheDialogThread();
  void wakeAfterTheEndIsDropped();
  void cancelButtonEscapeAndCloseBoxOnlyReportCancel();
  void logFailureBoxIsModalWithOkOnly();
  void ownedByTheCallersActiveWindow();
};

void TestTransferWindow::templateControls() {
  CTransferWindowQt window;
  const CTransferDialogQt& dialog = window.Dialog();
  const QSize base = dialog.BaseUnits();
  QCOMPARE(dialog.Controls().size(), std::size(kExpected));
  for (std::size_t i = 0; i < std::size(kExpected); ++i) {
    const Expected& e = kExpected[i];
    const QWidget* w = dialog.Controls()[i];
    QVERIFY2(w->inherits(e.kind), qPrintable(QString("control %1 is a %2").arg(i).arg(w->metaObject()->className())));
    if (e.id != -1) QCOMPARE(dialog.Control(e.id), w);
    QCOMPARE(w->geometry(), Pixels(base, e.x, e.y, e.cx, e.cy));
    if (auto* label = qobject_cast<const QLabel*>(w)) QCOMPARE(label->text(), QString::fromUtf8(e.text));
    if (auto* button = qobject_cast<const QPushButton*>(w)) QCOMPARE(button->text(), QString::fromUtf8(e.text));
    if (auto* bar = qobject_cast<const QProgressBar*>(w)) {
      QVERIFY(!bar->isTextVisible());  // no percentage on the bars
      QCOMPARE(bar->value(), 0);
    }
  }
  // Only the status line has a border among the texts.
  for (const QWidget* w : dialog.Controls()) {
    if (auto* label = qobject_cast<const QLabel*>(w)) {
      QCOMPARE(label->frameShape() == QFrame::Box, w == dialog.Control(vantor::IDC_STATUS));
    }
  }
  // Only Cancel takes the focus; texts and bars are skipped by Tab.
  for (const QWidget* w : dialog.Controls()) {
    QCOMPARE(w->focusPolicy() != Qt::NoFocus, w == dialog.CancelButton());
  }
  // The first control lies on top: the template order is the z-order.
  const QObjectList children = dialog.children();
  const auto zIndex = [&](const QWidget* w) { return children.indexOf(const_cast<QWidget*>(w)); };
  for (std::size_t i = 1; i < dialog.Controls().size(); ++i) {
    QVERIFY(zIndex(dialog.Controls()[i - 1]) > zIndex(dialog.Controls()[i]));
  }
}

void TestTransferWindow::windowFrameCaptionAndFont() {
  CTransferWindowQt window;
  const CTransferDialogQt& dialog = window.Dialog();
  QCOMPARE(dialog.windowTitle(), QString("MERIDEX - VANTOR2  [ VER 5.2.1 ]"));
  QVERIFY(dialog.parentWidget() == nullptr);  // no owner window
  const Qt::WindowFlags flags = dialog.windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowTitleHint));
  QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
  // 187 x 113 dialog units, fixed.
  const QSize base = dialog.BaseUnits();
  QCOMPARE(dialog.size(), Pixels(base, 0, 0, 187, 113).size());
  QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
  // A 10-point face that has Hangul, and base units that belong to such a font.
  QCOMPARE(dialog.font().pointSize(), 10);
  QCOMPARE(dialog.font().family(), QString("NanumGothic"));
  QVERIFY(QFontMetrics(dialog.font()).inFont(QChar(0xD1B5)));  // 통
  QVERIFY2(base.width() >= 4 && base.width() <= 10, qPrintable(QString::number(base.width())));
  QVERIFY2(base.height() >= 11 && base.height() <= 22, qPrintable(QString::number(base.height())));
  // The status line is as wide as the bars below it and ends where they end.
  QCOMPARE(dialog.Control(vantor::IDC_STATUS)->geometry().right(),
           dialog.Control(vantor::IDC_PROGRESS_TOTAL)->geometry().right());
}

void TestTransferWindow::shownCentredWithFocusOnCancel() {
  CTransferWindowQt window;
  ScriptedEvents events;
  bool checked = false;
  events.init = [&] { QVERIFY(!window.Dialog().isVisible()); };
  Soon([&] {
    EndOnExit end{window, 0};
    CTransferDialogQt& dialog = window.Dialog();
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.isModal());  // the caller's own windows stay usable
    QCOMPARE(dialog.focusWidget(), dialog.CancelButton());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = dialog.frameGeometry();
    const int dx = (frame.left() - screen.left()) - (screen.right() - frame.right());
    const int dy = (frame.top() - screen.top()) - (screen.bottom() - frame.bottom());
    QVERIFY2(std::abs(dx) <= 1 && std::abs(dy) <= 1, qPrintable(QString("%1,%2").arg(dx).arg(dy)));
    checked = true;
    end.code = 1;
  });
  QCOMPARE(window.RunModal(events), 1);
  QVERIFY(checked);
  QVERIFY(!window.Dialog().isVisible());
}

void TestTransferWindow::colours() {
  CTransferWindowQt window;
  CTransferDialogQt& dialog = window.Dialog();
  dialog.ShowCentred();
  window.SetBar(vantor::IDC_PROGRESS_FILE, 0, 100, 100);  // full: all bar colour
  const QImage image = dialog.grab().toImage();
  const QColor gray(230, 230, 230), status(150, 200, 200), white(255, 255, 255), red(255, 0, 0);
  QCOMPARE(image.pixelColor(1, 1), gray);  // dialog background
  const QWidget* statusLine = dialog.Control(vantor::IDC_STATUS);
  QCOMPARE(PixelAt(image, &dialog, statusLine, {statusLine->width() - 4, statusLine->height() / 2}), status);
  // The status line's border is drawn dark on its edge.
  QVERIFY(PixelAt(image, &dialog, statusLine, {0, statusLine->height() / 2}).lightness() < 100);
  // Every other static text sits on the dialog's gray, its right end blank.
  for (int id : {vantor::IDC_TOTAL_COUNT, vantor::IDC_FILE_COUNT, vantor::IDC_FILE_NAME}) {
    const QWidget* label = dialog.Control(id);
    QCOMPARE(PixelAt(image, &dialog, label, {label->width() - 2, label->height() / 2}), gray);
  }
  const QWidget* empty = dialog.Control(vantor::IDC_PROGRESS_TOTAL);
  const QWidget* full = dialog.Control(vantor::IDC_PROGRESS_FILE);
  QCOMPARE(PixelAt(image, &dialog, empty, {empty->width() / 2, empty->height() / 2}), white);
  QCOMPARE(PixelAt(image, &dialog, full, {full->width() / 2, full->height() / 2}), red);
  QCOMPARE(PixelAt(image, &dialog, full, {4, full->height() / 2}), red);  // one smooth bar, no blocks
  QVERIFY(PixelAt(image, &dialog, full, {0, 0}).lightness() < 100);       // its border
  // The button keeps the platform's colours.
  QCOMPARE(dialog.CancelButton()->palette().color(QPalette::Button),
           QGuiApplication::palette().color(QPalette::Button));
  dialog.hide();
}

void TestTransferWindow::barsFollowRangeAndPosition() {
  CTransferWindowQt window;
  auto* bar = qobject_cast<QProgressBar*>(window.Dialog().Control(vantor::IDC_PROGRESS_TOTAL));
  window.SetBar(vantor::IDC_PROGRESS_TOTAL, 0, 1000000, 250000);
  QCOMPARE(bar->minimum(), 0);
  QCOMPARE(bar->maximum(), 1000000);
  QCOMPARE(bar->value(), 250000);
  // Beyond 32 bits the bar still shows the right fraction.
  window.SetBar(vantor::IDC_PROGRESS_TOTAL, 0, 6000000000L, 3000000000L);
  QVERIFY(bar->maximum() > 0);
  QCOMPARE(double(bar->value()) / bar->maximum(), 0.5);
  // The ids of texts are not bars and change nothing.
  window.SetBar(vantor::IDC_STATUS, 0, 10, 5);
  QCOMPARE(qobject_cast<QLabel*>(window.Dialog().Control(vantor::IDC_STATUS))->text(), QString("통신 대기중..."));
}

void TestTransferWindow::textsDecodedFromCodePage949() {
  CTransferWindowQt window;
  auto* status = qobject_cast<QLabel*>(window.Dialog().Control(vantor::IDC_STATUS));
  window.SetItemText(vantor::IDC_STATUS, vantor::Texts().hhtToPc);
  QCOMPARE(status->text(), QString("HHT -> PC로 전송중..."));
  // 똠방각하: syllables outside KS X 1001 that only the extended code page has.
  window.SetItemText(vantor::IDC_FILE_NAME, "\x8C\x63\xB9\xE6\xB0\xA2\xC7\xCF.TXT");
  QCOMPARE(qobject_cast<QLabel*>(window.Dialog().Control(vantor::IDC_FILE_NAME))->text(), QString("똠방각하.TXT"));
  // A broken byte is shown as a replacement, the rest as it is.
  window.SetItemText(vantor::IDC_FILE_COUNT, "12\xFF/34");
  const QString shown = qobject_cast<QLabel*>(window.Dialog().Control(vantor::IDC_FILE_COUNT))->text();
  QVERIFY(shown.startsWith("12") && shown.endsWith("/34"));
}

void TestTransferWindow::aNewStatusIsPaintedBeforeTheCallReturns() {
  // A cancel sets its status and then pauses for two seconds without running
  // the loop: the text must reach the screen inside the call.
  CTransferWindowQt window;
  ScriptedEvents events;
  int paintsInside = -1;
  Soon([&] {
    EndOnExit end{window, 7};
    auto* status = qobject_cast<QLabel*>(window.Dialog().Control(vantor::IDC_STATUS));
    QVERIFY(status != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(status->window()));
    QCoreApplication::processEvents();
    PaintCounter counter;
    status->installEventFilter(&counter);
    window.SetItemText(vantor::IDC_STATUS, vantor::Texts().userCancel);
    paintsInside = counter.paints;
    status->removeEventFilter(&counter);
  });
  QCOMPARE(window.RunModal(events), 7);
  QVERIFY2(paintsInside > 0, "the status was not painted before SetItemText returned");
}

void TestTransferWindow::endInInitialisationRunsNoLoop() {
  CTransferWindowQt window;
  ScriptedEvents events;
  bool loopRan = false;
  Soon([&] { loopRan = true; });
  events.init = [&] { window.EndDialog(-4); };
  QCOMPARE(window.RunModal(events), -4);
  QCOMPARE(events.inits, 1);
  QVERIFY(!loopRan);  // nothing was dispatched: no loop ran
  QVERIFY(!window.Dialog().isVisible());
  QCoreApplication::processEvents();  // the timer's turn, for the next test
}

void TestTransferWindow::wakeBeforeTheLoopIsKept() {
  CTransferWindowQt window;
  std::thread([&] { window.Wake(); }).join();
  ScriptedEvents events;
  events.wake = [&] { window.EndDialog(7); };
  QCOMPARE(window.RunModal(events), 7);
  QCOMPARE(events.wakes.load(), 1);
  QCOMPARE(events.wakeThread, std::this_thread::get_id());
}

void TestTransferWindow::everyWakeFromAnotherThreadReachesTheDialogThread() {
  // A worker hands over 200 pieces one by one and waits for each to be taken,
  // as the watch thread does: a lost wake would leave it waiting.
  CTransferWindowQt window;
  ScriptedEvents events;
  std::mutex mutex;
  std::condition_variable cv;
  int offered = 0, taken = 0;
  bool wrongThread = false;
  const std::thread::id dialogThread = std::this_thread::get_id();
  events.wake = [&] {
    std::lock_guard lock(mutex);
    if (std::this_thread::get_id() != dialogThread) wrongThread = true;
    taken = offered;
    cv.notify_all();
  };
  std::thread worker;
  events.init = [&] {
    worker = std::thread([&] {
      for (int i = 1; i <= 200; ++i) {
        std::unique_lock lock(mutex);
        offered = i;
        lock.unlock();
        window.Wake();
        lock.lock();
        if (!cv.wait_for(lock, std::chrono::seconds(10), [&] { return taken == i; })) break;
      }
      QMetaObject::invokeMethod(
          &window.Dialog(), [&] { window.EndDialog(taken); }, Qt::QueuedConnection);
    });
  };
  const int code = window.RunModal(events);
  worker.join();
  QCOMPARE(code, 200);
  QVERIFY(!wrongThread);
  QVERIFY(events.wakes.load() >= 200);
}

void TestTransferWindow::wakeAfterTheEndIsDropped() {
  CTransferWindowQt window;
  ScriptedEvents events;
  events.init = [&] { Soon([&] { window.EndDialog(2); }); };
  QCOMPARE(window.RunModal(events), 2);
  std::thread([&] { window.Wake(); }).join();
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  QCOMPARE(events.wakes.load(), 0);
}

void TestTransferWindow::cancelButtonEscapeAndCloseBoxOnlyReportCancel() {
  CTransferWindowQt window;
  CTransferDialogQt& dialog = window.Dialog();
  ScriptedEvents events;
  std::vector<bool> visibleAfter;
  Soon([&] {
    EndOnExit end{window, -2};
    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    visibleAfter.push_back(dialog.isVisible());
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
    visibleAfter.push_back(dialog.isVisible());
    QCloseEvent close;  // what the close box sends to the window
    QCoreApplication::sendEvent(dialog.windowHandle(), &close);
    visibleAfter.push_back(dialog.isVisible());
  });
  QCOMPARE(window.RunModal(events), -2);
  QCOMPARE(events.cancels, 3);
  QCOMPARE(visibleAfter, std::vector<bool>({true, true, true}));
  QVERIFY(!dialog.isVisible());
}

void TestTransferWindow::logFailureBoxIsModalWithOkOnly() {
  CTransferWindowQt window;
  window.Dialog().ShowCentred();
  QString seenText;
  QMessageBox::StandardButtons seenButtons;
  bool seenModal = false;
  int captionRoom = 0;
  // Looks for the box once it runs its own loop, reads it and presses OK.
  auto* poll = new QTimer(&window.Dialog());
  QObject::connect(poll, &QTimer::timeout, [&, poll] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    poll->stop();
    seenText = box->text();
    seenButtons = box->standardButtons();
    seenModal = box->isModal();
    // Wide enough for the whole caption beside the frame's icon and buttons.
    QFont captionFont = box->font();
    captionFont.setBold(true);
    captionRoom = box->width() - QFontMetrics(captionFont).horizontalAdvance(box->windowTitle());
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  poll->start(10);
  window.ShowLogFailure(vantor::Texts().logFailure);
  QCOMPARE(seenText, QString("로그를 남길 수 없습니다."));
  QCOMPARE(seenButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QVERIFY(seenModal);
  QVERIFY2(captionRoom >= 100, qPrintable(QString("%1 px beside the caption").arg(captionRoom)));
  window.Dialog().hide();
}

void TestTransferWindow::ownedByTheCallersActiveWindow() {
  // The caller's main window, active and disabled during the run, as the
  // desktop program has it.
  QWidget main;
  main.setWindowTitle("caller");
  main.resize(400, 300);
  main.show();
  QVERIFY(QTest::qWaitForWindowExposed(&main));
  QApplication::setActiveWindow(&main);
  main.setEnabled(false);
  CTransferWindowQt window;
  ScriptedEvents events;
  QWindow* transientParent = nullptr;
  bool dialogEnabled = false;
  Soon([&] {
    EndOnExit end{window, 2};
    transientParent = window.Dialog().windowHandle()->transientParent();
    dialogEnabled = window.Dialog().isEnabled() && window.Dialog().CancelButton()->isEnabled();
  });
  QCOMPARE(window.RunModal(events), 2);
  QCOMPARE(transientParent, main.windowHandle());
  QVERIFY2(dialogEnabled, "the window is disabled with its owner");
  // After the run it belongs to nobody: the owner may go first.
  QCOMPARE(window.Dialog().windowHandle()->transientParent(), nullptr);
}

QTEST_MAIN(TestTransferWindow)
#include "tst_transfer_window.moc"
