// The capture time of a photograph or a movie, whatever container it comes in: the file's first
// bytes choose the reader, and the name only decides whether a file is looked into at all.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "metadata/byte_source.h"
#include "metadata/capture_readers.h"

namespace korval {

// The extension of a path (dot included) with its ASCII letters lowered; empty when there is none or
// it is longer than five characters, which no extension read here is.
std::wstring LowerAsciiExtension(std::wstring_view path);

// Whether the name ends in an extension of the photographs and movies that are read.
bool HasCaptureTimeExtension(std::wstring_view path);

// The capture time of the file behind the source, chosen by its content: EXIF dates of JPEG, TIFF and
// the TIFF-based raw formats, RAF, MRW, X3F, HEIF/AVIF, CR3, WebP, PNG and PSD; a movie's creation
// time.
// `fileName` (may be empty) lets a ".jpg" file without EXIF structure fall back to the byte search
// that older photographs were read with.
bool FindCaptureTime(ByteSource& source, std::wstring_view fileName, CaptureTime& found);

}  // namespace korval
