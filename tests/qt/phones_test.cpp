// Real phones on loopback against the real window: the status label as they
// come and go, and the countdown after a dial.
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/shared_state.h"
#include "test_support.h"

namespace quorvant {
namespace {

using testing_qt::BuiltWindowTest;
using testing_qt::ClipboardOwner;
using testing_qt::TestPhone;
using testing_qt::WaitFor;

using PhonesTest = BuiltWindowTest;

QString Connected(int count) { return QString::fromUtf8("手机已连接！连接数：%1个").arg(count); }
QString Disconnected(int count) { return QString::fromUtf8("手机已断开！连接数：%1个").arg(count); }

class StatusLabel {
 public:
  explicit StatusLabel(QLabel* label) : label_(label) {}
  // Waits until the label reads `caption`; true when it did.
  bool Shows(const QString& caption) const {
    return WaitFor([&] { return label_->text() == caption; });
  }
  QColor Colour() const { return label_->palette().color(QPalette::WindowText); }

 private:
  QLabel* label_;
};

TEST_F(PhonesTest, StatusFollowsPhonesThatComeReconnectAndLeave) {
  const StatusLabel status(LabelOf(Label::客户进入));
  const QColor black(0, 0, 0);
  const QColor grey(128, 128, 128);

  auto first = std::make_unique<TestPhone>("127.0.0.2");
  ASSERT_TRUE(first->Connected());
  ASSERT_TRUE(status.Shows(Connected(1)));
  EXPECT_EQ(status.Colour(), black);

  TestPhone second("127.0.0.55");
  ASSERT_TRUE(status.Shows(Connected(2)));
  EXPECT_EQ(status.Colour(), black);
  const PhoneId secondId = PhoneList.back();
  EXPECT_EQ(secondId.rfind("127.0.0.55:", 0), 0u);

  // The first phone comes back from a new port before its old connection
  // ends: its entry is brought up to date in place.
  TestPhone again("127.0.0.2");
  ASSERT_TRUE(WaitFor([&] { return PhoneList.size() == 2 && PhoneList.front() != secondId; }));
  ASSERT_TRUE(status.Shows(Connected(2)));
  EXPECT_EQ(PhoneList.back(), secondId);

  // The old connection's end removes nothing, but the label turns grey.
  first.reset();
  ASSERT_TRUE(status.Shows(Disconnected(2)));
  EXPECT_EQ(status.Colour(), grey);

  second.Close();
  ASSERT_TRUE(status.Shows(Disconnected(1)));
  EXPECT_EQ(status.Colour(), grey);
  again.Close();
  ASSERT_TRUE(status.Shows(Disconnected(0)));
  EXPECT_TRUE(PhoneList.empty());
}

TEST_F(PhonesTest, AClickDialsTheLastPhoneAndTheCountdownRunsToSafe) {
  TestPhone phone("127.0.0.2");
  ASSERT_TRUE(WaitFor([] { return PhoneList.size() == 1; }));
  ClipboardOwner clipboard("13800138000");
  ASSERT_TRUE(clipboard.Ready());

  QTest::mouseClick(desktop_->Window()->DialButton(), Qt::LeftButton);
  EXPECT_EQ(phone.Receive(300), "13800138000");

  // The next tick or two shows the wait: 10, or 9 when the second has turned.
  QLabel* countdown = LabelOf(Label::安全计时);
  ASSERT_TRUE(WaitFor(
      [countdown] { return countdown->text() == "等待10秒" || countdown->text() == "等待9秒"; },
      1000));
  // A click during the wait pastes, but sends nothing.
  QTest::mouseClick(desktop_->Window()->DialButton(), Qt::LeftButton);
  EXPECT_EQ(phone.Receive(300), "");
  EXPECT_TRUE(countdown->text().startsWith("等待"));
  EXPECT_TRUE(WaitFor([countdown] { return countdown->text() == "安全"; }, 11500));
}

TEST_F(PhonesTest, WithoutPhonesAClickOnlyPastes) {
  ClipboardOwner clipboard("13800000009");
  ASSERT_TRUE(clipboard.Ready());
  QTest::mouseClick(desktop_->Window()->DialButton(), Qt::LeftButton);
  EXPECT_EQ(desktop_->GetEditText(), "13800000009");
  QTest::qWait(400);
  EXPECT_EQ(Caption(Label::安全计时), "安全");
}

}  // namespace
}  // namespace quorvant
