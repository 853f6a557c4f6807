#include "config/settings.h"

#include <gtest/gtest.h>

#include <tuple>

#include <regex>
#include <sstream>

#include "testing/test_stores.h"

namespace korval {
namespace {

const WindowsVersion kWindows10{L"Windows 10", kCodeWindows10, true};

TEST(PackedSettings, Option1DefaultDecodesAsDocumented) {
  Settings s;
  s.force3 = s.force4 = 0;
  DecodeOption1(0x81031, s);
  EXPECT_EQ(8, s.collisionOption);  // add a collision serial, format 0
  EXPECT_EQ(1, s.showRenameErrors);
  EXPECT_EQ(0, s.enterdont);        // Enter executes after a preview
  EXPECT_EQ(1, s.force3);
  EXPECT_EQ(1, s.force4);
  EXPECT_EQ(0, s.force1);
  EXPECT_EQ(0, s.force2);
  EXPECT_EQ(1, s.chgconfirm);       // one confirmation at start
  EXPECT_EQ(0x81031u, EncodeOption1(s));
}

TEST(PackedSettings, ConfirmationAndSerialFormatAreClamped) {
  struct Case { DWORD word; int chgconfirm; int collisionOption; };
  const Case cases[] = {
      {0x0, 0, 0}, {0x1, 1, 0}, {0x2, 2, 0}, {0x3, 2, 0}, {0x9, 1, 0}, {0xE, 2, 0},
      {0x50000, 0, 5}, {0x70000, 0, 5}, {0xE0000, 0, 8 | 5}, {0x80000, 0, 8}, {0xB0000, 0, 8 | 3},
  };
  for (const Case& c : cases) {
    Settings s;
    DecodeOption1(c.word, s);
    EXPECT_EQ(c.chgconfirm, s.chgconfirm) << std::hex << c.word;
    EXPECT_EQ(c.collisionOption, s.collisionOption) << std::hex << c.word;
  }
}

TEST(PackedSettings, Option2AndOption4DefaultsMatchTheRecordDefaults) {
  Settings decoded;
  DecodeOption2(0x110110, decoded);
  DecodeOption4(0x1100511, decoded);
  const Settings defaults;
  EXPECT_EQ(defaults.del, decoded.del);
  EXPECT_EQ(1, decoded.maxfilenum);
  EXPECT_EQ(1, decoded.writelog);
  EXPECT_EQ(0, decoded.shortcutlink);
  EXPECT_EQ(1, decoded.subdir);
  EXPECT_EQ(1, decoded.subdirtree);
  EXPECT_EQ(1, decoded.listcols1);
  EXPECT_EQ(1, decoded.listcols2);
  EXPECT_EQ(0, decoded.sizeUnit);
  EXPECT_EQ(1, decoded.readReadOnly);
  EXPECT_EQ(1, decoded.readHidden);
  EXPECT_EQ(1, decoded.readSystem);
  EXPECT_EQ(1, decoded.extFilterExclude);  // with an empty extension list every file is read
  EXPECT_EQ(0, decoded.sizeFilterExclude);
  EXPECT_EQ(0x110110u, EncodeOption2(defaults));
  EXPECT_EQ(0x1100511u, EncodeOption4(defaults));
}

TEST(PackedSettings, Option2ClampsDepthAndRowLimit) {
  Settings s;
  DecodeOption2(0xF0073, s);
  EXPECT_EQ(3, s.del);
  EXPECT_EQ(6, s.maxfilenum);
  EXPECT_EQ(12, s.subdir);
  DecodeOption2(0xC0000, s);
  EXPECT_EQ(12, s.subdir);
  DecodeOption2(0xB1000, s);
  EXPECT_EQ(11, s.subdir);
  EXPECT_EQ(1, s.shortcutlink);
}

TEST(PackedSettings, EveryPackedFieldSurvivesEncoding) {
  Settings s;
  s.force1 = 1; s.force2 = 1; s.force3 = 0; s.force4 = 0; s.chgconfirm = 2; s.enterdont = 1;
  s.showRenameErrors = 0; s.collisionOption = 8 | 4;
  s.del = 2; s.maxfilenum = 6; s.writelog = 0; s.shortcutlink = 1; s.subdir = 11; s.subdirtree = 0;
  s.readReadOnly = 0; s.readHidden = 1; s.readSystem = 0; s.extFilterExclude = 0; s.sizeFilterExclude = 1;
  s.sizeUnit = 2; s.listcols1 = 0; s.listcols2 = 1;
  Settings back;
  DecodeOption1(EncodeOption1(s), back);
  DecodeOption2(EncodeOption2(s), back);
  DecodeOption4(EncodeOption4(s), back);
  EXPECT_EQ(EncodeOption1(s), EncodeOption1(back));
  EXPECT_EQ(EncodeOption2(s), EncodeOption2(back));
  EXPECT_EQ(EncodeOption4(s), EncodeOption4(back));
  EXPECT_EQ(11, back.subdir);
  EXPECT_EQ(12, back.collisionOption);
}

TEST(PackedSettings, HeadcountOutsideItsRangeReadsAsTheDefault) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  struct Case { int stored; int read; };
  for (const Case& c : {Case{0x12345, 0x12345}, Case{0x600000, 0x13245}, Case{0x3332, 0x13245},
                        Case{0x543210, 0x543210}, Case{0x543211, 0x13245}}) {
    store.WriteInt(L"headcount", c.stored);
    Settings s;
    LoadSettings(store, kWindows10, s);
    EXPECT_EQ(c.read, s.headcount) << std::hex << c.stored;
  }
}

TEST(PackedSettings, ChgconfirmBitsThreeReadAsTwoFromTheStore) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  store.WriteInt(L"option1", 0x81033);
  Settings s;
  LoadSettings(store, kWindows10, s);
  LoadSettingsOnFirstShow(store, s);
  EXPECT_EQ(2, s.chgconfirm);
}

