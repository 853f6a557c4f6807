#include "modes/sequence_expansion.h"

#include <gtest/gtest.h>

#include "testing/faulty_file_system.h"
#include "platform/path_limits.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

struct ExpandCase {
  const wchar_t* source;
  const wchar_t* text;
  int form;
  const wchar_t* out;
};

TEST(SpecialSequences, ExpandsFolderAndExtensionInEachForm) {
  const wchar_t* img = L"C:\\photos\\2024\\img.jpg";
  const ExpandCase cases[] = {
      {img, L"\\f", 0, L"2024"},
      {img, L"a\\fb\\ec", 0, L"a2024bjpgc"},
      {img, L"\\e\\e", 0, L"jpgjpg"},
      {img, L"\\\\f", 0, L"\\2024"},
      {img, L"\\x\\", 0, L"\\x\\"},
      {img, L"\\f", 1, L"\\f"},
      {img, L"\\\\f-\\\\e", 1, L"2024-jpg"},
      {img, L"\\\\f", 2, L"\\f"},
      {img, L"\\\\e_\\e", 2, L"\\e_jpg"},
      {img, L"`f'\\e", 2, L"\\fjpg"},
      {img, L"`f'", 2, L"`f'"},  // without a backslash the text is left as typed
      {img, L"`f'\\e", 0, L"`f'jpg"},
      {L"C:\\img.jpg", L"[\\f]", 0, L"[]"},
      {L"C:\\d\\name", L"[\\e]", 0, L"[]"},
      {L"name.txt", L"[\\f]", 0, L"[]"},
      {L"", L"\\f\\e", 0, L""},
      {L"C:\\stuff\\a.txt", L"\\\\f", 0, L"\\stuff"},  // "\s" formed by the folder name is not read again
      {L"C:\\d\\a.eee", L"\\\\e", 0, L"\\eee"},
      {img, L"", 0, L""},
  };
  FaultyFileSystem fs;
  for (const ExpandCase& c : cases) {
    std::wstring text = c.text;
    ExpandSpecialSequences(text, c.source, c.form, fs);
    EXPECT_EQ(std::wstring(c.out), text) << Utf8(c.text) << " form " << c.form;
  }
  EXPECT_EQ(0, fs.CountOf(FsCall::Find)) << "no size sequence, so no lookup";
}

TEST(SpecialSequences, SizeComesFromTheDirectoryEntryOnce) {
  TempFolder folder;
  const std::wstring file = folder.WriteFile(L"data.bin", std::string(1234, 'x'));
  FaultyFileSystem fs;
  std::wstring text = L"\\s-\\:";
  ExpandSpecialSequences(text, file, kSequencesPlain, fs);
  EXPECT_EQ(L"1234-1234", text);
  EXPECT_EQ(1, fs.CountOf(FsCall::Find));

  text = L"\\\\s";
  ExpandSpecialSequences(text, file, kSequencesDoubled, fs);
  EXPECT_EQ(L"1234", text);
  text = L"\\\\s";
  ExpandSpecialSequences(text, file, kSequencesProtected, fs);
  EXPECT_EQ(L"\\s", text);
  text = L"\\\\:";  // ":" is not protected by a doubled backslash
  ExpandSpecialSequences(text, file, kSequencesProtected, fs);
  EXPECT_EQ(L"\\1234", text);
}

TEST(SpecialSequences, SizeIsZeroForFoldersMissingItemsAndWildcards) {
  TempFolder folder;
  folder.WriteFile(L"a.txt", "abc");
  FaultyFileSystem fs;
  const std::wstring sources[] = {folder / L"missing.txt", folder.Path().substr(0, folder.Path().size() - 1),
                                  folder / L"*.txt", L""};
  for (const std::wstring& source : sources) {
    std::wstring text = L"\\s";
    ExpandSpecialSequences(text, source, kSequencesPlain, fs);
    EXPECT_EQ(L"0", text) << Utf8(source);
  }
  EXPECT_EQ(2, fs.CountOf(FsCall::Find)) << "a wildcard or empty path is never looked up";
}

TEST(SpecialSequences, ResultIsWholeUpToTheBoundOfBuiltNames) {
  FaultyFileSystem fs;
  const std::wstring source = L"C:\\" + std::wstring(200, L'f') + L"\\x.txt";
  std::wstring text = std::wstring(100, L'a') + L"\\f";
  ExpandSpecialSequences(text, source, kSequencesPlain, fs);
  EXPECT_EQ(std::wstring(100, L'a') + std::wstring(200, L'f'), text);

  std::wstring huge;
  for (int i = 0; i < 20000; ++i) huge += L"\\f";
  ExpandSpecialSequences(huge, source, kSequencesPlain, fs);
  EXPECT_EQ(std::wstring(kMaxBuiltPath, L'f'), huge);

  std::wstring plain(kMaxBuiltPath + 300, L'z');
  ExpandSpecialSequences(plain, source, kSequencesPlain, fs);
  EXPECT_EQ(kMaxBuiltPath, plain.size());
}

}  // namespace
}  // namespace korval
