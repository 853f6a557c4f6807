// DSF (DSD stream) files: the "DSD " chunk points at an ID3v2 tag near the end; the "fmt " chunk
// behind it gives the sampling frequency and the sample count, hence the duration.
#include <cstring>

#include "metadata/tag_readers.h"

namespace korval {
namespace {

constexpr uint64_t kDsdChunkSize = 28;
constexpr uint64_t kFmtChunkSize = 52;

constexpr TagSet kDsfTags = kMusicTags;

uint64_t Le(const unsigned char* b, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[i];
  return v;
}

}  // namespace

void ReadDsfTags(ByteSource& source, TagValues& values) {
  unsigned char dsd[kDsdChunkSize];
  if (!source.Read(0, sizeof(dsd), dsd) || std::memcmp(dsd, "DSD ", 4) != 0 || Le(dsd + 4, 8) != kDsdChunkSize ||
      !values.WantsAny(kDsfTags)) {
    return;
  }
  const TagSet open = values.Wanted().Without(values.Found());
  TagValues id3(open);
  const uint64_t metadataAt = Le(dsd + 20, 8);  // 0 when there is no tag
  if (metadataAt >= kDsdChunkSize && metadataAt < source.Size()) ReadId3v2Tags(source, metadataAt, id3);

  unsigned char fmt[kFmtChunkSize];
  if (values.Wants(Tag::Duration) && source.Read(kDsdChunkSize, sizeof(fmt), fmt) && std::memcmp(fmt, "fmt ", 4) == 0 &&
      Le(fmt + 4, 8) >= kFmtChunkSize) {
    const uint64_t frequency = Le(fmt + 28, 4);
    const uint64_t samples = Le(fmt + 36, 8);
    if (frequency != 0) values.PutDuration(static_cast<double>(samples) / static_cast<double>(frequency));
  }
  values.MergeMissing(id3);  // its length frame counts only when the format chunk gave none
}

}  // namespace korval
