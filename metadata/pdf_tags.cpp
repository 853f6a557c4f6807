// Title, Author and Subject of PDF files: the Info dictionary the trailer names, found through the
// cross-reference tables or streams (and their chain of earlier versions), also when it sits in a
// compressed object stream. When the cross references are broken, a bounded scan finds the trailer's
// Info reference and the object itself. Encrypted files give nothing.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"
#include "metadata/zip_archive.h"

namespace korval {
namespace {

constexpr size_t kTailWindow = 2048;          // where "startxref" is looked for
constexpr size_t kObjectWindow = 65536;       // bytes read for one object's dictionary
constexpr size_t kSubsectionWindow = 128;     // bytes read for a subsection's first line
constexpr size_t kMaxXrefSections = 64;       // tables and streams in the chain of versions
constexpr size_t kMaxSubsections = 4096;      // subsections of one classic table
constexpr size_t kMaxInflatedBytes = 8 * 1024 * 1024;
constexpr size_t kMaxXrefStreamBytes = 32 * 1024 * 1024;  // all cross-reference streams together
constexpr int kMaxDepth = 16;                  // arrays and dictionaries inside each other
constexpr size_t kMaxValues = 20000;           // values parsed from one window or stream
constexpr uint64_t kMaxObjectsInStream = 100000;
constexpr size_t kMaxFieldWidth = 8;           // bytes of one field of a cross-reference stream row
constexpr uint64_t kMaxObjectNumber = 0x7FFFFFFF;
constexpr uint64_t kScanHalf = 4 * 1024 * 1024;  // a broken file is scanned at its head and tail
constexpr size_t kScanChunk = 1024 * 1024;
constexpr size_t kScanOverlap = 64;
constexpr size_t kInfoScanWindow = 256 * 1024;  // the tail scanned for the trailer's Info reference
constexpr size_t kMaxStringBytes = 65536;

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0'; }
bool IsDelimiter(char c) {
  return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' || c == '/' ||
         c == '%';
}
bool IsRegular(char c) { return !IsWhite(c) && !IsDelimiter(c); }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct Value {
  enum class Kind : uint8_t { kNull, kBool, kInteger, kReal, kName, kString, kArray, kDictionary, kReference };
  Kind kind = Kind::kNull;
  int64_t integer = 0;      // also a reference's object number
  uint32_t generation = 0;  // a reference's generation
  std::string text;         // a name (without the slash) or a string's bytes
  std::vector<std::string> keys;
  std::vector<Value> items;  // an array's items or a dictionary's values

  bool Is(Kind k) const { return kind == k; }
  const Value* Get(std::string_view key) const {
    if (kind != Kind::kDictionary) return nullptr;
    for (size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == key) return &items[i];
    }
    return nullptr;
  }
  bool IsName(std::string_view name) const { return kind == Kind::kName && text == name; }
};

bool GetInteger(const Value& dictionary, std::string_view key, int64_t& out) {
  const Value* v = dictionary.Get(key);
  if (v == nullptr || !v->Is(Value::Kind::kInteger)) return false;
  out = v->integer;
  return true;
}

// Parses the objects of one piece of the file (or of a decoded stream), with a budget of values.
class Parser {
 public:
  explicit Parser(std::string_view data, size_t at = 0) : data_(data), at_(std::min(at, data.size())) {}
  size_t Position() const { return at_; }
  void Seek(size_t at) { at_ = std::min(at, data_.size()); }
  bool AtEnd() const { return at_ >= data_.size(); }

  void SkipSpace() {
    while (at_ < data_.size()) {
      if (IsWhite(data_[at_])) {
        ++at_;
      } else if (data_[at_] == '%') {
        while (at_ < data_.size() && data_[at_] != '\r' && data_[at_] != '\n') ++at_;
      } else {
        return;
      }
    }
  }

  // The keyword at the current place (after white space), which is consumed when it matches.
  bool Keyword(std::string_view word) {
    SkipSpace();
    if (data_.substr(at_, word.size()) != word) return false;
    if (at_ + word.size() < data_.size() && IsRegular(data_[at_ + word.size()])) return false;
    at_ += word.size();
    return true;
  }

