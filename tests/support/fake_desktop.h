// A desktop without a window: remembers what the program showed and asked
// for, and answers with what the test set.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace quorvant::test {

class FakeDesktop : public Desktop {
 public:
  // One write to a label, in the order the program made them.
  struct LabelWrite {
    Label label;
    bool isCaption;  // otherwise a colour
    Text caption;
    Colour colour;
  };

  // The labels start with the captions of the window description, in black.
  FakeDesktop();

  bool BuildMainWindow() override;
  void RunMessageLoop() override;
  void SetCaption(Label label, const Text& caption) override;
  void SetTextColour(Label label, Colour colour) override;
  void SetEditText(const Text& text) override;
  Text GetEditText() override;
  Text ClipboardText() override;
  bool RegisterDialHotkey(std::int32_t id) override;
  // Also written to stderr, so that a death test can see the box.
  void ShowFatalError(const std::string& utf8Message) override;

  Text Caption(Label label) const;
  Colour TextColour(Label label) const;
  // Writes to `label` only, oldest first.
  std::vector<LabelWrite> WritesTo(Label label) const;

  // What the test sets.
  Text clipboard;
  bool hotkeyAccepted = true;
  // Run by BuildMainWindow and RunMessageLoop; by default building succeeds
  // and the loop returns at once, as if the window had been closed.
  std::function<bool()> onBuildMainWindow;
  std::function<void()> onRunMessageLoop;

  // What the program did.
  Text editText;
  std::vector<LabelWrite> labelWrites;
  std::vector<std::int32_t> hotkeyIdsAsked;
  std::vector<std::string> fatalMessages;
  // Every call through the Desktop interface by name, e.g. "SetCaption(标签1)".
  std::vector<std::string> calls;

 private:
  std::map<Label, Text> captions_;
  std::map<Label, Colour> colours_;
};

// Installs a desktop for the life of the object, then puts back the previous.
class ScopedDesktop {
 public:
  explicit ScopedDesktop(Desktop& desktop);
  ~ScopedDesktop();
  ScopedDesktop(const ScopedDesktop&) = delete;
  ScopedDesktop& operator=(const ScopedDesktop&) = delete;

 private:
  Desktop* previous_;
};

const char* LabelName(Label label);

}  // namespace quorvant::test
