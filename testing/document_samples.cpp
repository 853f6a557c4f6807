// Builders of the document samples: every byte is written here, ZIP entries deflated through zlib.
#include "testing/document_samples.h"

#include <zlib.h>

#include <algorithm>
#include <map>

#include "testing/byte_order.h"

namespace korval {
namespace samples {
namespace {

uint32_t Crc(const std::string& data) {
  return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

// A zlib stream, as PDF streams hold it.
std::string ZlibDeflate(const std::string& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
            static_cast<uLong>(data.size()), 9);
  out.resize(size);
  return out;
}

}  // namespace

std::string RawDeflate(const std::string& data) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::string ZipBytes(const std::vector<ZipPart>& parts, const ZipFlaws& flaws) {
  std::string out, directory;
  for (const ZipPart& part : parts) {
    const std::string stored = part.deflate ? RawDeflate(part.data) : part.data;
    const uint16_t method = part.deflate ? 8 : 0;
    const uint16_t flags = part.descriptor ? 8 : 0;
    const uint32_t crc = Crc(part.data);
    const uint32_t size = part.claimedSize.value_or(static_cast<uint32_t>(part.data.size()));
    const uint32_t localHeader = static_cast<uint32_t>(out.size());
    const std::string sizes = Le32(crc) + Le32(static_cast<uint32_t>(stored.size())) + Le32(size);
    out += Le32(0x04034b50) + Le16(20) + Le16(flags) + Le16(method) + Le32(0);
    out += part.descriptor ? std::string(12, '\0') : sizes;
    out += Le16(static_cast<uint32_t>(part.name.size() + part.localNameLengthError)) + Le16(0) + part.name;
    out += stored;
    if (part.descriptor) out += Le32(0x08074b50) + sizes;
    const std::string extra = part.zip64Extra ? Le16(1) + Le16(24) + Le64(size) + Le64(stored.size()) + Le64(localHeader) : "";
    const std::string directorySizes =
        part.zip64Extra ? Le32(crc) + Le32(0xFFFFFFFF) + Le32(0xFFFFFFFF) : sizes;
    directory += Le32(0x02014b50) + Le16(45) + Le16(45) + Le16(flags) + Le16(method) + Le32(0) + directorySizes;
    directory += Le16(static_cast<uint32_t>(part.name.size())) + Le16(static_cast<uint32_t>(extra.size())) + Le16(0) +
                 Le16(0) + Le16(0) + Le32(0);
    directory += Le32(part.zip64Extra ? 0xFFFFFFFF : localHeader) + part.name + extra;
  }
  const uint32_t directoryAt = static_cast<uint32_t>(out.size());
  out += directory;
  const uint16_t count = flaws.claimedCount.value_or(static_cast<uint16_t>(parts.size()));
  if (flaws.zip64) {
    const uint64_t zip64End = out.size();
    out += Le32(0x06064b50) + Le64(44) + Le16(45) + Le16(45) + Le32(0) + Le32(0) + Le64(parts.size()) +
           Le64(parts.size()) + Le64(directory.size()) + Le64(directoryAt);
    out += Le32(0x07064b50) + Le32(0) + Le64(zip64End) + Le32(1);
    out += Le32(0x06054b50) + Le16(0) + Le16(0) + Le16(0xFFFF) + Le16(0xFFFF) + Le32(0xFFFFFFFF) + Le32(0xFFFFFFFF);
  } else {
    out += Le32(0x06054b50) + Le16(0) + Le16(0) + Le16(count) + Le16(count) +
           Le32(static_cast<uint32_t>(directory.size())) + Le32(directoryAt);
  }
  return out + Le16(static_cast<uint32_t>(flaws.comment.size())) + flaws.comment;
}

std::string CoreXml(const std::string& title, const std::string& creator, const std::string& subject) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
         "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
         "<dc:title>" + title + "</dc:title><dc:subject>" + subject + "</dc:subject><dc:creator>" + creator +
         "</dc:creator><cp:lastModifiedBy>someone else</cp:lastModifiedBy><cp:revision>2</cp:revision>"
         "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2024-05-01T10:00:00Z</dcterms:created>"
         "</cp:coreProperties>";
}

std::string Docx(const std::string& coreXml) {
  const std::string types =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
      "content-types\"><Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";
  return ZipBytes({{"[Content_Types].xml", types},
                   {"_rels/.rels", "<Relationships/>"},
                   {"word/document.xml", std::string(3000, 'w')},
                   {"docProps/core.xml", coreXml}});
}

std::string MetaXml(const std::string& title, const std::string& initialCreator, const std::string& creator,
                    const std::string& subject) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<office:document-meta xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\" "
      "office:version=\"1.3\"><office:meta><meta:generator>Sample 1.0</meta:generator>";
  if (!title.empty()) xml += "<dc:title>" + title + "</dc:title>";
  if (!subject.empty()) xml += "<dc:subject>" + subject + "</dc:subject>";
  if (!initialCreator.empty()) xml += "<meta:initial-creator>" + initialCreator + "</meta:initial-creator>";
  if (!creator.empty()) xml += "<dc:creator>" + creator + "</dc:creator>";
  return xml + "</office:meta></office:document-meta>";
}

