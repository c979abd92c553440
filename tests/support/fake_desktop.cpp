#include "fake_desktop.h"

#include <cstdio>

#include "app/texts.h"

namespace quorvant::test {

const char* LabelName(Label label) {
  switch (label) {
    case Label::安全计时:
      return "安全计时";
    case Label::客户进入:
      return "客户进入";
    case Label::标签1:
      return "标签1";
  }
  return "?";
}

FakeDesktop::FakeDesktop()
    : editText(INITIAL_编辑框1),
      captions_{{Label::安全计时, INITIAL_安全计时},
                {Label::客户进入, INITIAL_客户进入},
                {Label::标签1, INITIAL_标签1}},
      colours_{{Label::安全计时, COLOUR_BLACK},
               {Label::客户进入, COLOUR_BLACK},
               {Label::标签1, COLOUR_BLACK}} {}

bool FakeDesktop::BuildMainWindow() {
  calls.push_back("BuildMainWindow");
  return onBuildMainWindow ? onBuildMainWindow() : true;
}

void FakeDesktop::RunMessageLoop() {
  calls.push_back("RunMessageLoop");
  if (onRunMessageLoop) onRunMessageLoop();
}

void FakeDesktop::SetCaption(Label label, const Text& caption) {
  calls.push_back(std::string("SetCaption(") + LabelName(label) + ")");
  captions_[label] = caption;
  labelWrites.push_back({label, true, caption, 0});
}

void FakeDesktop::SetTextColour(Label label, Colour colour) {
  calls.push_back(std::string("SetTextColour(") + LabelName(label) + ")");
  colours_[label] = colour;
  labelWrites.push_back({label, false, Text(), colour});
}

void FakeDesktop::SetEditText(const Text& text) {
  calls.push_back("SetEditText");
  editText = text;
}

Text FakeDesktop::GetEditText() {
  calls.push_back("GetEditText");
  return editText;
}

Text FakeDesktop::ClipboardText() {
  calls.push_back("ClipboardText");
  return clipboard;
}

bool FakeDesktop::RegisterDialHotkey(std::int32_t id) {
  calls.push_back("RegisterDialHotkey");
  hotkeyIdsAsked.push_back(id);
  return hotkeyAccepted;
}

void FakeDesktop::ShowFatalError(const std::string& utf8Message) {
  calls.push_back("ShowFatalError");
  fatalMessages.push_back(utf8Message);
  std::fprintf(stderr, "[fake desktop] error box: %s\n", utf8Message.c_str());
  std::fflush(stderr);
}

Text FakeDesktop::Caption(Label label) const { return captions_.at(label); }

Colour FakeDesktop::TextColour(Label label) const { return colours_.at(label); }

std::vector<FakeDesktop::LabelWrite> FakeDesktop::WritesTo(Label label) const {
  std::vector<LabelWrite> writes;
  for (const LabelWrite& write : labelWrites) {
    if (write.label == label) writes.push_back(write);
  }
  return writes;
}

ScopedDesktop::ScopedDesktop(Desktop& desktop) : previous_(InstalledDesktop()) {
  InstallDesktop(&desktop);
}

ScopedDesktop::~ScopedDesktop() { InstallDesktop(previous_); }

}  // namespace quorvant::test
