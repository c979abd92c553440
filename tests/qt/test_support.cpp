#include "test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTest>

#include "app/shared_state.h"
#include "link/phone_server.h"

namespace quorvant::testing_qt {

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
  return QTest::qWaitFor(condition, milliseconds);
}

QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(10000)) {
    process.kill();
    process.waitForFinished();
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

void QtDesktopTest::SetUp() {
  ResetSharedState();
  desktop_ = std::make_unique<QtDesktop>();
  InstallDesktop(desktop_.get());
}

void QtDesktopTest::TearDown() {
  CloseWindow();
  InstallDesktop(nullptr);
  desktop_.reset();
  ResetSharedState();
}

void QtDesktopTest::Build() {
  ASSERT_TRUE(desktop_->BuildMainWindow());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(desktop_->Window()));
}

void QtDesktopTest::CloseWindow() {
  if (desktop_ == nullptr || desktop_->Window() == nullptr) return;
  desktop_->Window()->close();
  EXPECT_TRUE(WaitFor([this] { return desktop_->Window() == nullptr; }));
}

TestPhone::TestPhone(const char* source) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  ::inet_pton(AF_INET, source, &local.sin_addr);
  sockaddr_in desktop{};
  desktop.sin_family = AF_INET;
  desktop.sin_port = htons(PHONE_PORT);
  desktop.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      ::connect(fd, reinterpret_cast<sockaddr*>(&desktop), sizeof desktop) != 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
}

TestPhone::~TestPhone() { Close(); }

std::string TestPhone::Receive(int quietMilliseconds) {
  std::string received;
  while (fd_ >= 0) {
    // The desktop answers only while its event loop runs.
    QTest::qWait(10);
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, 0) == 0) {
      if ((quietMilliseconds -= 10) <= 0) break;
      continue;
    }
    char buffer[256];
    const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    received.append(buffer, static_cast<std::size_t>(got));
  }
  return received;
}

bool TestPhone::ClosedByDesktop(int milliseconds) {
  return WaitFor(
      [this] {
        pollfd entry{fd_, POLLIN, 0};
        if (fd_ < 0 || ::poll(&entry, 1, 0) == 0) return false;
        char buffer[256];
        return ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT) <= 0;
      },
      milliseconds);
}

void TestPhone::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

ClipboardOwner::ClipboardOwner(const std::string& utf8) {
  xclip_.start(QStringLiteral("xclip"), {"-selection", "clipboard", "-quiet"});
  if (!xclip_.waitForStarted()) return;
  xclip_.write(utf8.data(), static_cast<qint64>(utf8.size()));
  xclip_.closeWriteChannel();
  // X keeps no clipboard contents: the text is there only once xclip owns the
  // selection and answers for it.
  const QString expected = QString::fromStdString(utf8);
  ready_ = WaitFor([&expected] {
    return RunTool("xclip", {"-selection", "clipboard", "-o"}) == expected;
  });
}

ClipboardOwner::~ClipboardOwner() {
  xclip_.kill();
  xclip_.waitForFinished();
}

RivalKeyGrab::RivalKeyGrab(const char* which) {
  grabber_.start(QStringLiteral(QUORVANT_KEY_GRABBER), {"hold", which});
  held_ = grabber_.waitForReadyRead(5000) && grabber_.readLine().trimmed() == "held";
}

RivalKeyGrab::~RivalKeyGrab() {
  grabber_.closeWriteChannel();
  if (!grabber_.waitForFinished(5000)) grabber_.kill();
}

bool DialKeyFree() {
  return RunTool(QStringLiteral(QUORVANT_KEY_GRABBER), {"probe"}).trimmed() == "free";
}

}  // namespace quorvant::testing_qt
