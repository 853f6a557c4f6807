// Macro playback, one record per timer tick.
#include "macro/playback.h"

#include <algorithm>

#include "macro/macro_file.h"
#include "modes/change_mode.h"
#include "platform/format_text.h"

namespace korval {

int FirstPlaybackPause(int macromsec) { return macromsec >= 190 ? macromsec + 60 : 250; }
int NextPlaybackPause(int macromsec) { return std::clamp(macromsec, 0, 10000) + 60; }

bool MacroPlayback::Load(const std::wstring& path) {
  std::vector<unsigned char> bytes;
  if (!ReadMacroFile(path, bytes)) return false;
  LoadBytes(bytes);
  return true;
}

void MacroPlayback::LoadBytes(const std::vector<unsigned char>& bytes) {
  size_ = std::min(bytes.size(), kMacroReadLimit);
  // One zero byte more than the data, so the end of the macro reads as an empty record.
  buffer_.assign(size_ + 1, 0);
  std::copy_n(bytes.begin(), size_, buffer_.begin());
  offset_ = 0;
  parse_ = MacroParseState{};
  parse_.cut = bytes.size() >= kMacroReadLimit;
}

int MacroPlayback::StartPlayback(const PlaybackHooks& hooks) {
  running_ = true;
  parse_.stepCounter = 0;
  window_ = Window::None;
  if (!hooks.silent) {
    if (hooks.view.open) hooks.view.open();
    window_ = Window::Open;
  }
  return FirstPlaybackPause(hooks.macromsec);
}

void MacroPlayback::CloseWindow(const PlaybackHooks& hooks) {
  if (window_ == Window::Open && hooks.view.close) hooks.view.close();
  window_ = Window::None;
}

void MacroPlayback::Abort(const PlaybackHooks& hooks) {
  if (window_ == Window::Open && hooks.view.close) hooks.view.close();
  window_ = Window::Aborted;
}

int MacroPlayback::PlaybackTick(const PlaybackHooks& hooks) {
  if (!running_ || !hooks.panel) return 0;
  PanelValues& panel = *hooks.panel;
  if (parse_.stepCounter > 0) {
    if (hooks.view.enableAbort) hooks.view.enableAbort(false);
    if (hooks.previewStep) hooks.previewStep(parse_.stepCounter);
    if (hooks.view.enableAbort) hooks.view.enableAbort(true);
    ++parse_.stepCounter;
  } else {
    offset_ = 0;
  }

  const bool firstRecord = offset_ == 0;
  int result = ParseNextRecord(buffer_.data(), size_, offset_, parse_, panel, hooks.notify);
  if (result == kParseHeader) result = ParseNextRecord(buffer_.data(), size_, offset_, parse_, panel, hooks.notify);
  // A file that begins with a step has no header to start the count: it is played as it stands,
  // as the macro editor reads it, instead of reading its first step again on every tick.
  if (result == kParseStepLoaded && firstRecord && parse_.stepCounter == 0) parse_.stepCounter = 1;

  if (result != kParseStepLoaded) {
    panel.mode = kModeMacro;
    if (hooks.showPanel) hooks.showPanel();
    // An abort during the last pause still stops the execution: the user asked for no renames.
    const bool aborted = window_ == Window::Aborted;
    CloseWindow(hooks);
    parse_.stepCounter = 0;
    if (executeAfter && !hooks.testMode && !aborted) {
      executeAfter = false;
      if (hooks.execute) hooks.execute();
    }
    executeAfter = false;
    running_ = false;  // only now: the execution's messages must not let paths in meanwhile
    if (hooks.finished) hooks.finished();
    return 0;
  }
  if (panel.mode == kModeLetterCase && hooks.params) panel.exceptionText = ExceptionTextFor(*hooks.params, panel.bigsmall);
  if (hooks.showPanel) hooks.showPanel();
  if (!hooks.silent && hooks.view.status) {
    hooks.view.status(FormatText(L"　%2d : 【 %s 】", parse_.stepCounter, ModeLabel(panel.mode)));
  }
  if (window_ == Window::Aborted) {
    parse_.stepCounter = 0;
    executeAfter = false;
    window_ = Window::None;
    running_ = false;
    if (hooks.finished) hooks.finished();
    return 0;
  }
  if (window_ == Window::None && !hooks.silent) {
    if (hooks.view.open) hooks.view.open();
    window_ = Window::Open;
  }
  return NextPlaybackPause(hooks.macromsec);
}

}  // namespace korval