// Every integer and text record compared with a default-constructed Settings.
void ExpectDefaults(const Settings& s) {
  const Settings defaults;
  for (const IntRecord& r : IntRecords()) {
    EXPECT_EQ(r.defaultValue, defaults.*r.value) << Utf8(r.key);
    EXPECT_EQ(r.defaultValue, s.*r.value) << Utf8(r.key);
  }
  for (const TextRecord& r : TextRecords()) {
    EXPECT_EQ(std::wstring(r.defaultValue), defaults.*r.value) << Utf8(r.key);
    EXPECT_EQ(std::wstring(r.defaultValue), s.*r.value) << Utf8(r.key);
  }
  EXPECT_EQ(EncodeOption1(defaults), EncodeOption1(s));
  EXPECT_EQ(EncodeOption2(defaults), EncodeOption2(s));
  EXPECT_EQ(EncodeOption4(defaults), EncodeOption4(s));
  EXPECT_EQ(0, s.option3);
  EXPECT_EQ(0, s.mode);
  EXPECT_EQ(0x13245, s.headcount);
  EXPECT_EQ(6, s.dispcontrols);
  EXPECT_EQ(0x2222, s.attribute);
  EXPECT_EQ(0, s.zentohan);
  EXPECT_EQ(std::vector<std::wstring>{kFilterHistoryFirst}, s.filterHistory);
  EXPECT_TRUE(s.replaceFromHistory.empty());
}

TEST(Settings, AnEmptyIniReadsDefaultsAndIsFilledAtExit) {
  IniProgramFolder program;
  program.folder.WriteFile(L"korvalith.ini", "");
  const SettingsStore store = program.Store();
  Settings s;
  s.subdir = 7;  // overwritten by the load
  const LoadResult result = LoadSettings(store, kWindows10, s);
  LoadSettingsOnFirstShow(store, s);
  EXPECT_TRUE(result.firstStart);
  EXPECT_EQ(1, s.count);
  ExpectDefaults(s);

  SaveSettings(store, s, SaveReason::Exit, true);
  const std::string ini = program.IniBytes();
  ASSERT_EQ(0u, ini.find("[Base]\r\n_count=1\r\n_version=4231201\r\noption1=528433\r\noption2=1114384\r\n"
                         "option4=17827089\r\ndispcontrols=6\r\nattribute=8738\r\nzentohan=0\r\n")) << ini;
  // Every key of its own is there, integers in decimal, texts in double quotes.
  for (const IntRecord& r : IntRecords()) {
    if (r.kind == RecordKind::ReadOnly) continue;
    const std::string line = "\r\n" + Utf8(r.key) + "=" + std::to_string(r.defaultValue) + "\r\n";
    EXPECT_NE(std::string::npos, ini.find(line)) << line;
  }
  for (const TextRecord& r : TextRecords()) {
    if (r.kind == RecordKind::ReadOnly) continue;
    const std::string line = "\r\n" + Utf8(r.key) + "=\"" + Utf8(r.defaultValue) + "\"\r\n";
    EXPECT_NE(std::string::npos, ini.find(line)) << line;
  }
  for (const char* line : {"\r\nmode=0\r\n", "\r\nheadcount=78405\r\n", "\r\noption3=0\r\n", "\r\nlfiltstr=\"",
                           "\r\nreplacefrom8=\"\"\r\n", "\r\nreplace1str=\"\"\r\n", "\r\nwwidth=-1\r\n"}) {
    EXPECT_NE(std::string::npos, ini.find(line)) << line;
  }
  // Keys the program never writes stay out of the file.
  EXPECT_EQ(std::string::npos, ini.find("macromsec="));
  EXPECT_EQ(std::string::npos, ini.find("timezone="));
  // Nothing but well-formed lines.
  std::istringstream lines(ini);
  std::string line;
  const std::regex shape(R"(\[Base\]\r|[a-z0-9_]+=(-?[0-9]+|"[^"]*")\r)");
  while (std::getline(lines, line)) EXPECT_TRUE(std::regex_match(line, shape)) << line;
}

