// Capture dates in names, timed: 10,000 photographs of 3 MB and 1,000 movies of 100 MB whose movie
// header stands at the end behind its sample tables, as phones write them. The files are sparse, so
// they cost little disk; both sides of each comparison read the same files.
#include "tests/capture_date_benchmark.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/transform_name.h"
#include "modes/capture_date.h"
#include "testing/capture_samples.h"
#include "modes/change_mode.h"
#include "modes/date_time.h"
#include "platform/scoped_handle.h"
#include "testing/temp_folder.h"
#include "tests/bare_reads.h"

namespace korval {
namespace {

using namespace samples;


// The head at the start, the tail at the end, a hole of `size` bytes in between.
bool WriteSparse(const std::wstring& path, const std::string& head, unsigned long long size, const std::string& tail) {
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(size - tail.size());
  return WriteFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &written, nullptr) &&
         SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) &&
         WriteFile(file.Get(), tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr);
}

std::string DateText(size_t i) {
  char text[32];
  std::snprintf(text, sizeof(text), "2024:%02zu:%02zu %02zu:%02zu:%02zu", i % 12 + 1, i % 28 + 1, i % 24, i % 60,
                (i / 60) % 60);
  return text;
}

std::vector<std::wstring> MakePhotos(const TempFolder& dir, size_t count) {
  std::vector<std::wstring> paths;
  for (size_t i = 0; i < count; ++i) {
    // A camera's EXIF block: the directories, maker notes and a thumbnail, some 30 KB.
    TiffLayout tiff;
    tiff.first = {{0x010F, 2, 6, std::string("Maker\0", 6)}, {0x0110, 2, 8, std::string("Model 1\0", 8)}};
    tiff.exif = {{0x829A, 5, 1, std::string(8, '\x01')}, Original(DateText(i)), Digitized(DateText(i)),
                 {0x927C, 7, 4000, std::string(4000, '\x4E')}};
    std::string jpeg = Jpeg(Tiff(tiff) + std::string(26000, '\x7E'));
    jpeg.resize(jpeg.size() - 2);  // the end marker goes to the end of the file
    wchar_t name[32];
    _snwprintf(name, 32, L"IMG_%05zu.JPG", i);
    paths.push_back(dir / name);
    if (!WriteSparse(paths.back(), jpeg, 3ULL * 1024 * 1024, "\xFF\xD9")) std::printf("  (could not write a photo)\n");
  }
  return paths;
}

std::vector<std::wstring> MakeMovies(const TempFolder& dir, size_t count) {
  std::vector<std::wstring> paths;
  const unsigned long long size = 100ULL * 1024 * 1024;
  for (size_t i = 0; i < count; ++i) {
    // The movie box at the end: the header, then a track with 60 KB of sample tables.
    const std::string moov = Box("moov", MovieHeader(3786912000u + i * 3600u) +
                                             Box("trak", Box("tkhd", std::string(84, '\x01')) +
                                                             Box("stbl", std::string(60000, '\x02'))));
    const std::string head = FileType("mp42") + Be32(static_cast<uint32_t>(size - 24 - moov.size())) + "mdat";
    wchar_t name[32];
    _snwprintf(name, 32, L"MOV_%04zu.mp4", i);
    paths.push_back(dir / name);
    if (!WriteSparse(paths.back(), head, size, moov)) std::printf("  (could not write a movie)\n");
  }
  return paths;
}

// The date mode ("撮影日時", YYYYMMDDhhmmss as the new name) over every file; the rows that got a date.
size_t DateMode(const std::vector<std::wstring>& paths) {
  ModeParams params;
  params.whichdate = kDateCaptured;
  params.datefrom = 5;
  params.dateins = 0;
  DateRun run;
  TransformContext ctx;
  ctx.params = &params;
  ctx.dateRun = &run;
  size_t named = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    std::wstring target;
    TransformName(target, paths[i], kModeDateTime, static_cast<int>(i), ctx);
    if (target != paths[i] && !target.empty()) ++named;
  }
  return named;
}

void Compare(const char* what, const std::vector<std::wstring>& paths) {
  double bareMs = 1e30, dateMs = 1e30;
  size_t bareBytes = 0, named = 0;
  for (int round = 0; round < 3; ++round) {
    bareMs = std::min(bareMs, Milliseconds([&] { bareBytes = BareReads(paths); }));
    dateMs = std::min(dateMs, Milliseconds([&] { named = DateMode(paths); }));
  }
  // What the readers take from the disk, file by file, and their time without the rest of the mode.
  unsigned long long readBytes = 0, reads = 0;
  std::vector<CaptureTime> times(paths.size());
  double readersMs = 1e30;
  for (int round = 0; round < 3; ++round) {
    readBytes = reads = 0;
    readersMs = std::min(readersMs, Milliseconds([&] {
      for (size_t i = 0; i < paths.size(); ++i) {
        FileByteSource file(paths[i]);
        FindCaptureTime(file, paths[i], times[i]);
        readBytes += file.BytesFromDisk();
        reads += file.DiskReads();
      }
    }));
  }
  const double zoneMs = Milliseconds([&] {
    for (const CaptureTime& t : times) {
      SYSTEMTIME local{};
      if (t.kind == CaptureTime::Kind::kMovieSeconds) MovieTimeToLocal(t.movieSeconds, kSystemTimeZone, local);
    }
  });
  const double n = static_cast<double>(std::max<size_t>(1, paths.size()));
  std::printf("  %-9s best of 3: bare open + 64 KB read %8.1f ms (%.1f KB a file); date mode %8.1f ms (%zu of %zu "
              "named; %.1f reads, %.1f KB a file); ratio %.2f\n",
              what, bareMs, static_cast<double>(bareBytes) / n / 1024.0, dateMs, named, paths.size(),
              static_cast<double>(reads) / n, static_cast<double>(readBytes) / n / 1024.0, dateMs / bareMs);
  std::printf("            the readers alone (best of 3) %8.1f ms; movie times into the system's time zone %8.1f ms\n", readersMs,
              zoneMs);
}

}  // namespace

void BenchCaptureDates(size_t photos, size_t movies) {
  std::printf("Capture dates in names (date mode, \"撮影日時\") against opening each file and reading 64 KB:\n");
  TempFolder dir;
  const std::vector<std::wstring> photoPaths = MakePhotos(dir, photos);
  const std::vector<std::wstring> moviePaths = MakeMovies(dir, movies);
  Compare("photos", photoPaths);
  Compare("movies", moviePaths);
}

}  // namespace korval
