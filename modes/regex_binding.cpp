// Calling the regular expression libraries.
#include "modes/regex_binding.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/ansi_escape.h"
#include "modes/regex_command.h"
#include "modes/sequence_expansion.h"
#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

constexpr size_t kAnsiCommandBytes = 4680;
constexpr int kTimedRowEvery = 8;
constexpr size_t kAnsiTextBytes = 520;
constexpr const wchar_t* kNonSjisText = L"** DLL ERROR ** 非S-JIS文字検出";
constexpr const wchar_t* kAnsiCallFailedText = L"** DLL ERROR ** BSubst関数呼び出しに失敗";

template <typename Proc>
Proc Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The ANSI library takes a text when the code page holds it: the round trip gives it back, or the
// conversion holds no "?" at all.
bool Representable(const std::wstring& text) {
  return AnsiRoundTrip(text) == text || ToAnsiPlain(text).find('?') == std::string::npos;
}

// One item through the wide library, given a copy of the text in buffer (the library may write to
// its text). Returns false when the library could not be called.
bool SubstituteWide(BSubstWProc subst, const std::wstring& command, std::wstring& working, std::vector<wchar_t>& buffer,
                    RegexRecordW** handle, bool& cutOff) {
  if (!subst) return false;
  buffer.assign(working.begin(), working.end());
  buffer.push_back(L'\0');
  wchar_t message[kRegexMessageSize] = L"";
  subst(command.c_str(), buffer.data(), buffer.data() + working.size(), handle, message);
  cutOff = std::wstring_view(message) == kRegexCutOffMessage;
  if (*handle && (*handle)->result) {
    working = (*handle)->result;
    Truncate(working, kMaxBuiltPath);
  }
  return true;
}

enum class AnsiOutcome { Done, NotRepresentable, CallFailed };

AnsiOutcome SubstituteAnsi(BSubstProc subst, const std::wstring& command, std::wstring& working, RegexRecordA** handle,
                           bool& cutOff) {
  if (!subst) return AnsiOutcome::CallFailed;
  if (!Representable(command) || !Representable(working)) return AnsiOutcome::NotRepresentable;
  std::string ansiCommand = ToAnsiPlain(command);
  std::string ansiText = ToAnsiPlain(working);
  // The buffers the library is given are fixed; texts are cut to fit, terminator included.
  ansiCommand.resize(std::min(ansiCommand.size(), kAnsiCommandBytes - 1));
  ansiText.resize(std::min(ansiText.size(), kAnsiTextBytes - 1));
  std::vector<char> text(ansiText.begin(), ansiText.end());
  text.push_back('\0');
  char message[kRegexMessageSize] = "";
  subst(ansiCommand.c_str(), text.data(), text.data() + ansiText.size(), handle, message);
  cutOff = FromAnsiPlain(message) == kRegexCutOffMessage;
  if (*handle && (*handle)->result) {
    working = FromAnsiPlain((*handle)->result);
    Truncate(working, kMaxBuiltPath);
    working.erase(std::remove(working.begin(), working.end(), L'?'), working.end());
  }
  return AnsiOutcome::Done;
}

}  // namespace

std::chrono::nanoseconds RegexPassTime(size_t rows) {
  return kRegexPassBaseTime + kRegexPassTimePerRow * static_cast<long long>(rows);
}

bool RegexBinding::Load(const wchar_t* wideLibrary, const wchar_t* ansiLibrary) {
  Release();
  if (HMODULE wide = LoadLibraryW(wideLibrary)) {
    module_ = wide;
    wide_ = true;
    substW_ = Lookup<BSubstWProc>(wide, "BSubstW");
    freeW_ = Lookup<BRegfreeWProc>(wide, "BRegfreeW");
    return true;
  }
  if (HMODULE ansi = LoadLibraryW(ansiLibrary)) {
    module_ = ansi;
    wide_ = false;
    substA_ = Lookup<BSubstProc>(ansi, "BSubst");
    freeA_ = Lookup<BRegfreeProc>(ansi, "BRegfree");
    return true;
  }
  return false;
}

void RegexBinding::FreeRecords() {
  if (wideRecord_ && freeW_) freeW_(wideRecord_);
  if (ansiRecord_ && freeA_) freeA_(ansiRecord_);
  wideRecord_ = nullptr;
  ansiRecord_ = nullptr;
}

void RegexBinding::Release() {
  FreeRecords();
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  substW_ = nullptr;
  freeW_ = nullptr;
  substA_ = nullptr;
  freeA_ = nullptr;
}

const std::vector<std::wstring>& RegexBinding::Commands(const ModeParams& params) {
  if (params.replaceFromItems == searches_ && params.replaceToItems == replacements_ && params.repmode == repmode_ &&
      params.repcase == repcase_) {
    return commands_;
  }
  searches_ = params.replaceFromItems;
  replacements_ = params.replaceToItems;
  repmode_ = params.repmode;
  repcase_ = params.repcase;
  commands_.clear();
  for (size_t i = 0; i < searches_.size() && !searches_[i].empty(); ++i) {
    const std::wstring replacement = i < replacements_.size() ? replacements_[i] : std::wstring();
    commands_.push_back(BuildRegexCommand(searches_[i], replacement, repmode_, repcase_));
  }
  return commands_;
}

bool ReplaceWithLibrary(RegexBinding& binding, const ModeParams& params, std::wstring& working,
                        const std::wstring& source, FileSystem& fs, RowTags* tags) {
  bool keepExtension = true;
  if (binding.cutOff) return keepExtension;
  if (binding.spent_ >= binding.passTime_) {
    binding.cutOff = binding.passTimeUsedUp = true;
    binding.cutOffName = working;
    return keepExtension;
  }
  // One row in kTimedRowEvery is timed and stands for the rows around it: the clock is a call into
  // the system, dear beside a plain pattern's work.
  const bool timed = binding.rowsSeen_++ % kTimedRowEvery == 0;
  const auto started = timed ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point();
  binding.original_ = working;
  for (const std::wstring& command : binding.Commands(params)) {
    if (binding.wide_) {
      if (!SubstituteWide(binding.substW_, command, working, binding.text_, &binding.wideRecord_, binding.cutOff)) {
        working = kWideCallFailedText;
        break;
      }
    } else {
      const AnsiOutcome outcome = SubstituteAnsi(binding.substA_, command, working, &binding.ansiRecord_, binding.cutOff);
      if (outcome != AnsiOutcome::Done) {
        working = outcome == AnsiOutcome::NotRepresentable ? kNonSjisText : kAnsiCallFailedText;
        if (outcome == AnsiOutcome::NotRepresentable) binding.nonSjisFound = true;
        keepExtension = false;
        break;
      }
    }
    // A cut-off item leaves the name as it was before the row's first item.
    if (binding.cutOff) {
      working = binding.original_;
      binding.cutOffName = binding.original_;
      break;
    }
    ExpandSpecialSequences(working, source, kSequencesDoubled, fs, tags);
  }
  if (timed) binding.spent_ += (std::chrono::steady_clock::now() - started) * kTimedRowEvery;
  return keepExtension;
}

}  // namespace korval
