// Ctrl+F11 through a real key grab on the X root window: pressed with
// xdotool, held by a rival client, given back with the window.
#include <QLineEdit>
#include <QTest>

#include "app/shared_state.h"
#include "dial/dial_command.h"
#include "test_support.h"

namespace quorvant {
namespace {

using testing_qt::ClipboardOwner;
using testing_qt::DialKeyFree;
using testing_qt::QtDesktopTest;
using testing_qt::RivalKeyGrab;
using testing_qt::RunTool;
using testing_qt::WaitFor;

using HotkeyTest = QtDesktopTest;

void PressKeys(const char* keys) { RunTool("xdotool", {"key", keys}); }

// Num Lock on for the life of the object.
struct NumLockOn {
  NumLockOn() { PressKeys("Num_Lock"); }
  ~NumLockOn() { PressKeys("Num_Lock"); }
};

TEST_F(HotkeyTest, RegistrationGrabsEveryLockCombinationAndTheWindowGivesItBack) {
  ASSERT_TRUE(DialKeyFree());
  Build();
  EXPECT_EQ(DialHotkeyId, FIRST_HOTKEY_ID);
  EXPECT_FALSE(DialKeyFree());
  CloseWindow();
  EXPECT_TRUE(DialKeyFree());
}

TEST_F(HotkeyTest, EachPressPastesTheClipboardWithOrWithoutNumLock) {
  Build();
  QLineEdit* box = desktop_->Window()->NumberBox();
  {
    ClipboardOwner clipboard("\xe5\xbc\xa0\xe4\xb8\x89 13900000001");  // 张三 13900000001
    ASSERT_TRUE(clipboard.Ready());
    PressKeys("ctrl+F11");
    EXPECT_TRUE(WaitFor([box] { return box->text() == QString::fromUtf8("张三 13900000001"); }));
  }
  {
    ClipboardOwner clipboard("13900000002");
    ASSERT_TRUE(clipboard.Ready());
    NumLockOn numLock;
    PressKeys("ctrl+F11");
    EXPECT_TRUE(WaitFor([box] { return box->text() == "13900000002"; }));
  }
  // F11 without Ctrl is not the dial key.
  ClipboardOwner clipboard("13900000003");
  ASSERT_TRUE(clipboard.Ready());
  PressKeys("F11");
  QTest::qWait(300);
  EXPECT_EQ(box->text(), "13900000002");
}

TEST_F(HotkeyTest, ARivalGrabMakesRegistrationFailWithoutPartialGrabs) {
  {
    // The rival holds only the last combination the program asks for, so the
    // ones before it are granted first and must be given back.
    RivalKeyGrab rival("last");
    ASSERT_TRUE(rival.Held());
    Build();
    EXPECT_EQ(DialHotkeyId, 0);
  }
  EXPECT_TRUE(DialKeyFree());

  // The window works as usual; the key does nothing in it.
  ClipboardOwner clipboard("13900000004");
  ASSERT_TRUE(clipboard.Ready());
  PressKeys("ctrl+F11");
  QTest::qWait(300);
  EXPECT_EQ(desktop_->Window()->NumberBox()->text(), "13800138000");
}

TEST_F(HotkeyTest, ARivalHoldingEveryCombinationAlsoRefusesIt) {
  RivalKeyGrab rival("all");
  ASSERT_TRUE(rival.Held());
  Build();
  EXPECT_EQ(DialHotkeyId, 0);
}

}  // namespace
}  // namespace quorvant
