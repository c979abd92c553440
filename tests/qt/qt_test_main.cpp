// The Qt tests share one QApplication on the sandbox's X display.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  static char name[] = "quorvant_qt_tests";
  static char platformOption[] = "-platform";
  static char platform[] = "xcb";
  static char* arguments[] = {name, platformOption, platform, nullptr};
  static int count = 3;
  QApplication application(count, arguments);
  return RUN_ALL_TESTS();
}
