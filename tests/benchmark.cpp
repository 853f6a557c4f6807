// The project's benchmark, run under Wine by `make bench`. It prints times and ratios measured in
// one run, so that machine noise affects both sides of a comparison alike.
//   korval_bench [rows]   (default 50,000)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "engine/execute_changes.h"
#include "engine/kept_listings.h"
#include "engine/path_existence.h"
#include "engine/plan_file_system.h"
#include "testing/quiet_context.h"
#include "engine/undo.h"
#include "filelist/duplicate_index.h"
#include "macro/macro_record.h"
#include "macro/playback.h"
#include "engine/validate_row.h"
#include "filelist/list_reader.h"
#include "modes/change_mode.h"
#include "modes/read_mode_params.h"
#include "modes/regex_binding.h"
#include "modes/serial_number.h"
#include "engine/transform_name.h"
#include "platform/staged_file.h"
#include "testing/temp_folder.h"
#include "regex/case_fold.h"
#include "regex/substitute.h"
#include "tests/bare_reads.h"
#include "tests/capture_date_benchmark.h"
#include "tests/std_regex_traits.h"
#include "tests/tag_benchmark.h"
#include "tests/window_benchmark.h"

namespace korval {
namespace {

// A folder of files named 000000.txt ... and a list that renames each to a name that does not exist.
RenameList MakeFolderAndList(const TempFolder& dir, size_t rows) {
  RenameList list;
  for (size_t i = 0; i < rows; ++i) {
    wchar_t name[32];
    _snwprintf(name, 32, L"%06zu.txt", i);
    dir.WriteFile(name, "");
    list.Append({name, L".txt", dir.Path(), std::wstring(L"new_") + name, L"", L"", ItemStatus::None, false});
  }
  return list;
}



// Reading a tree into the list (size and date columns on) against a bare find-first/next walk.
void BenchReadTree(size_t files) {
  std::printf("Reading a tree of %zu files into the list:\n", files);
  TempFolder root;
  const size_t folders = 50;
  for (size_t f = 0; f < folders; ++f) {
    wchar_t folder[32];
    _snwprintf(folder, 32, L"folder%02zu", f);
    CreateDirectoryW((root / folder).c_str(), nullptr);
    for (size_t i = 0; i < files / folders; ++i) {
      wchar_t name[64];
      _snwprintf(name, 64, L"%s\\IMG_%05zu.JPG", folder, i);
      root.WriteFile(name, "x");
    }
  }
  // Walk and read alternate three times; the best time of each is compared, which keeps the
  // machine's noise out of the ratio.
  const std::wstring dropped = root.Path().substr(0, root.Path().size() - 1);
  auto read = [&](bool columns, size_t& rows) {
    RenameList list;
    ReadSettings settings;
    settings.subdir = 11;  // every level
    settings.maxfilenum = 6;
    settings.listcols1 = settings.listcols2 = columns;
    ReadHooks hooks;
    hooks.escapeDown = [] { return false; };
    ListReader reader(list, settings, hooks);
    const double ms = Milliseconds([&] { reader.ReadDroppedItems({dropped}); });
    rows = list.Count();
    return ms;
  };
  size_t walked = 0, rows = 0, plainRows = 0;
  double walkMs = 1e30, readMs = 1e30, plainMs = 1e30;
  for (int round = 0; round < 3; ++round) {
    walkMs = std::min(walkMs, Milliseconds([&] { walked = BareWalk(root.Path()); }));
    readMs = std::min(readMs, read(true, rows));
    plainMs = std::min(plainMs, read(false, plainRows));
  }
  std::printf("  best of 3: bare walk %8.1f ms (%zu files); read into the list (size and date on) %8.1f ms (%zu rows); "
              "ratio %.2f\n",
              walkMs, walked, readMs, rows, readMs / walkMs);
  std::printf("  without size and date %8.1f ms, ratio %.2f\n", plainMs, plainMs / walkMs);
}

// Why a preview answers from folder snapshots: asking the file system per row is quadratic under Wine.
void BenchLiveLookups() {
  const size_t liveRows = 2000;
  TempFolder dir;
  RenameList list = MakeFolderAndList(dir, liveRows);
  const double liveMs = Milliseconds([&] {
    LiveExistence live;
    for (size_t r = 0; r < list.Count(); ++r) ValidateRow(list, r, kModeExtension, true, live);
  });
  const double snapMs = Milliseconds([&] {
    FolderSnapshot snapshot;
    for (size_t r = 0; r < list.Count(); ++r) ValidateRow(list, r, kModeExtension, true, snapshot);
  });
  std::printf("Row validation asking the file system per row:\n  %6zu rows asked live: %8.1f ms; from the snapshot: %6.1f ms (live/snapshot %.1fx)\n", liveRows, liveMs,
              snapMs, liveMs / snapMs);
}

// Executing renames in one folder against a bare MoveFileW loop over the same names, and a whole
// preview pass at growing row counts.
void BenchExecute(size_t renames, size_t previewRows) {
  std::printf("Execution of %zu renames in one folder:\n", renames);
  double bareMs = 0;
  {
    TempFolder dir;
    RenameList list = MakeFolderAndList(dir, renames);
    bareMs = Milliseconds([&] {
      for (const RenameItem& row : list.Rows()) MoveFileW(row.SourcePath().c_str(), row.TargetPath().c_str());
    });
  }
  TempFolder program;
  CreateDirectoryW((program / L"w").c_str(), nullptr);
  TempFolder& dir = program;
  RenameList list;
  for (size_t i = 0; i < renames; ++i) {
    wchar_t name[32];
    _snwprintf(name, 32, L"%06zu.txt", i);
    dir.WriteFile(std::wstring(L"w\\") + name, "");
    list.Append({name, L".txt", program / L"w\\", std::wstring(L"new_") + name, L"", L"", ItemStatus::None, false});
  }
  PanelValues panel;
  ModeParams params;
  RunState state;
  ExecuteContext c = QuietContext(list, panel, params, state, program.Path(), kModeCsvNames);
  ExecuteChanges(RunKind::Preview, c);
  RunReport report;
  const double executeMs = Milliseconds([&] { ExecuteChanges(RunKind::Execute, c, &report); });
  std::printf("  bare MoveFileW loop %8.1f ms; ExecuteChanges (log on) %8.1f ms, %d changed; ratio %.2f\n", bareMs,
              executeMs, report.changed, executeMs / bareMs);

  std::printf("Preview pass (new names checked against the disk):\n");
  double perRowFirst = 0;
  for (size_t rows = previewRows / 4; rows <= previewRows; rows *= 2) {
    TempFolder folder;
    RenameList rowsList = MakeFolderAndList(folder, rows);
    c.list = &rowsList;
    const double ms = Milliseconds([&] { ExecuteChanges(RunKind::Preview, c); });
    const double perRow = ms * 1000.0 / static_cast<double>(rows);
    if (perRowFirst == 0) perRowFirst = perRow;
    std::printf("  %6zu rows: %8.1f ms, %6.2f us per row (x%.2f of the smallest run)\n", rows, ms, perRow,
                perRow / perRowFirst);
  }
}

// A replacement run over a tree of folders of 500 files, as a user starts it from the command line
// (the preview, then the execution with the log on), against the undo of the same renames.
void BenchTreeRun(size_t files) {
  const size_t perFolder = 500;
  const size_t folders = std::max<size_t>(1, files / perFolder);
  std::printf("Replacement run over %zu files in %zu folders of %zu, and its undo:\n", folders * perFolder, folders,
              perFolder);
  TempFolder program;
  CreateDirectoryW((program / L"w").c_str(), nullptr);
  RenameList list;
  for (size_t f = 0; f < folders; ++f) {
    wchar_t folder[32];
    _snwprintf(folder, 32, L"w\\d%03zu\\", f);
    CreateDirectoryW((program / folder).c_str(), nullptr);
    for (size_t i = 0; i < perFolder; ++i) {
      wchar_t name[32];
      _snwprintf(name, 32, L"file_%05zu.txt", i);
      program.WriteFile(std::wstring(folder) + name, "");
      list.Append({name, L".txt", program / folder, L"", L"", L"", ItemStatus::None, false});
    }
  }
  PanelValues panel;
  panel.replaceFrom = L"file";
  panel.replaceTo = L"doc";
  panel.regexp = 1;
  ModeParams params;
  RunState state;
  // The plan of the same run first, while the disk is as the run will find it, as an unattended
  // start makes it: the tree read through the plan's file system, previewed, executed on it, the
  // report written; against what the run does before its first rename: the tree read, previewed.
  const std::wstring tree = program / L"w";
  auto readTree = [&](RenameList& into, FileSystem& fs, KeptListings* kept) {
    ReadSettings settings;
    settings.subdir = 11;  // every level
    settings.maxfilenum = 6;
    settings.automaticRun = true;
    ReadHooks hooks;
    hooks.escapeDown = [] { return false; };
    // The run keeps the folders' listings for its preview, as an unattended start does.
    if (kept) {
      hooks.listFolder = [kept](const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& entries) {
        return kept->List(folder, entries);
      };
    }
    ListReader reader(into, settings, hooks, fs);
    reader.ReadDroppedItems({tree});
  };
  double planMs = 1e30, runPreviewMs = 1e30;
  size_t planRows = 0, keptEntries = 0, keptBytes = 0;
  for (int round = 0; round < 3; ++round) {
    RenameList previewList;
    RunState previewState;
    ExecuteContext pc = QuietContext(previewList, panel, params, previewState, program.Path(), kModeReplace);
    KeptListings kept;
    pc.keptListings = &kept;
    runPreviewMs = std::min(runPreviewMs, Milliseconds([&] {
      readTree(previewList, SystemFileSystem(), &kept);
      ExecuteChanges(RunKind::Preview, pc);
    }));
    keptEntries = kept.Entries();
    keptBytes = kept.Bytes();
    RenameList planList;
    RunState planState;
    ExecuteContext plan = QuietContext(planList, panel, params, planState, program.Path(), kModeReplace);
    PlanFileSystem planFs;
    plan.fs = &planFs;
    plan.options.writelog = 0;
    RunRecord record;
    record.plan = true;
    planMs = std::min(planMs, Milliseconds([&] {
      readTree(planList, planFs, nullptr);
      ExecuteChanges(RunKind::Preview, plan);
      plan.record = &record;
      ExecuteChanges(RunKind::Execute, plan);
      StagedFile file;
      if (!file.Open(program / L"plan.csv", ReportHead()) || !file.Commit(ReportBytes(record.rows, true))) std::printf("  (no plan written)\n");
    }));
    planRows = record.rows.size();
  }
  ExecuteContext c = QuietContext(list, panel, params, state, program.Path(), kModeReplace);
  c.options.del = 0;  // the setting's default: the list is emptied as the rows are done
  RunReport report;
  double previewMs = 0;
  const double runMs = Milliseconds([&] {
    previewMs = Milliseconds([&] { ExecuteChanges(RunKind::Preview, c); });
    ExecuteChanges(RunKind::Execute, c, &report);
  });
  RenameList undo;
  UndoOutcome undone;
  const double undoMs = Milliseconds([&] {
    LoadUndoList(undo, program.Path(), 1, {});
    undone = RunUndo(undo, true, UndoOptions{}, SystemFileSystem(), {});
  });
  std::printf("  run %8.1f ms (preview %.1f ms), %d changed; undo %8.1f ms, %d undone; run/undo %.2f\n", runMs,
              previewMs, report.changed, undoMs, undone.undone, runMs / undoMs);
  std::printf("  plan of the run (read through the plan's file system, previewed, executed on it, %zu report rows "
              "written) %8.1f ms; the run up to its first rename (read, previewed) %.1f ms (best of 3 each); ratio %.2f\n",
              planRows, planMs, runPreviewMs, planMs / runPreviewMs);
  std::printf("  the folders' listings kept for the previews: %zu entries in %zu bytes, %.0f bytes an entry (target at "
              "most 100)\n",
              keptEntries, keptBytes, static_cast<double>(keptBytes) / static_cast<double>(std::max<size_t>(1, keptEntries)));
}

// TransformName over synthetic rows in every mode that computes a name without asking the disk.
void BenchTransformName(size_t rows) {
  std::printf("TransformName over %zu rows:\n", rows);
  PanelValues panel;
  panel.extensionText = L"png";
  panel.renbanstr = L"IMG_<0001>";
  panel.numinspos = 4;
  panel.bigsmall = 4;
  panel.exceptionText = L"a an the of";
  panel.zenorhan = 1;
  panel.widthKatakana = panel.widthLetters = panel.widthDigits = panel.widthSymbols = 1;
  panel.addstr = L"_2024";
  panel.addlenText = L"3";
  panel.deltype = 5;
  panel.positionText = L"photo_00001 of the trip.JPG";
  ModeParams params;
  ReadModeParams(panel, params, {});
  std::vector<std::wstring> sources;
  for (size_t i = 0; i < rows; ++i) {
    wchar_t name[64];
    _snwprintf(name, 64, L"D:\\photos\\2024\\photo_%05zu of the trip (%zu).JPG", i, i % 7);
    sources.push_back(name);
  }
  struct Mode { int number; const char* name; };
  const Mode modes[] = {{kModePositionEdit, "position edit"}, {kModeExtension, "extension"},
                        {kModeSerialNumber, "serial numbers"}, {kModeLetterCase, "letter case"},
                        {kModeCharWidth, "character width"}, {kModeAddText, "add text"},
                        {kModeDeleteText, "delete text"}, {kModeRandomName, "random names"}};
  for (const Mode& mode : modes) {
    FolderCounterTable counters(rows);
    TransformContext ctx;
    ctx.params = &params;
    ctx.folderCounters = &counters;
    size_t total = 0;
    const double ms = Milliseconds([&] {
      for (size_t i = 0; i < rows; ++i) {
        std::wstring target = L"D:\\photos\\2024\\";
        TransformName(target, sources[i], mode.number, static_cast<int>(i), ctx);
        total += target.size();
      }
    });
    std::printf("  %-16s %8.1f ms (%.2f us per row, %zu characters)\n", mode.name, ms, ms * 1000.0 / rows, total);
  }
}

// Names of photos of a trip, "IMG_00000 2024-07-01 trip" and so on, between prefix and suffix.
std::vector<std::wstring> TripNames(size_t rows, const wchar_t* prefix, const wchar_t* suffix) {
  std::vector<std::wstring> names;
  for (size_t i = 0; i < rows; ++i) {
    wchar_t name[80];
    _snwprintf(name, 80, L"%sIMG_%05zu 2024-07-%02zu trip%s", prefix, i, i % 28 + 1, suffix);
    names.push_back(name);
  }
  return names;
}

// Replacement over many names: plain text against the regular expression library.
void BenchReplace(size_t rows) {
  std::printf("Replacement over %zu rows (3 items each):\n", rows);
  const std::vector<std::wstring> sources = TripNames(rows, L"D:\\photos\\", L".JPG");
  struct Run { const char* name; const wchar_t* from; const wchar_t* to; int regexp; };
  const Run runs[] = {{"plain", L"IMG_/trip/ ", L"photo-/travel/_", 0},
                      {"regex", L"IMG_(\\d+)/(\\d{4})-(\\d\\d)-(\\d\\d)/\\s+", L"photo-$1/$3$4/_", 1}};
  RegexBinding binding;
  if (!binding.Load()) std::printf("  (the regular expression library did not load)\n");
  double plainMs = 0;
  for (const Run& run : runs) {
    PanelValues panel;
    panel.replaceFrom = run.from;
    panel.replaceTo = run.to;
    panel.regexp = run.regexp;
    ModeParams params;
    ReadModeParams(panel, params, {});
    TransformContext ctx;
    ctx.params = &params;
    ctx.regex = &binding;
    std::wstring example;
    const double ms = Milliseconds([&] {
      for (size_t i = 0; i < rows; ++i) {
        std::wstring target;
        TransformName(target, sources[i], kModeReplace, static_cast<int>(i), ctx);
        if (i == 0) example = target;
      }
    });
    if (!run.regexp) plainMs = ms;
    std::printf("  %-6s %9.1f ms (%.2f us per row)%s  e.g. %ls\n", run.name, ms, ms * 1000.0 / rows,
                run.regexp ? "" : "", example.c_str());
    if (run.regexp && plainMs > 0) std::printf("  regex/plain %.1fx\n", ms / plainMs);
  }
}


// The regular expression engine of the libraries against the standard library's matcher they ran on
// before, on the same names and patterns, each pattern compiled once.
void BenchRegexEngines(size_t rows) {
  std::printf("Regular expression engines over %zu names (3 patterns each, compiled once):\n", rows);
  const std::vector<std::wstring> names = TripNames(rows, L"", L"");
  struct Item { const wchar_t* pattern; const wchar_t* replacement; };
  const Item items[] = {{L"IMG_(\\d+)", L"photo-$1"}, {L"(\\d{4})-(\\d\\d)-(\\d\\d)", L"$3$4"}, {L"\\s+", L"_"}};
  std::vector<std::basic_regex<wchar_t, regex::RegexTraits<false>>> before;
  for (const Item& item : items) {
    before.emplace_back();
    before.back().imbue(regex::FoldingLocale());
    before.back().assign(item.pattern, std::regex_constants::ECMAScript);
  }
  size_t beforeChars = 0, afterChars = 0;
  const double beforeMs = Milliseconds([&] {
    for (const std::wstring& name : names) {
      std::wstring text = name;
      for (size_t k = 0; k < std::size(items); ++k) {
        text = std::regex_replace(text, before[k], items[k].replacement, std::regex_constants::format_first_only);
      }
      beforeChars += text.size();
    }
  });
  std::vector<std::wstring> commands;
  for (const Item& item : items) commands.push_back(std::wstring(L"s/") + item.pattern + L"/" + item.replacement + L"/");
  const double afterMs = Milliseconds([&] {
    for (const std::wstring& name : names) {
      std::wstring text = name, result, message;
      int count = 0;
      for (const std::wstring& command : commands) {
        if (regex::Substitute(command, text, result, message, count) == regex::SubstStatus::Replaced) text = result;
      }
      afterChars += text.size();
    }
  });
  std::printf("  before (standard matcher) %8.1f ms; after (library) %8.1f ms; after/before %.2f%s\n", beforeMs,
              afterMs, afterMs / beforeMs, beforeChars == afterChars ? "" : "  (the results differ!)");
}

// A 25-step macro played over files in one folder: the time of its previews and the execution, with
// the pauses between the steps left out (they are the user's setting), and the pauses on their own.
void BenchMacroPlayback(size_t files) {
  // Photo folders of 500 files each: under Wine every rename scans its target's folder for a name
  // differing in case only, so one folder of 10,000 would measure that scan rather than the macro.
  constexpr size_t kPerFolder = 500;
  std::printf("Playing a 25-step macro over %zu files in folders of %zu:\n", files, kPerFolder);
  TempFolder program;
  auto folderOf = [&](const TempFolder& root, size_t i) {
    wchar_t folder[16];
    _snwprintf(folder, 16, L"w%02zu\\", i / kPerFolder);
    return root / folder;
  };
  auto nameOf = [](size_t i) {
    wchar_t name[48];
    _snwprintf(name, 48, L"Holiday photo_%05zu.jpeg", i);
    return std::wstring(name);
  };
  RenameList list;
  for (size_t i = 0; i < files; ++i) {
    if (i % kPerFolder == 0) CreateDirectoryW(folderOf(program, i).c_str(), nullptr);
    program.WriteFile(folderOf(program, i).substr(program.Path().size()) + nameOf(i), "");
    list.Append({nameOf(i), L".jpeg", folderOf(program, i), L"", L"", L"", ItemStatus::None, false});
  }
  // Five different steps, five times over: replacement, case, width, added and deleted text.
  std::string macro = BuildHeaderRecord(0);
  for (int round = 0; round < 5; ++round) {
    ModeParams replace;
    replace.replaceFrom = L"o";
    replace.replaceTo = L"0";
    ModeParams upper;
    upper.bigsmall = round % 2;
    ModeParams wide;
    wide.zenorhan = round % 2;  // the last round turns the letters back to half width
    wide.widthLetters = 1;
    ModeParams add;
    add.addstr = L"x";
    ModeParams remove;
    remove.deltype = 8;
    remove.dellen = 1;
    macro += BuildStepRecord(kModeReplace, replace) + BuildStepRecord(kModeLetterCase, upper) +
             BuildStepRecord(kModeCharWidth, wide) + BuildStepRecord(kModeAddText, add) +
             BuildStepRecord(kModeDeleteText, remove);
  }
  PanelValues panel;
  ModeParams params;
  RunState state;
  auto context = [&](int mode) { return QuietContext(list, panel, params, state, program.Path(), mode); };
  MacroPlayback playback;
  PlaybackHooks hooks;
  hooks.panel = &panel;
  hooks.silent = true;
  hooks.macromsec = 200;
  int steps = 0;
  double previewMs = 0, executeMs = 0;
  hooks.previewStep = [&](int step) {
    ExecuteContext c = context(panel.mode);
    c.sourceFromNewNames = step >= 2;
    previewMs += Milliseconds([&] { ExecuteChanges(RunKind::Preview, c); });
    ++steps;
  };
  RunReport report;
  hooks.execute = [&] {
    ExecuteContext c = context(kModeMacro);
    executeMs = Milliseconds([&] { ExecuteChanges(RunKind::Execute, c, &report); });
  };
  int pauses = 0;
  const double ms = Milliseconds([&] {
    ExecuteContext c = context(kModeMacro);
    c.readMacro = [&] {
      playback.LoadBytes(std::vector<unsigned char>(macro.begin(), macro.end()));
      return true;
    };
    ExecuteChanges(RunKind::Preview, c);
    playback.executeAfter = true;
    pauses += playback.StartPlayback(hooks);
    for (int pause = 1; pause != 0;) {
      pause = playback.PlaybackTick(hooks);
      pauses += pause;
    }
  });
  std::printf("  %d steps previewed, %d renamed: %8.1f ms of work (previews %.1f ms, execution %.1f ms), plus %d ms "
              "of pauses at macromsec 200\n",
              steps, report.changed, ms, previewMs, executeMs, pauses);
  // The same renames by a bare MoveFileW loop on a fresh copy of the files: what the file system
  // itself costs for these names.
  TempFolder bare;
  for (size_t i = 0; i < files; ++i) {
    if (i % kPerFolder == 0) CreateDirectoryW(folderOf(bare, i).c_str(), nullptr);
    bare.WriteFile(folderOf(bare, i).substr(bare.Path().size()) + nameOf(i), "");
  }
  const double bareMs = Milliseconds([&] {
    for (size_t i = 0; i < list.Count(); ++i) {
      MoveFileW((folderOf(bare, i) + nameOf(i)).c_str(), (folderOf(bare, i) + list.Row(i).newName).c_str());
    }
  });
  std::printf("  the same renames by a bare MoveFileW loop: %8.1f ms (\"%s\" to \"%s\")\n", bareMs,
              Utf8(list.Row(0).oldName).c_str(), Utf8(list.Row(0).newName).c_str());
}

}  // namespace
}  // namespace korval

