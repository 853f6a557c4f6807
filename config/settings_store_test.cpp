#include "config/settings_store.h"

#include <gtest/gtest.h>

#include "testing/test_stores.h"

namespace korval {
namespace {

TEST(SettingsStore, UseIniMustBeAFile) {
  TempFolder folder;
  EXPECT_EQ(StoreKind::Registry, SettingsStore::Choose(folder.Path()).Kind());
  CreateDirectoryW((folder / L"use.ini").c_str(), nullptr);
  EXPECT_EQ(StoreKind::Registry, SettingsStore::Choose(folder.Path()).Kind());
  RemoveDirectoryW((folder / L"use.ini").c_str());
  folder.WriteFile(L"use.ini", "anything; the content is not read");
  const SettingsStore store = SettingsStore::Choose(folder.Path());
  EXPECT_EQ(StoreKind::Ini, store.Kind());
  EXPECT_EQ(folder / L"korvalith.ini", store.IniPath());
}

TEST(SettingsStore, IniKeepsDecimalIntegersAndQuotedTexts) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  store.WriteInt(L"wwidth", -1);
  store.WriteInt(L"option1", 0x81031);
  store.WriteText(L"autoaddopt", L"/file /subfolder0");
  store.WriteText(L"sepstr", L"");
  EXPECT_EQ("[Base]\r\nwwidth=-1\r\noption1=528433\r\nautoaddopt=\"/file /subfolder0\"\r\nsepstr=\"\"\r\n",
            program.IniBytes());
  EXPECT_EQ(L"/file /subfolder0", store.ReadText(L"autoaddopt", L"x"));
  EXPECT_EQ(L"", store.ReadText(L"sepstr", L"x"));
  EXPECT_EQ(L"x", store.ReadText(L"missing", L"x"));
  EXPECT_TRUE(store.HasKey(L"sepstr"));
  EXPECT_FALSE(store.HasKey(L"missing"));
}

// Two starts share the ini file: a save writes, in one replacement of the file, only the keys this
// start changed, so what another start saved meanwhile stays; a save that changes nothing leaves the
// file as it was, and no copy is left beside it.
TEST(SettingsStore, ASaveWritesOnlyTheKeysThisStartChanged) {
  IniProgramFolder program;
  program.folder.WriteFile(L"korvalith.ini", "[Base]\r\nmode=1\r\nwtop=2\r\nsepstr=\"-\"\r\n");
  const SettingsStore store = program.Store();
  const SettingsStore atStart = store.ReadAtOnce();
  EXPECT_EQ(1, atStart.ReadInt(L"mode", 100, 0));
  // Another start saves its own values meanwhile.
  WritePrivateProfileStringW(L"Base", L"wtop", L"7", (program.folder / L"korvalith.ini").c_str());
  WritePrivateProfileStringW(L"Base", L"sepstr", L"\"+\"", (program.folder / L"korvalith.ini").c_str());
  {
    const SettingsStore::Batch batch(store);
    store.WriteInt(L"mode", 3);       // changed here
    store.WriteInt(L"wtop", 2);       // as this start read it
    store.WriteText(L"sepstr", L"-");  // as this start read it
    store.WriteInt(L"head1w", 50);    // new
    EXPECT_EQ("[Base]\r\nmode=1\r\nwtop=7\r\nsepstr=\"+\"\r\n", program.IniBytes()) << "written at the batch's end";
  }
  EXPECT_EQ("[Base]\r\nmode=3\r\nwtop=7\r\nsepstr=\"+\"\r\nhead1w=50\r\n", program.IniBytes());
  {
    const SettingsStore::Batch again(store);
    store.WriteInt(L"mode", 3);
  }
  EXPECT_EQ("[Base]\r\nmode=3\r\nwtop=7\r\nsepstr=\"+\"\r\nhead1w=50\r\n", program.IniBytes());
  // Outside a batch a write is a replacement of its own.
  store.WriteInt(L"wtop", 9);
  EXPECT_EQ(9, store.ReadInt(L"wtop", 100, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"korvalith.ini", L"use.ini"}), SortedNames(program.folder.Path()));
}

