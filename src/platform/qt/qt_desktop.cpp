#include "platform/qt/qt_desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QMessageBox>

#include "platform/qt/qt_text.h"
#include "ui/on_window_built.h"

namespace quorvant {

namespace {

QColor FromColour(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace

QtDesktop::QtDesktop() {
  // The program ends when its window has been destroyed, not merely hidden.
  QGuiApplication::setQuitOnLastWindowClosed(false);
}

QtDesktop::~QtDesktop() { delete window_.data(); }

bool QtDesktop::BuildMainWindow() {
  if (window_ != nullptr || QGuiApplication::primaryScreen() == nullptr) return false;
  auto* window = new MainWindow(socketEvents_);
  window_ = window;
  QObject::connect(window, &QObject::destroyed, [this] { OnMainWindowDestroyed(); });
  OnWindowBuilt();
  window->show();
  return true;
}

void QtDesktop::RunMessageLoop() {
  if (window_ != nullptr) QApplication::exec();
}

void QtDesktop::OnMainWindowDestroyed() {
  // The key belongs to the window: it goes with it.
  hotkey_.Release();
  QCoreApplication::quit();
}

void QtDesktop::SetCaption(Label label, const Text& caption) {
  if (window_ != nullptr) window_->LabelOf(label)->setText(ToQString(caption));
}

void QtDesktop::SetTextColour(Label label, Colour colour) {
  if (window_ == nullptr) return;
  QLabel* unit = window_->LabelOf(label);
  QPalette palette = unit->palette();
  palette.setColor(QPalette::WindowText, FromColour(colour));
  unit->setPalette(palette);
}

void QtDesktop::SetEditText(const Text& text) {
  if (window_ == nullptr) return;
  QLineEdit* box = window_->NumberBox();
  box->setText(ToQString(text));
  box->setCursorPosition(0);
}

Text QtDesktop::GetEditText() {
  return window_ == nullptr ? Text() : FromQString(window_->NumberBox()->text());
}

Text QtDesktop::ClipboardText() { return FromQString(QGuiApplication::clipboard()->text()); }

bool QtDesktop::RegisterDialHotkey(std::int32_t id) { return hotkey_.Register(id); }

void QtDesktop::ShowFatalError(const std::string& utf8Message) {
  QMessageBox::critical(nullptr, QStringLiteral("Quorvant"), QString::fromStdString(utf8Message));
}

}  // namespace quorvant
