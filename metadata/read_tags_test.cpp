#include "metadata/read_tags.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <gtest/gtest.h>

#include "testing/byte_mutation.h"
#include "testing/document_samples.h"
#include "testing/media_samples.h"
#include "testing/music_samples.h"
#include "testing/picture_samples.h"

namespace korval {
namespace {

const TagSet kStructureTags = TagSet::All().Without(kHashTags);

std::vector<std::string> EverySample() {
  std::vector<std::string> all;
  using Samples = std::vector<std::string> (*)();
  for (Samples samples : {Samples{&MusicSamples}, Samples{&media::MediaSamples}, Samples{&DocumentSamples},
                          Samples{&samples::PictureSamples}}) {
    for (std::string& s : samples()) all.push_back(std::move(s));
  }
  return all;
}

// Every good file of every container reaches its own reader through the entry: a file sent to
// another reader would find nothing.
TEST(ReadTags, EachContainerReachesItsReader) {
  const std::vector<std::string> samples = EverySample();
  ASSERT_GT(samples.size(), 40u);
  for (size_t i = 0; i < samples.size(); ++i) {
    MemoryByteSource source(samples[i]);
    const TagValues values = ReadTags(source, L"", kStructureTags);
    EXPECT_FALSE(values.Found().Empty()) << "sample " << i << " starts " << samples[i].substr(0, 12);
  }
  MemoryByteSource text("just some words, no container at all");
  EXPECT_TRUE(ReadTags(text, L"notes.mp3", kStructureTags).Found().Empty());
}

TEST(ReadTags, HashesOfAllTheBytes) {
  const struct {
    std::string bytes;
    Tag tag;
    const wchar_t* expected;
  } cases[] = {
      {"abc", Tag::Crc32, L"352441c2"},
      {"abc", Tag::Md5, L"900150983cd24fb0d6963f7d28e17f72"},
      {"abc", Tag::Sha1, L"a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"abc", Tag::Sha256, L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"", Tag::Crc32, L"00000000"},
      {"", Tag::Md5, L"d41d8cd98f00b204e9800998ecf8427e"},
      {std::string(1000000, 'a'), Tag::Sha1, L"34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
      {std::string(1000000, 'a'), Tag::Sha256, L"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    MemoryByteSource source(c.bytes);
    const TagValues values = ReadTags(source, L"", TagSet::Of(c.tag));
    ASSERT_NE(nullptr, values.Find(c.tag)) << c.bytes.size();
    EXPECT_EQ(c.expected, *values.Find(c.tag)) << c.bytes.size();
  }
}

// The long run over every reader through the entry, outside `make test`:
// KORVAL_SOAK_SECONDS=300 metadata_test --gtest_also_run_disabled_tests --gtest_filter=*Soak*
TEST(ReadTagsFuzz, DISABLED_SoakMutationLoop) {
  const char* text = std::getenv("KORVAL_SOAK_SECONDS");
  const int seconds = text ? std::atoi(text) : 60;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  std::mt19937 random(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
  const std::vector<std::string> seeds = EverySample();
  long long rounds = 0, found = 0;
  while (std::chrono::steady_clock::now() < end) {
    const std::string bytes = MutatedBytes(random, seeds[random() % seeds.size()]);
    ASSERT_TRUE(ReadFenced(bytes, [&](std::string_view fenced) {
      MemoryByteSource source(fenced);
      const TagValues values = ReadTags(source, L"x.mp3", kStructureTags);
      for (int t = 0; t < kTagCount; ++t) {
        if (const std::wstring* value = values.Find(static_cast<Tag>(t))) {
          ASSERT_FALSE(value->empty());
          ASSERT_EQ(std::wstring::npos, value->find(L'\0'));
          ++found;
        }
      }
    }));
    ++rounds;
  }
  std::printf("soak: %lld mutated files in %d s, %lld values found\n", rounds, seconds, found);
}

}  // namespace
}  // namespace korval