std::string Odt(const std::string& metaXml) {
  return ZipBytes({{"mimetype", "application/vnd.oasis.opendocument.text", false},
                   {"content.xml", std::string(2000, 'c')},
                   {"meta.xml", metaXml},
                   {"META-INF/manifest.xml", "<manifest:manifest/>"}});
}

namespace {

std::string PdfObject(int number, const std::string& body) {
  return std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
}

std::string Padded(uint64_t value, size_t width) {
  std::string text = std::to_string(value);
  return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

std::string StreamObject(const std::string& dictionary, const std::string& data) {
  return "<<" + dictionary + " /Length " + std::to_string(data.size()) + ">>\nstream\n" + data + "\nendstream";
}

}  // namespace

std::string ClassicPdf(const std::vector<PdfRevision>& revisions, const PdfFlaws& flaws) {
  std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  int64_t previous = -1;
  int size = 1;
  for (size_t r = 0; r < revisions.size(); ++r) {
    std::map<int, size_t> offsets;
    for (const auto& [number, body] : revisions[r].objects) {
      offsets[number] = out.size();
      out += PdfObject(number, body);
      size = std::max(size, number + 1);
    }
    const size_t xref = out.size();
    out += "xref\n";
    if (r == 0) out += "0 1\n0000000000 65535 f\r\n";
    for (const auto& [number, offset] : offsets) {
      out += std::to_string(number) + " 1\n" + Padded(offset + flaws.offsetError, 10) + " 00000 n\r\n";
    }
    out += "trailer\n<< /Size " + std::to_string(size) + " " + revisions[r].trailer;
    if (flaws.prevToSelf && r + 1 == revisions.size()) previous = static_cast<int64_t>(xref);
    if (previous >= 0) out += " /Prev " + std::to_string(previous);
    out += " >>\n";
    if (r + 1 == revisions.size()) {
      out += "startxref\n" + std::to_string(static_cast<int64_t>(xref) + flaws.startxrefError) + "\n%%EOF\n";
    } else {
      out += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
    }
    previous = static_cast<int64_t>(xref);
  }
  return out;
}

std::string CompressedPdf(const CompressedPdfLayout& layout) {
  std::string out = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
  int size = 1;
  std::map<int, std::pair<int, size_t>> entries;  // number: type and offset or index
  for (const auto& [number, body] : layout.direct) {
    entries[number] = {1, out.size()};
    out += PdfObject(number, body);
    size = std::max(size, number + 1);
  }
  for (const auto& [number, body] : layout.packed) size = std::max(size, number + 1);
  const int streamNumber = size++;
  const int xrefNumber = size++;
  std::string pairs, objects;
  for (size_t i = 0; i < layout.packed.size(); ++i) {
    pairs += std::to_string(layout.packed[i].first) + " " + std::to_string(objects.size()) + " ";
    objects += layout.packed[i].second + "\n";
    entries[layout.packed[i].first] = {2, i};
  }
  const std::string count = layout.streamCount.empty() ? std::to_string(layout.packed.size()) : layout.streamCount;
  entries[streamNumber] = {1, out.size()};
  out += PdfObject(streamNumber, StreamObject("/Type /ObjStm /N " + count + " /First " + std::to_string(pairs.size()) +
                                                  " /Filter /FlateDecode",
                                              ZlibDeflate(pairs + objects)));
  entries[xrefNumber] = {1, out.size()};
  // Rows of type (1 byte), offset or stream number (4 bytes), generation or index (2 bytes).
  std::string rows, previous(7, '\0');
  for (int n = 0; n < size; ++n) {
    std::string row(7, '\0');
    const auto found = entries.find(n);
    if (found != entries.end()) {
      const bool packed = found->second.first == 2;
      const uint32_t second = packed ? static_cast<uint32_t>(streamNumber) : static_cast<uint32_t>(found->second.second);
      const uint32_t third = packed ? static_cast<uint32_t>(found->second.second) : 0;
      row = std::string(1, static_cast<char>(found->second.first)) + static_cast<char>(second >> 24) +
            static_cast<char>(second >> 16) + static_cast<char>(second >> 8) + static_cast<char>(second) +
            static_cast<char>(third >> 8) + static_cast<char>(third);
    }
    if (layout.predictor) {
      std::string up(1, '\x02');
      for (size_t i = 0; i < row.size(); ++i) up += static_cast<char>(row[i] - previous[i]);
      previous = row;
      row = up;
    }
    rows += row;
  }
  const std::string parms = layout.predictor ? " /DecodeParms << /Predictor 12 /Columns 7 >>" : "";
  const size_t xrefAt = out.size();
  out += PdfObject(xrefNumber, StreamObject("/Type /XRef /Size " + std::to_string(size) + " /W [1 4 2] " +
                                                layout.trailer + " /Filter /FlateDecode" + parms,
                                            ZlibDeflate(rows)));
  return out + "startxref\n" + std::to_string(xrefAt) + "\n%%EOF\n";
}

std::string LpstrValue(const std::string& text) {
  return Le32(static_cast<uint32_t>(text.size() + 1)) + text + '\0';
}

std::string LpwstrValue(const std::u16string& text) {
  std::string out = Le32(static_cast<uint32_t>(text.size() + 1));
  for (char16_t c : text) out += Le16(c);
  return out + Le16(0);
}

std::string CodePageValue(uint16_t codePage) { return Le16(codePage) + Le16(0); }

std::string SummaryStream(const std::vector<OleProperty>& properties, bool summaryFormat) {
  static const std::string kFormat("\xE0\x85\x9F\xF2\xF9\x4F\x68\x10\xAB\x91\x08\x00\x2B\x27\xB3\xD9", 16);
  std::string header = Le16(0xFFFE) + Le16(0) + Le32(0x00020006) + std::string(16, '\0') + Le32(1);
  header += summaryFormat ? kFormat : std::string(16, '\x11');
  header += Le32(static_cast<uint32_t>(header.size() + 4));
  std::string list, data;
  const size_t dataAt = 8 + properties.size() * 8;
  for (const OleProperty& p : properties) {
    list += Le32(p.id) + Le32(static_cast<uint32_t>(dataAt + data.size()));
    std::string value = Le16(p.type) + Le16(0) + p.value;
    while (value.size() % 4 != 0) value += '\0';
    data += value;
  }
  return header + Le32(static_cast<uint32_t>(8 + list.size() + data.size())) +
         Le32(static_cast<uint32_t>(properties.size())) + list + data;
}

std::string OleFile(const OleLayout& layout) {
  constexpr uint32_t kFree = 0xFFFFFFFF, kEnd = 0xFFFFFFFE, kFatSector = 0xFFFFFFFD;
  const uint32_t sectorSize = 1u << layout.shift;
  std::string stream = layout.summary;
  if (layout.regularStream && stream.size() < 5000) stream.resize(5000, '\0');
  const bool mini = stream.size() < 4096;
  // Sector 0 holds the sector table, 1 the directory, 2 the mini table, then the data.
  std::vector<uint32_t> fat(sectorSize / 4, kFree);
  fat[0] = kFatSector;
  fat[1] = kEnd;
  fat[2] = kEnd;
  const uint32_t dataSectors = static_cast<uint32_t>((stream.size() + sectorSize - 1) / sectorSize);
  const uint32_t miniSectors = static_cast<uint32_t>((stream.size() + 63) / 64);
  for (uint32_t i = 0; i < dataSectors; ++i) fat[3 + i] = i + 1 == dataSectors ? kEnd : 3 + i + 1;
  if (layout.chainLoops && dataSectors > 1) fat[4] = 3;
  std::string miniFat;
  for (uint32_t i = 0; i < sectorSize / 4; ++i) {
    miniFat += Le32(mini && i < miniSectors ? (i + 1 == miniSectors ? kEnd : i + 1) : kFree);
  }
  auto entry = [&](const std::u16string& name, uint8_t type, uint32_t left, uint32_t right, uint32_t child,
                   uint32_t start, uint64_t size) {
    std::string e;
    for (char16_t c : name) e += Le16(c);
    e.resize(64, '\0');
    e += Le16(static_cast<uint32_t>((name.size() + 1) * 2)) + static_cast<char>(type) + '\x01';
    e += Le32(left) + Le32(right) + Le32(child) + std::string(16 + 4 + 16, '\0');
    return e + Le32(start) + Le64(size);
  };
  const uint32_t streamStart = layout.startPastEnd ? 100000 : (mini ? 0 : 3);
  std::string directory = entry(u"Root Entry", 5, kFree, kFree, 1, mini ? 3 : kEnd, mini ? miniSectors * 64 : 0);
  directory += entry(u"WordDocument", 2, kFree, 2, kFree, kEnd, 0);
  directory += entry(u"\u0005SummaryInformation", 2, kFree, kFree, kFree, streamStart, stream.size());
  directory.resize(sectorSize, '\0');

  std::string header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  header += std::string(16, '\0') + Le16(0x3E) + Le16(layout.shift == 12 ? 4 : 3) + Le16(0xFFFE) +
            Le16(layout.shift) + Le16(6) + std::string(6, '\0');
  header += Le32(0) + Le32(1) + Le32(1) + Le32(0) + Le32(4096) + Le32(2) + Le32(1) + Le32(kEnd) + Le32(0);
  header += Le32(0);
  for (int i = 1; i < 109; ++i) header += Le32(kFree);
  header.resize(sectorSize, '\0');

  std::string data = stream;
  data.resize(static_cast<size_t>(dataSectors) * sectorSize, '\0');
  if (layout.listSector) {
    // Every further table sector named is sector 0 again: only the first is ever consulted.
    const uint32_t listAt = 3 + dataSectors;
    const uint32_t perList = sectorSize / 4 - 1;
    const uint32_t fatCount = layout.listLoops ? 109 + perList + 1 : 110;
    fat[listAt] = 0xFFFFFFFC;
    std::string list(sectorSize - 4, '\0');
    list += Le32(layout.listLoops ? listAt : kEnd);
    data += list;
    header.replace(0x2C, 4, Le32(fatCount));
    header.replace(0x44, 8, Le32(listAt) + Le32(1));
    for (int i = 1; i < 109; ++i) header.replace(0x4C + i * 4, 4, Le32(0));
    data.resize(data.size() + 300 * sectorSize, '\0');  // room for that many table sectors
  }
  std::string out = header;
  for (uint32_t v : fat) out += Le32(v);
  return out + directory + miniFat + data;
}

}  // namespace samples

std::vector<std::string> DocumentSamples() {
  using namespace samples;
  const std::string title = LpstrValue("Quarterly report");
  return {
      Docx(CoreXml("Annual &amp; final", "Hanako Yamada", "Budget")),
      Odt(MetaXml("Minutes", "Taro", "Jiro", "Meeting")),
      ClassicPdf({{{{1, "<< /Type /Catalog >>"}, {2, "<< /Title (Plan) /Author <FEFF5C71753065E5> /Subject 3 0 R >>"},
                    {3, "(Notes)"}},
                   "/Root 1 0 R /Info 2 0 R"}}),
      CompressedPdf({{{1, "<< /Type /Catalog >>"}},
                     {{2, "<< /Title (Packed) /Author (Someone) /Subject (Things) >>"}},
                     "/Root 1 0 R /Info 2 0 R"}),
      OleFile({9, SummaryStream({{1, 2, CodePageValue(1252)}, {2, 30, title}, {4, 30, LpstrValue("Ann")}})}),
      OleFile({12, SummaryStream({{2, 31, LpwstrValue(u"Wide")}, {3, 30, LpstrValue("Topic")}}), true}),
  };
}

}  // namespace korval
