#include "frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "Clock.h"
#include "CommSettings.h"
#include "DirListBox.h"
#include "DriveListBox.h"
#include "MessageBoxes.h"
#include "MousePointer.h"
#include "NumericText.h"
#include "PortErrorText.h"
#include "SettingsStore.h"
#include "StockFile.h"
#include "TransferLibrary.h"
#include "VarDefine.h"
#include "frmDirSelect.h"
#include "frmPortSetting.h"
#include "port_probe.h"

namespace {

QString Key(const char* key) { return QLatin1String(key); }

// The messages of the library's argument errors; other results show nothing.
const char* ResultMessage(int result) {
  switch (result) {
    case VANTOR_RECV_DIR_ERROR: return "Recv 디렉토리 설정에러";
    case VANTOR_SEND_DIR_ERROR: return "Send 디렉토리 설정에러";
    case VANTOR_PORT_NO_ERROR: return "통신포트 설정에러";
    case VANTOR_SPEED_ERROR: return "통신속도 설정에러";
    default: return nullptr;
  }
}

}  // namespace

frmMain::frmMain(const Services& services, QWidget* parent) : QWidget(parent), m_services(services) {
  setObjectName(QStringLiteral("frmMain"));
  BuildControls();
  ConnectHandlers();
  Form_Load();
}

void frmMain::Form_Load() {
  SettingsStore& settings = m_services.settings;
  const QString portCode = settings.Read(Key(VarDefine::kKeyPortNo), Key(VarDefine::kDefaultPortCode)).trimmed();
  const QString sendDir = settings.Read(Key(VarDefine::kKeySendDir), VarDefine::DefaultSendDir());
  const QString recvDir = settings.Read(Key(VarDefine::kKeyRecvDir), VarDefine::DefaultRecvDir());
  m_txtSendDir->setText(sendDir.trimmed());
  m_txtRecvDir->setText(recvDir.trimmed());
  // After the first start the store holds these three; the speed code only
  // appears once the port settings are confirmed.
  WriteSetting(settings, Key(VarDefine::kKeyPortNo), portCode);
  WriteSetting(settings, Key(VarDefine::kKeySendDir), sendDir);
  WriteSetting(settings, Key(VarDefine::kKeyRecvDir), recvDir);
  FP_SetPortNo();
}

void frmMain::FP_SetPortNo() {
  SettingsStore& settings = m_services.settings;
  const double portValue =
      NumericText::LeadingNumber(settings.Read(Key(VarDefine::kKeyPortNo), Key(VarDefine::kDefaultPortCode)).trimmed());
  const double speedValue =
      NumericText::LeadingNumber(settings.Read(Key(VarDefine::kKeySpeed), Key(VarDefine::kDefaultSpeedCode)).trimmed());
  const CommSettings::PortEntry port = CommSettings::PortFromCode(portValue);
  const CommSettings::SpeedEntry speed = CommSettings::SpeedFromCode(speedValue);
  gPortNo = port.portNo;
  gBaudRate = speed.baudRate;
  m_panelState->setText(CommSettings::StatusText(port, speed));
}

void frmMain::Form_Activate() {
  if (m_splash) m_splash->close();
}

bool frmMain::Form_QueryUnload() {
  MessageRequest request;
  request.text = QStringLiteral(" 프로그램을 종료 하시겠습니까? ");
  request.title = QStringLiteral("Exit Applicatein");
  request.icon = QMessageBox::Question;
  request.buttons = QMessageBox::Yes | QMessageBox::No;
  request.defaultButton = QMessageBox::No;
  return m_services.messages.Show(this, request) == QMessageBox::Yes;
}

void frmMain::Form_Unload() {}

bool frmMain::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) Form_Activate();
  return QWidget::event(event);
}

void frmMain::closeEvent(QCloseEvent* event) {
  // While RunVantor runs the window is disabled, but the window system still
  // delivers the close box: closing then would hide the window under a
  // running transfer and leave a process without a window. The transfer
  // window's own Cancel ends the run.
  if (m_transferring) {
    event->ignore();
    return;
  }
  // Every way of closing (the toolbar, the close box, Alt+F4, the session
  // ending) asks the same question.
  if (!Form_QueryUnload()) {
    event->ignore();
    return;
  }
  Form_Unload();
  event->accept();
}

void frmMain::cmdSendDirSet_Click() {
  ChooseDirectory(m_txtSendDir, QStringLiteral(" 마스터 파일이 있는 디렉토리 설정"), VarDefine::kKeySendDir);
}

void frmMain::cmdRecvDirSet_Click() {
  ChooseDirectory(m_txtRecvDir, QStringLiteral(" 데이터 파일이 저장될 디렉토리 설정"), VarDefine::kKeyRecvDir);
}

