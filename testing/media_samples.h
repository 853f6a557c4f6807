// Music and movie files built byte by byte for the tag reader tests: ISO media boxes, FLAC blocks,
// Ogg pages, ASF objects and Matroska elements, and one good file of each layout.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "testing/byte_order.h"

namespace korval::media {

using namespace samples;
// ASCII text as UTF-16LE, with a terminating NUL when asked.
std::string Utf16Le(const std::string& ascii, bool terminated = false);

// ---- ISO media
std::string Mp4Box(const std::string& type, const std::string& body);
std::string Mp4Box64(const std::string& type, const std::string& body);
// A 'data' box of an item: type (1 UTF-8, 2 UTF-16BE, 0 or 21 binary), locale, value.
std::string Mp4Data(uint32_t type, const std::string& value);
// An item of the item list holding one text value.
std::string Mp4Text(const std::string& type, const std::string& text);
// trkn or disk: two pad bytes, number, total, two pad bytes.
std::string Mp4Pair(const std::string& type, uint16_t number, uint16_t total);
// The movie header with its time scale and duration (version 1: 64-bit times).
std::string Mp4MovieHeader(uint32_t timeScale, uint64_t duration, int version = 0);
// A track whose handler is `handler` ("vide", "soun") and whose header gives width and height.
std::string Mp4Track(const std::string& handler, uint32_t width, uint32_t height, int version = 0);
// A file: ftyp, moov holding `moovBody`, then media data.
std::string Mp4File(const std::string& brand, const std::string& moovBody);
// moov/udta/meta (with version and flags unless `quickTimeMeta`)/hdlr + ilst of `items`.
std::string Mp4UserDataItems(const std::string& items, bool quickTimeMeta = false);
// moov/meta with keys and an item list whose items are the 1-based indexes of the keys.
std::string Mp4KeyedItems(const std::vector<std::pair<std::string, std::string>>& keysAndValues);

// ---- FLAC and Vorbis comments
std::string VorbisComment(const std::string& vendor, const std::vector<std::string>& entries);
std::string FlacBlock(uint8_t type, const std::string& body, bool last);
std::string FlacStreamInfo(uint32_t sampleRate, uint64_t totalSamples);
// "fLaC", STREAMINFO, the comment block and padding.
std::string FlacFile(uint32_t sampleRate, uint64_t totalSamples, const std::vector<std::string>& entries);
// An ID3v2 tag of `bodySize` bytes (syncsafe size; with a footer when asked).
std::string Id3v2Tag(uint32_t bodySize, bool footer = false);

// ---- Ogg
// One page; `lacing` is its segment table, `body` the bytes behind it. The checksum is computed.
std::string OggPage(uint8_t headerType, uint64_t granule, uint32_t serial, uint32_t sequence,
                    const std::vector<uint8_t>& lacing, const std::string& body);
// Pages of one logical stream holding `packets`, at most `segmentsPerPage` lacing values per page;
// the last page's granule is `lastGranule`, the others' 0.
std::string OggStream(uint32_t serial, const std::vector<std::string>& packets, size_t segmentsPerPage,
                      uint64_t lastGranule);
std::string VorbisIdentification(uint32_t sampleRate);
std::string VorbisCommentPacket(const std::vector<std::string>& entries);
std::string OpusHead(uint16_t preSkip);
std::string SpeexHeader(uint32_t sampleRate);
std::string OggFlacHeader(uint32_t sampleRate, uint64_t totalSamples);
// An Ogg file: the identification and comment packets and a few audio packets.
std::string OggFile(const std::string& identification, const std::string& comment, uint64_t lastGranule,
                    uint32_t serial = 0x1234);

// ---- ASF
std::string Guid(const char* hex32);  // 32 hex digits as the bytes stand in the file
std::string AsfObject(const std::string& guid, const std::string& body);
std::string AsfContentDescription(const std::string& title, const std::string& author);
struct AsfAttribute {
  std::string name;
  uint16_t type;      // 0 UTF-16 text, 3 DWORD, 5 WORD
  std::string value;  // the raw value bytes
};
std::string AsfExtendedContent(const std::vector<AsfAttribute>& attributes);
// A metadata library object (records of any stream and language) inside a header extension.
std::string AsfHeaderExtension(const std::vector<AsfAttribute>& records);
std::string AsfFileProperties(uint64_t duration100ns, uint64_t prerollMs, uint32_t flags = 0);
std::string AsfVideoStream(uint32_t width, uint32_t height);
std::string AsfAudioStream();
// The header object holding `objects`, then a data object.
std::string AsfFile(const std::vector<std::string>& objects);

// ---- Matroska
std::string EbmlSize(uint64_t size);  // the shortest coding
std::string EbmlElement(uint32_t id, const std::string& body);
std::string EbmlUnsigned(uint32_t id, uint64_t value);
std::string EbmlFloat(uint32_t id, double value, bool eightBytes = true);
std::string EbmlId(uint32_t id);
std::string MatroskaSimpleTag(const std::string& name, const std::string& value);
std::string MatroskaTag(uint64_t targetType, const std::vector<std::pair<std::string, std::string>>& tags);
std::string MatroskaInfo(const std::string& title, double duration, uint64_t timestampScale = 1000000);
std::string MatroskaVideoTrack(uint64_t width, uint64_t height);
std::string MatroskaAudioTrack();
// The EBML header and a segment (of known size unless `unknownSize`) holding `children`.
std::string MatroskaFile(const std::string& docType, const std::string& children, bool unknownSize = false);

// One good file of each layout the music and movie readers know.
std::vector<std::string> MediaSamples();

}  // namespace korval::media
