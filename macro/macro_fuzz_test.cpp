// Truncated, mutated and random macro files and name lists, each placed right before an
// inaccessible page so that a read past the end crashes the test instead of passing unnoticed.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "macro/macro_list.h"
#include "macro/parse_record.h"
#include "macro/step_codes.h"
#include "macro/step_text.h"
#include "modes/change_mode.h"
#include "testing/guarded_bytes.h"

namespace korval {
namespace {

std::string ValidMacro() {
  ModeParams p;
  p.extensionText = L"jpg", p.renbanstr = L"<001>", p.addstr = L"追加", p.sepstr = L"_", p.datefrom = -1;
  p.ymdform = L"YYYYMMDD", p.replaceFrom = L"a/b", p.replaceTo = L"c€", p.positionText = L"名前.txt";
  p.addyymmdd = 1;
  std::string file = "KV150\n";
  for (int mode = kModePositionEdit; mode <= kModeRandomName; ++mode) file += BuildStepRecord(mode, p);
  return file;
}

// Everything a playback leaves in the panel, as one text to compare.
std::wstring Snapshot(const PanelValues& v) {
  std::wostringstream out;
  out << v.mode << L'|' << v.posedtnoext << v.extadd << v.dirrenreset << v.dbytebig << v.regexp << v.repwithext
      << v.repcase << v.addyymmdd << v.widthKatakana << v.widthLetters << v.widthDigits << v.widthSymbols << L'|'
      << v.positionText << L'|' << v.extensionText << L'|' << v.renbanstr << L'|' << v.addstr << L'|' << v.sepstr
      << L'|' << v.addlenText << L'|' << v.dellenText << L'|' << v.dellen2Text << L'|' << v.replaceFrom << L'|'
      << v.replaceTo << L'|' << v.dateText << L'|' << v.numinspos << v.bigsmall << v.zenorhan << v.real8_3
      << v.addprepost << v.deltype << v.whichdate << v.datefrom << v.dateins << v.repmode << v.rndpattern
      << v.rndext << v.rndlen;
  for (int entry : v.positionMap) out << L',' << entry;
  return out.str();
}

// Plays the whole buffer as playback does and records every result and the panel after it.
std::vector<std::wstring> PlayAll(const unsigned char* data, size_t size) {
  std::vector<std::wstring> trace;
  size_t offset = 0;
  MacroParseState state;
  PanelValues panel;
  const MacroNotify quiet = [](const std::wstring&, const std::wstring&, UINT) {};
  for (size_t round = 0; round <= size + 1; ++round) {
    const size_t before = offset;
    const int result = ParseNextRecord(data, size, offset, state, panel, quiet);
    EXPECT_LE(offset, size);
    trace.push_back(std::to_wstring(result) + L":" + Snapshot(panel));
    if (result == kParseNothing) return trace;
    EXPECT_GT(offset, before) << "no progress";
  }
  ADD_FAILURE() << "playback never ended";
  return trace;
}

// Every reader over one input, fenced on both sides.
void ReadEverything(const std::string& input) {
  const auto* raw = reinterpret_cast<const unsigned char*>(input.data());
  for (auto fence : {GuardedBytes::Fence::kAfterEnd, GuardedBytes::Fence::kBeforeStart}) {
    GuardedBytes guarded(raw, input.size(), fence);
    ASSERT_TRUE(guarded.Valid());
    PlayAll(guarded.Data(), guarded.Size());
    const MacroReadout readout = ReadMacroRecords(guarded.Data(), guarded.Size(), [](auto&, auto&, UINT) {});
    for (const MacroRecord& step : readout.steps) {
      EXPECT_LE(step.textA.size(), kStepTextMaxChars);
      EXPECT_LE(step.textB.size(), kStepTextMaxChars);
    }
    ValidateRecord(guarded.Data(), guarded.Size());
    for (MacroProgram program : {MacroProgram::Main, MacroProgram::Editor}) {
      ParseMacroList(guarded.Data(), guarded.Size(), program);
    }
  }
}

TEST(MacroFuzz, EveryCutOfAValidFileReadsAsTheSameBytesFollowedByZeros) {
  const std::string file = ValidMacro();
  ASSERT_GT(file.size(), 600u);
  const auto* raw = reinterpret_cast<const unsigned char*>(file.data());
  for (size_t cut = 0; cut <= file.size(); ++cut) {
    GuardedBytes guarded(raw, cut, GuardedBytes::Fence::kAfterEnd);
    ASSERT_TRUE(guarded.Valid());
    std::string padded = file.substr(0, cut) + std::string(1024, '\0');
    const auto* zeroTail = reinterpret_cast<const unsigned char*>(padded.data());
    ASSERT_EQ(PlayAll(guarded.Data(), cut), PlayAll(zeroTail, padded.size())) << "cut at " << cut;
  }
  // The whole file plays its header, 12 steps and the end.
  EXPECT_EQ(PlayAll(raw, file.size()).size(), 14u);
}

TEST(MacroFuzz, MutatedFilesNeverReadOutsideTheirBuffer) {
  const std::string valid = ValidMacro();
  std::mt19937 random(20240611);
  for (int round = 0; round < 1500; ++round) {
    std::string input = valid;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const size_t at = input.empty() ? 0 : random() % input.size();
      switch (random() % 4) {
        case 0: input.resize(at); break;
        case 1: if (!input.empty()) input[at] = static_cast<char>(input[at] ^ (1 << (random() % 8))); break;
        case 2: input.insert(at, std::string(1 + random() % 8, static_cast<char>(random()))); break;
        default: input.erase(at, random() % 600); break;
      }
    }
    ReadEverything(input);
    if (HasFatalFailure()) return;
  }
}

TEST(MacroFuzz, RandomBytesNeverReadOutsideTheirBuffer) {
  std::mt19937 random(77);
  for (int round = 0; round < 1500; ++round) {
    std::string input;
    // Often start with a header or a known code so that the deeper paths are reached.
    if (round % 3 == 0) input = "KV1" + std::string(1, static_cast<char>('0' + random() % 7)) + "0\n";
    if (round % 2 == 0) input += std::string(kStepCodes[random() % kStepCodeCount].text, 3);
    const size_t length = random() % 1200;
    for (size_t i = 0; i < length; ++i) input.push_back(static_cast<char>(random() % 4 == 0 ? '0' + random() % 16 : random()));
    ReadEverything(input);
    if (HasFatalFailure()) return;
  }
  ReadEverything("");
}

TEST(MacroFuzz, RandomStoredTextsDecodeWithinTheLimit) {
  std::mt19937 random(5);
  for (int round = 0; round < 2000; ++round) {
    std::string stored(random() % 900, '\0');
    for (char& c : stored) c = static_cast<char>(1 + random() % 255);
    EXPECT_LE(DecodeStepText(stored).size(), kStepTextMaxChars);
    std::wstring text(random() % 300, L'\0');
    for (wchar_t& c : text) c = static_cast<wchar_t>(1 + random() % 0xFFFF);
    EXPECT_LE(EncodeStepText(text).size(), kStepTextMaxBytes);
  }
}

}  // namespace
}  // namespace korval
