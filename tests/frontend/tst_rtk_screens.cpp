// Screenshots of the main window, both dialogs and the splash window, saved
// as PNG under the build tree for a person to look at. Under a display (the
// project's test run starts Xvfb) the real X11 platform draws them; without
// one the offscreen platform does.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QtTest>

#include "DirListBox.h"
#include "DriveListBox.h"
#include "Fonts.h"
#include "Rig.h"
#include "VolumeSource.h"
#include "frmDirSelect.h"
#include "frmFlash.h"
#include "frmPortSetting.h"

namespace {

void Shoot(QWidget& window, const QString& name, const QSize& size) {
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
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
    rig.store.values = {{"CommPortNo", "2"}, {"CommSpeed", "4"}, {"SendDir", "/home/kelvane/send/"},
                        {"RecvDir", "/home/kelvane/recv/"}};
    auto window = rig.MakeWindow();
    Shoot(*window, "main_window.png", QSize(493, 354));
  }

  void portSettings() {
    MemoryStore store;
    store.values = {{"CommPortNo", "1"}, {"CommSpeed", "2"}};
    frmPortSetting dialog(store);
    Shoot(dialog, "port_settings.png", QSize(361, 205));
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
