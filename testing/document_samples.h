// Documents built byte by byte for the document tag tests: ZIP archives (OOXML and ODF), PDF files
// with classic or compressed cross references, and OLE compound files, each with room for damage.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korval {

namespace samples {

// ---- ZIP

struct ZipPart {
  std::string name;
  std::string data;
  bool deflate = true;
  bool descriptor = false;  // sizes and CRC behind the data; zeros in the local header
  std::optional<uint32_t> claimedSize = std::nullopt;  // the size the directory gives, when it lies
  int localNameLengthError = 0;          // added to the name length in the local header
  bool zip64Extra = false;  // the directory's sizes and offset stand in a ZIP64 extra field
};

struct ZipFlaws {
  std::optional<uint16_t> claimedCount = std::nullopt;  // the entry count of the end record, when it lies
  bool zip64 = false;                    // the end record defers to a ZIP64 end record
  std::string comment = {};
};

std::string RawDeflate(const std::string& data);
std::string ZipBytes(const std::vector<ZipPart>& parts, const ZipFlaws& flaws = {});

// The core properties of an OOXML file; each text goes in as written (already escaped).
std::string CoreXml(const std::string& title, const std::string& creator, const std::string& subject);
std::string Docx(const std::string& coreXml);
// The meta part of an ODF file and a text document holding it.
std::string MetaXml(const std::string& title, const std::string& initialCreator, const std::string& creator,
                    const std::string& subject);
std::string Odt(const std::string& metaXml);

// ---- PDF

// Objects by number, each written as "n 0 obj\n<body>\nendobj".
using PdfObjects = std::vector<std::pair<int, std::string>>;

// One version of a file with classic cross-reference tables: its objects and its trailer's
// entries (besides /Size and /Prev, which are written for it).
struct PdfRevision {
  PdfObjects objects = {};
  std::string trailer = {};
};

struct PdfFlaws {
  int startxrefError = 0;  // added to the offset "startxref" gives
  int offsetError = 0;     // added to every offset of the tables
  bool prevToSelf = false;  // the newest table's /Prev names itself
};

std::string ClassicPdf(const std::vector<PdfRevision>& revisions, const PdfFlaws& flaws = {});

// A file whose objects `packed` sit in one object stream and whose cross references are a stream
// (with the PNG "up" predictor when `predictor`). `streamCount` replaces the object stream's /N.
struct CompressedPdfLayout {
  PdfObjects direct = {};
  PdfObjects packed = {};
  std::string trailer = {};
  bool predictor = true;
  std::string streamCount = {};
};
std::string CompressedPdf(const CompressedPdfLayout& layout);

// ---- OLE compound files

struct OleProperty {
  uint32_t id;
  uint16_t type;
  std::string value;  // the bytes behind the type
};
std::string LpstrValue(const std::string& text);     // length with the NUL, text, NUL
std::string LpwstrValue(const std::u16string& text);  // characters with the NUL, UTF-16LE
std::string CodePageValue(uint16_t codePage);
std::string SummaryStream(const std::vector<OleProperty>& properties, bool summaryFormat = true);

struct OleLayout {
  unsigned shift = 9;
  std::string summary = {};
  bool regularStream = false;  // the stream padded past the mini stream's bound
  bool chainLoops = false;     // the stream's second sector links back to its first
  bool startPastEnd = false;   // the stream starts at a sector past the end of the file
  // The sector table's sectors listed further in a list sector behind the data (the table is
  // declared longer than the header's list), whose link names itself when `listLoops`.
  bool listSector = false;
  bool listLoops = false;
};
std::string OleFile(const OleLayout& layout);

}  // namespace samples

// One good file of each layout the document readers know, for soaks over every reader.
std::vector<std::string> DocumentSamples();

}  // namespace korval
