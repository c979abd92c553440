// The real main window: its units where the description puts them, its
// captions, and the unit operations with CP936 texts.
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "app/shared_state.h"
#include "test_support.h"
#include "ui/window_description.h"

namespace quorvant {
namespace {

namespace description = window_description;
using testing_qt::BuiltWindowTest;
using testing_qt::WaitFor;

using MainWindowTest = BuiltWindowTest;

QRect RectOf(const description::Placement& p) { return QRect(p.left, p.top, p.width, p.height); }

// True when some pixel of the widget as drawn now is close to `colour`.
bool DrawsColour(QWidget* widget, const QColor& colour) {
  const QImage image = widget->grab().toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (std::abs(pixel.red() - colour.red()) < 40 &&
          std::abs(pixel.green() - colour.green()) < 40 &&
          std::abs(pixel.blue() - colour.blue()) < 40) {
        return true;
      }
    }
  }
  return false;
}

TEST_F(MainWindowTest, UnitsStandWhereTheDescriptionPutsThem) {
  const struct {
    const char* name;
    description::Placement placement;
  } units[] = {
      {"安全计时", description::安全计时}, {"客户进入", description::客户进入},
      {"编辑框1", description::编辑框1},   {"拨号", description::拨号},
      {"标签1", description::标签1},
  };
  MainWindow* window = desktop_->Window();
  for (const auto& unit : units) {
    const auto* widget = window->findChild<QWidget*>(QString::fromUtf8(unit.name));
    ASSERT_NE(widget, nullptr) << unit.name;
    EXPECT_EQ(widget->geometry(), RectOf(unit.placement)) << unit.name;
    EXPECT_TRUE(widget->isVisible()) << unit.name;
    EXPECT_EQ(widget->accessibleName(), QString::fromUtf8(unit.name));
  }
}

TEST_F(MainWindowTest, WindowIsFixedSizeCentredAndCannotBeMaximized) {
  MainWindow* window = desktop_->Window();
  EXPECT_EQ(window->windowTitle(), "Quorvant");
  const QSize client(description::CLIENT_WIDTH, description::CLIENT_HEIGHT);
  EXPECT_EQ(window->size(), client);
  EXPECT_EQ(window->minimumSize(), client);
  EXPECT_EQ(window->maximumSize(), client);

  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

  // No window manager runs here, so the frame is the client area itself.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  ASSERT_EQ(screen.size(), QSize(1920, 1080));
  EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(836, 464));
}

TEST_F(MainWindowTest, ShowsItsFirstCaptionsAndTheLocalAddress) {
  ASSERT_FALSE(LocalAddress.empty());
  EXPECT_EQ(Caption(Label::标签1), "手机输入IP:" + QString::fromStdString(LocalAddress));
  EXPECT_EQ(Caption(Label::客户进入), "与手机连接状态");
  EXPECT_EQ(Caption(Label::安全计时), "安全");
  QLineEdit* box = desktop_->Window()->NumberBox();
  EXPECT_EQ(box->text(), "13800138000");
  EXPECT_EQ(box->cursorPosition(), 0);
  EXPECT_EQ(desktop_->Window()->DialButton()->text(), "拨号");
}