void frmMain::ChooseDirectory(QLineEdit* box, const QString& caption, const char* key) {
  MousePointer::SetHourglass();
  frmDirSelect chooser(m_services.volumes, m_services.messages, this);
  const QString text = box->text();
  gSelectDir = text;
  // The directory first, then its volume: when the volume differs from the
  // one the chooser opened on, that is a drive change.
  // A directory that does not exist (yet) opens the chooser on the home
  // folder rather than on the program's working directory.
  const QString start = chooser.dirList()->SetPath(text) ? text : QDir::homePath();
  chooser.dirList()->SetPath(start);
  chooser.drvList()->SetDrive(chooser.drvList()->DriveOf(start));
  chooser.setWindowTitle(caption);
  chooser.exec();
  const QString chosen = gSelectDir.endsWith(u'/') ? gSelectDir : gSelectDir + u'/';
  box->setText(chosen);
  WriteSetting(m_services.settings, Key(key), chosen);
}

void frmMain::picSendButton_Click() {
  // Disabling the window takes the focus from its controls; the operator
  // gets it back where it was, so that Enter starts the next transfer.
  const QPointer<QWidget> focus = focusWidget();
  setEnabled(false);
  m_transferring = true;
  // A directory typed into a box is kept like a chosen one.
  StoreTypedDirectory(m_txtRecvDir, VarDefine::kKeyRecvDir);
  StoreTypedDirectory(m_txtSendDir, VarDefine::kKeySendDir);
  m_ports.Apply(m_services.settings);
  TransferArgs args;
  args.recvDir = m_txtRecvDir->text().toLocal8Bit().toStdString();
  args.sendDir = m_txtSendDir->text().toLocal8Bit().toStdString();
  args.portNo = gPortNo;
  args.speed = gBaudRate;
  args.appendMode = m_chkFileMode->isChecked() ? 1 : 0;
  args.userData = "abc";
  const std::optional<int> result = m_services.library.Run(args);
  if (result) ReportResult(*result, args.portNo);
  // Whatever the result, a received stock file gets its time-stamped name.
  StockFile::RenameReceived(m_txtRecvDir->text(), m_services.clock.Now());
  MousePointer::SetDefault();
  m_transferring = false;
  setEnabled(true);
  if (focus) focus->setFocus();
}

void frmMain::StoreTypedDirectory(const QLineEdit* box, const char* key) {
  const QString text = box->text();
  if (text.trimmed().isEmpty()) return;
  const QString kept = text.endsWith(u'/') ? text : text + u'/';
  if (m_services.settings.Read(Key(key), QString()) != kept) WriteSetting(m_services.settings, Key(key), kept);
}

void frmMain::ReportResult(int result, int portNo) {
  if (result == VANTOR_PORT_ERROR) {
    ReportPortError(portNo);
    return;
  }
  const char* message = ResultMessage(result);
  if (message == nullptr) return;
  MessageRequest request;
  request.text = QString::fromUtf8(message);
  request.title = QLatin1String(VarDefine::kAppTitle);
  request.buttons = QMessageBox::Ok;
  m_services.messages.Show(this, request);
}

void frmMain::ReportPortError(int portNo) {
  // The library's reason went to standard error, which a desktop user never
  // sees; the device is opened once more here to learn it.
  PortErrorFacts facts;
  facts.portNo = portNo;
  facts.device = PortDevices::DeviceOf(portNo);
  facts.reason = QString::fromLocal8Bit(ports::OpenProblem(facts.device.toLocal8Bit().toStdString()));
  facts.fromEnvironment = m_ports.FromEnvironment(portNo);
  facts.settingsFile = m_services.settings.Location();
  MessageRequest request;
  request.text = PortErrorText(facts);
  request.title = QLatin1String(VarDefine::kAppTitle);
  request.buttons = QMessageBox::Ok;
  m_services.messages.Show(this, request);
}

void frmMain::picSendButton_KeyPress(QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return;
  event->accept();
  picSendButton_Click();
}

void frmMain::picSendButton_GotFocus() { m_shape1->show(); }

void frmMain::picSendButton_LostFocus() { m_shape1->hide(); }

void frmMain::Toolbar1_ButtonClick(QAction* button) {
  const QString key = button->data().toString().toUpper();
  if (key == QStringLiteral("EXIT")) {
    close();
  } else if (key == QStringLiteral("SETTING")) {
    {
      frmPortSetting dialog(m_services.settings, this);
      dialog.exec();
    }
    // OK or Cancel alike: the store decides what is in effect.
    FP_SetPortNo();
  }
}