  bool Integer(int64_t& value) {
    SkipSpace();
    size_t p = at_;
    value = 0;
    while (p < data_.size() && data_[p] >= '0' && data_[p] <= '9') {
      if (value > (INT64_MAX - 9) / 10) return false;
      value = value * 10 + (data_[p] - '0');
      ++p;
    }
    if (p == at_ || (p < data_.size() && IsRegular(data_[p]))) return false;
    at_ = p;
    return true;
  }

  // "n g obj": the header of an indirect object.
  bool ObjectHeader(int64_t& number, int64_t& generation) {
    return Integer(number) && Integer(generation) && Keyword("obj");
  }

  bool ParseValue(Value& v, int depth = 0) {
    SkipSpace();
    if (at_ >= data_.size() || depth > kMaxDepth || ++values_ > kMaxValues) return false;
    const char c = data_[at_];
    if (c == '/') {
      v.kind = Value::Kind::kName;
      return ParseName(v.text);
    }
    if (c == '(') {
      v.kind = Value::Kind::kString;
      return ParseLiteral(v.text);
    }
    if (c == '<' && at_ + 1 < data_.size() && data_[at_ + 1] == '<') return ParseDictionary(v, depth);
    if (c == '<') {
      v.kind = Value::Kind::kString;
      return ParseHex(v.text);
    }
    if (c == '[') {
      ++at_;
      v.kind = Value::Kind::kArray;
      for (;;) {
        SkipSpace();
        if (at_ >= data_.size()) return false;
        if (data_[at_] == ']') {
          ++at_;
          return true;
        }
        v.items.emplace_back();
        if (!ParseValue(v.items.back(), depth + 1)) return false;
      }
    }
    if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.') return ParseNumberOrReference(v);
    if (Keyword("true") || Keyword("false")) {
      v.kind = Value::Kind::kBool;
      return true;
    }
    if (Keyword("null")) {
      v.kind = Value::Kind::kNull;
      return true;
    }
    return false;
  }

 private:
  bool ParseDictionary(Value& v, int depth) {
    at_ += 2;
    v.kind = Value::Kind::kDictionary;
    for (;;) {
      SkipSpace();
      if (at_ + 1 < data_.size() && data_[at_] == '>' && data_[at_ + 1] == '>') {
        at_ += 2;
        return true;
      }
      if (at_ >= data_.size() || data_[at_] != '/') return false;
      std::string key;
      if (!ParseName(key)) return false;
      Value item;
      if (!ParseValue(item, depth + 1)) return false;
      v.keys.push_back(std::move(key));
      v.items.push_back(std::move(item));
    }
  }

  bool ParseName(std::string& name) {
    ++at_;
    name.clear();
    while (at_ < data_.size() && IsRegular(data_[at_])) {
      const char c = data_[at_++];
      if (c == '#' && at_ + 1 < data_.size() && HexDigit(data_[at_]) >= 0 && HexDigit(data_[at_ + 1]) >= 0) {
        name += static_cast<char>(HexDigit(data_[at_]) * 16 + HexDigit(data_[at_ + 1]));
        at_ += 2;
      } else {
        name += c;
      }
    }
    return true;
  }

  // A literal string: balanced parentheses, backslash escapes, octal codes, lines continued by a
  // backslash, and every end of line read as a line feed.
  bool ParseLiteral(std::string& out) {
    ++at_;
    out.clear();
    int open = 1;
    while (at_ < data_.size() && out.size() <= kMaxStringBytes) {
      char c = data_[at_++];
      if (c == '(') {
        ++open;
      } else if (c == ')') {
        if (--open == 0) return true;
      } else if (c == '\r') {
        if (at_ < data_.size() && data_[at_] == '\n') ++at_;
        c = '\n';
      } else if (c == '\\') {
        if (at_ >= data_.size()) return false;
        c = data_[at_++];
        switch (c) {
          case 'n': c = '\n'; break;
          case 'r': c = '\r'; break;
          case 't': c = '\t'; break;
          case 'b': c = '\b'; break;
          case 'f': c = '\f'; break;
          case '\r':
            if (at_ < data_.size() && data_[at_] == '\n') ++at_;
            continue;
          case '\n': continue;
          default:
            if (c >= '0' && c <= '7') {
              int code = c - '0';
              for (int i = 0; i < 2 && at_ < data_.size() && data_[at_] >= '0' && data_[at_] <= '7'; ++i) {
                code = code * 8 + (data_[at_++] - '0');
              }
              c = static_cast<char>(code & 0xFF);
            }
            break;  // "\(", "\)", "\\" and unknown escapes stand for the character itself
        }
      }
      out += c;
    }
    return false;
  }