TEST(Settings, StartsAreCountedAndAnOlderVersionStartsAfresh) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  Settings s;
  EXPECT_TRUE(LoadSettings(store, kWindows10, s).firstStart);
  SaveSettings(store, s, SaveReason::Exit, true);
  EXPECT_FALSE(LoadSettings(store, kWindows10, s).firstStart);
  EXPECT_EQ(2, s.count);
  EXPECT_FALSE(LoadSettings(store, kWindows10, s).firstStart);
  EXPECT_EQ(3, s.count);
  EXPECT_EQ(3, store.ReadInt(L"_count", 0xFFFFFFF, 0));
  // An older version resets the count without the first-start dialog.
  store.WriteInt(L"_version", 4231200);
  EXPECT_FALSE(LoadSettings(store, kWindows10, s).firstStart);
  EXPECT_EQ(1, s.count);
  EXPECT_EQ(kProgramVersion, s.version);
}

TEST(Settings, IniWithoutVersionTakesItFromTheRegistry) {
  ScratchRegistryKey key(L"Software\\Pinecot Tools\\KorvalithTestMove");
  IniProgramFolder program;
  const SettingsStore store = program.Store(key.Key());
  SettingsStore(StoreKind::Registry, L"", key.Key()).WriteInt(L"_version", kProgramVersion);
  store.WriteInt(L"_count", 41);
  Settings s;
  EXPECT_FALSE(LoadSettings(store, kWindows10, s).firstStart);
  EXPECT_EQ(42, s.count);
}

TEST(Settings, OlderWindowsHideTheTreeByDefault) {
  IniProgramFolder program;
  Settings s;
  LoadSettings(program.Store(), WindowsVersion{L"Windows2000", 20000, true}, s);
  EXPECT_EQ(5, s.dispcontrols);
}

