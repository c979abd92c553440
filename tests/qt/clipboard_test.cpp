// The clipboard as another X client (xclip) holds it, read as CP936.
#include "test_support.h"

namespace quorvant {
namespace {

using testing_qt::BuiltWindowTest;
using testing_qt::ClipboardOwner;

using ClipboardTest = BuiltWindowTest;

TEST_F(ClipboardTest, ReadsTheOwnersTextAsCp936) {
  const struct {
    const char* utf8;
    Text cp936;
  } texts[] = {
      {"13800138000", "13800138000"},
      {"张三 13800138000", "\xd5\xc5\xc8\xfd 13800138000"},
      {"a😀1", "a?1"},
      {"138\n001", "138\n001"},
  };
  for (const auto& t : texts) {
    ClipboardOwner owner(t.utf8);
    ASSERT_TRUE(owner.Ready()) << t.utf8;
    EXPECT_EQ(desktop_->ClipboardText(), t.cp936) << t.utf8;
  }
}

TEST_F(ClipboardTest, IsEmptyOnceItsOwnerHasGone) {
  { ClipboardOwner owner("13800138000"); }
  EXPECT_EQ(desktop_->ClipboardText(), "");
}

}  // namespace
}  // namespace quorvant
