#include "engine/folder_prefetch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "testing/faulty_file_system.h"
#include "testing/temp_folder.h"
#include "platform/utf8.h"

namespace korval {
namespace {

// One step of a read as the prefetch sees it: folders announced, a wait until so many folders were
// listed on the prefetch's thread, or a folder taken (and whether it came from the prefetch).
struct Step {
  enum Kind { Announce, WaitListed, Take } kind;
  std::vector<const wchar_t*> folders;  // Announce; Take uses the first
  int count = 0;                        // WaitListed: listings made; Take: 1 when it is handed over
};

struct Case {
  const char* what;
  size_t maxReady;
  std::vector<Step> steps;
};

std::vector<std::wstring> NamesOf(const std::vector<WIN32_FIND_DATAW>& entries) {
  std::vector<std::wstring> names;
  for (const WIN32_FIND_DATAW& entry : entries) names.push_back(entry.cFileName);
  return names;
}

// A tree read's folders listed ahead on another thread come out as the read lists them itself; a
// folder not begun (never announced, or held back while maxReady listings wait) is left to the read.
// (A listing counts from its start: a take may wait for it to end.)
TEST(FolderPrefetch, HandsOverTheListingsTheReadWouldMake) {
  const Case cases[] = {
      {"three ahead, taken in order", 4,
       {{Step::Announce, {L"a", L"b", L"c"}}, {Step::WaitListed, {}, 3}, {Step::Take, {L"a"}, 1},
        {Step::Take, {L"b"}, 1}, {Step::Take, {L"c"}, 1}}},
      {"never announced", 4, {{Step::Announce, {L"a"}}, {Step::WaitListed, {}, 1}, {Step::Take, {L"b"}, 0}}},
      {"no more than maxReady wait", 2,
       {{Step::Announce, {L"a", L"b", L"c"}}, {Step::WaitListed, {}, 2}, {Step::Take, {L"c"}, 0},
        {Step::Take, {L"a"}, 1}, {Step::Take, {L"b"}, 1}}},
      {"a subfolder announced is listed before the folder's siblings", 1,
       {{Step::Announce, {L"a", L"b"}}, {Step::WaitListed, {}, 1}, {Step::Announce, {L"a\\x"}},
        {Step::Take, {L"a"}, 1}, {Step::WaitListed, {}, 2}, {Step::Take, {L"b"}, 0}, {Step::Take, {L"a\\x"}, 1}}},
      {"a folder gone before it was listed", 4,
       {{Step::Announce, {L"gone"}}, {Step::WaitListed, {}, 1}, {Step::Take, {L"gone"}, 1}}},
      {"dropped with listings waiting and announced", 1, {{Step::Announce, {L"a", L"b", L"c"}}}},
  };
  TempFolder dir;
  for (const wchar_t* folder : {L"a", L"a\\x", L"b", L"c"}) CreateDirectoryW((dir / folder).c_str(), nullptr);
  dir.WriteFile(L"a\\1.jpg", "1");
  dir.WriteFile(L"a\\2.jpg", "2");
  dir.WriteFile(L"a\\x\\3.jpg", "3");
  dir.WriteFile(L"b\\4.jpg", "4");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Win32FileSystem real;
    auto counting = std::make_unique<FaultyFileSystem>(real);
    std::atomic<int> listed{0};
    counting->FailWhen(
        [&listed](const FsCallRecord& r) {
          if (r.call == FsCall::ListFolder) ++listed;
          return false;
        },
        0);
    FolderPrefetch prefetch(std::move(counting), c.maxReady);
    std::vector<WIN32_FIND_DATAW> entries;
    for (const Step& step : c.steps) {
      if (step.kind == Step::Announce) {
        std::vector<std::wstring> folders;
        for (const wchar_t* folder : step.folders) folders.push_back(dir / (std::wstring(folder) + L"\\"));
        prefetch.Announce(folders);
      } else if (step.kind == Step::WaitListed) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (listed < step.count && std::chrono::steady_clock::now() < until) std::this_thread::yield();
        ASSERT_GE(listed, step.count);
      } else {
        const std::wstring folder = dir / (std::wstring(step.folders.front()) + L"\\");
        SCOPED_TRACE(Utf8(folder, "take "));
        FolderListing listing;
        entries.assign(3, WIN32_FIND_DATAW{});  // the buffer handed back holds the folder read before
        ASSERT_EQ(step.count == 1, prefetch.Take(folder, listing, entries));
        if (step.count == 0) continue;
        FolderListing direct;
        std::vector<WIN32_FIND_DATAW> directEntries;
        ListFolderInto(real, folder, direct, &directEntries);
        EXPECT_EQ(NamesOf(directEntries), NamesOf(entries));
        EXPECT_EQ(direct.listed, listing.listed);
        EXPECT_EQ(direct.missing, listing.missing);
      }
    }
  }
}

}  // namespace
}  // namespace korval