TEST(SettingsStore, IntegersOutOfRangeReadAsTheDefault) {
  for (StoreKind kind : {StoreKind::Ini, StoreKind::Registry}) {
    IniProgramFolder program;
    ScratchRegistryKey key(L"Software\\Pinecot Tools\\KorvalithTestBounds");
    const SettingsStore store(kind, program.folder / L"korvalith.ini", key.Key());
    store.WriteInt(L"topmost", 5);
    store.WriteInt(L"wwidth", -5);
    store.WriteInt(L"timeplus", 604800);
    store.WriteInt(L"head1w", 2001);
    EXPECT_EQ(0, store.ReadInt(L"topmost", 1, 0));
    EXPECT_EQ(-1, store.ReadInt(L"wwidth", 32767, -1));  // negative compares as a huge unsigned value
    EXPECT_EQ(604800, store.ReadInt(L"timeplus", 604800, 0));
    EXPECT_EQ(192, store.ReadInt(L"head1w", 2000, 192));
    EXPECT_EQ(7, store.ReadInt(L"missing", 10, 7));
  }
}

TEST(SettingsStore, IniTextsAreEscapedAndReadBack) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  const std::wstring text = L"caf\u00e9 \uD55C 写真";
  store.WriteText(L"basepath", store.Encode(text));
  const std::string bytes = program.IniBytes();
  EXPECT_NE(std::string::npos, bytes.find("basepath=\"caf\\u00e9 \\ud55c \x8E\xCA\x90\x5E\"")) << bytes;
  EXPECT_EQ(text, store.Decode(store.ReadText(L"basepath", L"")));
}

TEST(SettingsStore, IniTextsAreReadUpTo256Characters) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  store.WriteText(L"long", std::wstring(300, L'a'));
  EXPECT_EQ(std::wstring(256, L'a'), store.ReadText(L"long", L""));
}

// Reads answered from the section read at once give what the profile functions give, whatever
// the file holds: one row per key of a hand-edited file.
TEST(SettingsStore, ReadingAtOnceAnswersAsTheProfileFunctions) {
  IniProgramFolder program;
  program.folder.WriteFile(L"korvalith.ini",
                           "; a comment=1\r\n[Other]\r\nother=5\r\n[base]\r\nplain=12\r\nnegative=-3\r\nquoted=\"7\"\r\n"
                           "  spaced  =  8  \r\nUPPER=9\r\ntwice=1\r\ntwice=2\r\nempty=\r\ntext=\"a b\"\r\n"
                           "single='c d'\r\nunbalanced=\"e\r\ndoubled=\"\"f\"\"\r\ntrailing=12ab\r\nletters=abc\r\n"
                           "plus=+4\r\nhuge=99999999999\r\nno equals sign\r\nlong=\"" + std::string(300, 'g') + "\"\r\n"
                           "[Other]\r\nlater=6\r\n[Base]\r\nsecond=3\r\n");
  const SettingsStore direct = program.Store();
  const SettingsStore atOnce = direct.ReadAtOnce();
  const wchar_t* const kKeys[] = {L"plain", L"negative", L"quoted", L"spaced", L"upper", L"twice", L"empty", L"text",
                                  L"single", L"unbalanced", L"doubled", L"trailing", L"letters", L"plus", L"huge",
                                  L"no equals sign", L"long", L"other", L"later", L"second", L"missing", L"a comment"};
  for (const wchar_t* key : kKeys) {
    SCOPED_TRACE(testing::Message() << std::string(key, key + wcslen(key)));
    EXPECT_EQ(direct.HasKey(key), atOnce.HasKey(key));
    EXPECT_EQ(direct.ReadInt(key, 0xFFFFFFFF, 77), atOnce.ReadInt(key, 0xFFFFFFFF, 77));
    EXPECT_EQ(direct.ReadInt(key, 10, 77), atOnce.ReadInt(key, 10, 77));
    EXPECT_EQ(direct.ReadText(key, L"default"), atOnce.ReadText(key, L"default"));
  }
  // Its writes reach the file.
  atOnce.WriteInt(L"written", 4);
  EXPECT_EQ(4, direct.ReadInt(L"written", 10, 0));
}

TEST(SettingsStore, RegistryKeepsDwordsAndWideTexts) {
  ScratchRegistryKey key(L"Software\\Pinecot Tools\\KorvalithTestRegistry");
  const SettingsStore store(StoreKind::Registry, L"", key.Key());
  store.WriteInt(L"option2", 0x110110);
  store.WriteText(L"basepath", store.Encode(L"D:\\写真\\caf\u00e9"));
  RegistryData data;
  ASSERT_EQ(0, RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, key.Key(), L"option2", data));
  EXPECT_EQ(0x110110u, data.number);
  EXPECT_EQ(L"D:\\写真\\caf\u00e9", store.Decode(store.ReadText(L"basepath", L"")));
  EXPECT_TRUE(store.HasKey(L"option2"));
  EXPECT_FALSE(store.HasKey(L"option1"));
  EXPECT_EQ(1, RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, key.Key(), L"option1", data));
  EXPECT_EQ(0xFFFFFFFFu, data.number);
}

}  // namespace
}  // namespace korval
