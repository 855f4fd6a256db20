// lortan_file.cpp: CLortanFile4, reading and writing the chromatogram container.
//
// One reader serves files and memory blocks (lortan_file_source.h); the two entry points
// differ only in how a fault is numbered. A save first copies every channel's samples
// under that channel's lock, so the header's XML offset always matches the chunks that
// follow even if another thread changes samples meanwhile. Costs: a load is one pass over
// the data; a save holds one copy of all samples while it writes.
#include "data/lortan_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "data/lortan_file_layout.h"
#include "data/lortan_file_source.h"
#include "data/lortan_file_xml.h"

using namespace lortan_file;

FileChannel::FileChannel(const FileChannel& other)
    : number(other.number), rawParam0(other.rawParam0), rawParam1(other.rawParam1),
      peaks(other.peaks) {
  const std::lock_guard guard(other.lock);
  samples = other.samples;
}

FileChannel::FileChannel(FileChannel&& other) noexcept
    : number(other.number), samples(std::move(other.samples)), rawParam0(other.rawParam0),
      rawParam1(other.rawParam1), peaks(std::move(other.peaks)) {}

FileChannel& FileChannel::operator=(const FileChannel& other) {
  if (this == &other) return *this;
  std::vector<std::int32_t> copy;
  {
    const std::lock_guard guard(other.lock);
    copy = other.samples;
  }
  const std::lock_guard guard(lock);
  number = other.number;
  samples = std::move(copy);
  rawParam0 = other.rawParam0;
  rawParam1 = other.rawParam1;
  peaks = other.peaks;
  return *this;
}

FileChannel& FileChannel::operator=(FileChannel&& other) noexcept {
  number = other.number;
  samples = std::move(other.samples);
  rawParam0 = other.rawParam0;
  rawParam1 = other.rawParam1;
  peaks = std::move(other.peaks);
  return *this;
}

