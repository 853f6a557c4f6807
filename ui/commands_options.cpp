// The options command: its refusals, the sheet on the page last shown, and the values taken over on
// OK, which the window uses at once.
#include "config/hand_over.h"
#include "engine/show_message.h"
#include "ui/command_table.h"
#include "ui/list_appearance.h"
#include "ui/list_view.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/undo_mode_view.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

constexpr const wchar_t* kStopRecordingAction = L"マクロ記録を中止";
constexpr const wchar_t* kStopUndoAction = L"変更UnDoモードを中止";
// The mode-stop message about opening the settings: as a notice, or as a question.
constexpr const wchar_t* kSettingsNotice = L"1,1";
constexpr const wchar_t* kSettingsQuestion = L"1,0";

// While a macro is recorded the settings stay closed; undo mode is left when the person agrees.
bool MayOpenOptions(CommandContext& c) {
  if (c.work.Recording()) {
    ShowMessage(MessageKind::StopMode, 0, kStopRecordingAction, kSettingsNotice, MessageClass::Info);
    return false;
  }
  if (!c.work.UndoMode()) return true;
  if (ShowMessage(MessageKind::StopMode, 0, kStopUndoAction, kSettingsQuestion,
                  MessageClass::Question) != IDYES) {
    return false;
  }
  LeaveUndoMode(c.work, c.frame, false);
  return true;
}

// "上記を今すぐ保存": the window and column switches, then every setting, saved now.
void SaveFixedNow(Workspace& work, const Frame& frame, int fixedBits) {
  Settings& s = work.settings;
  s.option3 = (s.option3 & ~(kFixWindow | kFixColumns)) | fixedBits;
  const bool normal = !IsZoomed(frame.main) && !IsIconic(frame.main);
  if (normal) RememberGeometry(frame, s);
  RememberColumnWidths(frame.list, s);
  if (work.store) SaveSettings(*work.store, s, SaveReason::SaveNow, normal);
}

bool ColumnsChanged(const Settings& a, const Settings& b) {
  return a.listcols1 != b.listcols1 || a.listcols2 != b.listcols2 || a.columndate != b.columndate ||
         a.sizeUnit != b.sizeUnit;
}

// The edited copy becomes the program's settings; what the window shows follows at once.
void TakeOverOptions(CommandContext& c, Settings edited) {
  Workspace& work = c.work;
  const Settings before = work.settings;
  // The window and column switches belong to their own button. The mode chosen on the page is the
  // start mode; the window keeps the mode it shows.
  edited.option3 = (edited.option3 & ~(kFixWindow | kFixColumns)) | (before.option3 & (kFixWindow | kFixColumns));
  const int startMode = edited.mode;
  edited.mode = before.mode;
  work.settings = std::move(edited);
  const Settings& s = work.settings;

  if (s.multiple != before.multiple) {
    if (work.store) work.store->WriteInt(L"multiple", s.multiple);
    ApplyMultipleOption(work.instanceMutex, s.multiple);
    MarkHandOverReceiver(c.frame.main, work.instanceMutex.Owns());
  }
  // A fixed mode is never written at exit: the one chosen here is written now, or it would be lost.
  if ((s.option3 & kFixMode) && work.store) work.store->WriteInt(L"mode", startMode);
  // The next drop of a folder reads as the page now says.
  if (s.folderread != before.folderread) work.folderreadWorking = s.folderread;
  if (s.listfont != before.listfont) SetListFont(c.frame.list, s.listfont, c.frame.listFont);
  SetListColours(c.frame.list, s, work.UndoMode());
  if (ColumnsChanged(s, before)) {
    ResetListColumns(c.frame.list, s);
    if (!work.UndoMode()) OnRefresh(c);
  }
  RefreshList(work, c.frame);
}

}  // namespace

void OnOptions(CommandContext& c) {
  if (!MayOpenOptions(c)) return;
  // The columns made anew after OK keep the widths and order they have now.
  RememberColumnWidths(c.frame.list, c.work.settings);
  OptionsData data;
  data.settings = c.work.settings;
  data.page = c.work.settings.propno;
  data.saveNow = [&c](int fixedBits) { SaveFixedNow(c.work, c.frame, fixedBits); };
  data.chooseColour = c.work.chooseColour;
  const bool accepted = ShowOptionsDialog(c.frame.main, &data);
  if (accepted) TakeOverOptions(c, std::move(data.settings));
  c.work.settings.propno = data.page;
  if (c.work.settings.enterdont) MarkPreviewStale(c.work, c.frame);
}

}  // namespace korval
