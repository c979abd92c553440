// Start-up, shutdown and the fatal stop, with a fake desktop.
#include "app/program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/shared_state.h"
#include "dial/clock.h"
#include "fake_desktop.h"
#include "manual_clock.h"
#include "ui/on_window_built.h"

namespace quorvant {
namespace {

using test::FakeDesktop;
using test::ManualClock;

// -1 as the platform reports it: 255 from a POSIX exit status.
#ifdef _WIN32
constexpr int FATAL_EXIT_CODE = -1;
#else
constexpr int FATAL_EXIT_CODE = 255;
#endif
// The end of the child's error output: nothing may follow the error box.
#define NOTHING_AFTER "\r?\n?$"

class RunProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSharedState(); }
  void TearDown() override { ResetSharedState(); }

  ManualClock clock{{2026, 3, 15, 12, 30, 45}};
  FakeDesktop desktop;
  test::ScopedDesktop installed{desktop};
};

TEST_F(RunProgramTest, StartsWithAnEmptyListAndCleansUpAfterTheLoop) {
  PhoneList = {"left over"};
  std::size_t listSizeWhenBuilding = 99;
  Text addressDuringLoop;
  desktop.onBuildMainWindow = [&] {
    listSizeWhenBuilding = PhoneList.size();
    OnWindowBuilt();
    return true;
  };
  desktop.onRunMessageLoop = [&] {
    // Three phones are listed when the window closes.
    PhoneList = {"127.0.0.2:1000", "127.0.0.3:2000", "127.0.0.4:3000"};
    LocalAddress = "192.0.2.10";
    addressDuringLoop = LocalAddress;
  };

  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(desktop.calls.front(), "BuildMainWindow");
  EXPECT_EQ(desktop.calls.back(), "RunMessageLoop");
  EXPECT_EQ(listSizeWhenBuilding, 0u);
  EXPECT_EQ(addressDuringLoop, "192.0.2.10");
  // The clean-up released the list and the address, and left the rest.
  EXPECT_TRUE(PhoneList.empty());
  EXPECT_TRUE(LocalAddress.empty());
  EXPECT_EQ(DialHotkeyId, 33001);
  EXPECT_EQ(ElapsedSeconds(CurrentTime(), LastDialTime), 120);
  EXPECT_TRUE(desktop.fatalMessages.empty());
}

TEST_F(RunProgramTest, ExitCleanupReleasesOnlyTheListAndTheAddress) {
  PhoneList = {"127.0.0.2:1000", "127.0.0.3:2000"};
  LocalAddress = "192.0.2.10";
  DialHotkeyId = 33001;
  LastDialTime = 46096.5;
  ExitCleanup();
  EXPECT_TRUE(PhoneList.empty());
  EXPECT_TRUE(LocalAddress.empty());
  EXPECT_EQ(DialHotkeyId, 33001);
  EXPECT_EQ(LastDialTime, 46096.5);
}

// Printed if the process ended through the normal exit path, which a fatal
// stop must not take.
void ReportNormalExit() { std::fputs("normal exit ran\n", stderr); }

TEST(FatalStopDeathTest, ShowsTheMessageAndExitsWithMinusOne) {
  EXPECT_EXIT(
      {
        static FakeDesktop desktop;
        InstallDesktop(&desktop);
        PhoneList = {"127.0.0.2:1000"};
        std::atexit(ReportNormalExit);
        FatalStop("the test asked for it.");
      },
      ::testing::ExitedWithCode(FATAL_EXIT_CODE),
      "Quorvant has to stop: the test asked for it\\.\r?\n"
      "\\[fake desktop\\] error box: Quorvant has to stop: the test asked for it\\." NOTHING_AFTER);
}

TEST(FatalStopDeathTest, WithoutADesktopWritesToStandardError) {
  EXPECT_EXIT(
      {
        InstallDesktop(nullptr);
        FatalStop("too early.");
      },
      ::testing::ExitedWithCode(FATAL_EXIT_CODE),
      "^Quorvant has to stop: too early\\." NOTHING_AFTER);
}

TEST(FatalStopDeathTest, AWindowThatCannotBeBuiltStopsBeforeTheLoop) {
  EXPECT_EXIT(
      {
        static FakeDesktop desktop;
        desktop.onBuildMainWindow = [] { return false; };
        desktop.onRunMessageLoop = [] { std::fputs("message loop ran\n", stderr); };
        InstallDesktop(&desktop);
        std::atexit(ReportNormalExit);
        RunProgram();
      },
      ::testing::ExitedWithCode(FATAL_EXIT_CODE),
      "error box: Quorvant has to stop: the main window could not be created\\." NOTHING_AFTER);
}

}  // namespace
}  // namespace quorvant