int main(int argc, char** argv) {
  _wsetlocale(LC_ALL, L"");
  const size_t rows = argc > 1 ? static_cast<size_t>(std::strtoul(argv[1], nullptr, 10)) : 50000;
  // A second argument picks one section: read, transform, replace, execute, tree, lookups, macro, window,
  // dates, tags; or start, the window's start alone (the window section measures it too).
  const std::string only = argc > 2 ? argv[2] : "";
  auto wanted = [&](const char* section) { return only.empty() || only == section; };
  if (wanted("read")) korval::BenchReadTree(rows);
  if (wanted("transform")) korval::BenchTransformName(rows);
  if (wanted("replace")) korval::BenchReplace(rows);
  if (wanted("replace")) korval::BenchRegexEngines(rows);
  if (wanted("execute")) korval::BenchExecute(10000, rows);
  if (wanted("tree")) korval::BenchTreeRun(rows);
  if (wanted("lookups")) korval::BenchLiveLookups();
  if (wanted("macro")) korval::BenchMacroPlayback(10000);
  if (wanted("window")) korval::BenchWindowStart(rows);
  if (only == "start") korval::BenchProgramStart();
  if (wanted("dates")) korval::BenchCaptureDates(10000, 1000);
  if (wanted("tags")) korval::BenchTags(10000, 1000, 1024, 5000);
  return 0;
}
