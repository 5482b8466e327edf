// The controls of the main window, at their fixed places in twips, and the
// one place where their events meet the handlers.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "CommSettings.h"
#include "Fonts.h"
#include "PictureBox.h"
#include "Pictures.h"
#include "QtText.h"
#include "Twips.h"
#include "VarDefine.h"
#include "frmMain.h"
#include "frmMainLayout.h"

namespace {

// Swallows the tooltip events of the widget it watches.
class NoToolTip final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::ToolTip; }
};

using namespace frmMainLayout;

// How often the date panel looks at the calendar.
constexpr int kDateRefreshMs = 30 * 1000;

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QFont& font, const QRect& where) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(Fonts::FittedTo(font, text, where.width()));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // A Hangul font may need a little more height than the box; grow it
  // downwards rather than cut the glyphs.
  label->setGeometry(where.adjusted(0, 0, 0, std::max(0, label->sizeHint().height() - where.height())));
  return label;
}

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  widget->setPalette(palette);
}

QLineEdit* AddDirBox(QWidget* parent, const char* name, const QRect& where) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QLatin1String(name));
  box->setFont(Fonts::Arial(9.75, true));
  box->setGeometry(where);
  return box;
}

QPushButton* AddDirButton(QWidget* parent, const char* name, const QRect& where) {
  auto* button = new QPushButton(Q(kDirButtonText), parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(where);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

void frmMain::BuildControls() {
  setWindowTitle(QLatin1String(VarDefine::kMainCaption));
  setWindowIcon(Pictures::ProgramIcon());
  setFixedSize(Twips::Size(kClientWidth, kClientHeight));
  setAutoFillBackground(true);
  SetColour(this, QPalette::Window, Qt::white);
  setFont(Fonts::Default());

  BuildToolbar();
  BuildLabels();
  BuildDirectoryRows();
  BuildPictures();
  BuildStatusBar();
  SetTabOrder();
}

void frmMain::BuildLabels() {
  QLabel* heading = AddLabel(this, "Label2", Q(kLabel2Text), Fonts::Gulim(12, true, true), Twips::Rect(kLabel2));
  SetColour(heading, QPalette::WindowText, Qt::blue);
  AddLabel(this, "Label1_2", Q(kLabel1_2Text), Fonts::Gulim(9.75), Twips::Rect(kLabel1_2));
  AddLabel(this, "Label1_0", Q(kLabel1_0Text), Fonts::Gulim(9.75), Twips::Rect(kLabel1_0));
  QLabel* line = AddLabel(this, "Label3", Q(kLabel3Text), Fonts::Gulim(11.25), Twips::Rect(kLabel3));
  line->setAutoFillBackground(true);
  SetColour(line, QPalette::Window, Qt::white);
  line->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void frmMain::BuildDirectoryRows() {
  m_txtSendDir = AddDirBox(this, "txtSendDir", Twips::Rect(kTxtSendDir));
  m_cmdSendDirSet = AddDirButton(this, "cmdSendDirSet", Twips::Rect(kCmdSendDirSet));
  m_txtRecvDir = AddDirBox(this, "txtRecvDir", Twips::Rect(kTxtRecvDir));
  m_cmdRecvDirSet = AddDirButton(this, "cmdRecvDirSet", Twips::Rect(kCmdRecvDirSet));

  // The option is not stored: it starts unchecked every time.
  m_chkFileMode = new QCheckBox(Q(kChkFileModeText), this);
  m_chkFileMode->setObjectName(QStringLiteral("ChkFileMode"));
  m_chkFileMode->setGeometry(Twips::Rect(kChkFileMode));
}

void frmMain::BuildPictures() {
  // The outline first, so that the transfer button lies above it.
  m_shape1 = new QFrame(this);
  m_shape1->setObjectName(QStringLiteral("Shape1"));
  m_shape1->setFrameShape(QFrame::Box);
  m_shape1->setLineWidth(1);
  m_shape1->setGeometry(Twips::Rect(kShape1));
  m_shape1->hide();

  m_picSendButton = new PictureBox(Pictures::Computers(), this);
  m_picSendButton->setObjectName(QStringLiteral("picSendButton"));
  m_picSendButton->setGeometry(Twips::Rect(kPicSendButton));
  m_picSendButton->setToolTip(Q(kPicSendButtonTip));
  m_picSendButton->setCursor(Qt::PointingHandCursor);
  m_picSendButton->setFocusPolicy(Qt::StrongFocus);

  auto* arrow = new PictureBox(Pictures::TwoWayArrow(), this);
  arrow->setObjectName(QStringLiteral("Picture6"));
  arrow->setGeometry(Twips::Rect(kPicture6));

  auto* terminal = new PictureBox(Pictures::Terminal(), this);
  terminal->setObjectName(QStringLiteral("picDisp"));
  terminal->setGeometry(Twips::Rect(kPicDisp));
}

void frmMain::BuildToolbar() {
  m_toolbar1 = new QToolBar(this);
  m_toolbar1->setObjectName(QStringLiteral("Toolbar1"));
  m_toolbar1->setGeometry(0, 0, Twips::ToPixels(kClientWidth), Twips::ToPixels(kToolbarHeight));
  m_toolbar1->setIconSize(QSize(22, 22));
  m_toolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  m_toolbar1->setMovable(false);
  m_toolbar1->setFloatable(false);
  // The bars keep the system's colours on the white window.
  m_toolbar1->setPalette(QApplication::palette());
  m_toolbar1->setAutoFillBackground(true);

  QAction* exitButton = m_toolbar1->addAction(QIcon(Pictures::Tool(Pictures::ToolIcon::OpenDoor)), Q(kExitCaption));
  exitButton->setObjectName(QStringLiteral("Exit"));
  exitButton->setData(Q(kExitKey));
  exitButton->setToolTip(Q(kExitTip));
  QAction* settingButton =
      m_toolbar1->addAction(QIcon(Pictures::Tool(Pictures::ToolIcon::PhoneGreen)), Q(kSettingCaption));
  settingButton->setObjectName(QStringLiteral("Setting"));
  settingButton->setData(Q(kSettingKey));
  // The button has no tooltip; an empty one would make Qt show its caption,
  // so its tooltip events are swallowed.
  settingButton->setToolTip(QString());
  m_toolbar1->widgetForAction(settingButton)->installEventFilter(new NoToolTip(m_toolbar1));
}

void frmMain::BuildStatusBar() {
  m_sbrStatus = new QStatusBar(this);
  m_sbrStatus->setObjectName(QStringLiteral("sbrStatus"));
  m_sbrStatus->setSizeGripEnabled(false);
  m_sbrStatus->setFont(Fonts::Arial(9));
  m_sbrStatus->setPalette(QApplication::palette());
  m_sbrStatus->setAutoFillBackground(true);
  m_sbrStatus->setGeometry(0, Twips::ToPixels(kStatusTop), Twips::ToPixels(kClientWidth),
                           Twips::ToPixels(kStatusHeight));

  m_panelState = new QLabel(Q(CommSettings::kStatusBeforeLoad), m_sbrStatus);
  m_panelState->setObjectName(QStringLiteral("STATE"));
  m_panelState->setToolTip(Q(kStateTip));
  m_panelState->setFont(Fonts::Arial(9));
  m_panelState->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // The state panel takes what the date panel leaves: at its nominal width
  // it would push the date out of the window.
  m_sbrStatus->addWidget(m_panelState, 1);

  m_panelDate = new QLabel(m_sbrStatus);
  m_panelDate->setObjectName(QStringLiteral("SYSDATE"));
  m_panelDate->setToolTip(Q(kDateTip));
  m_panelDate->setFont(Fonts::Arial(9));
  m_panelDate->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  m_panelDate->setFixedWidth(Twips::ToPixels(kDatePanelWidth));
  m_sbrStatus->addPermanentWidget(m_panelDate);
  UpdateDate();
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &frmMain::UpdateDate);
  timer->start(kDateRefreshMs);
}

void frmMain::UpdateDate() {
  m_panelDate->setText(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void frmMain::SetTabOrder() {
  // Tab index order; labels, pictures, toolbar and status bar take no focus.
  setTabOrder(m_cmdSendDirSet, m_cmdRecvDirSet);
  setTabOrder(m_cmdRecvDirSet, m_picSendButton);
  setTabOrder(m_picSendButton, m_txtRecvDir);
  setTabOrder(m_txtRecvDir, m_txtSendDir);
  setTabOrder(m_txtSendDir, m_chkFileMode);
  m_cmdSendDirSet->setFocus();
}

void frmMain::ConnectHandlers() {
  connect(m_cmdSendDirSet, &QPushButton::clicked, this, &frmMain::cmdSendDirSet_Click);
  connect(m_cmdRecvDirSet, &QPushButton::clicked, this, &frmMain::cmdRecvDirSet_Click);
  connect(m_txtRecvDir, &QLineEdit::editingFinished, this, &frmMain::txtRecvDir_LostFocus);
  connect(m_txtSendDir, &QLineEdit::editingFinished, this, &frmMain::txtSendDir_LostFocus);
  connect(m_picSendButton, &PictureBox::Click, this, &frmMain::picSendButton_Click);
  connect(m_picSendButton, &PictureBox::KeyPress, this, &frmMain::picSendButton_KeyPress);
  connect(m_picSendButton, &PictureBox::GotFocus, this, &frmMain::picSendButton_GotFocus);
  connect(m_picSendButton, &PictureBox::LostFocus, this, &frmMain::picSendButton_LostFocus);
  connect(m_toolbar1, &QToolBar::actionTriggered, this, &frmMain::Toolbar1_ButtonClick);
}
