#include "frmPortSetting.h"
#include "frmPortSettingLayout.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <utility>

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

using namespace frmPortSettingLayout;

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

frmPortSetting::frmPortSetting(SettingsStore& settings, const PortDevices& ports, QWidget* parent)
    : frmPortSetting(settings, ports, ports::ListSerialDevices(), parent) {}

frmPortSetting::frmPortSetting(SettingsStore& settings, const PortDevices& ports,
                               std::vector<ports::SerialDevice> detected, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_settings(settings),
      m_picker(settings, ports, std::move(detected)),
      m_tile(Pictures::PortTile()) {
  setObjectName(QStringLiteral("frmPortSetting"));
  setWindowTitle(Q(PortChoices::kTitle));
  setWindowIcon(Pictures::ProgramIcon());
  setFixedSize(Twips::Size(kClientWidth, kClientHeight));
  setFont(Fonts::Default());
  BuildControls();
  ConnectHandlers();
  Form_Load();
}

void frmPortSetting::BuildLabels() {
  QLabel* title = AddLabel(this, "Label10", Q(kLabel10Text), Twips::Rect(kLabel10));
  title->setFont(Fonts::FittedTo(Fonts::Gulim(12, true, true), title->text(), title->width()));
  SetTextColour(title, QColor(kLabel10Colour[0], kLabel10Colour[1], kLabel10Colour[2]));

  auto* frame = new QFrame(this);
  frame->setObjectName(QStringLiteral("shp1"));
  frame->setFrameShape(QFrame::Box);
  frame->setGeometry(Twips::Rect(kShp1));

  QLabel* port = nullptr;
  for (const Label& label : kLabels) {
    QLabel* added = AddLabel(this, label.name, Q(label.text), Twips::Rect(label.where));
    if (QLatin1String(label.name) == QLatin1String("Label9")) port = added;
  }
  SetTextColour(port, QColor(kLabel9Colour[0], kLabel9Colour[1], kLabel9Colour[2]));
}

void frmPortSetting::BuildControls() {
  BuildLabels();
  m_cboSpeed = AddList(this, "cboSpeed", Twips::Rect(kCboSpeed));
  m_cboPortNo = AddList(this, "cboPortNo", Twips::Rect(kCboPortNo));
  m_cmdOK = AddButton(this, "cmdOK", Q(kOkText), Twips::Rect(kCmdOK));
  m_cmdCancel = AddButton(this, "cmdCancel", Q(kCancelText), Twips::Rect(kCmdCancel));
  BuildDevicePicker();

  // The device picker comes last, so the order of the others stays.
  setTabOrder(m_cboPortNo, m_cmdOK);
  setTabOrder(m_cmdOK, m_cmdCancel);
  setTabOrder(m_cmdCancel, m_cboSpeed);
  setTabOrder(m_cboSpeed, m_cboDevice);
  m_cboPortNo->setFocus();
}

void frmPortSetting::BuildDevicePicker() {
  AddLabel(this, "Label11", Q(kLabel11Text), Twips::Rect(kLabel11));
  m_cboDevice = AddList(this, "cboDevice", Twips::Rect(kCboDevice));
  m_cboDevice->setFont(Fonts::Default());
  // A device that is not found (another kind of line, a link) can be typed.
  m_cboDevice->setEditable(true);
  m_cboDevice->setInsertPolicy(QComboBox::NoInsert);
  m_label12 = AddLabel(this, "Label12", QString(), Twips::Rect(kLabel12));
}

void frmPortSetting::ConnectHandlers() {
  connect(m_cboPortNo, &QComboBox::currentIndexChanged, this, &frmPortSetting::cboPortNo_Click);
  connect(m_cmdOK, &QPushButton::clicked, this, &frmPortSetting::cmdOK_Click);
  connect(m_cmdCancel, &QPushButton::clicked, this, &frmPortSetting::cmdCancel_Click);
}

void frmPortSetting::Form_Load() {
  for (const char* item : PortChoices::kSpeedItems) m_cboSpeed->addItem(Q(item));
  for (const char* item : PortChoices::kPortItems) m_cboPortNo->addItem(Q(item));
  const PortChoices::Selection selection = PortChoices::Load(m_settings);
  m_cboSpeed->setCurrentIndex(selection.speed);
  m_cboPortNo->setCurrentIndex(selection.port);
  ShowDevices(selection.port);
  MousePointer::SetDefault();
}

void frmPortSetting::ShowDevices(int position) {
  const PortDevicePicker::View view = m_picker.ViewOf(position);
  m_cboDevice->clear();
  for (const PortDevicePicker::Choice& choice : view.choices) m_cboDevice->addItem(Q(choice.text));
  m_cboDevice->setCurrentIndex(view.selected);
  if (view.selected < 0) m_cboDevice->setEditText(QString());
  m_cboDevice->setEnabled(view.enabled);
  // The drop-down as wide as its longest name, the box keeps its place.
  m_cboDevice->view()->setMinimumWidth(std::max(0, m_cboDevice->view()->sizeHintForColumn(0)));
  m_label12->setFont(Fonts::FittedTo(Fonts::Default(), Q(view.note), m_label12->width()));
  m_label12->setText(Q(view.note));
  m_shownPort = position;
}

void frmPortSetting::cboPortNo_Click() {
  // The box's text is the choice for the port it showed until now.
  m_picker.Choose(m_shownPort, U8(m_cboDevice->currentText()));
  ShowDevices(m_cboPortNo->currentIndex());
}

void frmPortSetting::cmdOK_Click() {
  PortChoices::Store(m_settings, {m_cboSpeed->currentIndex(), m_cboPortNo->currentIndex()});
  m_picker.Choose(m_shownPort, U8(m_cboDevice->currentText()));
  m_picker.Store(m_settings);
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
