// lortan_file_source.h: where a chromatogram container is read from (a file or a block).
//
// The reader of the container asks a source for exact byte counts, for sample arrays and
// for "everything that is left" as XML. A source never trusts a count from the data: a
// memory block is never read past its end, and a file source compares every request with
// the file's size before it allocates and never reads past that size (for a stream of
// unknown size, which CLortanFile4::LoadFile no longer opens, memory grows only as bytes
// actually arrive). Costs: one copy of the samples; the XML text of a
// file is held once and parsed in place.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace lortan_file {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies exactly count bytes to target; false when fewer are left (what was read is
  // consumed all the same).
  [[nodiscard]] virtual bool Read(void* target, std::size_t count) = 0;
  // Replaces samples with exactly count 32-bit samples in host order; false when fewer
  // are left, in which case nothing beyond the available bytes was allocated.
  [[nodiscard]] virtual bool ReadSamples(std::vector<std::int32_t>& samples, std::uint64_t count) = 0;
  // Parses every byte from the current position to the end as XML (parse_default,
  // automatic encoding). The document may refer to memory of the source: keep the source
  // alive while the document is read. False when the XML does not parse.
  [[nodiscard]] virtual bool ParseRest(pugi::xml_document& document) = 0;
  // Bytes consumed so far.
  std::uint64_t position() const { return position_; }

 protected:
  std::uint64_t position_ = 0;
};

// A memory block [data, data + size); null data counts as an empty block.
class MemorySource final : public ByteSource {
 public:
  MemorySource(const void* data, std::uint64_t size);
  [[nodiscard]] bool Read(void* target, std::size_t count) override;
  [[nodiscard]] bool ReadSamples(std::vector<std::int32_t>& samples, std::uint64_t count) override;
  [[nodiscard]] bool ParseRest(pugi::xml_document& document) override;

 private:
  std::uint64_t left() const { return size_ - position_; }
  const unsigned char* data_;
  std::uint64_t size_;
};

// An open file read from its start; the file stays owned by the caller.
class FileSource final : public ByteSource {
 public:
  // size: the file's size when it is a regular file, none when it cannot be known.
  FileSource(std::FILE* file, std::optional<std::uint64_t> size);
  [[nodiscard]] bool Read(void* target, std::size_t count) override;
  [[nodiscard]] bool ReadSamples(std::vector<std::int32_t>& samples, std::uint64_t count) override;
  [[nodiscard]] bool ParseRest(pugi::xml_document& document) override;

 private:
  [[nodiscard]] bool ReadSamplesInSteps(std::vector<std::int32_t>& samples, std::uint64_t count);
  std::FILE* file_;
  std::optional<std::uint64_t> size_;
  std::string xml_;  // the parsed XML text; the document points into it
};

}  // namespace lortan_file