namespace {

// What went wrong in a load, before each entry point gives it its number.
enum class LoadFault { None, ShortHeader, BadMagic, BadVersion, ShortChunk, BadSamples, BadXml };

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads the 16-byte header; stores the version and returns the XML offset in xmlOffset.
LoadFault ReadHeader(ByteSource& source, CLortanFile4& file, std::uint64_t& xmlOffset) {
  unsigned char header[kHeaderSize];
  if (!source.Read(header, sizeof header)) return LoadFault::ShortHeader;
  if (std::memcmp(header, kMagic, sizeof kMagic) != 0) return LoadFault::BadMagic;
  if (header[3] > kNewestVersion) return LoadFault::BadVersion;
  file.version = header[3];
  xmlOffset = LoadLe64(header + 8);
  return LoadFault::None;
}

// Reads one chunk and appends its channel (without peaks) once its samples are all in: a
// chunk cut short leaves no half-read channel behind.
LoadFault ReadChunk(ByteSource& source, std::vector<FileChannel>& channels) {
  unsigned char head[kChunkHeaderSize];
  if (!source.Read(head, sizeof head)) return LoadFault::ShortChunk;
  const std::uint64_t count = LoadLe64(head + 24);
  if ((count >> 32) != 0) return LoadFault::BadSamples;
  FileChannel channel;
  channel.number = head[0];
  channel.rawParam0 = LoadLe64(head + 8);
  channel.rawParam1 = LoadLe64(head + 16);
  if (!source.ReadSamples(channel.samples, count)) return LoadFault::BadSamples;
  channels.push_back(std::move(channel));
  return LoadFault::None;
}

// The whole format: header, chunks up to the XML offset, then the XML to the end.
LoadFault Load(ByteSource& source, CLortanFile4& file) {
  std::uint64_t xmlOffset = 0;
  if (const LoadFault fault = ReadHeader(source, file, xmlOffset); fault != LoadFault::None) {
    return fault;
  }
  file.channels.clear();
  while (source.position() < xmlOffset) {
    if (const LoadFault fault = ReadChunk(source, file.channels); fault != LoadFault::None) {
      return fault;
    }
  }
  pugi::xml_document document;
  if (!source.ParseRest(document)) return LoadFault::BadXml;
  ReadDocument(document, file.passport, file.channels);
  return LoadFault::None;
}

using File = CLortanFile4;

File::LoadFileCode FileCode(LoadFault fault) {
  switch (fault) {
    case LoadFault::None: return File::kFileLoaded;
    case LoadFault::ShortHeader: return File::kFileShortHeader;
    case LoadFault::BadMagic: return File::kFileNoMagic;
    case LoadFault::BadVersion: return File::kFileBadVersion;
    case LoadFault::ShortChunk: return File::kFileShortChunk;
    case LoadFault::BadSamples: return File::kFileBadSamples;
    case LoadFault::BadXml: return File::kFileBadXml;
  }
  return File::kFileBadXml;
}

File::LoadBufferCode BufferCode(LoadFault fault) {
  switch (fault) {
    case LoadFault::None: return File::kBufferLoaded;
    case LoadFault::ShortHeader:
    case LoadFault::BadMagic: return File::kBufferNoHeader;
    case LoadFault::BadVersion: return File::kBufferBadVersion;
    case LoadFault::BadXml: return File::kBufferBadXml;
    case LoadFault::ShortChunk: return File::kBufferShortChunk;
    case LoadFault::BadSamples: return File::kBufferBadSamples;
  }
  return File::kBufferBadXml;
}

// The file name for stdio, or none when the text cannot name a file (an inner NUL would
// silently name another one).
std::optional<std::string> NativePath(const sys::Text& path) {
  if (path.empty() || path.find(u'\0') != sys::Text::npos) return std::nullopt;
  return sys::ToUtf8(path);
}

// Opens path for reading when it names a regular file; size receives its size. The open
// does not block (a FIFO without a writer would wait forever), and the type is checked on
// the opened descriptor, so a path swapped meanwhile cannot slip through. Null otherwise.
FilePtr OpenForReading(const sys::Text& path, std::optional<std::uint64_t>& size) {
  const std::optional<std::string> name = NativePath(path);
  if (!name) return nullptr;
  const int fd = ::open(name->c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  const int flags = ::fcntl(fd, F_GETFL);
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return nullptr;
  }
  FilePtr file(::fdopen(fd, "rb"));
  if (!file) {
    ::close(fd);
    return nullptr;
  }
  size = static_cast<std::uint64_t>(info.st_size);
  return file;
}

// A channel as it goes to disk, copied under the channel's lock.
struct ChunkCopy {
  unsigned char head[kChunkHeaderSize] = {};
  std::vector<std::int32_t> samples;
};

std::vector<ChunkCopy> CopyChunks(const std::vector<FileChannel>& channels) {
  std::vector<ChunkCopy> chunks(channels.size());
  for (std::size_t i = 0; i < channels.size(); ++i) {
    const FileChannel& channel = channels[i];
    ChunkCopy& chunk = chunks[i];
    {
      const std::lock_guard guard(channel.lock);
      chunk.samples = channel.samples;
    }
    chunk.head[0] = static_cast<unsigned char>(channel.number & 0xFF);
    StoreLe64(chunk.head + 8, channel.rawParam0);
    StoreLe64(chunk.head + 16, channel.rawParam1);
    StoreLe64(chunk.head + 24, chunk.samples.size());
    SwapSamplesIfBigEndian(chunk.samples.data(), chunk.samples.size());
  }
  return chunks;
}

// Writes the header and the chunks; returns kFileSaved or the code of the failed step.
File::SaveFileCode WriteBinary(std::FILE* out, std::uint8_t version,
                         const std::vector<ChunkCopy>& chunks) {
  std::uint64_t xmlOffset = kHeaderSize;
  for (const ChunkCopy& chunk : chunks) {
    xmlOffset += kChunkHeaderSize + kSampleSize * chunk.samples.size();
  }
  unsigned char header[kHeaderSize] = {kMagic[0], kMagic[1], kMagic[2], version};
  StoreLe64(header + 8, xmlOffset);
  if (std::fwrite(header, 1, sizeof header, out) != sizeof header) return File::kSaveHeaderNotWritten;
  for (const ChunkCopy& chunk : chunks) {
    if (std::fwrite(chunk.head, 1, sizeof chunk.head, out) != sizeof chunk.head) return File::kSaveChunkNotWritten;
    const std::size_t n = chunk.samples.size();
    if (std::fwrite(chunk.samples.data(), kSampleSize, n, out) != n) return File::kSaveSamplesNotWritten;
  }
  return File::kFileSaved;
}

}  // namespace

CLortanFile4::LoadBufferCode CLortanFile4::LoadBuffer(const void* data, std::uint64_t size) {
  MemorySource source(data, size);
  return BufferCode(Load(source, *this));
}

CLortanFile4::LoadFileCode CLortanFile4::LoadFile(const sys::Text& path) {
  std::optional<std::uint64_t> size;
  const FilePtr file = OpenForReading(path, size);
  if (!file) return kFileCannotOpen;
  FileSource source(file.get(), size);
  const LoadFileCode code = FileCode(Load(source, *this));
  if (code == kFileLoaded) passport.path = path;
  return code;
}

CLortanFile4::SaveFileCode CLortanFile4::SaveFile(const sys::Text& path) {
  const std::optional<std::string> name = NativePath(path);
  if (!name) return kSaveCannotCreate;
  FilePtr out(std::fopen(name->c_str(), "wb"));
  if (!out) return kSaveCannotCreate;
  if (const SaveFileCode code = WriteBinary(out.get(), version, CopyChunks(channels)); code != kFileSaved) {
    return code;
  }
  passport.path = path;
  pugi::xml_document document;
  BuildDocument(passport, channels, document);
  pugi::xml_writer_file writer(out.get());
  document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
  // Buffered bytes reach the disk only on flush and close; either may be where it fails.
  const bool written = std::fflush(out.get()) == 0 && !std::ferror(out.get());
  return std::fclose(out.release()) == 0 && written ? kFileSaved : kSaveStreamFailed;
}
