// The Qt window under whole transfers over a pseudo-terminal: the real line,
// the real clock, the dialog's logic, and the test terminal on the master.
// The window is read back after every change the dialog makes.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <thread>

#include "clock.h"
#include "com_line.h"
#include "control_ids.h"
#include "pty_pair.h"
#include "qt_transfer_dialog.h"
#include "recording_window.h"
#include "run_dirs.h"
#include "run_transfer.h"
#include "test_terminal.h"
#include "text_codec.h"
#include "transfer_window_qt.h"

using vtest::WindowState;

namespace {

std::string Cp949(const char* utf8) { return vantor::Utf8ToCp949(utf8).value(); }

// Stock records of 40 bytes with Korean item names, one marked "*".
std::string StockRecords(int count, int seed) {
  std::string data;
  for (int i = 0; i < count; ++i) {
    char head[16];
    std::snprintf(head, sizeof head, "%c%05d", (i % 17 == 5) ? '*' : ' ', seed + i);
    std::string record = head + Cp949("한글상품") + " ";
    record.resize(34, ' ');
    data += record + "0012\r\n";
  }
  return data;
}

int FirstNumber(const QString& count) { return count.section('/', 0, 0).toInt(); }

vantor::TransferArgs Args(const vtest::RunDirs& dirs) {
  vantor::TransferArgs args;
  args.recvDir = dirs.m_recv.string();
  args.sendDir = dirs.m_send.string();
  args.portNo = 1;
  args.speed = 19200;
  return args;
}

}  // namespace

class TestWindowRun : public QObject {
  Q_OBJECT

 private slots:
  void receiveRunFollowedByTheWindow();
  void sendRunFollowedByTheWindow();
  void cancelEndsTheRun_data();
  void cancelEndsTheRun();
  void unwritableLogShowsABoxForEachEntryAndTheRunGoesOn();
};

void TestWindowRun::receiveRunFollowedByTheWindow() {
  vtest::PtyPair pty;
  vtest::RunDirs dirs(pty.SlavePath());
  const std::vector<vtest::FileData> files = {
      {Cp949("재고.TXT"), StockRecords(150, 1000)},  // 6,000 bytes: 6 blocks of 1,000
      {"STOCK.TXT", StockRecords(60, 5000)},         // 2,400 bytes: 3 blocks, the last short
  };
  const long total = 8400;
  vantor::CTransferWindowQt qtWindow;
  vtest::RecordingWindow window(qtWindow);
  vtest::TestTerminal hht(pty.MasterFd());
  std::thread terminal;
  bool terminalOk = false;
  window.afterInit = [&] { terminal = std::thread([&] { terminalOk = hht.SendFiles(files, 1000); }); };
  // A picture of the window half-way through, for a person to look at.
  const QString shot = QStringLiteral(VANTOR_ARTIFACT_DIR) + "/transfer_window_receiving.png";
  QFile::remove(shot);
  bool shotTaken = false;
  window.afterChange = [&](const WindowState& s) {
    if (!shotTaken && s.changedId == vantor::IDC_FILE_COUNT && s.total.value >= total / 2) {
      QDir().mkpath(VANTOR_ARTIFACT_DIR);
      shotTaken = qtWindow.Dialog().grab().save(shot);
    }
  };
  auto line = vantor::CreateComLine();
  vantor::CSystemClock clock;
  const int code = vantor::RunTransfer(Args(dirs), window, *line, clock);
  terminal.join();
  QVERIFY(terminalOk);
  QCOMPARE(code, 1);
  QVERIFY(shotTaken);

  const std::vector<WindowState> states = window.UntilEnd();
  QCOMPARE(states.front().status, QString("통신 대기중..."));
  QCOMPARE(states.front().total.value, 0);
  QStringList statuses;
  for (const WindowState& s : states) {
    if (statuses.isEmpty() || statuses.back() != s.status) statuses << s.status;
  }
  // Waiting; per file its header and its blocks; the end frame is a header too.
  QCOMPARE(statuses, QStringList({"통신 대기중...", "헤더 수신...", "HHT -> PC로 전송중...", "헤더 수신...",
                                  "HHT -> PC로 전송중...", "헤더 수신..."}));
  // Every shown count matches its bar; bars only move forward within a file.
  int lastTotal = 0;
  for (const WindowState& s : states) {
    if (s.changedId == vantor::IDC_TOTAL_COUNT) QCOMPARE(FirstNumber(s.totalCount), s.total.value);
    if (s.changedId == vantor::IDC_FILE_COUNT) QCOMPARE(FirstNumber(s.fileCount), s.file.value);
    QVERIFY(s.total.value >= lastTotal);
    lastTotal = s.total.value;
  }
  // The file name and the file bar's range follow each header.
  QStringList names;
  for (const WindowState& s : states) {
    if (s.changedId == vantor::IDC_PROGRESS_FILE && s.file.value == 0 && names.value(names.size() - 1) != s.fileName) {
      names << s.fileName;
      QCOMPARE(s.total.maximum, int(total));
      QCOMPARE(s.file.maximum, s.fileName == "STOCK.TXT" ? 2400 : 6000);
    }
  }
  QCOMPARE(names, QStringList({"재고.TXT", "STOCK.TXT"}));
  const WindowState& last = states.back();
  QCOMPARE(last.totalCount, QString("8400/8400"));
  QCOMPARE(last.fileCount, QString("2400/2400"));
  QCOMPARE(last.total.value, last.total.maximum);
  QCOMPARE(last.file.value, last.file.maximum);
  QVERIFY(!qtWindow.Dialog().isVisible());
}

