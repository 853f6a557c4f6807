// Hashes of a file's bytes, streamed: CRC32 through zlib, the others through the system's CNG.
#include <windows.h>

#include <bcrypt.h>
#include <zlib.h>

#include <array>
#include <vector>

#include "metadata/read_tags.h"

namespace korval {
namespace {

constexpr size_t kHashBlock = 1 << 20;

struct CngHash {
  Tag tag;
  const wchar_t* algorithm;
  BCRYPT_ALG_HANDLE provider = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
};

std::wstring Hex(const unsigned char* bytes, size_t count) {
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  text.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

}  // namespace

void HashTags(ByteSource& source, TagValues& values) {
  std::array<CngHash, 3> hashes = {{{Tag::Md5, BCRYPT_MD5_ALGORITHM},
                                    {Tag::Sha1, BCRYPT_SHA1_ALGORITHM},
                                    {Tag::Sha256, BCRYPT_SHA256_ALGORITHM}}};
  bool any = false;
  for (CngHash& h : hashes) {
    if (!values.Wants(h.tag)) continue;
    if (BCryptOpenAlgorithmProvider(&h.provider, h.algorithm, nullptr, 0) < 0) {
      h.provider = nullptr;
      continue;
    }
    if (BCryptCreateHash(h.provider, &h.hash, nullptr, 0, nullptr, 0, 0) < 0) h.hash = nullptr;
    any |= h.hash != nullptr;
  }
  const bool crc = values.Wants(Tag::Crc32);
  uLong crcValue = crc32(0L, Z_NULL, 0);
  bool whole = true;
  if (any || crc) {
    std::vector<unsigned char> block(kHashBlock);
    for (uint64_t at = 0; at < source.Size(); at += kHashBlock) {
      const size_t count = static_cast<size_t>(std::min<uint64_t>(kHashBlock, source.Size() - at));
      if (!source.Read(at, count, block.data())) {
        whole = false;  // a file that cannot be read to its end has no hash
        break;
      }
      if (crc) crcValue = crc32(crcValue, block.data(), static_cast<uInt>(count));
      for (CngHash& h : hashes) {
        if (h.hash) BCryptHashData(h.hash, block.data(), static_cast<ULONG>(count), 0);
      }
    }
  }
  for (CngHash& h : hashes) {
    if (h.hash) {
      unsigned char digest[64] = {};
      DWORD length = 0, got = 0;
      if (whole && BCryptGetProperty(h.hash, BCRYPT_HASH_LENGTH, reinterpret_cast<PUCHAR>(&length), sizeof(length),
                                     &got, 0) >= 0 &&
          length <= sizeof(digest) && BCryptFinishHash(h.hash, digest, length, 0) >= 0) {
        values.Put(h.tag, Hex(digest, length));
      }
      BCryptDestroyHash(h.hash);
    }
    if (h.provider) BCryptCloseAlgorithmProvider(h.provider, 0);
  }
  if (crc && whole) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(crcValue >> 24), static_cast<unsigned char>(crcValue >> 16),
                                    static_cast<unsigned char>(crcValue >> 8), static_cast<unsigned char>(crcValue)};
    values.Put(Tag::Crc32, Hex(bytes, 4));
  }
}

}  // namespace korval
