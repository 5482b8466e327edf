// Screenshots of the main window, both dialogs and the splash window, saved
// as PNG under the build tree for a person to look at (each is checked to
// offer no maximise); readme_*.png are the
// README's pictures (copied to docs/screenshots), with a neutral demo path. Under a display (the
// project's test run starts Xvfb) the real X11 platform draws them; without
// one the offscreen platform does.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "DirListBox.h"
#include "DriveListBox.h"
#include "Fonts.h"
#include "Rig.h"
#include "VolumeSource.h"
#include "control_ids.h"
#include "frmDirSelect.h"
#include "frmFlash.h"
#include "frmPortSetting.h"
#include "qt_transfer_dialog.h"

namespace {

// On X11 a window of fixed size tells the window manager it cannot be
// maximised: its Motif hints restrict the functions, and the decorations when
// it gives them, to ones without maximise (a window manager that goes by the
// hints alone would otherwise draw the button).
void OffersNoMaximise(QWidget& window) {
  if (QGuiApplication::platformName() != "xcb") return;
  QProcess xprop;
  xprop.start("xprop", {"-id", QString::number(window.winId()), "_MOTIF_WM_HINTS"});
  QVERIFY2(xprop.waitForFinished(), "xprop (x11-utils) did not run");
  const QString out = QString::fromLatin1(xprop.readAllStandardOutput());
  const QStringList values = out.section('=', 1).split(',', Qt::SkipEmptyParts);
  QVERIFY2(values.size() >= 3, qPrintable(window.objectName() + ": " + out));
  bool ok = true;
  const uint flags = values[0].trimmed().toUInt(&ok, 16);
  const uint functions = values[1].trimmed().toUInt(&ok, 16);
  const uint decorations = values[2].trimmed().toUInt(&ok, 16);
  constexpr uint kFunctions = 1, kDecorations = 2, kAll = 1, kFuncMaximise = 1 << 4, kDecorMaximise = 1 << 6;
  QVERIFY2((flags & kFunctions) && !(functions & (kAll | kFuncMaximise)), qPrintable(window.objectName() + ": " + out));
  if (flags & kDecorations) {
    QVERIFY2(!(decorations & (kAll | kDecorMaximise)), qPrintable(window.objectName() + ": " + out));
  }
}

void Shoot(QWidget& window, const QString& name, const QSize& size) {
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  OffersNoMaximise(window);
  QApplication::processEvents();
  const QPixmap shot = window.grab();
  QCOMPARE(shot.size(), size);
  QVERIFY(QDir().mkpath(ARTIFACTS_DIR));
  const QString file = QString(ARTIFACTS_DIR) + "/" + name;
  QVERIFY2(shot.save(file, "PNG"), qPrintable(file));
  qInfo().noquote() << "screenshot:" << file;
}

}  // namespace

class TestScreens : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QApplication::setFont(Fonts::Default());
    qInfo().noquote() << "platform:" << QGuiApplication::platformName();
  }

  void hangulFontsArePresent() {
    QVERIFY2(!QFontDatabase::families(QFontDatabase::Korean).isEmpty(), "no font with Hangul glyphs (fonts-nanum)");
  }

  void mainWindow() {
    Rig rig;
    rig.store.values = {{"CommPortNo", "2"},
                        {"CommSpeed", "4"},
                        {"SendDir", "/home/kelvane/send/"},
                        {"RecvDir", "/home/kelvane/recv/"}};
    auto window = rig.MakeWindow();
    Shoot(*window, "main_window.png", QSize(493, 354));
  }

  // The README's pictures: the main window on the demo folders, and a receive
  // run in progress over it (the library's window centred on the disabled
  // main window, as a transfer shows it).
  void readmePictures() {
    Rig rig;
    rig.store.values = {{"CommPortNo", "1"},
                        {"CommSpeed", "2"},
                        {"SendDir", "/home/shop/kelvane-demo/send/"},
                        {"RecvDir", "/home/shop/kelvane-demo/recv/"}};
    auto window = rig.MakeWindow();
    Shoot(*window, "readme_main_window.png", QSize(493, 354));

    window->setEnabled(false);
    vantor::CTransferDialogQt dialog([] {});
    dialog.SetItemText(vantor::IDC_STATUS, QString("HHT -> PC로 전송중..."));
    dialog.SetItemText(vantor::IDC_FILE_NAME, "STOCK.TXT");
    dialog.SetItemText(vantor::IDC_TOTAL_COUNT, "345/345");
    dialog.SetItemText(vantor::IDC_FILE_COUNT, "287/287");
    dialog.SetBar(vantor::IDC_PROGRESS_TOTAL, 0, 345, 345);
    dialog.SetBar(vantor::IDC_PROGRESS_FILE, 0, 287, 287);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    OffersNoMaximise(dialog);
    QApplication::processEvents();
    QPixmap shot = window->grab();
    QPainter painter(&shot);
    const QPixmap over = dialog.grab();
    painter.drawPixmap((shot.width() - over.width()) / 2, (shot.height() - over.height()) / 2, over);
    painter.end();
    const QString file = QString(ARTIFACTS_DIR) + "/readme_transfer_in_progress.png";
    QVERIFY2(shot.save(file, "PNG"), qPrintable(file));
    qInfo().noquote() << "screenshot:" << file;
  }

  void portSettings() {
    MemoryStore store;
    store.values = {{"CommPortNo", "1"}, {"CommSpeed", "2"}};
    // COM1 on a cradle's USB adapter, picked by its stable name.
    const std::string byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    store.portDevices = {{1, Q(byId)}};
    const PortDevices ports;
    frmPortSetting dialog(store, ports, {{"/dev/ttyUSB0", {byId}}, {"/dev/ttyACM0", {}}});
    Shoot(dialog, "readme_port_settings.png", QSize(361, 267));
  }

  void directoryChooser() {
    QTemporaryDir tmp;
    const QString recv = tmp.path() + "/kelvane/recv";
    for (const char* sub : {"2026-03", "archive", "in", "out"}) QVERIFY(QDir().mkpath(recv + "/" + sub));
    SystemVolumes volumes;
    ScriptedMessages messages;
    frmDirSelect dialog(volumes, messages);
    dialog.dirList()->SetPath(recv);
    dialog.drvList()->SetDrive(dialog.drvList()->DriveOf(recv));
    dialog.setWindowTitle(" 데이터 파일이 저장될 디렉토리 설정");
    Shoot(dialog, "directory_chooser.png", QSize(300, 174));
  }

  void splash() {
    frmFlash splash;
    Shoot(splash, "splash.png", QSize(403, 188));
  }
};

int main(int argc, char* argv[]) {
  // Never fail for want of a display: X11 when there is one, else offscreen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
  }
  QApplication app(argc, argv);
  TestScreens test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_rtk_screens.moc"
