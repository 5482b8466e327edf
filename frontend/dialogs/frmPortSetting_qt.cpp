#include "frmPortSetting.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "Fonts.h"
#include "MousePointer.h"
#include "Pictures.h"
#include "PortChoices.h"
#include "QtText.h"
#include "SettingsStore.h"
#include "TileBackground.h"
#include "Twips.h"
#include "VarDefine.h"

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& where) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(Fonts::FittedTo(Fonts::Gungsuh(12), text, where.width()));
  // Taller than its box when the font needs it, never cut at the bottom.
  label->setGeometry(where.adjusted(0, 0, 0, std::max(0, label->sizeHint().height() - where.height())));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

QComboBox* AddList(QWidget* parent, const char* name, const QRect& where) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QLatin1String(name));
  list->setFont(Fonts::Gungsuh(12));
  list->setEditable(false);
  list->setGeometry(where);
  return list;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& text, const QRect& where) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(where);
  // Neither button answers Enter.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

frmPortSetting::frmPortSetting(SettingsStore& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_settings(settings),
      m_tile(Pictures::PortTile()) {
  setObjectName(QStringLiteral("frmPortSetting"));
  setWindowTitle(Q(PortChoices::kTitle));
  setWindowIcon(Pictures::NoIcon());
  setFixedSize(Twips::Size(5415, 3075));
  setFont(Fonts::Default());
  BuildControls();
  ConnectHandlers();
  Form_Load();
}

void frmPortSetting::BuildLabels() {
  QLabel* title = AddLabel(this, "Label10", QStringLiteral("핸디터미널 프로토콜"), Twips::Rect(270, 255, 2400, 240));
  title->setFont(Fonts::FittedTo(Fonts::Gulim(12, true, true), title->text(), title->width()));
  SetTextColour(title, QColor(128, 0, 128));

  auto* frame = new QFrame(this);
  frame->setObjectName(QStringLiteral("shp1"));
  frame->setFrameShape(QFrame::Box);
  frame->setGeometry(Twips::Rect(195, 600, 3690, 2130));

  AddLabel(this, "Label1", QStringLiteral("COM Speed :"), Twips::Rect(495, 720, 1395, 240));
  AddLabel(this, "Label2", QStringLiteral("Parity"), Twips::Rect(495, 1110, 1395, 240));
  AddLabel(this, "Label6", QStringLiteral("None"), Twips::Rect(2430, 1095, 570, 240));
  AddLabel(this, "Label3", QStringLiteral("Data Length"), Twips::Rect(495, 1500, 1395, 240));
  AddLabel(this, "Label7", QStringLiteral("8 Bit"), Twips::Rect(2430, 1485, 555, 240));
  AddLabel(this, "Label4", QStringLiteral("Stop Bit"), Twips::Rect(495, 1890, 1395, 240));
  AddLabel(this, "Label8", QStringLiteral("1 Bit"), Twips::Rect(2430, 1860, 555, 240));
  QLabel* port = AddLabel(this, "Label9", QStringLiteral("COM PORT  :"), Twips::Rect(600, 2280, 1290, 240));
  SetTextColour(port, QColor(0, 0, 192));
}

void frmPortSetting::BuildControls() {
  BuildLabels();
  m_cboSpeed = AddList(this, "cboSpeed", Twips::Rect(1935, 690, 1740, 360));
  m_cboPortNo = AddList(this, "cboPortNo", Twips::Rect(1950, 2220, 1740, 360));
  m_cmdOK = AddButton(this, "cmdOK", QStringLiteral("확인"), Twips::Rect(4065, 1830, 1215, 360));
  m_cmdCancel = AddButton(this, "cmdCancel", QStringLiteral("취소"), Twips::Rect(4065, 2370, 1215, 360));

  setTabOrder(m_cboPortNo, m_cmdOK);
  setTabOrder(m_cmdOK, m_cmdCancel);
  setTabOrder(m_cmdCancel, m_cboSpeed);
  m_cboPortNo->setFocus();
}

void frmPortSetting::ConnectHandlers() {
  connect(m_cmdOK, &QPushButton::clicked, this, &frmPortSetting::cmdOK_Click);
  connect(m_cmdCancel, &QPushButton::clicked, this, &frmPortSetting::cmdCancel_Click);
}

void frmPortSetting::Form_Load() {
  for (const char* item : PortChoices::kSpeedItems) m_cboSpeed->addItem(Q(item));
  for (const char* item : PortChoices::kPortItems) m_cboPortNo->addItem(Q(item));
  const PortChoices::Selection selection = PortChoices::Load(m_settings);
  m_cboSpeed->setCurrentIndex(selection.speed);
  m_cboPortNo->setCurrentIndex(selection.port);
  MousePointer::SetDefault();
}

void frmPortSetting::cmdOK_Click() {
  PortChoices::Store(m_settings, {m_cboSpeed->currentIndex(), m_cboPortNo->currentIndex()});
  accept();
}

void frmPortSetting::cmdCancel_Click() { reject(); }

void frmPortSetting::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TileBackground(painter, m_tile, size());
}

void frmPortSetting::keyPressEvent(QKeyEvent* event) {
  // Enter and Esc belong to no button here; the dialog closes only by its
  // buttons or its close box.
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter: event->accept(); return;
    default: QDialog::keyPressEvent(event);
  }
}
