// The readers of the containers that music, movies, photographs and documents keep their tags in,
// one file each. Every reader walks its structure by the structure's own sizes, checks each size,
// count and offset against the bytes that really exist, bounds every loop and recursion, reads only
// what the asked tags need (values.WantsAny) and puts what it finds into `values`. A damaged
// structure gives no value, never a value from the wrong bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "metadata/byte_source.h"
#include "metadata/tag_values.h"

namespace korval {

// ---- music: ID3, APE, RIFF, AIFF, DSF (id3_tags.cpp, ape_tags.cpp, riff_tags.cpp, aiff_tags.cpp,
// dsf_tags.cpp, mpeg_audio.cpp)

// An ID3v2 tag (2.2, 2.3, 2.4) at `start`: its frames into values. Returns the tag's whole size
// (header, frames, padding and footer) when an ID3v2 header stands there, else 0.
uint64_t ReadId3v2Tags(ByteSource& source, uint64_t start, TagValues& values);
// The name of a genre by its ID3v1 number (0..191, as MP4's 'gnre' minus one); empty for others.
std::wstring Id3GenreName(unsigned number);
// An ID3v1 or ID3v1.1 tag in the last 128 bytes; false when there is none.
bool ReadId3v1Tags(ByteSource& source, TagValues& values);
// An APEv2 (or APEv1) tag at the end of the file (before an ID3v1 tag, if any) or at its start.
bool ReadApeTags(ByteSource& source, TagValues& values);
// MPEG audio (MP3): ID3v2 tags at the front, APE and ID3v1 at the end; Duration from a Xing, Info
// or VBRI header, else from the bit rate of the first frame.
void ReadMpegAudioTags(ByteSource& source, TagValues& values);
// Monkey's-Audio-style, Musepack and WavPack files: their APE tag (and ID3v1 behind it).
void ReadApeFamilyTags(ByteSource& source, TagValues& values);
// RIFF WAVE (and AVI): the LIST INFO chunk, an "id3 " chunk; Duration from the format and data chunks
// (AVI: its main header; Width, Height).
void ReadRiffTags(ByteSource& source, TagValues& values);
// AIFF and AIFF-C: the "ID3 " chunk, NAME, AUTH; Duration from COMM.
void ReadAiffTags(ByteSource& source, TagValues& values);
// DSF: the ID3v2 tag its header points at; Duration from the fmt chunk.
void ReadDsfTags(ByteSource& source, TagValues& values);

// ---- music and movies: MP4, FLAC, Ogg, ASF, Matroska (mp4_tags.cpp, flac_tags.cpp, ogg_tags.cpp,
// vorbis_comment.cpp, asf_tags.cpp, matroska_tags.cpp)

// ISO media (MP4, M4A, M4B, M4V, MOV, 3GP): the iTunes-style `ilst` items; Duration from `mvhd`;
// Width and Height from the first video track's `tkhd`.
void ReadMp4Tags(ByteSource& source, TagValues& values);
// FLAC (an ID3v2 tag before "fLaC" is skipped): the VORBIS_COMMENT block; Duration from STREAMINFO.
void ReadFlacTags(ByteSource& source, TagValues& values);
// Ogg (Vorbis, Opus, Speex, FLAC): the comment packet of the first stream, across pages; Duration
// from the last page's granule position.
void ReadOggTags(ByteSource& source, TagValues& values);
// A Vorbis comment block (vendor string, then "NAME=value" entries, lengths little-endian).
void ReadVorbisComment(std::string_view block, TagValues& values);
// ASF (WMA, WMV): the content description and extended content description objects; Duration from
// the file properties; Width and Height from the video stream properties.
void ReadAsfTags(ByteSource& source, TagValues& values);
// Matroska and WebM: the Tags and the segment's Title; Duration from Info; Width and Height from the
// first video track.
void ReadMatroskaTags(ByteSource& source, TagValues& values);

// ---- documents (zip_document_tags.cpp, zip_archive.cpp, pdf_tags.cpp, ole_tags.cpp)

// OOXML (docx, xlsx, pptx: docProps/core.xml) and ODF (odt, ods, odp: meta.xml): Title, Author,
// Subject. Entries are inflated through zlib up to a bound.
void ReadZipDocumentTags(ByteSource& source, TagValues& values);
// PDF: the Info dictionary the trailer (or a cross-reference stream) names, also when it lies in a
// compressed object stream; PDFDocEncoding and UTF-16 strings.
void ReadPdfTags(ByteSource& source, TagValues& values);
// OLE compound documents (doc, xls, ppt): the summary information property set, in its code page.
void ReadOleTags(ByteSource& source, TagValues& values);

// ---- photographs and pictures (exif_tags.cpp, image_size.cpp, picture_tags.cpp)

// The camera tags (Make, Model, Lens, ISO, FNumber, Exposure, FocalLength) of a TIFF stream of
// `length` bytes from `start` (offsets count from `start`), as in FindTiffDate.
void ReadTiffTags(ByteSource& source, uint64_t start, uint64_t length, TagValues& values);
// Photographs and pictures in every container the capture date is read from: their EXIF tags, and
// Width and Height from the image's own header (JPEG, PNG, GIF, BMP, WebP, TIFF, HEIF/AVIF, PSD).
void ReadPictureTags(ByteSource& source, TagValues& values);

}  // namespace korval
