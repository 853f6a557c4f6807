// The executor's context of a pass, made from the state a run works on.
#include "ui/run_context.h"

#include "macro/macro_file.h"
#include "modes/change_mode.h"
#include "platform/long_paths.h"

namespace korval {

ExecuteOptions ExecuteOptionsFrom(const Settings& s, const WindowsVersion& windows) {
  ExecuteOptions o;
  o.chgconfirm = s.chgconfirm;
  o.force1 = s.force1;
  o.force2 = s.force2;
  o.force3 = s.force3;
  o.force4 = s.force4;
  o.del = s.del;
  o.writelog = s.writelog;
  o.collisionOption = s.collisionOption;
  o.adddiffpad = s.adddiffpad;
  o.addrenbegin = s.addrenbegin;
  o.addrenmsg = s.addrenmsg;
  o.nonsjiswarn = s.nonsjiswarn;
  o.showRenameErrors = s.showRenameErrors;
  o.enterdont = s.enterdont;
  o.fileDir = s.file_dir;
  o.filefolder = s.filefolder;
  o.folderread = s.folderread;
  o.ntFamily = windows.ntFamily;
  o.longPaths = SystemTakesLongPaths();
  o.timezone = s.timezone;
  o.dateColumnShown = s.listcols2 != 0;
  o.columndate = s.columndate;
  return o;
}

ExecuteContext ContextFor(const CommandLine& commandLine, AutoRunWork& work, int mode) {
  ExecuteContext c;
  c.list = work.list;
  c.mode = mode;
  c.panel = work.panel;
  c.params = work.params;
  c.histories.switches = 0;  // an unattended run leaves the input histories as they are
  c.filterText = commandLine.IsAutomatic() ? commandLine.filterText : work.panel->filterText;
  c.options = ExecuteOptionsFrom(*work.settings, work.windows);
  // The list target and folder reading given on the command line hold for this start, so the rows
  // below a renamed folder follow it as they do when the settings ask for the whole tree.
  c.options.filefolder = work.settings->file_dir;
  if (commandLine.folderRead >= 0) c.options.folderread = commandLine.folderRead;
  c.state = work.state;
  c.programFolder = work.programFolder;
  c.reservedPath = work.reportPath;
  c.tagCache = work.tagCache;
  if (work.planFs) {
    c.fs = work.planFs;
    c.options.writelog = 0;  // a plan leaves the change logs alone
  } else {
    c.keptListings = work.listings;
  }
  c.nonsjiswarnSetting = &work.settings->nonsjiswarn;
  if (work.recorder) {
    work.state->recording = work.recorder->Recording();
    c.recordStep = [&work](int executed) {
      RecorderContext recorder;
      recorder.programFolder = work.programFolder;
      recorder.fileDir = work.settings->file_dir;
      recorder.params = work.params;
      recorder.slotNames = work.macroSlots;
      RecordStep(*work.recorder, executed, recorder);
    };
  }
  if (mode == kModeMacro && work.playback) {
    const bool fileGiven = (commandLine.autoRun & kAutoMacroFile) != 0;
    const std::wstring autoFile = fileGiven ? commandLine.macroFile : std::wstring();
    c.readMacro = [&work, fileGiven, autoFile] {
      // A "/autofile=" without a usable path never falls back to the selected slot.
      if (fileGiven && autoFile.empty()) return false;
      return work.playback->Load(SelectedMacroPath(work.programFolder, work.panel->macrono, autoFile, SystemFileSystem()));
    };
  }
  return c;
}

}  // namespace korval
