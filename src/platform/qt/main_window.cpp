#include "platform/qt/main_window.h"

#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>

#include "app/texts.h"
#include "dial/dial_command.h"
#include "dial/guard_tick.h"
#include "platform/qt/qt_text.h"
#include "ui/units.h"
#include "ui/window_description.h"

namespace quorvant {

namespace description = window_description;

namespace {

void Place(QWidget* unit, const description::Placement& placement, const char* name) {
  unit->setGeometry(placement.left, placement.top, placement.width, placement.height);
  unit->setObjectName(QString::fromUtf8(name));
  unit->setAccessibleName(QString::fromUtf8(name));
}

QLabel* MakeLabel(QWidget* window, const description::Placement& placement, const char* name,
                  const Text& caption) {
  auto* label = new QLabel(window);
  Place(label, placement, name);
  // Shown as written: '&' is a character, HTML is text.
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setWordWrap(false);
  // The face colour over the whole label, so it reads as part of the window.
  label->setBackgroundRole(QPalette::Window);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  label->setText(ToQString(caption));
  return label;
}

QLineEdit* MakeNumberBox(QWidget* window) {
  auto* box = new QLineEdit(window);
  Place(box, description::编辑框1, "编辑框1");
  box->setFrame(true);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  box->setPalette(palette);
  box->setText(ToQString(INITIAL_编辑框1));
  box->setCursorPosition(0);
  return box;
}

QPushButton* MakeDialButton(QWidget* window) {
  auto* button = new QPushButton(ToQString(CAPTION_拨号), window);
  Place(button, description::拨号, "拨号");
  button->setAutoDefault(false);
  button->setDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [] { DialCommand(); });
  return button;
}

void StartClock(QWidget* window) {
  auto* clock = new QTimer(window);
  clock->setObjectName(QStringLiteral("时钟1"));
  clock->setInterval(description::时钟1_PERIOD_MILLISECONDS);
  QObject::connect(clock, &QTimer::timeout, window, [] { GuardTick(); });
  clock->start();
}

}  // namespace

MainWindow::MainWindow(SocketEvents& socketEvents)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromUtf8(description::TITLE));
  setWindowIcon(QIcon(QStringLiteral(":/quorvant.ico")));
  // Fixed size hints: the window manager draws its frame around the client
  // area and offers no way to resize it.
  setFixedSize(description::CLIENT_WIDTH, description::CLIENT_HEIGHT);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect full = screen->geometry();
    // For a top-level window the position is that of its frame.
    move(full.left() + description::CentredLeft(full.width()),
         full.top() + description::CentredTop(full.height()));
  }

  // In the order of the window description, which is also the stacking order.
  安全计时_ = MakeLabel(this, description::安全计时, "安全计时", INITIAL_安全计时);
  StartClock(this);
  客户进入_ = MakeLabel(this, description::客户进入, "客户进入", INITIAL_客户进入);
  编辑框1_ = MakeNumberBox(this);
  拨号_ = MakeDialButton(this);
  标签1_ = MakeLabel(this, description::标签1, "标签1", INITIAL_标签1);
  setTabOrder(编辑框1_, 拨号_);
  CreateServerUnit(socketEvents);
  goneFilter_ = std::make_unique<WindowGoneFilter>(this);
}

MainWindow::~MainWindow() { DestroyServerUnit(); }

QLabel* MainWindow::LabelOf(Label label) const {
  switch (label) {
    case Label::安全计时:
      return 安全计时_;
    case Label::客户进入:
      return 客户进入_;
    case Label::标签1:
      return 标签1_;
  }
  return 标签1_;
}

}  // namespace quorvant
