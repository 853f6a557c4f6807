// Music files built byte by byte for the tag reader tests: ID3v2 frames of each version and
// encoding, ID3v1 and APE tags, MPEG audio frames, and the RIFF, AIFF and DSF containers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "testing/byte_order.h"

namespace korval {

// One good file of each layout the music readers know, for the mutation tests.
std::vector<std::string> MusicSamples();

namespace music_samples {

using namespace samples;
std::string Syncsafe(uint32_t v);

// Text in the encodings tags use; Latin1Bytes takes characters up to U+00FF.
std::string Latin1Bytes(std::wstring_view text);
std::string Utf8Bytes(std::wstring_view text);
std::string Utf16Bytes(std::wstring_view text, bool bigEndian);

// ID3v2 text encodings.
enum Encoding : int { kLatin1 = 0, kUtf16 = 1, kUtf16Be = 2, kUtf8 = 3 };

// A text frame's data: the encoding byte, then the text. L'\0' in `text` separates values and is
// written as the encoding's terminator; UTF-16 with marks puts a little-endian mark before each value.
std::string TextData(int encoding, std::wstring_view text);
// A frame of version 2 (three-letter id, 24-bit size), 3 (plain size) or 4 (syncsafe size, or a
// plain one when `plainSize`), with the frame flags given.
std::string Id3Frame(int version, std::string_view id, std::string_view data, uint16_t flags = 0,
                     bool plainSize = false);
std::string Id3Text(int version, std::string_view id, int encoding, std::wstring_view text);
// Every 0xFF followed by a byte of 0xE0 or more, or by 0x00, gets a 0x00 behind it.
std::string Unsynchronised(std::string_view bytes);
// A tag around `body` (an extended header, frames): the header with `flags`, zero padding, and a
// footer when version 4's footer flag is set. The flag 0x80 in versions 2 and 3 unsynchronises the
// body here; in version 4 the frames must be unsynchronised by their writer.
std::string Id3Tag(int version, std::string_view body, uint8_t flags = 0, size_t padding = 0);

// An ID3v1 tag; a track of 0 writes version 1.0 (comment over 30 bytes).
std::string Id3v1(std::string_view title, std::string_view artist, std::string_view album, std::string_view year,
                  int track, uint8_t genre);

// An APE item and a tag of `count` items: version 1000 or 2000, with a header in front, a footer
// behind, or both.
std::string ApeItem(std::string_view key, std::string_view value, uint32_t flags = 0);
std::string ApeTag(std::string_view items, uint32_t count, uint32_t version = 2000, bool header = false,
                   bool footer = true);

// MPEG audio: frames of `length` bytes behind a header, zeros inside.
std::string MpegFrames(uint32_t header, size_t length, int count);
// One frame holding a Xing (or "Info") header with a frame count at `offset`, or a VBRI header.
std::string XingFrame(uint32_t header, size_t length, size_t offset, uint32_t frames, std::string_view name = "Xing");
std::string VbriFrame(uint32_t header, size_t length, uint32_t frames);

// RIFF: a chunk (size little-endian, padded to even), a RIFF file of the form ("WAVE", "AVI "),
// a PCM format chunk, a LIST INFO chunk.
std::string RiffChunk(std::string_view id, std::string_view data);
std::string Riff(std::string_view form, std::string_view chunks);
std::string WaveFormat(uint16_t channels, uint32_t rate, uint16_t bits);
std::string InfoList(const std::vector<std::pair<std::string, std::string>>& items);
// An AVI main header and the header list around it.
std::string AviHeaderList(uint32_t microsecondsPerFrame, uint32_t frames, uint32_t width, uint32_t height,
                          std::string_view more = {});

// AIFF: a chunk (size big-endian, padded to even), a FORM file, the common chunk with the rate as an
// 80-bit float.
std::string AiffChunk(std::string_view id, std::string_view data);
std::string Aiff(std::string_view form, std::string_view chunks);
std::string Extended80(uint32_t whole);
std::string AiffComm(uint32_t frames, uint32_t rate);

// DSF: the DSD chunk pointing at `id3` (placed behind some sample data), the format chunk.
std::string Dsf(uint32_t frequency, uint64_t samples, std::string_view id3);

}  // namespace music_samples
}  // namespace korval
