// lortan_file_failure_test.cpp: the failure codes of LoadFile and LoadBuffer.
//
// A small valid file (two chunks of 4 and 3 samples, then the XML at offset 108) is
// altered or cut short; each case gives the code of both loaders. Blocks end right before
// an unreadable page, so any read past their end would crash the test.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "data/lortan_file.h"
#include "lortan_file_support.h"

using namespace lortan_test;

namespace {

constexpr std::size_t kChunk1 = 16 + 32 + 16;  // second chunk header
constexpr std::size_t kXml = kChunk1 + 32 + 12;

std::string ValidFile() {
  TempFolder folder;
  CLortanFile4 file;
  file.channels.emplace_back(0, std::vector<std::int32_t>{1, 2, 3, 4});
  file.channels.emplace_back(1, std::vector<std::int32_t>{5, 6, 7});
  file.channels[1].peaks.emplace_back().name = u"Этан";
  file.passport.sample = u"Проба";
  if (file.SaveFile(TextPath(folder / "valid.stg")) != 0) throw std::runtime_error("save");
  return ReadBytes(folder / "valid.stg");
}

struct AlteredCase {
  const char* name;
  std::function<void(std::string&)> alter;
  std::int32_t fileCode;
  std::int32_t bufferCode;
};

void PrintTo(const AlteredCase& c, std::ostream* out) { *out << c.name; }

class AlteredFile : public ::testing::TestWithParam<AlteredCase> {};

TEST_P(AlteredFile, GivesItsCodeFromBothLoaders) {
  std::string bytes = ValidFile();
  ASSERT_EQ(bytes.substr(kXml, 5), "<?xml");
  GetParam().alter(bytes);
  TempFolder folder;
  WriteBytes(folder / "altered.stg", bytes);
  CLortanFile4 fromFile;
  EXPECT_EQ(fromFile.LoadFile(TextPath(folder / "altered.stg")), GetParam().fileCode);
  const GuardedBlock block(bytes);
  CLortanFile4 fromBlock;
  EXPECT_EQ(fromBlock.LoadBuffer(block.data(), block.size()), GetParam().bufferCode);
}

const AlteredCase kAlteredCases[] = {
    {"intact", [](std::string&) {}, 0, 0},
    {"empty", [](std::string& b) { b.clear(); }, -2, -1},
    {"header_cut", [](std::string& b) { b.resize(15); }, -2, -1},
    {"not_stg", [](std::string& b) { b[2] = 'X'; }, -3, -1},
    {"lower_case_stg", [](std::string& b) { b[0] = 's'; }, -3, -1},
    {"version_2", [](std::string& b) { b[3] = 2; }, -4, -2},
    {"version_255", [](std::string& b) { b[3] = '\xFF'; }, -4, -2},
    {"version_0", [](std::string& b) { b[3] = 0; }, 0, 0},
    {"reserved_header_bytes_ignored", [](std::string& b) { b[5] = 'z'; }, 0, 0},
    {"reserved_chunk_bytes_ignored", [](std::string& b) { b[16 + 3] = 'z'; }, 0, 0},
    {"first_chunk_header_cut", [](std::string& b) { b.resize(16 + 31); }, -5, -5},
    {"second_chunk_header_cut", [](std::string& b) { b.resize(kChunk1 + 1); }, -5, -5},
    {"count_needs_33_bits", [](std::string& b) { SetLe(b, 16 + 24, 1ull << 32, 8); }, -6, -6},
    {"count_all_ones", [](std::string& b) { SetLe(b, 16 + 24, ~0ull, 8); }, -6, -6},
    {"count_beyond_file", [](std::string& b) { SetLe(b, 16 + 24, 0xFFFFFFFF, 8); }, -6, -6},
    {"samples_cut", [](std::string& b) { b.resize(16 + 32 + 6); }, -6, -6},
    {"xml_offset_past_end",
     [](std::string& b) {
       b.resize(kXml);
       SetLe(b, 8, kXml + 1000, 8);
     },
     -5, -5},
    {"xml_offset_huge", [](std::string& b) { SetLe(b, 8, ~0ull, 8); }, -6, -6},
    {"xml_offset_inside_chunk", [](std::string& b) { SetLe(b, 8, 20, 8); }, -7, -3},
    {"no_xml", [](std::string& b) { b.resize(kXml); }, -7, -3},
    {"xml_cut", [](std::string& b) { b.resize(b.size() - 3); }, -7, -3},
    {"xml_broken_tag", [](std::string& b) { b[b.find("<passport")] = '>'; }, -7, -3},
    {"xml_trailing_garbage", [](std::string& b) { b += "</x>"; }, -7, -3},
};

INSTANTIATE_TEST_SUITE_P(Cases, AlteredFile, ::testing::ValuesIn(kAlteredCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The code a file cut to length gives, by where the cut falls.
std::pair<std::int32_t, std::int32_t> CodesForCut(std::size_t length) {
  if (length < 16) return {-2, -1};
  if (length < 48 || (length >= kChunk1 && length < kChunk1 + 32)) return {-5, -5};
  if (length < kXml) return {-6, -6};
  return {-7, -3};
}

TEST(TruncatedFile, EveryCutGivesTheCodeOfWhereItFalls) {
  const std::string bytes = ValidFile();
  TempFolder folder;
  const auto path = folder / "cut.stg";
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    const std::string cut = bytes.substr(0, length);
    const auto [fileCode, bufferCode] = CodesForCut(length);
    WriteBytes(path, cut);
    CLortanFile4 fromFile;
    ASSERT_EQ(fromFile.LoadFile(TextPath(path)), fileCode) << "cut at " << length;
    const GuardedBlock block(cut);
    CLortanFile4 fromBlock;
    ASSERT_EQ(fromBlock.LoadBuffer(block.data(), block.size()), bufferCode) << "cut at " << length;
    // Only chunks read in full stay: a cut inside a chunk leaves no part of it behind.
    const std::size_t complete = (length >= kChunk1 ? 1 : 0) + (length >= kXml ? 1 : 0);
    ASSERT_EQ(fromFile.channels.size(), complete) << "cut at " << length;
    ASSERT_EQ(fromBlock.channels.size(), complete) << "cut at " << length;
  }
}

TEST(LoadBuffer, NullOrEmptyBlockIsNotAChromatogram) {
  CLortanFile4 file;
  EXPECT_EQ(file.LoadBuffer(nullptr, 0), -1);
  EXPECT_EQ(file.LoadBuffer(nullptr, 1000), -1);
  const std::string bytes = ValidFile();
  EXPECT_EQ(file.LoadBuffer(bytes.data(), 0), -1);
}

TEST(LoadBuffer, SizeIsTheLimitEvenInsideALargerBuffer) {
  // The same bytes followed by more: only the first size bytes may be looked at.
  const std::string bytes = ValidFile();
  const std::string padded = bytes + std::string(64, '\0');
  CLortanFile4 file;
  EXPECT_EQ(file.LoadBuffer(padded.data(), bytes.size()), 0);
  EXPECT_EQ(file.LoadBuffer(padded.data(), kXml + 10), -3);
}

TEST(LoadFile, UnopenablePathsGiveMinusOne) {
  TempFolder folder;
  CLortanFile4 file;
  EXPECT_EQ(file.LoadFile(TextPath(folder / "missing.stg")), -1);
  EXPECT_EQ(file.LoadFile(u""), -1);
  std::filesystem::create_directory(folder / "dir.stg");
  EXPECT_EQ(file.LoadFile(TextPath(folder / "dir.stg")), -1);
  WriteBytes(folder / "a", ValidFile());
  sys::Text withNul = TextPath(folder / "a");
  withNul += u'\0';
  withNul += u"b";
  EXPECT_EQ(file.LoadFile(withNul), -1);
  EXPECT_TRUE(file.passport.path.empty());
}

TEST(LoadFile, FailedLoadLeavesPathAndKeepsWhatWasRead) {
  std::string bytes = ValidFile();
  bytes.resize(kChunk1 + 40);  // the second chunk's samples are cut
  TempFolder folder;
  WriteBytes(folder / "cut.stg", bytes);
  CLortanFile4 file;
  file.passport.path = u"earlier";
  EXPECT_EQ(file.LoadFile(TextPath(folder / "cut.stg")), -6);
  EXPECT_EQ(file.passport.path, u"earlier");
  ASSERT_EQ(file.channels.size(), 1u) << "the cut channel is not kept half-read";
  EXPECT_EQ(file.channels[0].samples, (std::vector<std::int32_t>{1, 2, 3, 4}));
}

TEST(LoadFile, AnythingButARegularFileIsRefusedAtOnce) {
  // A FIFO without a writer would block the open forever, a device may never end: both
  // answer "cannot open" without waiting. A stuck load is freed by the test and fails it.
  TempFolder folder;
  const std::string fifo = (folder / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_directory(folder / "folder.stg");
  for (const std::string& path : {fifo, std::string("/dev/zero"), (folder / "folder.stg").string()}) {
    auto load = std::async(std::launch::async, [&] { return CLortanFile4().LoadFile(sys::FromUtf8(path)); });
    if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      ADD_FAILURE() << path << " blocked the load";
      const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) ::close(writer);
    }
    EXPECT_EQ(load.get(), -1) << path;
  }
}

}  // namespace