void TestWindowRun::sendRunFollowedByTheWindow() {
  vtest::PtyPair pty;
  vtest::RunDirs dirs(pty.SlavePath());
  const std::string master = StockRecords(250, 1);  // 10,000 bytes: three 4,000-byte blocks
  vtest::WriteFile(dirs.m_send / "MASTER.TXT", master);
  vantor::CTransferWindowQt qtWindow;
  vtest::RecordingWindow window(qtWindow);
  vtest::TestTerminal hht(pty.MasterFd());
  std::thread terminal;
  std::map<std::string, std::string> fetched;
  bool terminalOk = false;
  window.afterInit = [&] { terminal = std::thread([&] { terminalOk = hht.FetchFiles({"MASTER.TXT"}, &fetched); }); };
  auto line = vantor::CreateComLine();
  vantor::CSystemClock clock;
  const int code = vantor::RunTransfer(Args(dirs), window, *line, clock);
  terminal.join();
  QVERIFY(terminalOk);
  QCOMPARE(code, 2);
  QCOMPARE(fetched["MASTER.TXT"], master);
  bool sawSending = false;
  const std::vector<WindowState> states = window.UntilEnd();
  for (const WindowState& s : states) sawSending |= s.status == "PC -> HHT로 전송중...";
  QVERIFY(sawSending);
  const WindowState& last = states.back();
  QCOMPARE(last.fileName, QString("MASTER.TXT"));
  QCOMPARE(last.fileCount, QString("10000/10000"));
  QCOMPARE(last.file.maximum, 10000);
  QCOMPARE(last.file.value, 10000);
}

void TestWindowRun::cancelEndsTheRun_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("Cancel button") << "button";
  QTest::newRow("Escape key") << "escape";
  QTest::newRow("close box") << "close";
}

void TestWindowRun::cancelEndsTheRun() {
  QFETCH(QString, how);
  vtest::PtyPair pty;
  vtest::RunDirs dirs(pty.SlavePath());
  vantor::CTransferWindowQt qtWindow;
  vantor::CTransferDialogQt& dialog = qtWindow.Dialog();
  vtest::RecordingWindow window(qtWindow);
  vtest::TestTerminal hht(pty.MasterFd());
  std::thread reader;
  std::string cancelRun;
  window.afterInit = [&] {
    reader = std::thread([&] { cancelRun = hht.Receive(5 * 1024, 15000); });
    // The operator acts once the window is up and waiting for the terminal.
    QTimer::singleShot(0, [&] {
      if (how == "button") {
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
      } else if (how == "escape") {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
      } else {
        QCloseEvent close;
        QCoreApplication::sendEvent(dialog.windowHandle(), &close);
      }
    });
  };
  auto line = vantor::CreateComLine();
  vantor::CSystemClock clock;
  const int code = vantor::RunTransfer(Args(dirs), window, *line, clock);
  reader.join();
  QCOMPARE(code, -2);
  // Five runs of 1,024 cancel bytes went out before the run ended.
  QCOMPARE(cancelRun.size(), std::size_t(5 * 1024));
  QCOMPARE(cancelRun.find_first_not_of('\x18'), std::string::npos);
  QCOMPARE(window.states.back().status, QString("사용자 중단..."));
  const std::string log = dirs.Log();
  QVERIFY(log.find("User Cancel\r\nPort Close\r\n") != std::string::npos);
  QVERIFY(!dialog.isVisible());
}

void TestWindowRun::unwritableLogShowsABoxForEachEntryAndTheRunGoesOn() {
  vtest::PtyPair pty;
  vtest::RunDirs dirs(pty.SlavePath());
  vtest::WriteFile(dirs.m_cwd / "Log", "a file where the log's folder should be");
  const std::string data = StockRecords(20, 1);  // 800 bytes: one block
  vantor::CTransferWindowQt qtWindow;
  vtest::RecordingWindow window(qtWindow);
  vtest::TestTerminal hht(pty.MasterFd());
  std::thread terminal;
  bool terminalOk = false;
  window.afterInit = [&] { terminal = std::thread([&] { terminalOk = hht.SendFiles({{"A.TXT", data}}, 1000); }); };
  // The operator reads each box and presses OK. Boxes come from the dialog's
  // thread and, through it, for the watch thread's "Recv Data" entries.
  int boxes = 0;
  QStringList texts;
  QTimer operatorAtThePc;
  QObject::connect(&operatorAtThePc, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    ++boxes;
    if (!texts.contains(box->text())) texts << box->text();
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    box->button(QMessageBox::Ok)->click();
  });
  operatorAtThePc.start(5);
  auto line = vantor::CreateComLine();
  vantor::CSystemClock clock;
  const int code = vantor::RunTransfer(Args(dirs), window, *line, clock);
  terminal.join();
  QVERIFY(terminalOk);
  QCOMPARE(code, 1);
  QCOMPARE(vtest::ReadFile(dirs.m_recv / "A.TXT").size(), std::size_t(800 - 40));  // one "*" record dropped
  QCOMPARE(texts, QStringList({"로그를 남길 수 없습니다."}));
  // Port Open, the directories, and per frame at least its Recv Data and SendData.
  QVERIFY2(boxes >= 2 + 2 * 4, qPrintable(QString::number(boxes)));
}

QTEST_MAIN(TestWindowRun)
#include "tst_window_run.moc"
