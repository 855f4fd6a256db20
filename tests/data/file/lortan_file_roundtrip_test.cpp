// lortan_file_roundtrip_test.cpp: what SaveFile writes and what LoadFile gives back.
//
// Files go to a private temporary folder. The byte-exact cases pin the layout the host
// reads; the round trips cover every field, Cyrillic text and both decimal separators.
#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "data/lortan_file.h"
#include "lortan_file_support.h"
#include "platform/sys/locale.h"

using namespace lortan_test;

namespace {

class LocaleGuard {
 public:
  explicit LocaleGuard(bool russian) {
    if (russian) sys::SetRussianLocale();
  }
  ~LocaleGuard() { sys::ResetLocale(); }
};

struct RoundTripCase {
  const char* name;
  bool russian;
  std::uint8_t version;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) { *out << c.name; }

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, SaveThenLoadGivesBackEveryField) {
  const LocaleGuard locale(GetParam().russian);
  TempFolder folder;
  const sys::Text path = TextPath(folder / "хроматограмма 1.stg");
  CLortanFile4 saved = SyntheticFile(5000);
  saved.version = GetParam().version;
  ASSERT_EQ(saved.SaveFile(path), 0);
  EXPECT_EQ(saved.passport.path, path);

  CLortanFile4 loaded;
  ASSERT_EQ(loaded.LoadFile(path), 0);
  ExpectSameContent(saved, loaded);
  EXPECT_EQ(loaded.passport.path, path);

  // The memory block of the same bytes reads the same, and leaves path alone.
  const std::string bytes = ReadBytes(folder / "хроматограмма 1.stg");
  CLortanFile4 fromBlock;
  ASSERT_EQ(fromBlock.LoadBuffer(bytes.data(), bytes.size()), 0);
  ExpectSameContent(saved, fromBlock);
  EXPECT_TRUE(fromBlock.passport.path.empty());
}

