// lortan_file_support.cpp: helpers of the chromatogram file tests (see the header).
//
// Assumes a POSIX system (mkdtemp, mmap). The guarded block costs two pages beyond its
// size; everything else is plain file and string work.
#include "lortan_file_support.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>

namespace lortan_test {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vetrix-file-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

sys::Text TextPath(const std::filesystem::path& path) { return sys::FromUtf8(path.string()); }

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void PutLe(std::string& bytes, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
}

void SetLe(std::string& bytes, std::size_t offset, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.at(offset + i) = static_cast<char>(value >> (8 * i));
}

std::string Container(const std::vector<TestChunk>& chunks, const std::string& xml) {
  std::uint64_t offset = 16;
  for (const TestChunk& c : chunks) offset += 32 + 4 * c.samples.size();
  std::string bytes = "STG\x01";
  PutLe(bytes, 0, 4);
  PutLe(bytes, offset, 8);
  for (const TestChunk& c : chunks) {
    PutLe(bytes, c.number, 8);
    PutLe(bytes, 0x1111, 8);
    PutLe(bytes, 0x2222, 8);
    PutLe(bytes, c.samples.size(), 8);
    for (std::int32_t s : c.samples) PutLe(bytes, static_cast<std::uint32_t>(s), 4);
  }
  return bytes + xml;
}

GuardedBlock::GuardedBlock(const std::string& bytes) : size_(bytes.size()) {
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const std::size_t dataPages = (bytes.size() + page - 1) / page + 1;
  mappingSize_ = (dataPages + 1) * page;
  mapping_ = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                  -1, 0);
  if (mapping_ == MAP_FAILED) throw std::runtime_error("mmap failed");
  auto* base = static_cast<unsigned char*>(mapping_);
  unsigned char* guard = base + dataPages * page;
  if (mprotect(guard, page, PROT_NONE) != 0) throw std::runtime_error("mprotect failed");
  auto* start = guard - bytes.size();
  if (!bytes.empty()) std::memcpy(start, bytes.data(), bytes.size());
  data_ = start;
}

GuardedBlock::~GuardedBlock() { munmap(mapping_, mappingSize_); }

namespace {

std::vector<std::int32_t> SyntheticSignal(std::size_t count, double peakAt, double scale) {
  std::vector<std::int32_t> signal(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double x = (static_cast<double>(i) - peakAt) / 40.0;
    signal[i] = static_cast<std::int32_t>(1000 + scale * std::exp(-x * x) + (i % 7) - 3);
  }
  return signal;
}

FilePeak SyntheticPeak(int k) {
  FilePeak peak;
  peak.front = 1.25 + k;
  peak.back = 1.0 / 3.0 + k;
  peak.time = 2.0 / 7.0 * (k + 1);
  peak.area = 123456.789012345 * (k + 1);
  peak.height = -0.1;
  peak.concent = 1e-300;
  peak.name = k == 0 ? u"Метан" : u"н-Бутан <&\"'>";
  peak.reference = k == 0;
  peak.left = -7 - k;
  peak.right = std::numeric_limits<std::int32_t>::max();
  peak.flags = 0xFFFFFFFFu - static_cast<std::uint32_t>(k);
  peak.front_base_height = std::numeric_limits<double>::denorm_min();
  peak.back_base_height = -0.0;
  peak.index = std::numeric_limits<double>::max();
  return peak;
}

FileColumn SyntheticColumn(int channel) {
  FileColumn column;
  column.channel = channel;
  column.name = u"Колонка №" + sys::Text(1, static_cast<char16_t>(u'1' + channel));
  column.brand = u"Хромосорб";
  column.type = 3;
  column.diameter = 0.32;
  column.length = 30.0;
  column.carrier = u"Гелий";
  column.phase = u"ПЭГ-20М";
  column.percent = 5.5;
  column.unit = -2;
  column.fraction0 = 0.1;
  column.fraction1 = 0.2;
  column.film = 1.0 / 9.0;
  column.part = u"Деталь\tс табуляцией\nи переводом строки";
  column.serial = u"SN-0001";
  return column;
}

}  // namespace

CLortanFile4 SyntheticFile(std::size_t sampleCount) {
  CLortanFile4 file;
  FilePassport& p = file.passport;
  p.assayid = u"3f2504e0-4f89-11d3-9a0c-0305e82c3301";
  p.series = u"Серия поверки";
  p.andate = std::numeric_limits<std::int64_t>::min();
  p.duration = 1234.5678901234567;
  p.sample = u"Смесь ГСО №10532";
  p.method = u"ГОСТ 31371.7";
  p.graduation = true;
  p.date = 1700000000;
  p.defect = true;
  p.mixture = u"ГСО-ПГС 1";
  p.columns = {SyntheticColumn(0), SyntheticColumn(1)};
  p.extras = {{u"operator", u"Оператор", u"Иванов И. И."}, {u"лаборатория", u"", u""}};
  for (int c = 0; c < 2; ++c) {
    FileChannel& channel = file.channels.emplace_back(
        c == 0 ? 0 : 1, SyntheticSignal(sampleCount, sampleCount / 3.0, 5e4 * (c + 1)));
    channel.rawParam0 = 0x0123456789ABCDEFull + c;
    channel.rawParam1 = 0xFFF8000000000001ull;  // a NaN pattern must pass untouched
    for (int k = 0; k < 2 + c; ++k) channel.peaks.push_back(SyntheticPeak(k));
  }
  return file;
}

