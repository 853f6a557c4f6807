// Building and decoding macro records byte for byte. Every read is bounded by the buffer: a byte
// past its end reads as zero, the way the zero-filled tail of the read buffer would.
#include "macro/macro_record.h"

#include <algorithm>
#include <cstdio>

#include "macro/step_codes.h"
#include "macro/step_text.h"

namespace korval {
namespace {

constexpr wchar_t kYearMark = L'年';
constexpr int kFreeDateFormat = 9;

// A digit field: '0' + value, kept between '0' and the field's limit.
char Digit(int value, char limit) { return static_cast<char>('0' + std::clamp(value, 0, limit - '0')); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the buffer as if it were followed by zeros.
class BoundedBytes {
 public:
  BoundedBytes(const unsigned char* data, size_t size) : data_(data), size_(data ? size : 0) {}
  char At(size_t i) const { return i < size_ ? static_cast<char>(data_[i]) : '\0'; }
  size_t Size() const { return size_; }
  // The field that starts at i and ends before the next NUL (or the end of the buffer).
  std::string_view Field(size_t i) const {
    if (i >= size_) return {};
    const unsigned char* end = std::find(data_ + i, data_ + size_, 0);
    return std::string_view(reinterpret_cast<const char*>(data_ + i), static_cast<size_t>(end - (data_ + i)));
  }

 private:
  const unsigned char* data_;
  size_t size_;
};

std::wstring ExceptionWordsOf(const ModeParams& params) {
  switch (params.bigsmall) {
    case 0: return params.bsexcept0;
    case 1:
    case 2: return params.bsexcept1;
    case 4: return params.bsexcept2;
    default: return {};
  }
}

int WidthMask(const ModeParams& params) {
  return (params.widthDigits ? 1 : 0) | (params.widthLetters ? 2 : 0) | (params.widthKatakana ? 4 : 0) |
         (params.widthSymbols ? 8 : 0);
}

std::string OrdinaryRecord(int codeIndex, int d0, int d1, int d2, std::wstring_view textA,
                           std::wstring_view textB = {}) {
  const StepDigitLimits& limits = kStepCodes[codeIndex].limits;
  return FormatStepRecord(codeIndex, Digit(d0, limits.d0), Digit(d1, limits.d1), Digit(d2, limits.d2), textA,
                          textB);
}

void DecodeStep(const BoundedBytes& bytes, size_t offset, int codeIndex, MacroRecord& record) {
  record.kind = MacroRecordKind::Step;
  record.codeIndex = codeIndex;
  record.d0 = bytes.At(offset + 3) - '0';
  record.d1 = bytes.At(offset + 4) - '0';
  record.d2 = bytes.At(offset + 5) - '0';
  const std::string_view storedA = bytes.Field(offset + 6);
  const std::string_view storedB = bytes.Field(offset + 7 + storedA.size());
  record.textA = DecodeStepText(storedA);
  record.textB = DecodeStepText(storedB);
  record.length = storedA.size() + storedB.size() + kStepRecordFixedLength;
}

void DecodePositionEdit(const BoundedBytes& bytes, size_t offset, int version, MacroRecord& record) {
  record.kind = MacroRecordKind::Step;
  record.codeIndex = kPositionEditCode;
  const size_t mapStart = offset + (version == 12 ? kMapOffsetVersion12 : kMapOffset);
  const size_t mapBytes = 2 * kStoredMapEntries;
  record.encodedMap.reserve(mapBytes);
  for (size_t i = 0; i < mapBytes && mapStart + i < bytes.Size(); ++i) record.encodedMap.push_back(bytes.At(mapStart + i));
  for (int i = 0; i < kStoredMapEntries; ++i) {
    record.map[i] = DecodeMapEntry(bytes.At(mapStart + 2 * i), bytes.At(mapStart + 2 * i + 1));
  }
  record.flag = bytes.At(offset + kPositionFlagOffset);
  record.flag2 = bytes.At(offset + kPositionFlagOffset + 1);
  const std::string_view stored = bytes.Field(offset + kPositionTextOffset);
  record.textA = DecodeStepText(stored);
  record.length = stored.size() + kPositionRecordFixedLength;
}

void DecodeHeader(const BoundedBytes& bytes, size_t offset, MacroRecord& record) {
  record.kind = MacroRecordKind::Header;
  record.versionDigits[0] = bytes.At(offset + 2);
  record.versionDigits[1] = bytes.At(offset + 3);
  record.version = 10 * (static_cast<unsigned char>(record.versionDigits[0]) - '0') +
                   (static_cast<unsigned char>(record.versionDigits[1]) - '0');
  record.target = bytes.At(offset + 4);
  record.length = kHeaderRecordLength;
}

}  // namespace

std::string EncodeMapEntry(int value) {
  const int stored = std::clamp(value, kMinMapValue, kMaxMapValue) + 1;
  char text[4];
  if (stored <= 255) {
    std::snprintf(text, sizeof(text), "%02x", stored);
  } else {
    std::snprintf(text, sizeof(text), "+%d", stored - 256);
  }
  return text;
}

int DecodeMapEntry(char first, char second) {
  if (first == '+') return second >= '0' && second <= '9' ? 255 + (second - '0') : kTypedPosition;
  const int high = HexValue(first), low = HexValue(second);
  if (high < 0 || low < 0) return kTypedPosition;
  return high * 16 + low - 1;
}

std::string EncodePositionMap(const std::array<int, kPositionMapSize>& map, size_t count) {
  std::string text;
  count = std::min(count, map.size());
  text.reserve(2 * count);
  for (size_t i = 0; i < count; ++i) text += EncodeMapEntry(map[i]);
  return text;
}

std::string BuildHeaderRecord(int fileDir) {
  std::string header = "KV15";
  header.push_back(fileDir == 1 ? '1' : '0');
  header.push_back('\n');
  return header;
}

std::string BuildEditorHeaderRecord() { return BuildHeaderRecord(0); }

std::string FormatStepRecord(int codeIndex, char d0, char d1, char d2, std::wstring_view textA,
                             std::wstring_view textB) {
  if (codeIndex < 0 || codeIndex >= kStepCodeCount || codeIndex == kPositionEditCode) return {};
  std::string record(kStepCodes[codeIndex].text, kStepCodeLength);
  record += d0;
  record += d1;
  record += d2;
  record += EncodeStepText(textA);
  record += '\0';
  record += EncodeStepText(textB);
  record += '\0';
  record += '\n';
  return record;
}

std::string FormatPositionRecord(const std::array<int, kPositionMapSize>& map, char flag, std::wstring_view text) {
  std::string record(kStepCodes[kPositionEditCode].text, kStepCodeLength);
  record += EncodePositionMap(map, kStoredMapEntries);
  record += flag;
  record += '0';
  record += ' ';
  record += EncodeStepText(text);
  record += '\0';
  record += '\n';
  return record;
}

std::string BuildPositionRecordFromShownMap(std::string_view shownMap, char flag, std::wstring_view text) {
  constexpr int kEntries = kPositionMapSize;
  constexpr int kHighestStored = kMaxMapValue + 1;
  std::string map;
  map.reserve(2 * kEntries);
  int stored = 0;  // value + 1 of the last entry
  for (size_t i = 0; i + 1 < shownMap.size() && map.size() < 2 * kEntries; i += 2) {
    stored = DecodeMapEntry(shownMap[i], shownMap[i + 1]) + 1;
    map.append(shownMap.substr(i, 2));
  }
  while (map.size() < 2 * kEntries) {
    stored = std::min(stored + 1, kHighestStored);
    map += EncodeMapEntry(stored - 1);
  }
  map[2 * kEntries - 2] = flag;
  map[2 * kEntries - 1] = '0';

  std::string record(kStepCodes[kPositionEditCode].text, kStepCodeLength);
  record += map;
  record += ' ';
  record += EncodeStepText(text);
  record += '\0';
  record += '\n';
  return record;
}

std::string BuildStepRecord(int mode, const ModeParams& p) {
  const int index = StepCodeIndexOfMode(mode);
  switch (mode) {
    case kModePositionEdit:
      return FormatPositionRecord(p.positionMap, p.posedtnoext ? '1' : '0', p.positionText);
    case kModeExtension:
      return OrdinaryRecord(index, p.extadd, 0, 0, p.extensionText);
    case kModeSerialNumber:
      return OrdinaryRecord(index, p.numinspos, p.dirrenreset, 0, p.renbanstr);
    case kModeLetterCase:
      return OrdinaryRecord(index, p.bigsmall, p.dbytebig, 0, ExceptionWordsOf(p));
    case kModeCharWidth:
      return OrdinaryRecord(index, p.zenorhan, WidthMask(p), 0, L"");
    case kModeShortName:
      return OrdinaryRecord(index, p.real8_3, 0, 0, L"");
    case kModeAddText: {
      const int position = std::clamp(p.addlen, 0, 99);
      return OrdinaryRecord(index, p.addprepost, position / 10, position % 10, p.addstr);
    }
    case kModeDeleteText: {
      const int count = std::clamp(p.dellen, 0, 99);
      return OrdinaryRecord(index, p.deltype, count / 10, count % 10, std::to_wstring(std::clamp(p.dellen2, 0, 999)));
    }
    case kModeDateTime: {
      const bool freeFormat = p.datefrom < 0 || p.datefrom >= kFreeDateFormat;
      const std::wstring separator = p.addyymmdd ? kYearMark + p.sepstr : p.sepstr;
      return OrdinaryRecord(index, p.whichdate, freeFormat ? kFreeDateFormat : p.datefrom, p.dateins, separator,
                            freeFormat ? std::wstring_view(p.ymdform) : std::wstring_view());
    }
    case kModeReplace:
      return OrdinaryRecord(index, p.repmode, p.regexp, (p.repwithext ? 1 : 0) | (p.repcase ? 2 : 0), p.replaceFrom,
                            p.replaceTo);
    case kModeCsvNames:
      return OrdinaryRecord(index, 0, 0, 0, L"");
    case kModeRandomName:
      return OrdinaryRecord(index, p.rndpattern, p.rndlen, p.rndext, L"");
    default:
      return {};
  }
}

MacroRecord DecodeRecord(const unsigned char* data, size_t size, size_t offset, int version) {
  MacroRecord record;
  const BoundedBytes bytes(data, size);
  if (offset >= bytes.Size()) return record;
  const char code[kStepCodeLength] = {bytes.At(offset), bytes.At(offset + 1), bytes.At(offset + 2)};
  const int index = StepCodeIndexOfText(std::string_view(code, kStepCodeLength));

  if (index >= 0 && index != kPositionEditCode &&
      DigitsWithinLimits(index, bytes.At(offset + 3), bytes.At(offset + 4), bytes.At(offset + 5))) {
    DecodeStep(bytes, offset, index, record);
  } else if (index == kPositionEditCode) {
    DecodePositionEdit(bytes, offset, version, record);
  } else if (code[0] == 'K' && code[1] == 'V') {
    DecodeHeader(bytes, offset, record);
  } else {
    return record;
  }
  record.whole = record.length <= bytes.Size() - offset;
  record.length = std::min(record.length, bytes.Size() - offset);
  return record;
}

char ShownPositionFlag(const MacroRecord& step) {
  return step.flag == '1' && (step.flag2 == '0' || step.flag2 == '1') ? '1' : '0';
}

bool HeaderVersionSupported(const MacroRecord& header) { return header.version >= 11 && header.version <= 15; }

bool HeaderAccepted(const MacroRecord& header) { return header.target == '0' || header.target == '1'; }

int ValidateRecord(const unsigned char* data, size_t size) {
  const MacroRecord record = DecodeRecord(data, size, 0, 0);
  if (record.kind != MacroRecordKind::Step) return -1;
  if (record.codeIndex == kPositionEditCode &&
      (record.flag < '0' || record.flag > kStepCodes[kPositionEditCode].limits.d0)) {
    return -1;
  }
  return record.codeIndex;
}

}  // namespace korval
