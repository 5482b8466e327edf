#include "frmDirSelect.h"

#include <QDir>
#include <QPainter>
#include <QPushButton>

#include "DirListBox.h"
#include "DriveListBox.h"
#include "Fonts.h"
#include "MessageBoxes.h"
#include "MousePointer.h"
#include "Pictures.h"
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
  setFixedSize(Twips::Size(4500, 2610));
  setFont(Fonts::Default());
  setWindowIcon(Pictures::NoIcon());

  m_dirList = new DirListBox(this);
  m_dirList->setObjectName(QStringLiteral("dirList"));
  m_dirList->setGeometry(Twips::Rect(150, 165, 2805, 1980));

  m_drvList = new DriveListBox(m_volumes, this);
  m_drvList->setObjectName(QStringLiteral("drvList"));
  m_drvList->setGeometry(Twips::Rect(150, 2145, 2805, 300));

  m_cmdOK = new QPushButton(QStringLiteral("확  인"), this);
  m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
  m_cmdOK->setGeometry(Twips::Rect(3150, 1575, 1215, 420));
  m_cmdOK->setDefault(true);

  m_cmdCancel = new QPushButton(QStringLiteral("취 소"), this);
  m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  m_cmdCancel->setGeometry(Twips::Rect(3150, 2025, 1215, 420));
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
  m_driveBefore = m_drvList->Drive();
  MousePointer::SetDefault();
}

QString frmDirSelect::CurrentDirOf(const QString& driveRoot) const {
  const QString current = QDir::currentPath();
  return m_drvList->DriveOf(current) == m_drvList->DriveOf(driveRoot) ? current : driveRoot;
}

void frmDirSelect::drvList_GotFocus() { mLastDrive = m_drvList->Drive(); }

void frmDirSelect::drvList_Change() {
  const QString remembered = m_dirList->Path();
  const QString root = m_drvList->DriveRoot();
  const std::optional<QString> error = m_volumes.AccessError(root);
  if (!error && m_dirList->SetPath(CurrentDirOf(root))) {
    m_driveBefore = m_drvList->Drive();
    return;
  }

  MessageRequest request;
  request.text = error.value_or(QStringLiteral("%1: No such file or directory").arg(root));
  request.title = QStringLiteral("액세스 에러");
  request.icon = QMessageBox::Critical;
  request.buttons = QMessageBox::Ok;
  m_messages.Show(this, request);

  // Before the drive list ever had the focus there is no earlier choice of
  // the operator's; the drive shown before this change serves instead.
  const QString back = mLastDrive.isEmpty() ? m_driveBefore : mLastDrive;
  m_drvList->SetDrive(back);
  m_dirList->SetPath(remembered);
}

void frmDirSelect::cmdOK_Click() {
  // A folder picked with one click and confirmed is the folder meant; taking
  // the opened one would store its parent.
  gSelectDir = m_dirList->HighlightedPath();
  accept();
}

void frmDirSelect::cmdCancel_Click() { reject(); }

void frmDirSelect::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TileBackground(painter, m_tile, size());
}
