#include "frmDirSelect.h"
#include "frmDirSelectLayout.h"

#include <QDir>
#include <QPainter>
#include <QPushButton>

#include "DirListBox.h"
#include "DriveListBox.h"
#include "Fonts.h"
#include "MessageBoxes.h"
#include "MousePointer.h"
#include "Pictures.h"
#include "QtText.h"
#include "TileBackground.h"
#include "Twips.h"
#include "VarDefine.h"
#include "VolumeSource.h"

frmDirSelect::frmDirSelect(const VolumeSource& volumes, MessageBoxes& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_volumes(volumes),
      m_messages(messages),
      m_tile(Pictures::DirTile()) {
  setObjectName(QStringLiteral("frmDirSelect"));
  BuildControls();
  ConnectHandlers();
  Form_Load();
}

void frmDirSelect::BuildControls() {
  setFixedSize(Twips::Size(frmDirSelectLayout::kClientWidth, frmDirSelectLayout::kClientHeight));
  setFont(Fonts::Default());
  setWindowIcon(Pictures::ProgramIcon());

  m_dirList = new DirListBox(this);
  m_dirList->setObjectName(QStringLiteral("dirList"));
  m_dirList->setGeometry(Twips::Rect(frmDirSelectLayout::kDirList));

  m_drvList = new DriveListBox(m_volumes, this);
  m_drvList->setObjectName(QStringLiteral("drvList"));
  m_drvList->setGeometry(Twips::Rect(frmDirSelectLayout::kDrvList));

  m_cmdOK = new QPushButton(Q(DirSelectRules::kOkText), this);
  m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
  m_cmdOK->setGeometry(Twips::Rect(frmDirSelectLayout::kCmdOK));
  m_cmdOK->setDefault(true);

  m_cmdCancel = new QPushButton(Q(DirSelectRules::kCancelText), this);
  m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  m_cmdCancel->setGeometry(Twips::Rect(frmDirSelectLayout::kCmdCancel));
  m_cmdCancel->setAutoDefault(false);

  setTabOrder(m_dirList, m_drvList);
  setTabOrder(m_drvList, m_cmdCancel);
  setTabOrder(m_cmdCancel, m_cmdOK);
  m_dirList->setFocus();
}

void frmDirSelect::ConnectHandlers() {
  connect(m_drvList, &DriveListBox::GotFocus, this, &frmDirSelect::drvList_GotFocus);
  connect(m_drvList, &DriveListBox::Change, this, &frmDirSelect::drvList_Change);
  connect(m_cmdOK, &QPushButton::clicked, this, &frmDirSelect::cmdOK_Click);
  connect(m_cmdCancel, &QPushButton::clicked, this, &frmDirSelect::cmdCancel_Click);
}

void frmDirSelect::Form_Load() {
  // The lists open on the program's current drive and directory; showing
  // them is no drive change yet.
  const QString current = QDir::currentPath();
  m_drvList->blockSignals(true);
  m_drvList->SetDrive(m_drvList->DriveOf(current));
  m_drvList->blockSignals(false);
  m_dirList->SetPath(current);
  m_driveChange.Loaded(U8(m_drvList->Drive()));
  MousePointer::SetDefault();
}

QString frmDirSelect::CurrentDirOf(const QString& driveRoot) const {
  const QString current = QDir::currentPath();
  return m_drvList->DriveOf(current) == m_drvList->DriveOf(driveRoot) ? current : driveRoot;
}

void frmDirSelect::drvList_GotFocus() { m_driveChange.GotFocus(U8(m_drvList->Drive())); }

void frmDirSelect::drvList_Change() { m_driveChange.Changed(*this); }

std::string frmDirSelect::DirPath() const { return U8(m_dirList->Path()); }

std::string frmDirSelect::Drive() const { return U8(m_drvList->Drive()); }

std::optional<std::string> frmDirSelect::OpenSelectedDrive() {
  const QString root = m_drvList->DriveRoot();
  if (const std::optional<QString> error = m_volumes.AccessError(root)) return U8(*error);
  if (!m_dirList->SetPath(CurrentDirOf(root))) return U8(QStringLiteral("%1: No such file or directory").arg(root));
  return std::nullopt;
}

void frmDirSelect::SelectDrive(const std::string& drive) { m_drvList->SetDrive(Q(drive)); }

void frmDirSelect::SetDirPath(const std::string& path) { m_dirList->SetPath(Q(path)); }

void frmDirSelect::ShowAccessError(const std::string& text) {
  MessageRequest request;
  request.text = Q(text);
  request.title = Q(DirSelectRules::kAccessErrorTitle);
  request.icon = QMessageBox::Critical;
  request.buttons = QMessageBox::Ok;
  m_messages.Show(this, request);
}

void frmDirSelect::cmdOK_Click() {
  // A folder picked with one click and confirmed is the folder meant; taking
  // the opened one would store its parent.
  gSelectDir = U8(m_dirList->HighlightedPath());
  accept();
}

void frmDirSelect::cmdCancel_Click() { reject(); }

void frmDirSelect::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TileBackground(painter, m_tile, size());
}