TEST(Settings, RegistryStoreCountsTheProgramInTheVendorKey) {
  ScratchRegistryKey key(L"Software\\Pinecot Tools\\KorvalithTestVendor");
  RegistryData tools;
  RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
  const DWORD before = tools.number;
  tools.number = 1;
  RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);

  const SettingsStore store(StoreKind::Registry, L"", key.Key());
  Settings s;
  EXPECT_TRUE(LoadSettings(store, kWindows10, s).firstStart);
  RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
  EXPECT_EQ(2u, tools.number);
  EXPECT_FALSE(LoadSettings(store, kWindows10, s).firstStart);  // `_version` still unwritten: counted again
  SaveSettings(store, s, SaveReason::Exit, true);
  EXPECT_FALSE(LoadSettings(store, kWindows10, s).firstStart);
  RegistryValue(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
  EXPECT_EQ(3u, tools.number);

  tools.number = before;
  RegistryValue(RegistryOp::WriteDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
}

TEST(Settings, TextsOutsideTheCodePageSurviveSaveAndLoad) {
  for (StoreKind kind : {StoreKind::Ini, StoreKind::Registry}) {
    ScratchRegistryKey key(L"Software\\Pinecot Tools\\KorvalithTestTexts");
    IniProgramFolder program;
    const SettingsStore store(kind, program.folder / L"korvalith.ini", key.Key());
    Settings s;
    LoadSettings(store, kWindows10, s);
    s.basepath = L"C:\\Fotos\\\u00e9t\u00e9 \uD55C\uAD6D";
    s.bsexcept1 = L"\u00fcber de la";
    s.addHistory = {L"caf\u00e9", L"写真"};
    SaveSettings(store, s, SaveReason::Exit, true);
    if (kind == StoreKind::Ini) {
      EXPECT_NE(std::string::npos, program.IniBytes().find("basepath=\"C:\\Fotos\\\\u00e9t\\u00e9 \\ud55c\\uad6d\""));
    }
    Settings back;
    LoadSettings(store, kWindows10, back);
    EXPECT_EQ(s.basepath, back.basepath);
    EXPECT_EQ(s.bsexcept1, back.bsexcept1);
    EXPECT_EQ(s.addHistory, back.addHistory);
  }
}

// A date pattern typed into the box is saved as -1 with its text; it comes back after a restart.
TEST(Settings, ATypedDatePatternSurvivesARestart) {
  IniProgramFolder program;
  const SettingsStore store(StoreKind::Ini, program.folder / L"korvalith.ini", L"");
  Settings s;
  LoadSettings(store, kWindows10, s);
  for (const auto& [datefrom, ymdform, expected] :
       {std::tuple{-1, L"YYYY年MM月", -1}, std::tuple{5, L"", 5}, std::tuple{-1, L"", 0}}) {
    s.datefrom = datefrom;
    s.ymdform = ymdform;
    SaveSettings(store, s, SaveReason::Exit, true);
    Settings back;
    LoadSettings(store, kWindows10, back);
    EXPECT_EQ(expected, back.datefrom) << datefrom;
    EXPECT_EQ(std::wstring(ymdform), back.ymdform);
  }
}

TEST(Settings, MovieTimeZoneFollowsTheSystemUntilTheKeyIsSet) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  Settings s;
  LoadSettings(store, kWindows10, s);
  EXPECT_EQ(std::wstring(kSystemTimeZone), s.timezone);
  SaveSettings(store, s, SaveReason::Exit, true);
  LoadSettings(store, kWindows10, s);
  EXPECT_EQ(std::wstring(kSystemTimeZone), s.timezone);  // never written by the program
  for (const wchar_t* stored : {L"9", L"-5", L"0", L""}) {
    store.WriteText(L"timezone", stored);
    Settings back;
    LoadSettings(store, kWindows10, back);
    EXPECT_EQ(std::wstring(stored), back.timezone);
  }
}

TEST(Settings, FixedWindowAndModeAreKeptAtExitButSavedNow) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  Settings s;
  LoadSettings(store, kWindows10, s);
  s.option3 = kFixWindow | kFixColumns | kFixMode;
  s.wleft = 100; s.wtop = 50; s.wwidth = 800; s.wheight = 600; s.head1w = 300; s.mode = 9; s.headcount = 0x12345;
  SaveSettings(store, s, SaveReason::SaveNow, true);
  s.wleft = 400; s.head1w = 10; s.mode = 3; s.headcount = 0x54321;
  SaveSettings(store, s, SaveReason::Exit, true);
  Settings back;
  LoadSettings(store, kWindows10, back);
  EXPECT_EQ(100, back.wleft);
  EXPECT_EQ(300, back.head1w);
  EXPECT_EQ(9, back.mode);
  EXPECT_EQ(0x12345, back.headcount);
  EXPECT_EQ(s.option3, back.option3);
}

TEST(Settings, GeometryOfAMaximisedWindowIsNotSaved) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  Settings s;
  LoadSettings(store, kWindows10, s);
  s.wleft = 500;
  SaveSettings(store, s, SaveReason::Exit, false);
  Settings back;
  LoadSettings(store, kWindows10, back);
  EXPECT_EQ(-1, back.wleft);
  EXPECT_EQ(std::string::npos, program.IniBytes().find("wleft="));
}

TEST(Settings, AnEmptyMacroListIsDeletedAtExit) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  Settings s;
  program.folder.WriteFile(L"macro.lst", "");
  SetFileAttributesW((program.folder / L"macro.lst").c_str(), FILE_ATTRIBUTE_READONLY);
  SaveSettings(store, s, SaveReason::SaveNow, true);
  EXPECT_TRUE(program.folder.Exists(L"macro.lst"));
  SaveSettings(store, s, SaveReason::Exit, true);
  EXPECT_FALSE(program.folder.Exists(L"macro.lst"));
  program.folder.WriteFile(L"macro.lst", "1:name\n");
  SaveSettings(store, s, SaveReason::Exit, true);
  EXPECT_TRUE(program.folder.Exists(L"macro.lst"));
}

}  // namespace
}  // namespace korval
