// Linked with the program's own operator new: memory that cannot be had ends
// the process with -1 and a message that names the size asked for.
#include <gtest/gtest.h>

#include <cstddef>
#include <new>

#include "app/program.h"
#include "fake_desktop.h"
#include "platform/desktop.h"

namespace quorvant {
namespace {

#ifdef _WIN32
constexpr int FATAL_EXIT_CODE = -1;
#else
constexpr int FATAL_EXIT_CODE = 255;
#endif

// 2^62 + 12345 bytes: no allocator can give that. Volatile, so that the
// compiler neither sees the size nor drops the request.
volatile std::size_t hugeSize = (std::size_t{1} << 62) + 12345;
void* volatile kept = nullptr;

TEST(OutOfMemoryDeathTest, StopsAndNamesTheBytesRequested) {
  EXPECT_EXIT(
      {
        static test::FakeDesktop desktop;
        InstallDesktop(&desktop);
        kept = ::operator new(hugeSize);
      },
      ::testing::ExitedWithCode(FATAL_EXIT_CODE),
      "error box: Quorvant has to stop: out of memory \\(4611686018427400249 bytes");
}

TEST(OutOfMemoryDeathTest, AnArrayStopsToo) {
  EXPECT_EXIT(
      {
        InstallDesktop(nullptr);
        kept = new char[hugeSize];
      },
      ::testing::ExitedWithCode(FATAL_EXIT_CODE),
      "Quorvant has to stop: out of memory \\(4611686018427400249 bytes");
}

TEST(OutOfMemoryTest, OrdinaryAllocationsStillWork) {
  // Allocated and released through the replacement, checked by the
  // sanitizer build for a mismatched release.
  auto* numbers = new int[1000]();
  numbers[999] = 7;
  EXPECT_EQ(numbers[999] + numbers[0], 7);
  delete[] numbers;
  auto* one = new std::string(100, 'x');
  EXPECT_EQ(one->size(), 100u);
  delete one;
}

}  // namespace
}  // namespace quorvant