TEST_F(MainWindowTest, OnlyTheBoxAndTheButtonTakeTheFocusInThatOrder) {
  MainWindow* window = desktop_->Window();
  QPushButton* button = window->DialButton();
  EXPECT_FALSE(button->isDefault());
  EXPECT_FALSE(button->autoDefault());
  for (const Label label : {Label::安全计时, Label::客户进入, Label::标签1}) {
    EXPECT_EQ(LabelOf(label)->focusPolicy(), Qt::NoFocus);
  }
  QWidget* next = window->NumberBox()->nextInFocusChain();
  while (next != nullptr && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  EXPECT_EQ(next, button);
}

TEST_F(MainWindowTest, LabelsShowCaptionsLiterallyOnOneLineOverTheFaceColour) {
  QLabel* label = LabelOf(Label::客户进入);
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  EXPECT_FALSE(label->wordWrap());
  EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
  EXPECT_TRUE(label->autoFillBackground());
  EXPECT_EQ(label->palette().color(QPalette::Window),
            desktop_->Window()->palette().color(QPalette::Window));

  desktop_->SetCaption(Label::客户进入, "<b>A&B</b>");
  EXPECT_EQ(label->text(), "<b>A&B</b>");
}

TEST_F(MainWindowTest, CaptionsCrossTheDesktopAsCp936) {
  const struct {
    Text cp936;
    QString shown;
  } captions[] = {
      {"\xd5\xc5\xc8\xfd 13800138000", QString::fromUtf8("张三 13800138000")},
      {"\xca\xd6\xbb\xfa\xd2\xd1\xb6\xcf\xbf\xaa", QString::fromUtf8("手机已断开")},
      {"", ""},
  };
  for (const auto& caption : captions) {
    desktop_->SetCaption(Label::标签1, caption.cp936);
    EXPECT_EQ(Caption(Label::标签1), caption.shown);
  }
}

TEST_F(MainWindowTest, ALongCaptionIsCutOffAndTheLabelKeepsItsSize) {
  QLabel* label = LabelOf(Label::客户进入);
  const QRect before = label->geometry();
  const Text longCaption = "\xca\xd6\xbb\xfa\xd2\xd1\xc1\xac\xbd\xd3 " + std::string(200, '8');
  desktop_->SetCaption(Label::客户进入, longCaption);
  QTest::qWait(50);
  EXPECT_EQ(label->geometry(), before);
  EXPECT_EQ(label->text().size(), 6 + 200);
  // One line: the text is far wider than the label and still not wrapped.
  EXPECT_GT(label->fontMetrics().horizontalAdvance(label->text()), label->width());
  EXPECT_FALSE(label->wordWrap());
}

TEST_F(MainWindowTest, TextColourFollowsTheBgrLayoutAndSurvivesANewCaption) {
  QLabel* label = LabelOf(Label::客户进入);
  const struct {
    Colour colour;
    QColor expected;
  } colours[] = {
      {0x000000FF, QColor(255, 0, 0)},
      {0x00FF0000, QColor(0, 0, 255)},
      {COLOUR_GREY, QColor(128, 128, 128)},
      {COLOUR_BLACK, QColor(0, 0, 0)},
  };
  for (const auto& c : colours) {
    desktop_->SetTextColour(Label::客户进入, c.colour);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), c.expected);
  }

  desktop_->SetTextColour(Label::客户进入, 0x000000FF);
  desktop_->SetCaption(Label::客户进入, "WWWWWWWW");
  EXPECT_TRUE(DrawsColour(label, QColor(255, 0, 0)));

  desktop_->SetTextColour(Label::客户进入, COLOUR_GREY);
  desktop_->SetCaption(Label::客户进入, "\xca\xd6\xbb\xfa");
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(128, 128, 128));
  EXPECT_EQ(Caption(Label::客户进入), "手机");
  EXPECT_FALSE(DrawsColour(label, QColor(255, 0, 0)));
}

TEST_F(MainWindowTest, TheNumberBoxReadsAndWritesCp936) {
  QLineEdit* box = desktop_->Window()->NumberBox();
  desktop_->SetEditText("\xd5\xc5\xc8\xfd 13800138000");
  EXPECT_EQ(box->text(), QString::fromUtf8("张三 13800138000"));
  EXPECT_EQ(box->cursorPosition(), 0);
  EXPECT_EQ(desktop_->GetEditText(), "\xd5\xc5\xc8\xfd 13800138000");

  // Line breaks and all: the box gives back what it was given.
  desktop_->SetEditText("138\r\n001\t&");
  EXPECT_EQ(desktop_->GetEditText(), "138\r\n001\t&");

  desktop_->SetEditText("");
  EXPECT_EQ(box->text(), "");
  EXPECT_EQ(desktop_->GetEditText(), "");

  // What the user types is what the box then holds; an emoji has no CP936 form.
  QTest::keyClicks(box, "139");
  EXPECT_EQ(desktop_->GetEditText(), "139");
  box->setText(QString::fromUtf8("张😀1"));
  EXPECT_EQ(desktop_->GetEditText(), "\xd5\xc5?1");
}

TEST_F(MainWindowTest, ClosingTheWindowClosesThePortAndGivesTheKeyBack) {
  testing_qt::TestPhone phone("127.0.0.2");
  ASSERT_TRUE(phone.Connected());
  ASSERT_TRUE(WaitFor([] { return PhoneList.size() == 1; }));
  EXPECT_FALSE(testing_qt::DialKeyFree());

  CloseWindow();
  EXPECT_TRUE(phone.ClosedByDesktop(2000));
  testing_qt::TestPhone late("127.0.0.3");
  EXPECT_FALSE(late.Connected());
  EXPECT_TRUE(testing_qt::DialKeyFree());
}

}  // namespace
}  // namespace quorvant