  // A hex string; white space is ignored and an odd last digit counts as followed by a zero.
  bool ParseHex(std::string& out) {
    ++at_;
    out.clear();
    int high = -1;
    while (at_ < data_.size() && out.size() <= kMaxStringBytes) {
      const char c = data_[at_++];
      if (c == '>') {
        if (high >= 0) out += static_cast<char>(high << 4);
        return true;
      }
      if (IsWhite(c)) continue;
      const int d = HexDigit(c);
      if (d < 0) return false;
      if (high < 0) {
        high = d;
      } else {
        out += static_cast<char>(high << 4 | d);
        high = -1;
      }
    }
    return false;
  }

  bool ParseNumberOrReference(Value& v) {
    const size_t start = at_;
    int64_t number = 0;
    if (Integer(number)) {
      const size_t afterFirst = at_;
      int64_t generation = 0;
      if (Integer(generation) && Keyword("R") && number <= static_cast<int64_t>(kMaxObjectNumber) &&
          generation <= 65535) {
        v.kind = Value::Kind::kReference;
        v.integer = number;
        v.generation = static_cast<uint32_t>(generation);
        return true;
      }
      at_ = afterFirst;
      v.kind = Value::Kind::kInteger;
      v.integer = number;
      return true;
    }
    at_ = start;
    if (data_[at_] == '+' || data_[at_] == '-') ++at_;
    const size_t digits = at_;
    while (at_ < data_.size() && ((data_[at_] >= '0' && data_[at_] <= '9') || data_[at_] == '.')) ++at_;
    if (at_ == digits) return false;
    v.kind = Value::Kind::kReal;
    return true;
  }

  std::string_view data_;
  size_t at_ = 0;
  size_t values_ = 0;
};

struct XrefEntry {
  uint64_t type = 0;  // 0 free, 1 at an offset, 2 in an object stream
  uint64_t second = 0;  // the offset, or the object stream's number
  uint64_t third = 0;   // the generation, or the index inside the object stream
};

struct Subsection {
  uint64_t first = 0;
  uint64_t count = 0;
  uint64_t at = 0;  // where the first 20-byte entry starts (classic tables)
};

struct XrefSection {
  bool stream = false;
  std::vector<Subsection> subsections;
  std::string rows;  // a cross-reference stream's decoded rows
  size_t widths[3] = {};
};

// PNG predictors on rows of `columns` bytes (one byte per pixel), each row led by its filter type.
bool Unpredict(std::string& data, uint64_t columns) {
  if (columns == 0 || columns > kMaxInflatedBytes) return false;
  const size_t width = static_cast<size_t>(columns);
  if (data.size() % (width + 1) != 0) return false;
  std::string out;
  out.reserve(data.size() / (width + 1) * width);
  std::string previous(width, '\0');
  for (size_t row = 0; row < data.size(); row += width + 1) {
    const unsigned type = static_cast<unsigned char>(data[row]);
    std::string current(width, '\0');
    for (size_t i = 0; i < width; ++i) {
      const int raw = static_cast<unsigned char>(data[row + 1 + i]);
      const int left = i > 0 ? static_cast<unsigned char>(current[i - 1]) : 0;
      const int up = static_cast<unsigned char>(previous[i]);
      const int upLeft = i > 0 ? static_cast<unsigned char>(previous[i - 1]) : 0;
      int predicted = 0;
      switch (type) {
        case 0: break;
        case 1: predicted = left; break;
        case 2: predicted = up; break;
        case 3: predicted = (left + up) / 2; break;
        case 4: {
          const int p = left + up - upLeft;
          const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
          predicted = pa <= pb && pa <= pc ? left : (pb <= pc ? up : upLeft);
          break;
        }
        default: return false;
      }
      current[i] = static_cast<char>((raw + predicted) & 0xFF);
    }
    out += current;
    previous.swap(current);
  }
  data.swap(out);
  return true;
}

class PdfFile {
 public:
  explicit PdfFile(ByteSource& source) : source_(source) {}

