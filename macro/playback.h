// Playing a macro back: each timer tick previews the step the tick before loaded and loads the next
// one into the mode panel; at the end the macro mode is selected again and, when asked for, the
// list is executed in one pass. The window drives the ticks on its timer 1502 and shows the
// playback window through PlaybackView.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "macro/parse_record.h"
#include "modes/read_mode_params.h"

namespace korval {

inline constexpr const wchar_t* kPlaybackTitle = L"◆　マクロ再生中　◆";
inline constexpr const wchar_t* kPlaybackAbortLabel = L"中止";

// What the playback window does; every member may be empty (a silent run has no window).
struct PlaybackView {
  std::function<void()> open;
  std::function<void()> close;
  std::function<void(const std::wstring&)> status;
  std::function<void(bool)> enableAbort;
};

// What a tick needs from the program around it.
struct PlaybackHooks {
  PanelValues* panel = nullptr;
  // The program's mode parameters: a case step shows the exception words its conversion keeps
  // there, as choosing the conversion in the panel does (the step itself carries none).
  const ModeParams* params = nullptr;
  // Previews the list in the panel's mode; from the second step on from each row's new name.
  std::function<void(int step)> previewStep;
  // The panel's values changed (a step was loaded, or the macro mode is selected again): the window
  // shows the panel of their mode with them.
  std::function<void()> showPanel;
  // Executes the list in the macro mode (the names are previewed already).
  std::function<void()> execute;
  // Called once when the playback has ended, whatever the way (the automatic run's end).
  std::function<void()> finished;
  MacroNotify notify;  // the unsupported-version message
  PlaybackView view;
  bool silent = false;    // an automatic run without "/show": no window
  bool testMode = false;  // previews only
  int macromsec = 200;
};

class MacroPlayback {
 public:
  // The macro preview read the file: the buffer is zero-filled and takes at most 65536 bytes.
  bool Load(const std::wstring& path);
  void LoadBytes(const std::vector<unsigned char>& bytes);

  // The macro preview ended: playback begins. Returns the first pause in milliseconds and opens the
  // window unless the run is silent.
  int StartPlayback(const PlaybackHooks& hooks);

  // One tick of timer 1502. Returns the pause before the next tick, or 0 when the playback ended.
  int PlaybackTick(const PlaybackHooks& hooks);

  // The abort button: the window closes and the next tick stops the playback.
  void Abort(const PlaybackHooks& hooks);

  // Whether a playback is in progress (from Start to its end).
  bool Running() const { return running_; }
  int StepCounter() const { return parse_.stepCounter; }

  // Set when the execute button started the playback: the list is executed at its end.
  bool executeAfter = false;

 private:
  enum class Window { None, Open, Aborted };
  void CloseWindow(const PlaybackHooks& hooks);

  std::vector<unsigned char> buffer_;
  size_t size_ = 0;
  size_t offset_ = 0;
  MacroParseState parse_;
  Window window_ = Window::None;
  bool running_ = false;
};

// The pause before the first step and between two steps.
int FirstPlaybackPause(int macromsec);
int NextPlaybackPause(int macromsec);

}  // namespace korval
