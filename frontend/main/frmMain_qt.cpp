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
#include "DirSelectRules.h"
#include "DriveListBox.h"
#include "FileOps.h"
#include "FolderProblem.h"
#include "MessageBoxes.h"
#include "MousePointer.h"
#include "PortErrorText.h"
#include "QtText.h"
#include "RunNotice.h"
#include "SettingsStore.h"
#include "StartSettings.h"
#include "StockFile.h"
#include "ToolbarCommands.h"
#include "TransferCommand.h"
#include "TransferLibrary.h"
#include "VarDefine.h"
#include "frmDirSelect.h"
#include "frmMainLayout.h"
#include "frmPortSetting.h"

// A window of fixed size: a title, the system menu, minimise and close, and
// no maximise (the window manager is told so, not left to guess from the
// size).
frmMain::frmMain(const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_services(services) {
  setObjectName(QStringLiteral("frmMain"));
  BuildControls();
  ConnectHandlers();
  Form_Load();
}

void frmMain::Form_Load() {
  const DirectoryBoxes boxes = LoadStartSettings(m_services.settings);
  m_txtSendDir->setText(Q(boxes.sendDir));
  m_txtRecvDir->setText(Q(boxes.recvDir));
  FP_SetPortNo();
}

void frmMain::FP_SetPortNo() {
  const CommSettings::InEffect inEffect = CommSettings::ReadInEffect(m_services.settings);
  gPortNo = inEffect.portNo;
  gBaudRate = inEffect.baudRate;
  m_panelState->setText(Q(inEffect.statusText));
}

void frmMain::Form_Activate() {
  if (m_splash) m_splash->close();
}

bool frmMain::Form_QueryUnload() {
  MessageRequest request;
  request.text = Q(frmMainLayout::kExitQuestion);
  request.title = Q(frmMainLayout::kExitQuestionCaption);
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
  ChooseDirectory(m_txtSendDir, Q(DirSelectRules::kSendTitle), VarDefine::kKeySendDir);
}

void frmMain::cmdRecvDirSet_Click() {
  ChooseDirectory(m_txtRecvDir, Q(DirSelectRules::kRecvTitle), VarDefine::kKeyRecvDir);
}

void frmMain::ChooseDirectory(QLineEdit* box, const QString& caption, const char* key) {
  MousePointer::SetHourglass();
  frmDirSelect chooser(m_services.volumes, m_services.messages, this);
  const QString text = box->text();
  gSelectDir = U8(text);
  // The directory first, then its volume: when the volume differs from the
  // one the chooser opened on, that is a drive change.
  // A directory that does not exist (yet) opens the chooser on the home
  // folder rather than on the program's working directory.
  const QString start = chooser.dirList()->SetPath(text) ? text : QDir::homePath();
  chooser.dirList()->SetPath(start);
  chooser.drvList()->SetDrive(chooser.drvList()->DriveOf(start));
  chooser.setWindowTitle(caption);
  chooser.exec();
  const std::string chosen = DirSelectRules::WithFinalSeparator(gSelectDir, FileOps::Separator());
  box->setText(Q(chosen));
  WriteSetting(m_services.settings, key, chosen);
}

void frmMain::txtRecvDir_LostFocus() { StoreTypedDirectory(m_txtRecvDir, VarDefine::kKeyRecvDir); }

void frmMain::txtSendDir_LostFocus() { StoreTypedDirectory(m_txtSendDir, VarDefine::kKeySendDir); }

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
  const TransferArgs args =
      TransferCommand::MakeArgs(U8(m_txtRecvDir->text()), U8(m_txtSendDir->text()), m_chkFileMode->isChecked());
  const RunNotice notice(m_services.settings, args);
  std::optional<int> result = m_services.library.Run(args);
  while (result && ReportResult(*result, args.portNo)) result = m_services.library.Run(args);
  // Whatever the result, a received stock file gets its time-stamped name.
  StockFile::RenamedPaths stock;
  StockFile::RenameReceived(U8(m_txtRecvDir->text()), m_services.clock.Now(), &stock);
  if (result) notice.Send(m_services.notifier, *result, stock);
  MousePointer::SetDefault();
  m_transferring = false;
  setEnabled(true);
  if (focus) focus->setFocus();
}

void frmMain::StoreTypedDirectory(const QLineEdit* box, const char* key) {
  const std::string text = U8(box->text());
  if (U8(box->text().trimmed()).empty()) return;
  const std::string kept = DirSelectRules::WithFinalSeparator(text, FileOps::Separator());
  if (m_services.settings.Read(key, std::string()) != kept) WriteSetting(m_services.settings, key, kept);
}

bool frmMain::ReportResult(int result, int portNo) {
  if (result == VANTOR_PORT_ERROR) {
    ReportPortError(portNo);
    return false;
  }
  if (result == VANTOR_RECV_DIR_ERROR || result == VANTOR_SEND_DIR_ERROR) return ReportFolderError(result);
  const char* message = TransferCommand::ResultMessage(result);
  if (message == nullptr) return false;
  MessageRequest request;
  request.text = Q(message);
  request.title = QLatin1String(VarDefine::kAppTitle);
  request.buttons = QMessageBox::Ok;
  m_services.messages.Show(this, request);
  return false;
}

bool frmMain::ReportFolderError(int result) {
  const bool recv = result == VANTOR_RECV_DIR_ERROR;
  const std::string dir = U8((recv ? m_txtRecvDir : m_txtSendDir)->text());
  const FolderMessage message = FolderErrorMessage(result, dir, CheckFolder(dir, recv));
  MessageRequest request;
  request.text = Q(message.text);
  request.title = QLatin1String(VarDefine::kAppTitle);
  request.buttons = QMessageBox::Ok;
  if (message.offerCreate) {
    request.icon = QMessageBox::Question;
    request.buttons = QMessageBox::Yes | QMessageBox::No;
    request.defaultButton = QMessageBox::Yes;
  }
  if (m_services.messages.Show(this, request) != QMessageBox::Yes) return false;
  std::string reason;
  if (MakeFolder(dir, &reason)) return true;
  request.text = Q(FolderNotMadeMessage(result, dir, reason));
  request.icon = QMessageBox::Warning;
  request.buttons = QMessageBox::Ok;
  request.defaultButton = QMessageBox::NoButton;
  m_services.messages.Show(this, request);
  return false;
}

void frmMain::ReportPortError(int portNo) {
  // The library's reason went to standard error, which a desktop user never
  // sees; the device is opened once more here to learn it.
  PortErrorFacts facts;
  facts.portNo = portNo;
  facts.device = PortDevices::DeviceOf(portNo);
  facts.reason = PortOpenReason(facts.device);
  facts.fromEnvironment = m_ports.FromEnvironment(portNo);
  facts.settingsFile = m_services.settings.Location();
  MessageRequest request;
  request.text = Q(PortErrorText(facts));
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
  const ToolbarCommand command = CommandOfKey(U8(button->data().toString()));
  if (command == ToolbarCommand::Exit) {
    close();
  } else if (command == ToolbarCommand::Setting) {
    {
      frmPortSetting dialog(m_services.settings, m_ports, this);
      dialog.exec();
    }
    // OK or Cancel alike: the store decides what is in effect.
    FP_SetPortNo();
  }
}
