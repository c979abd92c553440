// A desktop that shows nothing and keeps nothing, so that what a benchmark
// measures is the program's own work.
#pragma once

#include "platform/desktop.h"

namespace quorvant::bench {

class QuietDesktop : public Desktop {
 public:
  bool BuildMainWindow() override { return true; }
  void RunMessageLoop() override {}
  void SetCaption(Label, const Text&) override {}
  void SetTextColour(Label, Colour) override {}
  void SetEditText(const Text& text) override { edit_ = text; }
  Text GetEditText() override { return edit_; }
  Text ClipboardText() override { return Text(); }
  bool RegisterDialHotkey(std::int32_t) override { return true; }
  void ShowFatalError(const std::string&) override {}

 private:
  Text edit_;
};

}  // namespace quorvant::bench