INSTANTIATE_TEST_SUITE_P(Locales, RoundTrip,
                         ::testing::Values(RoundTripCase{"point", false, 1},
                                           RoundTripCase{"comma", true, 1},
                                           RoundTripCase{"version0", false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SaveFile, WritesDoublesWithTheRuntimeSeparator) {
  TempFolder folder;
  CLortanFile4 file;
  file.passport.duration = 0.5;
  {
    const LocaleGuard russian(true);
    ASSERT_EQ(file.SaveFile(TextPath(folder / "comma.stg")), 0);
  }
  ASSERT_EQ(file.SaveFile(TextPath(folder / "point.stg")), 0);
  EXPECT_NE(ReadBytes(folder / "comma.stg").find("<duration value=\"0,5\"/>"), std::string::npos);
  EXPECT_NE(ReadBytes(folder / "point.stg").find("<duration value=\"0.5\"/>"), std::string::npos);
}

TEST(SaveFile, NewObjectWritesHeaderAndDefaultPassportExactly) {
  TempFolder folder;
  CLortanFile4 file;
  ASSERT_EQ(file.SaveFile(TextPath(folder / "empty.stg")), 0);
  std::string expected("STG\x01\0\0\0\0\x10\0\0\0\0\0\0\0", 16);
  expected +=
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><root version=\"1\"><passport version=\"1\">"
      "<assayid value=\"00000000-0000-0000-0000-000000000000\"/><series value=\"\"/>"
      "<andate value=\"0\"/><duration value=\"0\"/><sample value=\"\"/><method value=\"\"/>"
      "<graduation value=\"false\"/><date value=\"0\"/><defect value=\"false\"/>"
      "<mixture value=\"\"/></passport><channels version=\"1\"/></root>";
  EXPECT_EQ(ReadBytes(folder / "empty.stg"), expected);

  CLortanFile4 loaded;
  ASSERT_EQ(loaded.LoadFile(TextPath(folder / "empty.stg")), 0);
  EXPECT_TRUE(loaded.channels.empty());
}

TEST(SaveFile, ChunkCarriesLowByteOfNumberAndKeepsItsPeaks) {
  TempFolder folder;
  CLortanFile4 file;
  FileChannel& channel = file.channels.emplace_back(300, std::vector<std::int32_t>{
                                                             1, -2, INT32_MAX, INT32_MIN});
  channel.rawParam0 = 0x8877665544332211ull;
  channel.rawParam1 = 0x0102030405060708ull;
  channel.peaks.emplace_back().name = u"Азот";
  ASSERT_EQ(file.SaveFile(TextPath(folder / "chunk.stg")), 0);

  const std::string bytes = ReadBytes(folder / "chunk.stg");
  std::string header("STG\x01\0\0\0\0", 8);
  PutLe(header, 16 + 32 + 16, 8);
  std::string chunk(1, '\x2C');  // 300 & 0xFF = 44
  chunk.append(7, '\0');
  PutLe(chunk, channel.rawParam0, 8);
  PutLe(chunk, channel.rawParam1, 8);
  PutLe(chunk, 4, 8);
  for (std::uint32_t s : {1u, 0xFFFFFFFEu, 0x7FFFFFFFu, 0x80000000u}) PutLe(chunk, s, 4);
  EXPECT_EQ(bytes.substr(0, 64), header + chunk);
  EXPECT_NE(bytes.find("<channel><number value=\"44\"/><table><item>"), std::string::npos);

  CLortanFile4 loaded;
  ASSERT_EQ(loaded.LoadFile(TextPath(folder / "chunk.stg")), 0);
  ASSERT_EQ(loaded.channels.size(), 1u);
  EXPECT_EQ(loaded.channels[0].number, 44);
  ASSERT_EQ(loaded.channels[0].peaks.size(), 1u);
  EXPECT_EQ(loaded.channels[0].peaks[0].name, u"Азот");
}

TEST(SaveFile, RepeatedChannelNumberKeepsTheFirstChannelsPeaks) {
  TempFolder folder;
  CLortanFile4 file;
  file.channels.emplace_back(3, std::vector<std::int32_t>{1});
  file.channels.emplace_back(259, std::vector<std::int32_t>{2});  // also chunk number 3
  file.channels[0].peaks.emplace_back().name = u"первый";
  file.channels[1].peaks.emplace_back().name = u"второй";
  ASSERT_EQ(file.SaveFile(TextPath(folder / "twice.stg")), 0);
  CLortanFile4 loaded;
  ASSERT_EQ(loaded.LoadFile(TextPath(folder / "twice.stg")), 0);
  ASSERT_EQ(loaded.channels.size(), 2u);
  ASSERT_EQ(loaded.channels[0].peaks.size(), 1u);
  EXPECT_EQ(loaded.channels[0].peaks[0].name, u"первый");
  EXPECT_TRUE(loaded.channels[1].peaks.empty());
  EXPECT_EQ(loaded.channels[1].samples, std::vector<std::int32_t>{2});
}

TEST(SaveFile, NamelessExtraFieldIsLeftOutSoTheFileStaysReadable) {
  TempFolder folder;
  CLortanFile4 file;
  file.passport.extras = {{u"", u"t", u"v"}, {u"note", u"Примечание", u"да"}};
  ASSERT_EQ(file.SaveFile(TextPath(folder / "extra.stg")), 0);
  CLortanFile4 loaded;
  ASSERT_EQ(loaded.LoadFile(TextPath(folder / "extra.stg")), 0);
  ASSERT_EQ(loaded.passport.extras.size(), 1u);
  EXPECT_EQ(loaded.passport.extras[0].name, u"note");
  EXPECT_EQ(loaded.passport.extras[0].value, u"да");
}

struct SaveFailureCase {
  const char* name;
  const char* path;  // relative names go into the temporary folder
  std::size_t samples;
  std::int32_t code;
};

void PrintTo(const SaveFailureCase& c, std::ostream* out) { *out << c.name; }

class SaveFailure : public ::testing::TestWithParam<SaveFailureCase> {};

TEST_P(SaveFailure, ReportsTheStepThatFailed) {
  TempFolder folder;
  const SaveFailureCase& c = GetParam();
  const std::string path = c.path[0] == '/' ? c.path : (folder / c.path).string();
  CLortanFile4 file;
  file.channels.emplace_back(0, std::vector<std::int32_t>(c.samples, 5));
  file.passport.path = u"before";
  EXPECT_EQ(file.SaveFile(sys::FromUtf8(path)), c.code);
  if (c.code > -7) {
    EXPECT_EQ(file.passport.path, u"before");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveFailure,
    ::testing::Values(SaveFailureCase{"missing_folder", "no/such/folder/a.stg", 1, -1},
                      SaveFailureCase{"folder_itself", "", 1, -1},
                      SaveFailureCase{"full_device_small", "/dev/full", 1, -7},
                      SaveFailureCase{"full_device_samples", "/dev/full", 100000, -6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveFile, PathWithInnerNulIsRefused) {
  TempFolder folder;
  sys::Text path = TextPath(folder / "a");
  path += u'\0';
  path += u"b.stg";
  CLortanFile4 file;
  EXPECT_EQ(file.SaveFile(path), -1);
  EXPECT_FALSE(std::filesystem::exists(folder / "a"));
}

// Another thread grows a channel under its lock while saves run: every saved file must be
// consistent (its XML offset matching the chunks written), so every one loads.
TEST(SaveFile, ConcurrentSampleChangesNeverBreakTheFile) {
  TempFolder folder;
  CLortanFile4 file = SyntheticFile(1000);
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    FileChannel& channel = file.channels[1];
    for (int i = 0; !stop; ++i) {
      const std::lock_guard guard(channel.lock);
      channel.samples.push_back(i);
      if (channel.samples.size() > 20000) channel.samples.resize(10);
    }
  });
  for (int round = 0; round < 30; ++round) {
    const sys::Text path = TextPath(folder / ("c" + std::to_string(round) + ".stg"));
    ASSERT_EQ(file.SaveFile(path), 0);
    CLortanFile4 loaded;
    EXPECT_EQ(loaded.LoadFile(path), 0) << "round " << round;
  }
  stop = true;
  writer.join();
}

}  // namespace
