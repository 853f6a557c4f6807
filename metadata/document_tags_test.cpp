#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "metadata/tag_readers.h"
#include "metadata/zip_archive.h"
#include "testing/byte_mutation.h"
#include "testing/document_samples.h"
#include "testing/watched_source.h"

namespace korval {
namespace {

using namespace samples;

using Reader = void (*)(ByteSource&, TagValues&);

// The expected texts; null where nothing may be found.
struct Want {
  const wchar_t* title;
  const wchar_t* author;
  const wchar_t* subject;
};

struct Case {
  const char* what;
  std::string bytes;
  Want want;
};

void ExpectTags(Reader read, const Case& c) {
  MemoryByteSource source(c.bytes);
  TagValues values;
  read(source, values);
  const std::pair<Tag, const wchar_t*> expected[] = {
      {Tag::Title, c.want.title}, {Tag::Author, c.want.author}, {Tag::Subject, c.want.subject}};
  for (const auto& [tag, text] : expected) {
    const std::wstring* found = values.Find(tag);
    if (text == nullptr) {
      EXPECT_EQ(nullptr, found) << c.what << ": " << static_cast<int>(tag);
    } else {
      ASSERT_NE(nullptr, found) << c.what << ": " << static_cast<int>(tag);
      EXPECT_EQ(text, *found) << c.what;
    }
  }
  for (Tag other : {Tag::Artist, Tag::Width, Tag::Duration}) EXPECT_EQ(nullptr, values.Find(other)) << c.what;
}

std::string CoreWithPadding(size_t padding) {
  return CoreXml("Big" + std::string(padding, ' '), "A", "S");
}

TEST(ZipDocumentTags, ReadsCorePropertiesAndMeta) {
  const std::string core = CoreXml("Plan", "Hanako", "Budget");
  const std::string types = "<Types/>";
  auto docxWith = [&](ZipPart part, ZipFlaws flaws = {}) {
    return ZipBytes({{"[Content_Types].xml", types}, {"word/document.xml", std::string(500, 'w')}, part}, flaws);
  };
  ZipPart lyingName{"docProps/core.xml", core};
  lyingName.localNameLengthError = 3;
  ZipPart bomb{"docProps/core.xml", CoreWithPadding(5 * 1024 * 1024)};
  bomb.claimedSize = 2000;
  ZipPart descriptor{"docProps/core.xml", core, false, true};
  ZipPart zip64Extra{"docProps/core.xml", core};
  zip64Extra.zip64Extra = true;
  const Case cases[] = {
      {"docx", Docx(CoreXml("Annual &amp; final", "Hanako Yamada", "Budget")), {L"Annual & final", L"Hanako Yamada", L"Budget"}},
      {"references, CDATA, child elements",
       Docx(CoreXml("&#x65E5;&#26412; &lt;b&gt; &quot;q&quot; &apos;s &bogus; &#0;", "<![CDATA[A & <B>]]>",
                    "x<b>y</b><!-- not this -->z")),
       {L"日本 <b> \"q\" 's &bogus; \xFFFD", L"A & <B>", L"xyz"}},
      {"empty element and utf-8", Docx(CoreXml("\xE6\x97\xA5\xE6\x9C\xAC", "", "S")), {L"日本", nullptr, L"S"}},
      {"stored entry with a data descriptor", docxWith(descriptor), {L"Plan", L"Hanako", L"Budget"}},
      {"comment behind the end record", docxWith({"docProps/core.xml", core}, {std::nullopt, false, "PK\x05\x06 a comment"}),
       {L"Plan", L"Hanako", L"Budget"}},
      {"zip64 end records", docxWith({"docProps/core.xml", core}, {std::nullopt, true, ""}), {L"Plan", L"Hanako", L"Budget"}},
      {"zip64 sizes in the directory's extra field", docxWith(zip64Extra), {L"Plan", L"Hanako", L"Budget"}},
      {"odt: initial creator first", Odt(MetaXml("Minutes", "Taro", "Jiro", "Meeting")), {L"Minutes", L"Taro", L"Meeting"}},
      {"odt: creator without initial creator", Odt(MetaXml("Minutes", "", "Jiro", "")), {L"Minutes", L"Jiro", nullptr}},
      {"odt with another mime type",
       ZipBytes({{"mimetype", "application/epub+zip", false}, {"meta.xml", MetaXml("T", "A", "", "S")}}), {}},
      {"zip that is no document", ZipBytes({{"docProps/core.xml", core}, {"readme.txt", "hello"}}), {}},
      {"bomb: inflates past the bound", docxWith(bomb), {}},
      {"entry larger than the bound", docxWith({"docProps/core.xml", CoreWithPadding(5 * 1024 * 1024)}), {}},
      {"entry count 65535 with few records", docxWith({"docProps/core.xml", core}, {uint16_t{65535}, false, ""}),
       {L"Plan", L"Hanako", L"Budget"}},
      {"entry count short of the part", docxWith({"docProps/core.xml", core}, {uint16_t{2}, false, ""}), {}},
      {"local header lies about its name length", docxWith(lyingName), {}},
      {"cut before the directory", Docx(core).substr(0, 700), {}},
      {"unterminated element", Docx(core.substr(0, core.find("Plan") + 2)), {}},
  };
  for (const Case& c : cases) ExpectTags(ReadZipDocumentTags, c);
}

TEST(ZipDocumentTags, ArchiveRefusesEntriesBeyondTheBound) {
  struct Row {
    const char* what;
    ZipPart part;
    size_t bound;
    bool read;
  } rows[] = {
      {"deflated within the bound", {"a", std::string(10000, 'x')}, 10000, true},
      {"deflated one byte past", {"a", std::string(10001, 'x')}, 10000, false},
      {"lying size, inflating past", {"a", std::string(10001, 'x'), true, false, 100}, 10000, false},
      {"lying size within the bound (CRC and size disagree)", {"a", std::string(500, 'x'), true, false, 100}, 10000, false},
      {"stored", {"a", "plain", false}, 5, true},
  };
  for (const Row& row : rows) {
    const std::string bytes = ZipBytes({row.part});
    MemoryByteSource source(bytes);
    ZipArchive zip(source);
    ZipEntry entry;
    std::string out;
    ASSERT_TRUE(zip.Open() && zip.Find("a", entry)) << row.what;
    EXPECT_EQ(row.read, zip.Read("a", entry, row.bound, out)) << row.what;
    if (row.read) {
      EXPECT_EQ(row.part.data, out) << row.what;
    }
  }
}

TEST(PdfTags, ReadsTheInfoDictionary) {
  const std::string catalog = "<< /Type /Catalog >>";
  auto withInfo = [&](const std::string& info, const PdfFlaws& flaws = {}) {
    return ClassicPdf({{{{1, catalog}, {2, info}, {3, "(Indirect)"}, {4, "3 0 R"}}, "/Root 1 0 R /Info 2 0 R"}}, flaws);
  };
  const std::vector<PdfRevision> updated = {
      {{{1, catalog}, {2, "<< /Title (Old) /Author (Kept) >>"}}, "/Root 1 0 R /Info 2 0 R"},
      {{{2, "<< /Title (New) /Author (Kept) >>"}}, "/Root 1 0 R /Info 2 0 R"}};
  const Case cases[] = {
      {"literal, UTF-16 hex, indirect", withInfo("<< /Title (Plan) /Author <FEFF5C717530> /Subject 3 0 R >>"),
       {L"Plan", L"山田", L"Indirect"}},
      {"escapes", withInfo("<< /Title (A\\(b\\) \\\\ \\101\\7x (nested) a\\\nb\\r\\t) /Author (l1\r\nl2) >>"),
       {L"A(b) \\ A\x07x (nested) ab\r\t", L"l1\nl2", nullptr}},
      {"hex with an odd digit count and spaces", withInfo("<< /Title <48 69 2> >>"), {L"Hi ", nullptr, nullptr}},
      {"hex with a stray letter", withInfo("<< /Title <4869Z0> /Author (A) >>"), {}},
      {"PDFDocEncoding", withInfo("<< /Title (\\200\\225\\240\\030\\351) >>"), {L"\x2022\x0141\x20AC\x02D8\xE9", nullptr, nullptr}},
      {"Shift-JIS bytes stay PDFDocEncoding", withInfo("<< /Title (\\223\\372) >>"), {L"\xFB01\xFA", nullptr, nullptr}},
      {"UTF-8 with a mark", withInfo("<< /Title (\\357\\273\\277\\346\\227\\245) >>"), {L"日", nullptr, nullptr}},
      {"UTF-16 with a language tag", withInfo("<< /Title <FEFF001B6A61001B65E5> >>"), {L"日", nullptr, nullptr}},
      {"indirect values are followed once", withInfo("<< /Title 4 0 R /Author (A) >>"), {nullptr, L"A", nullptr}},
      {"an update replaces the Info object", ClassicPdf(updated), {L"New", L"Kept", nullptr}},
      {"/Prev names its own table", ClassicPdf(updated, {0, 0, true}), {L"New", L"Kept", nullptr}},
      {"startxref points astray", withInfo("<< /Title (Found) >>", {7, 0, false}), {L"Found", nullptr, nullptr}},
      {"offsets of the table shifted", withInfo("<< /Title (Found) >>", {0, 3, false}), {L"Found", nullptr, nullptr}},
      {"encrypted", ClassicPdf({{{{1, catalog}, {2, "<< /Title (Secret) >>"}}, "/Info 2 0 R /Encrypt 5 0 R"}}), {}},
      {"Info is no dictionary", ClassicPdf({{{{1, catalog}, {2, "(Title)"}}, "/Info 2 0 R"}}), {}},
      {"no Info", ClassicPdf({{{{1, catalog}}, "/Root 1 0 R"}}), {}},
      {"object stream and predicted cross-reference stream",
       CompressedPdf({{{1, catalog}}, {{2, "<< /Title (Packed) /Author 3 0 R >>"}, {3, "(Also packed)"}}, "/Root 1 0 R /Info 2 0 R"}),
       {L"Packed", L"Also packed", nullptr}},
      {"cross-reference stream without predictor",
       CompressedPdf({{{1, catalog}, {2, "<< /Subject (Direct) >>"}}, {{3, "(x)"}}, "/Root 1 0 R /Info 2 0 R", false}),
       {nullptr, nullptr, L"Direct"}},
      {"object stream with /N 10^9",
       CompressedPdf({{{1, catalog}}, {{2, "<< /Title (Bounded) >>"}}, "/Info 2 0 R", true, "1000000000"}),
       {L"Bounded", nullptr, nullptr}},
      {"object stream without the object",
       CompressedPdf({{{1, catalog}}, {{3, "<< /Title (Other) >>"}}, "/Info 2 0 R", true, ""}), {}},
      {"not a PDF", "%PDX-" + withInfo("<< /Title (T) >>").substr(5), {}},
  };
  for (const Case& c : cases) ExpectTags(ReadPdfTags, c);
}

TEST(OleTags, ReadsTheSummaryInformation) {
  const std::string cutLength("\xFF\xFF\xFF\xFF" "abc", 7);
  auto summary = [](uint16_t codePage, const std::string& title) {
    return SummaryStream({{1, 2, CodePageValue(codePage)}, {2, 30, LpstrValue(title)}, {4, 30, LpstrValue("Ann")}});
  };
  OleLayout looping{9, summary(1252, "T"), true, true};
  OleLayout pastEnd{9, summary(1252, "T"), false, false, true};
  OleLayout listed{9, summary(1252, "Listed")};
  listed.listSector = true;
  OleLayout listLoops = listed;
  listLoops.listLoops = true;
  std::string badSignature = OleFile({9, summary(1252, "T")});
  badSignature[3] = 'X';
  const Case cases[] = {
      {"512-byte sectors, mini stream, Latin text", OleFile({9, summary(1252, "Caf\xE9")}), {L"Café", L"Ann", nullptr}},
      {"4096-byte sectors, regular stream, wide strings",
       OleFile({12, SummaryStream({{2, 31, LpwstrValue(u"Wide 日本")}, {3, 30, LpstrValue("Topic")}}), true}),
       {L"Wide 日本", nullptr, L"Topic"}},
      {"512-byte sectors, regular stream", OleFile({9, summary(1252, "Long"), true}), {L"Long", L"Ann", nullptr}},
      {"code page 932", OleFile({9, summary(932, "\x93\xFA\x96\x7B")}), {L"日本", L"Ann", nullptr}},
      {"code page 65001", OleFile({9, summary(65001, "\xE6\x97\xA5")}), {L"日", L"Ann", nullptr}},
      {"a length of 0xFFFFFFFF",
       OleFile({9, SummaryStream({{2, 30, cutLength}, {3, 30, LpstrValue("Kept")}})}), {nullptr, nullptr, L"Kept"}},
      {"another property set", OleFile({9, SummaryStream({{2, 30, LpstrValue("T")}}, false)}), {}},
      {"sector table listed beyond the header", OleFile(listed), {L"Listed", L"Ann", nullptr}},
      {"the list of table sectors loops", OleFile(listLoops), {}},
      {"the stream's chain loops", OleFile(looping), {}},
      {"the stream starts past the end", OleFile(pastEnd), {}},
      {"no compound file", badSignature, {}},
  };
  for (const Case& c : cases) ExpectTags(ReadOleTags, c);
}

TEST(DocumentTags, ReadNothingWhenNoTagOfTheirsIsAsked) {
  for (const std::string& sample : DocumentSamples()) {
    for (Reader read : {ReadZipDocumentTags, ReadPdfTags, ReadOleTags}) {
      WatchedSource source(sample);
      TagValues values(TagSet::Of(Tag::Width));
      read(source, values);
      EXPECT_EQ(0u, source.Reads());
    }
  }
}

TEST(DocumentTags, DamagedSamplesNeverCrashOrGiveWildValues) {
  constexpr int kRounds = 2000;
  std::mt19937 random(20240611);
  const std::vector<std::string> documents = DocumentSamples();
  for (const std::string& sample : documents) {
    MemoryByteSource whole(sample);
    TagValues intact;
    for (Reader read : {ReadZipDocumentTags, ReadPdfTags, ReadOleTags}) read(whole, intact);
    ASSERT_TRUE(intact.Find(Tag::Title) != nullptr || intact.Find(Tag::Subject) != nullptr);
    for (int round = 0; round < kRounds; ++round) {
      const std::string bytes = MutatedBytes(random, sample);
      ASSERT_TRUE(ReadFenced(bytes, [&](std::string_view view) {
        for (Reader read : {ReadZipDocumentTags, ReadPdfTags, ReadOleTags}) {
          MemoryByteSource source(view);
          TagValues values;
          read(source, values);
          for (Tag tag : {Tag::Title, Tag::Author, Tag::Subject}) {
            const std::wstring* value = values.Find(tag);
            if (value == nullptr) continue;
            EXPECT_FALSE(value->empty());
            EXPECT_LE(value->size(), bytes.size());
            EXPECT_EQ(std::wstring::npos, value->find(L'\0'));
          }
        }
      }));
    }
  }
}

}  // namespace
}  // namespace korval
