// The one entry to what files say about themselves: the tags a caller asks for, read by the reader of
// the file's container (chosen by its first bytes) and by nothing else; hashes only when asked for.
#pragma once

#include <string>
#include <string_view>

#include "metadata/byte_source.h"
#include "metadata/tag_values.h"

namespace korval {

// The asked tags of the bytes behind the source; fileName (may be empty) helps only where the
// content cannot tell (an MP3 without a tag at its start).
TagValues ReadTags(ByteSource& source, std::wstring_view fileName, TagSet wanted);

// The same for the file at path; nothing found when it cannot be opened.
TagValues ReadFileTags(const std::wstring& path, TagSet wanted);

// CRC32, MD5, SHA1 and SHA256 (those asked) of all the source's bytes, read in blocks of 1 MB, as
// lower-case hexadecimal. MD5 and the SHA family through the system's cryptography API.
void HashTags(ByteSource& source, TagValues& values);

}  // namespace korval