  // Walks the cross references from "startxref" back through their earlier versions. False when the
  // newest one cannot be read; `info` is the newest trailer's Info reference.
  bool ReadCrossReferences(std::optional<Value>& info, bool& encrypted);
  // The trailer's Info reference found by scanning the end of the file.
  void ScanForInfo(std::optional<Value>& info, bool& encrypted);
  // The value of object `number`: through the cross references, else found by a scan.
  bool Fetch(const Value& reference, Value& out);

 private:
  bool ReadWindow(uint64_t at, size_t size, std::string& out) {
    return at <= source_.Size() && source_.ReadText(at, size, out);
  }
  bool ReadClassic(uint64_t at, Value& trailer);
  bool ReadXrefStream(uint64_t at, Value& trailer);
  bool Lookup(uint64_t number, XrefEntry& entry);
  bool ParseObjectAt(uint64_t at, uint64_t number, uint64_t generation, Value& out);
  bool ReadStream(uint64_t at, uint64_t number, Value& dictionary, std::string& data);
  bool FromObjectStream(uint64_t streamNumber, uint64_t number, Value& out);
  bool ScanForObject(uint64_t number, uint64_t generation, uint64_t& at);

  ByteSource& source_;
  std::vector<XrefSection> sections_;
  size_t xrefStreamBytes_ = 0;
  std::optional<uint64_t> cachedStream_;  // the object stream last decoded, and its contents
  std::string cachedData_;
  int64_t cachedFirst_ = 0;
  int64_t cachedCount_ = 0;
};

bool PdfFile::ReadCrossReferences(std::optional<Value>& info, bool& encrypted) {
  const uint64_t size = source_.Size();
  const uint64_t tailStart = size > kTailWindow ? size - kTailWindow : 0;
  std::string tail;
  if (!ReadWindow(tailStart, kTailWindow, tail)) return false;
  const size_t found = tail.rfind("startxref");
  if (found == std::string::npos) return false;
  Parser p(tail, found + 9);
  int64_t start = 0;
  if (!p.Integer(start)) return false;
  std::set<uint64_t> visited;
  std::vector<uint64_t> pending = {static_cast<uint64_t>(start)};
  for (size_t n = 0; n < kMaxXrefSections && !pending.empty(); ++n) {
    const uint64_t at = pending.back();
    pending.pop_back();
    if (!visited.insert(at).second) continue;  // a chain that points back at itself
    Value trailer;
    std::string head;
    const bool classic = ReadWindow(at, 4, head) && head == "xref";
    if (!(classic ? ReadClassic(at, trailer) : ReadXrefStream(at, trailer))) {
      if (n == 0) return false;
      break;
    }
    if (trailer.Get("Encrypt") != nullptr) encrypted = true;
    const Value* infoValue = trailer.Get("Info");
    if (!info && infoValue != nullptr && infoValue->Is(Value::Kind::kReference)) info = *infoValue;
    int64_t next = 0;
    if (GetInteger(trailer, "Prev", next) && next >= 0) pending.push_back(static_cast<uint64_t>(next));
    // A table written for older readers names its stream of compressed entries, which ranks next.
    if (classic && GetInteger(trailer, "XRefStm", next) && next >= 0) pending.push_back(static_cast<uint64_t>(next));
  }
  return true;
}

bool PdfFile::ReadClassic(uint64_t at, Value& trailer) {
  XrefSection section;
  uint64_t position = at + 4;
  for (size_t n = 0; n < kMaxSubsections; ++n) {
    std::string window;
    if (!ReadWindow(position, kSubsectionWindow, window)) return false;
    Parser p(window);
    if (p.Keyword("trailer")) {
      if (!ReadWindow(position + p.Position(), kObjectWindow, window)) return false;
      Parser dictionary(window);
      if (!dictionary.ParseValue(trailer) || !trailer.Is(Value::Kind::kDictionary)) return false;
      sections_.push_back(std::move(section));
      return true;
    }
    int64_t first = 0, count = 0;
    if (!p.Integer(first) || !p.Integer(count)) return false;
    p.SkipSpace();
    Subsection sub{static_cast<uint64_t>(first), static_cast<uint64_t>(count), position + p.Position()};
    if (sub.first > kMaxObjectNumber || sub.count > kMaxObjectNumber || !source_.Holds(sub.at, sub.count * 20)) {
      return false;
    }
    section.subsections.push_back(sub);
    position = sub.at + sub.count * 20;
  }
  return false;
}

bool PdfFile::ReadXrefStream(uint64_t at, Value& trailer) {
  XrefSection section;
  section.stream = true;
  std::string rows;
  if (!ReadStream(at, 0, trailer, rows) || !trailer.Get("Type") || !trailer.Get("Type")->IsName("XRef")) return false;
  const Value* w = trailer.Get("W");
  if (w == nullptr || !w->Is(Value::Kind::kArray) || w->items.size() != 3) return false;
  size_t rowWidth = 0;
  for (int i = 0; i < 3; ++i) {
    const Value& item = w->items[i];
    if (!item.Is(Value::Kind::kInteger) || item.integer < 0 || item.integer > static_cast<int64_t>(kMaxFieldWidth)) {
      return false;
    }
    section.widths[i] = static_cast<size_t>(item.integer);
    rowWidth += section.widths[i];
  }
  int64_t size = 0;
  if (rowWidth == 0 || !GetInteger(trailer, "Size", size) || size < 0) return false;
  const Value* index = trailer.Get("Index");
  uint64_t row = 0;
  if (index == nullptr) {
    section.subsections.push_back({0, static_cast<uint64_t>(size), 0});
  } else {
    if (!index->Is(Value::Kind::kArray) || index->items.size() % 2 != 0 || index->items.size() > kMaxSubsections * 2) {
      return false;
    }
    for (size_t i = 0; i < index->items.size(); i += 2) {
      const Value& first = index->items[i];
      const Value& count = index->items[i + 1];
      if (!first.Is(Value::Kind::kInteger) || !count.Is(Value::Kind::kInteger) || first.integer < 0 ||
          count.integer < 0 || first.integer > static_cast<int64_t>(kMaxObjectNumber) ||
          count.integer > static_cast<int64_t>(kMaxObjectNumber)) {
        return false;
      }
      section.subsections.push_back({static_cast<uint64_t>(first.integer), static_cast<uint64_t>(count.integer), row});
      row += static_cast<uint64_t>(count.integer);
    }
  }
  if (rows.size() > kMaxXrefStreamBytes - xrefStreamBytes_) return false;
  xrefStreamBytes_ += rows.size();
  section.rows = std::move(rows);
  sections_.push_back(std::move(section));
  return true;
}

bool PdfFile::Lookup(uint64_t number, XrefEntry& entry) {
  for (const XrefSection& section : sections_) {
    for (const Subsection& sub : section.subsections) {
      if (number < sub.first || number - sub.first >= sub.count) continue;
      const uint64_t i = number - sub.first;
      if (!section.stream) {
        char e[20];
        if (!source_.Read(sub.at + i * 20, sizeof(e), reinterpret_cast<unsigned char*>(e))) return false;
        Parser p(std::string_view(e, sizeof(e)));
        int64_t offset = 0, generation = 0;
        if (!p.Integer(offset) || !p.Integer(generation)) return false;
        p.SkipSpace();
        if (p.Keyword("f")) return false;  // freed in this version
        if (!p.Keyword("n")) return false;
        entry = {1, static_cast<uint64_t>(offset), static_cast<uint64_t>(generation)};
        return true;
      }
      const size_t rowWidth = section.widths[0] + section.widths[1] + section.widths[2];
      const uint64_t row = sub.at + i;
      if (row >= section.rows.size() / rowWidth) return false;
      const unsigned char* b = reinterpret_cast<const unsigned char*>(section.rows.data()) + row * rowWidth;
      uint64_t fields[3] = {1, 0, 0};  // a missing type field means "at an offset"
      for (int f = 0; f < 3; ++f) {
        if (section.widths[f] == 0) continue;
        fields[f] = 0;
        for (size_t k = 0; k < section.widths[f]; ++k) fields[f] = fields[f] << 8 | *b++;
      }
      if (fields[0] != 1 && fields[0] != 2) return false;
      entry = {fields[0], fields[1], fields[2]};
      return true;
    }
  }
  return false;
}

bool PdfFile::ParseObjectAt(uint64_t at, uint64_t number, uint64_t generation, Value& out) {
  std::string window;
  if (!ReadWindow(at, kObjectWindow, window)) return false;
  Parser p(window);
  int64_t n = 0, g = 0;
  return p.ObjectHeader(n, g) && static_cast<uint64_t>(n) == number && static_cast<uint64_t>(g) == generation &&
         p.ParseValue(out);
}

// The dictionary and decoded data of the stream object at `at` (whose number is checked unless 0).
bool PdfFile::ReadStream(uint64_t at, uint64_t number, Value& dictionary, std::string& data) {
  std::string window;
  if (!ReadWindow(at, kObjectWindow, window)) return false;
  Parser p(window);
  int64_t n = 0, g = 0;
  if (!p.ObjectHeader(n, g) || (number != 0 && static_cast<uint64_t>(n) != number) || !p.ParseValue(dictionary) ||
      !dictionary.Is(Value::Kind::kDictionary) || !p.Keyword("stream")) {
    return false;
  }
  size_t start = p.Position();
  if (start < window.size() && window[start] == '\r') ++start;
  if (start < window.size() && window[start] == '\n') ++start;
  const Value* lengthValue = dictionary.Get("Length");
  if (lengthValue == nullptr) return false;
  int64_t length = -1;
  if (lengthValue->Is(Value::Kind::kInteger)) {
    length = lengthValue->integer;
  } else if (lengthValue->Is(Value::Kind::kReference)) {
    // A length written as its own object after the stream: resolved once, never further.
    XrefEntry entry;
    Value resolved;
    if (Lookup(static_cast<uint64_t>(lengthValue->integer), entry) && entry.type == 1 &&
        ParseObjectAt(entry.second, static_cast<uint64_t>(lengthValue->integer), lengthValue->generation, resolved) &&
        resolved.Is(Value::Kind::kInteger)) {
      length = resolved.integer;
    }
  }
  const uint64_t dataAt = at + start;
  if (length < 0 || !source_.Holds(dataAt, static_cast<uint64_t>(length))) return false;
  const Value* filter = dictionary.Get("Filter");
  if (filter != nullptr && filter->Is(Value::Kind::kArray)) {
    if (filter->items.size() > 1) return false;
    filter = filter->items.empty() ? nullptr : &filter->items[0];
  }
  if (filter == nullptr) {
    if (static_cast<uint64_t>(length) > kMaxInflatedBytes) return false;
    return source_.ReadText(dataAt, static_cast<size_t>(length), data);
  }
  if (!filter->IsName("FlateDecode") ||
      !InflateFromSource(source_, dataAt, static_cast<uint64_t>(length), false, kMaxInflatedBytes, data)) {
    return false;
  }
  const Value* parms = dictionary.Get("DecodeParms");
  if (parms != nullptr && parms->Is(Value::Kind::kArray)) parms = parms->items.empty() ? nullptr : &parms->items[0];
  int64_t predictor = 1, columns = 1, colors = 1, bits = 8;
  if (parms == nullptr || !GetInteger(*parms, "Predictor", predictor) || predictor == 1) return true;
  GetInteger(*parms, "Columns", columns);
  GetInteger(*parms, "Colors", colors);
  GetInteger(*parms, "BitsPerComponent", bits);
  // Cross references and object streams use bytes as pixels; other layouts are not undone.
  if (predictor < 10 || colors != 1 || bits != 8 || columns <= 0) return false;
  return Unpredict(data, static_cast<uint64_t>(columns));
}

bool PdfFile::FromObjectStream(uint64_t streamNumber, uint64_t number, Value& out) {
  if (cachedStream_ != streamNumber) {
    cachedStream_.reset();
    XrefEntry entry;
    Value dictionary;
    if (!Lookup(streamNumber, entry) || entry.type != 1 ||
        !ReadStream(entry.second, streamNumber, dictionary, cachedData_) || !dictionary.Get("Type") ||
        !dictionary.Get("Type")->IsName("ObjStm") || !GetInteger(dictionary, "N", cachedCount_) ||
        !GetInteger(dictionary, "First", cachedFirst_) || cachedCount_ < 0 || cachedFirst_ < 0 ||
        static_cast<uint64_t>(cachedFirst_) > cachedData_.size()) {
      return false;
    }
    cachedStream_ = streamNumber;
  }
  // The stream starts with pairs of object number and offset, read in order: a wrong index in the
  // cross reference still finds the object.
  const std::string_view pairs(cachedData_.data(), static_cast<size_t>(cachedFirst_));
  Parser header(pairs);
  const uint64_t count = std::min<uint64_t>(static_cast<uint64_t>(cachedCount_), kMaxObjectsInStream);
  for (uint64_t i = 0; i < count; ++i) {
    int64_t n = 0, offset = 0;
    if (!header.Integer(n) || !header.Integer(offset)) return false;
    if (static_cast<uint64_t>(n) != number) continue;
    const uint64_t at = static_cast<uint64_t>(cachedFirst_) + static_cast<uint64_t>(offset);
    if (at >= cachedData_.size()) return false;
    Parser p(cachedData_, static_cast<size_t>(at));
    return p.ParseValue(out);
  }
  return false;
}

// The place of "n g obj" in a file whose cross references fail: its head and its tail are searched,
// and the last place found (the newest version of the object) wins.
bool PdfFile::ScanForObject(uint64_t number, uint64_t generation, uint64_t& at) {
  const std::string needle = std::to_string(number) + " " + std::to_string(generation) + " obj";
  const uint64_t size = source_.Size();
  struct Range { uint64_t from, to; };
  std::vector<Range> ranges;
  if (size <= 2 * kScanHalf) {
    ranges.push_back({0, size});
  } else {
    ranges.push_back({0, kScanHalf});
    ranges.push_back({size - kScanHalf, size});
  }
  bool found = false;
  for (const Range& range : ranges) {
    for (uint64_t chunk = range.from; chunk < range.to; chunk += kScanChunk) {
      const uint64_t from = chunk > range.from + kScanOverlap ? chunk - kScanOverlap : range.from;
      std::string bytes;
      if (!ReadWindow(from, static_cast<size_t>(std::min<uint64_t>(range.to - from, kScanChunk + kScanOverlap)), bytes)) {
        return found;
      }
      for (size_t p = bytes.find(needle); p != std::string::npos; p = bytes.find(needle, p + 1)) {
        const bool startsWord = (p == 0 && from == 0) || (p > 0 && !IsRegular(bytes[p - 1]));
        const size_t after = p + needle.size();
        if (startsWord && (after >= bytes.size() || !IsRegular(bytes[after]))) {
          at = from + p;
          found = true;
        }
      }
    }
  }
  return found;
}

void PdfFile::ScanForInfo(std::optional<Value>& info, bool& encrypted) {
  const uint64_t size = source_.Size();
  const uint64_t from = size > kInfoScanWindow ? size - kInfoScanWindow : 0;
  std::string tail;
  if (!ReadWindow(from, kInfoScanWindow, tail)) return;
  if (tail.find("/Encrypt") != std::string::npos) encrypted = true;
  for (size_t p = tail.rfind("/Info"); p != std::string::npos; p = p == 0 ? std::string::npos : tail.rfind("/Info", p - 1)) {
    Parser parser(tail, p + 5);
    Value v;
    if ((p + 5 >= tail.size() || !IsRegular(tail[p + 5])) && parser.ParseValue(v) && v.Is(Value::Kind::kReference)) {
      info = v;
      return;
    }
  }
}

bool PdfFile::Fetch(const Value& reference, Value& out) {
  const uint64_t number = static_cast<uint64_t>(reference.integer);
  XrefEntry entry;
  if (Lookup(number, entry)) {
    if (entry.type == 1 && ParseObjectAt(entry.second, number, reference.generation, out)) return true;
    if (entry.type == 2 && reference.generation == 0 && FromObjectStream(entry.second, number, out)) {
      return true;
    }
  }
  out = Value();
  uint64_t at = 0;
  return ScanForObject(number, reference.generation, at) && ParseObjectAt(at, number, reference.generation, out);
}

// A PDF text string: UTF-16BE or UTF-8 behind their marks, else PDFDocEncoding.
std::wstring TextFromPdfString(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE && static_cast<unsigned char>(bytes[1]) == 0xFF) {
    std::wstring text = TextFromUtf16WithMark(bytes, true);
    // A language tag stands between two escape characters; it is no part of the text.
    std::wstring plain;
    bool inTag = false;
    for (wchar_t c : text) {
      if (c == 0x1B) inTag = !inTag;
      else if (!inTag) plain += c;
    }
    return plain;
  }
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return TextFromUtf8(bytes);
  // The characters where PDFDocEncoding differs from Latin-1 (0 where it does not).
  static constexpr wchar_t kLow[8] = {0x02D8, 0x02C7, 0x02C6, 0x02D9, 0x02DD, 0x02DB, 0x02DA, 0x02DC};
  static constexpr wchar_t kHigh[0x2E] = {
      0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212, 0x2030,
      0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141, 0x0152, 0x0160,
      0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, 0xFFFD, 0x20AC, 0,      0,      0,
      0,      0,      0,      0,      0,      0,      0,      0,      0,      0xFFFD};
  std::wstring text;
  for (char ch : bytes) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == 0) break;
    wchar_t w = c;
    if (c >= 0x18 && c <= 0x1F) w = kLow[c - 0x18];
    if (c >= 0x80 && c <= 0xAD && kHigh[c - 0x80] != 0) w = kHigh[c - 0x80];
    text += w;
  }
  return text;
}

}  // namespace

