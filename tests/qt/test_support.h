// What the Qt front-end tests share: a fixture that builds the real main
// window, phones on loopback, a real clipboard owner and a rival key grabber.
#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QProcess>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "platform/qt/qt_desktop.h"

namespace quorvant::testing_qt {

// Runs the event loop until `condition` holds or `milliseconds` have passed.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 5000);

// Runs a command line tool to its end; its standard output.
QString RunTool(const QString& program, const QStringList& arguments);

// A QtDesktop installed as the program's desktop, with the shared state reset.
// Build() makes the main window; TearDown closes it and waits until it is gone.
class QtDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void Build();
  void CloseWindow();

  QLabel* LabelOf(Label label) const { return desktop_->Window()->LabelOf(label); }
  QString Caption(Label label) const { return LabelOf(label)->text(); }

  std::unique_ptr<QtDesktop> desktop_;
};

class BuiltWindowTest : public QtDesktopTest {
 protected:
  void SetUp() override {
    QtDesktopTest::SetUp();
    Build();
  }
};

// A phone on loopback that connects to port 19730 from `source`.
class TestPhone {
 public:
  explicit TestPhone(const char* source);
  ~TestPhone();
  TestPhone(const TestPhone&) = delete;
  TestPhone& operator=(const TestPhone&) = delete;

  bool Connected() const { return fd_ >= 0; }
  // Everything that arrives until nothing came for `quietMilliseconds`.
  std::string Receive(int quietMilliseconds);
  // True once the desktop has closed the connection.
  bool ClosedByDesktop(int milliseconds);
  void Close();

 private:
  int fd_ = -1;
};

// Owns the X clipboard with `utf8` (xclip in the background) until destroyed.
class ClipboardOwner {
 public:
  explicit ClipboardOwner(const std::string& utf8);
  ~ClipboardOwner();
  ClipboardOwner(const ClipboardOwner&) = delete;
  ClipboardOwner& operator=(const ClipboardOwner&) = delete;

  // True once another client reads the text back.
  bool Ready() const { return ready_; }

 private:
  QProcess xclip_;
  bool ready_ = false;
};

// Another X client holding Ctrl+F11 (all lock combinations, or only the last
// one) until destroyed.
class RivalKeyGrab {
 public:
  explicit RivalKeyGrab(const char* which);
  ~RivalKeyGrab();
  RivalKeyGrab(const RivalKeyGrab&) = delete;
  RivalKeyGrab& operator=(const RivalKeyGrab&) = delete;

  bool Held() const { return held_; }

 private:
  QProcess grabber_;
  bool held_ = false;
};

// True when another client could grab every combination of Ctrl+F11 now.
bool DialKeyFree();

}  // namespace quorvant::testing_qt
