// lortan_file_support.h: helpers of the chromatogram file tests.
//
// A private temporary folder per test, whole-file reads and writes, a hand-built
// container for XML cases, a block that ends right before an inaccessible page (so a
// read past its end faults at once), and a file filled the way the demo data will be.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/lortan_file.h"

namespace lortan_test {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

sys::Text TextPath(const std::filesystem::path& path);
std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// Little-endian integers into a byte string, at the end or at an offset.
void PutLe(std::string& bytes, std::uint64_t value, int size);
void SetLe(std::string& bytes, std::size_t offset, std::uint64_t value, int size);

struct TestChunk {
  std::uint8_t number = 0;
  std::vector<std::int32_t> samples;
};

// A complete container: "STG", version 1, the right XML offset, the chunks, the XML text.
std::string Container(const std::vector<TestChunk>& chunks, const std::string& xml);

// A copy of bytes whose last byte sits right before a page that cannot be read.
class GuardedBlock {
 public:
  explicit GuardedBlock(const std::string& bytes);
  ~GuardedBlock();
  GuardedBlock(const GuardedBlock&) = delete;
  GuardedBlock& operator=(const GuardedBlock&) = delete;
  const void* data() const { return data_; }
  std::uint64_t size() const { return size_; }

 private:
  void* mapping_ = nullptr;
  std::size_t mappingSize_ = 0;
  const unsigned char* data_ = nullptr;
  std::uint64_t size_ = 0;
};

// A file built in code as a demo-data generator would: every passport field, two columns
// and extras, two channels with a synthetic signal of sampleCount points each and a peak
// table with every field, Cyrillic text throughout.
CLortanFile4 SyntheticFile(std::size_t sampleCount);

// Everything a save and a load carry, compared field by field (doubles bit for bit).
void ExpectSameContent(const CLortanFile4& expected, const CLortanFile4& actual);

}  // namespace lortan_test
