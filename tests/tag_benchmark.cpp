// Tags in names, timed: 10,000 MP3 files of 4 MB with an ID3v2 tag (a 60 KB cover picture among
// its frames) and 1,000 M4A files of 5 MB, against a bare loop that opens each file and reads its first
// 64 KB; hashes of 1 GB against reading it in 1 MB blocks; the second preview pass over music files
// with a tag template, the values kept from the first. Files are sparse: both sides read the same.
#include "tests/tag_benchmark.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/execute_changes.h"
#include "metadata/read_tags.h"
#include "modes/change_mode.h"
#include "platform/scoped_handle.h"
#include "testing/media_samples.h"
#include "testing/music_samples.h"
#include "testing/quiet_context.h"
#include "testing/temp_folder.h"
#include "tests/bare_reads.h"

namespace korval {
namespace {

bool WriteSparse(const std::wstring& path, const std::string& head, unsigned long long size) {
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  return WriteFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &written, nullptr) &&
         SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get());
}

std::string Mp3Head(size_t i) {
  using namespace music_samples;
  const std::wstring number = std::to_wstring(i % 20 + 1) + L"/20";
  const std::string frames = Id3Text(3, "TIT2", 1, L"曲 " + std::to_wstring(i)) + Id3Text(3, "TPE1", 1, L"歌い手") +
                             Id3Text(3, "TALB", 1, L"アルバム") + Id3Text(3, "TRCK", 0, number) +
                             Id3Frame(3, "APIC", std::string("\0image/jpeg\0\x03\0", 14) + std::string(60000, '\x55'));
  return Id3Tag(3, frames, 0, 2048) + MpegFrames(0xFFFB9000, 417, 40);
}

std::string M4aHead(size_t i) {
  using namespace media;
  const std::string items = Mp4Text("\xA9nam", "Song " + std::to_string(i)) + Mp4Text("\xA9" "ART", "Singer") +
                            Mp4Pair("trkn", static_cast<uint16_t>(i % 20 + 1), 20);
  // iTunes writes the movie box, with the sample tables, in front of the audio.
  return Mp4File("M4A ", Mp4MovieHeader(44100, 44100 * 200) + Mp4Box("trak", std::string(40000, '\x02')) +
                             Mp4UserDataItems(items));
}

std::vector<std::wstring> MakeFiles(const TempFolder& dir, size_t count, const wchar_t* pattern,
                                    std::string (*head)(size_t), unsigned long long size) {
  std::vector<std::wstring> paths;
  for (size_t i = 0; i < count; ++i) {
    wchar_t name[32];
    _snwprintf(name, 32, pattern, i);
    paths.push_back(dir / name);
    if (!WriteSparse(paths.back(), head(i), size)) std::printf("  (could not write %ls)\n", name);
  }
  return paths;
}

void CompareReads(const char* what, const std::vector<std::wstring>& paths) {
  TagSet asked = TagSet::Of(Tag::Track);
  asked.Add(Tag::Title);
  double bareMs = 1e30, tagMs = 1e30;
  size_t found = 0;
  for (int round = 0; round < 3; ++round) {
    bareMs = std::min(bareMs, Milliseconds([&] { BareReads(paths); }));
    tagMs = std::min(tagMs, Milliseconds([&] {
      found = 0;
      for (const std::wstring& path : paths) found += ReadFileTags(path, asked).Found() == asked ? 1 : 0;
    }));
  }
  std::printf("  %-5s best of 3: bare open + 64 KB read %8.1f ms; Track and Title %8.1f ms (%zu of %zu); ratio %.2f\n",
              what, bareMs, tagMs, found, paths.size(), tagMs / bareMs);
}

void CompareHashes(const std::vector<std::wstring>& paths) {
  double bareMs = 1e30;
  for (int round = 0; round < 3; ++round) {
    bareMs = std::min(bareMs, Milliseconds([&] {
      std::vector<char> block(1 << 20);
      for (const std::wstring& path : paths) {
        ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD got = 0;
        while (file && ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &got, nullptr) && got > 0) {
        }
      }
    }));
  }
  std::printf("  hashes of %zu files, 1 GB in all: bare read in 1 MB blocks %8.1f ms\n", paths.size(), bareMs);
  for (const Tag tag : {Tag::Crc32, Tag::Md5, Tag::Sha1, Tag::Sha256}) {
    double ms = 1e30;
    for (int round = 0; round < 2; ++round) {
      ms = std::min(ms, Milliseconds([&] {
        for (const std::wstring& path : paths) ReadFileTags(path, TagSet::Of(tag));
      }));
    }
    std::printf("    %-7ls %8.1f ms, ratio %.2f\n", DescriptorOf(tag).name, ms, ms / bareMs);
  }
}

// Live names ask a preview pass per key: the first reads every file, the next ones keep the values.
void ComparePasses(const TempFolder& dir, const std::vector<std::wstring>& paths) {
  RenameList list;
  for (const std::wstring& path : paths) {
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    list.Append({name, L".mp3", dir.Path() + L"\\", L"", L"", L"", ItemStatus::None, false});
  }
  PanelValues panel;
  panel.replaceFrom = L"^.*$";
  panel.replaceTo = L"<:Track:2> - <:Title>";
  panel.regexp = 1;
  ModeParams params;
  RunState state;
  TagCache cache;
  ExecuteContext c = QuietContext(list, panel, params, state, dir.Path(), kModeReplace);
  c.tagCache = &cache;
  const double firstMs = Milliseconds([&] { ExecuteChanges(RunKind::Preview, c); });
  double nextMs = 1e30;
  for (int round = 0; round < 3; ++round) nextMs = std::min(nextMs, Milliseconds([&] { ExecuteChanges(RunKind::Preview, c); }));
  std::printf("  a preview pass of %zu music files, \"<:Track:2> - <:Title>\": first %8.1f ms (%zu files read), "
              "next ones (best of 3) %8.1f ms; first row \"%ls\"\n",
              paths.size(), firstMs, cache.Reads(), nextMs, list.Row(0).newName.c_str());
}

}  // namespace

void BenchTags(size_t mp3Files, size_t m4aFiles, size_t hashMegabytes, size_t livePassFiles) {
  std::printf("Tags in names, against opening each file and reading 64 KB:\n");
  TempFolder dir;
  const std::vector<std::wstring> mp3 = MakeFiles(dir, mp3Files, L"track_%05zu.mp3", &Mp3Head, 4ULL << 20);
  const std::vector<std::wstring> m4a = MakeFiles(dir, m4aFiles, L"song_%04zu.m4a", &M4aHead, 5ULL << 20);
  CompareReads("mp3", mp3);
  CompareReads("m4a", m4a);
  std::vector<std::wstring> big;
  for (size_t i = 0; i < hashMegabytes / 64; ++i) {
    wchar_t name[32];
    _snwprintf(name, 32, L"big_%02zu.bin", i);
    big.push_back(dir / name);
    // Written, not sparse: a hole reads as zeros without the disk.
    ScopedFile file(CreateFileW(big.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string block(1 << 20, static_cast<char>(i));
    for (int m = 0; m < 64 && file; ++m) {
      DWORD written = 0;
      block[0] = static_cast<char>(m);
      WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    }
  }
  CompareHashes(big);
  for (const std::wstring& path : big) DeleteFileW(path.c_str());
  ComparePasses(dir, std::vector<std::wstring>(mp3.begin(), mp3.begin() + std::min(livePassFiles, mp3.size())));
}

}  // namespace korval