void ReadPdfTags(ByteSource& source, TagValues& values) {
  static constexpr std::pair<const char*, Tag> kKeys[] = {
      {"Title", Tag::Title}, {"Author", Tag::Author}, {"Subject", Tag::Subject}};
  TagSet tags;
  for (const auto& [key, tag] : kKeys) tags.Add(tag);
  std::string head;
  if (!values.WantsAny(tags) || !source.ReadText(0, 5, head) || head != "%PDF-") return;
  PdfFile pdf(source);
  std::optional<Value> infoRef;
  bool encrypted = false;
  if (!pdf.ReadCrossReferences(infoRef, encrypted)) {
    infoRef.reset();
    pdf.ScanForInfo(infoRef, encrypted);
  }
  Value info;
  if (encrypted || !infoRef || !pdf.Fetch(*infoRef, info) || !info.Is(Value::Kind::kDictionary)) return;
  for (const auto& [key, tag] : kKeys) {
    const Value* value = info.Get(key);
    if (!values.Wants(tag) || value == nullptr) continue;
    Value resolved;
    if (value->Is(Value::Kind::kReference)) {
      if (!pdf.Fetch(*value, resolved)) continue;
      value = &resolved;
    }
    if (value->Is(Value::Kind::kString)) values.Put(tag, TextFromPdfString(value->text));
  }
}

}  // namespace korval
