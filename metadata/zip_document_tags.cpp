// Title, Author and Subject of office documents kept in ZIP archives: the core properties part of
// OOXML files (docx, xlsx, pptx) and the meta part of ODF files (odt, ods, odp). The part is
// inflated up to a bound and its elements found by their qualified names.
#include <string>
#include <string_view>
#include <utility>

#include "metadata/tag_readers.h"
#include "metadata/tag_text.h"
#include "metadata/zip_archive.h"

namespace korval {
namespace {

constexpr size_t kMaxPartBytes = 4 * 1024 * 1024;  // a properties part is a few kilobytes
constexpr size_t kMaxMimeTypeBytes = 256;
constexpr size_t kMaxXmlNodes = 1 << 20;  // tags, comments and text runs walked in one part
constexpr char kCorePart[] = "docProps/core.xml";
constexpr char kContentTypes[] = "[Content_Types].xml";
constexpr char kMetaPart[] = "meta.xml";
constexpr char kMimeTypePart[] = "mimetype";
constexpr std::string_view kOpenDocumentType = "application/vnd.oasis.opendocument.";

bool IsNameChar(char c) { return c != '>' && c != '/' && c != ' ' && c != '\t' && c != '\r' && c != '\n'; }

void AppendUtf8(uint32_t code, std::string& out) {
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Text with its references decoded: the five predefined entities and numeric ones. A reference that
// is none of these stays as written.
void AppendDecoded(std::string_view text, std::string& out) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  size_t at = 0;
  while (at < text.size()) {
    const size_t amp = text.find('&', at);
    if (amp == std::string_view::npos) {
      out.append(text.substr(at));
      return;
    }
    out.append(text.substr(at, amp - at));
    const size_t semi = text.find(';', amp);
    at = amp + 1;
    if (semi == std::string_view::npos || semi - amp > 12) {
      out += '&';
      continue;
    }
    const std::string_view name = text.substr(amp + 1, semi - amp - 1);
    bool decoded = false;
    for (const auto& [entity, c] : kEntities) {
      if (name == entity) {
        out += c;
        decoded = true;
      }
    }
    if (!decoded && name.size() >= 2 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      uint32_t code = 0;
      bool valid = !digits.empty() && digits.size() <= 8;
      for (char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (d < 0) valid = false;
        else code = code * (hex ? 16 : 10) + static_cast<uint32_t>(d);
      }
      if (valid) {
        AppendUtf8(code, out);
        decoded = true;
      }
    }
    if (decoded) {
      at = semi + 1;
    } else {
      out += '&';
    }
  }
}

// The text of the first element named `qualifiedName` (prefix and local name as written), with
// CDATA sections taken as they are and child elements, comments and instructions left out. False
// when there is no such element or the part ends inside it.
bool FindElementText(std::string_view xml, std::string_view qualifiedName, std::string& text) {
  text.clear();
  size_t at = 0;
  int depth = -1;  // the depth inside the wanted element; -1 before it
  for (size_t n = 0; n < kMaxXmlNodes && at < xml.size(); ++n) {
    const size_t open = xml.find('<', at);
    if (open == std::string_view::npos) return false;
    if (depth >= 0) AppendDecoded(xml.substr(at, open - at), text);
    const std::string_view rest = xml.substr(open);
    if (rest.starts_with("<!--")) {
      const size_t end = xml.find("-->", open + 4);
      if (end == std::string_view::npos) return false;
      at = end + 3;
      continue;
    }
    if (rest.starts_with("<![CDATA[")) {
      const size_t end = xml.find("]]>", open + 9);
      if (end == std::string_view::npos) return false;
      if (depth >= 0) text.append(xml.substr(open + 9, end - open - 9));
      at = end + 3;
      continue;
    }
    const size_t close = xml.find('>', open);
    if (close == std::string_view::npos) return false;
    at = close + 1;
    if (rest.starts_with("<?") || rest.starts_with("<!")) continue;
    const bool endTag = rest.size() > 1 && rest[1] == '/';
    const bool empty = xml[close - 1] == '/';
    size_t nameEnd = open + (endTag ? 2 : 1);
    const size_t nameStart = nameEnd;
    while (nameEnd < close && IsNameChar(xml[nameEnd])) ++nameEnd;
    const std::string_view name = xml.substr(nameStart, nameEnd - nameStart);
    if (depth < 0) {
      if (endTag || name != qualifiedName) continue;
      if (empty) return true;
      depth = 0;
    } else if (endTag) {
      if (depth == 0) return true;
      --depth;
    } else if (!empty) {
      ++depth;
    }
  }
  return false;
}

void PutElement(std::string_view xml, std::string_view name, Tag tag, TagValues& values) {
  std::string text;
  if (values.Wants(tag) && FindElementText(xml, name, text)) values.Put(tag, TextFromUtf8(text));
}

bool ReadPart(ZipArchive& zip, const char* name, size_t maxBytes, std::string& out) {
  ZipEntry entry;
  return zip.Find(name, entry) && zip.Read(name, entry, maxBytes, out);
}

}  // namespace

void ReadZipDocumentTags(ByteSource& source, TagValues& values) {
  TagSet tags = TagSet::Of(Tag::Title);
  tags.Add(Tag::Author);
  tags.Add(Tag::Subject);
  uint32_t signature = 0;
  if (!values.WantsAny(tags) || !source.ReadLe32(0, signature) || signature != 0x04034b50) return;
  ZipArchive zip(source);
  if (!zip.Open()) return;
  ZipEntry entry;
  std::string xml;
  if (zip.Find(kContentTypes, entry)) {
    if (!ReadPart(zip, kCorePart, kMaxPartBytes, xml)) return;
    PutElement(xml, "dc:title", Tag::Title, values);
    PutElement(xml, "dc:creator", Tag::Author, values);
    PutElement(xml, "dc:subject", Tag::Subject, values);
    return;
  }
  std::string mimeType;
  if (!ReadPart(zip, kMimeTypePart, kMaxMimeTypeBytes, mimeType) || !mimeType.starts_with(kOpenDocumentType) ||
      !ReadPart(zip, kMetaPart, kMaxPartBytes, xml)) {
    return;
  }
  PutElement(xml, "dc:title", Tag::Title, values);
  PutElement(xml, "meta:initial-creator", Tag::Author, values);
  PutElement(xml, "dc:creator", Tag::Author, values);
  PutElement(xml, "dc:subject", Tag::Subject, values);
}

}  // namespace korval
