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

#include "Fonts.h"
#include "PictureBox.h"
#include "Pictures.h"
#include "Twips.h"
#include "VarDefine.h"
#include "frmMain.h"

namespace {

// Swallows the tooltip events of the widget it watches.
class NoToolTip final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::ToolTip; }
};

constexpr int kClientWidth = 7395;
constexpr int kClientHeight = 5310;
constexpr int kDatePanelWidth = 3528;
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
  auto* button = new QPushButton(QStringLiteral("..."), parent);
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
  QLabel* heading = AddLabel(this, "Label2", QStringLiteral("▣ 데이터 송수신"), Fonts::Gulim(12, true, true),
                             Twips::Rect(195, 675, 1980, 240));
  SetColour(heading, QPalette::WindowText, Qt::blue);
  AddLabel(this, "Label1_2", QStringLiteral("마스터 파일이 있는 디렉토리"), Fonts::Gulim(9.75),
           Twips::Rect(705, 1065, 2595, 195));
  AddLabel(this, "Label1_0", QStringLiteral("데이터 파일이 저장될 디렉토리"), Fonts::Gulim(9.75),
           Twips::Rect(705, 1920, 2715, 195));
  QLabel* line = AddLabel(this, "Label3", QStringLiteral("Kelvane 재고관리 시스템   ☎ 서비스 문의 02-000-0000"),
                          Fonts::Gulim(11.25), Twips::Rect(120, 4680, 6375, 375));
  line->setAutoFillBackground(true);
  SetColour(line, QPalette::Window, Qt::white);
  line->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void frmMain::BuildDirectoryRows() {
  m_txtSendDir = AddDirBox(this, "txtSendDir", Twips::Rect(690, 1305, 5490, 360));
  m_cmdSendDirSet = AddDirButton(this, "cmdSendDirSet", Twips::Rect(6180, 1290, 570, 345));
  m_txtRecvDir = AddDirBox(this, "txtRecvDir", Twips::Rect(690, 2160, 5475, 360));
  m_cmdRecvDirSet = AddDirButton(this, "cmdRecvDirSet", Twips::Rect(6165, 2145, 570, 345));

  // The option is not stored: it starts unchecked every time.
  m_chkFileMode = new QCheckBox(QStringLiteral("Append Mode Save"), this);
  m_chkFileMode->setObjectName(QStringLiteral("ChkFileMode"));
  m_chkFileMode->setGeometry(Twips::Rect(720, 2640, 2295, 375));
}

void frmMain::BuildPictures() {
  // The outline first, so that the transfer button lies above it.
  m_shape1 = new QFrame(this);
  m_shape1->setObjectName(QStringLiteral("Shape1"));
  m_shape1->setFrameShape(QFrame::Box);
  m_shape1->setLineWidth(1);
  m_shape1->setGeometry(Twips::Rect(1590, 3465, 930, 960));
  m_shape1->hide();

  m_picSendButton = new PictureBox(Pictures::Computers(), this);
  m_picSendButton->setObjectName(QStringLiteral("picSendButton"));
  m_picSendButton->setGeometry(Twips::Rect(1680, 3600, 765, 720));
  m_picSendButton->setToolTip(QStringLiteral("송수신 시작"));
  m_picSendButton->setCursor(Qt::PointingHandCursor);
  m_picSendButton->setFocusPolicy(Qt::StrongFocus);

  auto* arrow = new PictureBox(Pictures::TwoWayArrow(), this);
  arrow->setObjectName(QStringLiteral("Picture6"));
  arrow->setGeometry(Twips::Rect(2655, 3840, 2445, 285));

  auto* terminal = new PictureBox(Pictures::Terminal(), this);
  terminal->setObjectName(QStringLiteral("picDisp"));
  terminal->setGeometry(Twips::Rect(5280, 3480, 525, 1080));
}

void frmMain::BuildToolbar() {
  m_toolbar1 = new QToolBar(this);
  m_toolbar1->setObjectName(QStringLiteral("Toolbar1"));
  m_toolbar1->setGeometry(0, 0, Twips::ToPixels(kClientWidth), Twips::ToPixels(555));
  m_toolbar1->setIconSize(QSize(22, 22));
  m_toolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  m_toolbar1->setMovable(false);
  m_toolbar1->setFloatable(false);
  // The bars keep the system's colours on the white window.
  m_toolbar1->setPalette(QApplication::palette());
  m_toolbar1->setAutoFillBackground(true);

  QAction* exitButton =
      m_toolbar1->addAction(QIcon(Pictures::Tool(Pictures::ToolIcon::OpenDoor)), QStringLiteral("종료"));
  exitButton->setObjectName(QStringLiteral("Exit"));
  exitButton->setData(QStringLiteral("Exit"));
  exitButton->setToolTip(QStringLiteral("Exit Tarnwick"));
  QAction* settingButton =
      m_toolbar1->addAction(QIcon(Pictures::Tool(Pictures::ToolIcon::PhoneGreen)), QStringLiteral("설정"));
  settingButton->setObjectName(QStringLiteral("Setting"));
  settingButton->setData(QStringLiteral("Setting"));
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
  m_sbrStatus->setGeometry(0, Twips::ToPixels(4965), Twips::ToPixels(kClientWidth), Twips::ToPixels(345));

  m_panelState = new QLabel(QStringLiteral("통신설정 : "), m_sbrStatus);
  m_panelState->setObjectName(QStringLiteral("STATE"));
  m_panelState->setToolTip(QStringLiteral("통신설정 상태"));
  m_panelState->setFont(Fonts::Arial(9));
  m_panelState->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // The state panel takes what the date panel leaves: at its nominal width
  // it would push the date out of the window.
  m_sbrStatus->addWidget(m_panelState, 1);

  m_panelDate = new QLabel(m_sbrStatus);
  m_panelDate->setObjectName(QStringLiteral("SYSDATE"));
  m_panelDate->setToolTip(QStringLiteral("날짜"));
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
  connect(m_picSendButton, &PictureBox::Click, this, &frmMain::picSendButton_Click);
  connect(m_picSendButton, &PictureBox::KeyPress, this, &frmMain::picSendButton_KeyPress);
  connect(m_picSendButton, &PictureBox::GotFocus, this, &frmMain::picSendButton_GotFocus);
  connect(m_picSendButton, &PictureBox::LostFocus, this, &frmMain::picSendButton_LostFocus);
  connect(m_toolbar1, &QToolBar::actionTriggered, this, &frmMain::Toolbar1_ButtonClick);
}