namespace {

void ExpectSameDouble(double expected, double actual, const char* what) {
  if (std::isnan(expected)) {
    EXPECT_TRUE(std::isnan(actual)) << what;
    return;
  }
  std::uint64_t a = 0;
  std::uint64_t b = 0;
  std::memcpy(&a, &expected, sizeof a);
  std::memcpy(&b, &actual, sizeof b);
  EXPECT_EQ(a, b) << what << ": expected " << expected << ", got " << actual;
}

std::string U8(const sys::Text& text) { return sys::ToUtf8(text); }

void ExpectSameColumn(const FileColumn& e, const FileColumn& a) {
  EXPECT_EQ(e.channel, a.channel);
  EXPECT_EQ(U8(e.name), U8(a.name));
  EXPECT_EQ(U8(e.brand), U8(a.brand));
  EXPECT_EQ(e.type, a.type);
  ExpectSameDouble(e.diameter, a.diameter, "diameter");
  ExpectSameDouble(e.length, a.length, "length");
  EXPECT_EQ(U8(e.carrier), U8(a.carrier));
  EXPECT_EQ(U8(e.phase), U8(a.phase));
  ExpectSameDouble(e.percent, a.percent, "percent");
  EXPECT_EQ(e.unit, a.unit);
  ExpectSameDouble(e.fraction0, a.fraction0, "fraction0");
  ExpectSameDouble(e.fraction1, a.fraction1, "fraction1");
  ExpectSameDouble(e.film, a.film, "film");
  EXPECT_EQ(U8(e.part), U8(a.part));
  EXPECT_EQ(U8(e.serial), U8(a.serial));
}

void ExpectSamePeak(const FilePeak& e, const FilePeak& a) {
  ExpectSameDouble(e.front, a.front, "front");
  ExpectSameDouble(e.back, a.back, "back");
  ExpectSameDouble(e.time, a.time, "time");
  ExpectSameDouble(e.area, a.area, "area");
  ExpectSameDouble(e.height, a.height, "height");
  ExpectSameDouble(e.concent, a.concent, "concent");
  EXPECT_EQ(U8(e.name), U8(a.name));
  EXPECT_EQ(e.reference, a.reference);
  EXPECT_EQ(e.left, a.left);
  EXPECT_EQ(e.right, a.right);
  EXPECT_EQ(e.flags, a.flags);
  ExpectSameDouble(e.front_base_height, a.front_base_height, "front_base_height");
  ExpectSameDouble(e.back_base_height, a.back_base_height, "back_base_height");
  ExpectSameDouble(e.index, a.index, "index");
}

void ExpectSamePassport(const FilePassport& e, const FilePassport& a) {
  EXPECT_EQ(U8(e.assayid), U8(a.assayid));
  EXPECT_EQ(U8(e.series), U8(a.series));
  EXPECT_EQ(e.andate, a.andate);
  ExpectSameDouble(e.duration, a.duration, "duration");
  EXPECT_EQ(U8(e.sample), U8(a.sample));
  EXPECT_EQ(U8(e.method), U8(a.method));
  EXPECT_EQ(e.graduation, a.graduation);
  EXPECT_EQ(e.date, a.date);
  EXPECT_EQ(e.defect, a.defect);
  EXPECT_EQ(U8(e.mixture), U8(a.mixture));
  ASSERT_EQ(e.columns.size(), a.columns.size());
  for (std::size_t i = 0; i < e.columns.size(); ++i) ExpectSameColumn(e.columns[i], a.columns[i]);
  ASSERT_EQ(e.extras.size(), a.extras.size());
  for (std::size_t i = 0; i < e.extras.size(); ++i) {
    EXPECT_EQ(U8(e.extras[i].name), U8(a.extras[i].name));
    EXPECT_EQ(U8(e.extras[i].title), U8(a.extras[i].title));
    EXPECT_EQ(U8(e.extras[i].value), U8(a.extras[i].value));
  }
}

}  // namespace

void ExpectSameContent(const CLortanFile4& expected, const CLortanFile4& actual) {
  EXPECT_EQ(expected.version, actual.version);
  ExpectSamePassport(expected.passport, actual.passport);
  ASSERT_EQ(expected.channels.size(), actual.channels.size());
  for (std::size_t c = 0; c < expected.channels.size(); ++c) {
    const FileChannel& e = expected.channels[c];
    const FileChannel& a = actual.channels[c];
    EXPECT_EQ(e.number, a.number);
    EXPECT_EQ(e.rawParam0, a.rawParam0);
    EXPECT_EQ(e.rawParam1, a.rawParam1);
    EXPECT_TRUE(e.samples == a.samples) << "samples of channel " << c;
    ASSERT_EQ(e.peaks.size(), a.peaks.size());
    for (std::size_t k = 0; k < e.peaks.size(); ++k) ExpectSamePeak(e.peaks[k], a.peaks[k]);
  }
}

}  // namespace lortan_test
