// lortan_file_source.cpp: the memory-block and file sources of the container reader.
//
// Assumes the samples are stored little-endian (lortan_file_layout.h). The file source
// reads with stdio; large sample arrays go straight into their vector, so a load costs
// about one pass over the file plus clearing the sample memory once. Large arrays ask for
// transparent huge pages: first-touch page faults, not copying, dominate a big load
// (markedly so on virtual machines), and 2 MiB pages cut their number 512-fold.
#include "data/lortan_file_source.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "data/lortan_file_layout.h"

namespace lortan_file {

namespace {

constexpr std::uint64_t kMaxSamples = SIZE_MAX / kSampleSize;

bool ParsedWell(const pugi::xml_parse_result& result) {
  return result.status == pugi::status_ok;
}

// Advises the kernel to back [start, start + bytes) with huge pages where it can. Advice
// only: without transparent huge pages, or on failure, nothing changes.
void AdviseHugePages(void* start, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto first = (reinterpret_cast<std::uintptr_t>(start) + page - 1) / page * page;
  const auto end = (reinterpret_cast<std::uintptr_t>(start) + bytes) / page * page;
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)start;
  (void)bytes;
#endif
}

// Sizes samples to count (zero-filled), with huge pages for arrays of 4 MiB and more.
void SizeSamples(std::vector<std::int32_t>& samples, std::size_t count) {
  constexpr std::size_t kHugeFrom = (std::size_t{4} << 20) / kSampleSize;
  if (count >= kHugeFrom && samples.capacity() < count) {
    samples.reserve(count);
    AdviseHugePages(samples.data(), count * kSampleSize);
  }
  samples.resize(count);
}

}  // namespace

MemorySource::MemorySource(const void* data, std::uint64_t size)
    : data_(static_cast<const unsigned char*>(data)), size_(data ? size : 0) {}

bool MemorySource::Read(void* target, std::size_t count) {
  if (count > left()) {
    position_ = size_;
    return false;
  }
  std::memcpy(target, data_ + position_, count);
  position_ += count;
  return true;
}

bool MemorySource::ReadSamples(std::vector<std::int32_t>& samples, std::uint64_t count) {
  if (count > left() / kSampleSize) {
    position_ = size_;
    return false;
  }
  SizeSamples(samples, static_cast<std::size_t>(count));
  if (count != 0) std::memcpy(samples.data(), data_ + position_, count * kSampleSize);
  SwapSamplesIfBigEndian(samples.data(), samples.size());
  position_ += count * kSampleSize;
  return true;
}

bool MemorySource::ParseRest(pugi::xml_document& document) {
  const unsigned char* rest = data_ ? data_ + position_ : nullptr;
  const auto restSize = static_cast<std::size_t>(left());
  position_ = size_;
  return ParsedWell(document.load_buffer(rest, restSize, pugi::parse_default,
                                         pugi::encoding_auto));
}

FileSource::FileSource(std::FILE* file, std::optional<std::uint64_t> size)
    : file_(file), size_(size) {}

bool FileSource::Read(void* target, std::size_t count) {
  const std::size_t got = std::fread(target, 1, count, file_);
  position_ += got;
  return got == count;
}

bool FileSource::ReadSamples(std::vector<std::int32_t>& samples, std::uint64_t count) {
  if (!size_) return ReadSamplesInSteps(samples, count);
  const std::uint64_t left = *size_ > position_ ? *size_ - position_ : 0;
  if (count > left / kSampleSize || count > kMaxSamples) return false;
  SizeSamples(samples, static_cast<std::size_t>(count));
  const std::size_t got = std::fread(samples.data(), kSampleSize, samples.size(), file_);
  position_ += got * kSampleSize;
  SwapSamplesIfBigEndian(samples.data(), got);
  return got == samples.size();
}

// For a source of unknown size: grows the array one step at a time, so that a count the
// data cannot back never turns into one huge allocation.
bool FileSource::ReadSamplesInSteps(std::vector<std::int32_t>& samples,
                                    std::uint64_t count) {
  constexpr std::uint64_t kStep = std::uint64_t{1} << 20;
  samples.clear();
  while (samples.size() < count) {
    const std::size_t have = samples.size();
    const auto step = static_cast<std::size_t>(std::min<std::uint64_t>(kStep, count - have));
    if (have + step > kMaxSamples) return false;
    samples.resize(have + step);
    const std::size_t got = std::fread(samples.data() + have, kSampleSize, step, file_);
    position_ += got * kSampleSize;
    SwapSamplesIfBigEndian(samples.data() + have, got);
    if (got != step) {
      samples.resize(have + got);
      return false;
    }
  }
  return true;
}

bool FileSource::ParseRest(pugi::xml_document& document) {
  xml_.clear();
  if (size_) {
    // A file of known size is read to that size and no further: one that grows meanwhile
    // (or never ends) cannot keep the reader going.
    if (*size_ > position_ && *size_ - position_ < SIZE_MAX) {
      xml_.resize(static_cast<std::size_t>(*size_ - position_));
      xml_.resize(std::fread(xml_.data(), 1, xml_.size(), file_));
    }
  } else {
    char block[1 << 16];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file_)) != 0;) xml_.append(block, got);
  }
  position_ += xml_.size();
  if (std::ferror(file_)) return false;
  return ParsedWell(document.load_buffer_inplace(xml_.data(), xml_.size(),
                                                 pugi::parse_default, pugi::encoding_auto));
}

}  // namespace lortan_file
