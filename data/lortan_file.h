// lortan_file.h: the host's chromatogram file and its records.
//
// A chromatogram file is a binary container: a 16-byte "STG" header, one chunk of raw
// signal samples per detector channel, then an XML document (UTF-8) with the passport
// (descriptive fields, the columns used) and each channel's table of detected peaks.
// CLortanFile4 reads it from a file or a memory block and writes it to a file; the
// records below are plain values that code may also fill from scratch and save.
//
// Assumes: text fields are UTF-16 here and UTF-8 in the XML; doubles in the XML follow the
// runtime decimal separator (sys::DecimalSeparator) both ways, as the host's files do.
// Costs: a load holds the samples once plus the XML text while it is parsed; a save holds
// a copy of every channel's samples while it writes.
#pragma once

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/sys/text.h"

// One chromatographic column of the passport; every field is a child element of "column".
struct FileColumn {
  std::int32_t channel = 0;
  sys::Text name;
  sys::Text brand;
  std::int32_t type = 0;
  double diameter = 0.0;
  double length = 0.0;
  sys::Text carrier;
  sys::Text phase;
  double percent = 0.0;
  std::int32_t unit = 0;
  double fraction0 = 0.0;
  double fraction1 = 0.0;
  double film = 0.0;
  sys::Text part;
  sys::Text serial;
};

// A passport element the format does not name, kept so that a save writes it back.
// name must be an XML element name; an entry with an empty name (a text node of the
// passport) carries nothing and is not written.
struct FileExtraField {
  sys::Text name;
  sys::Text title;  // attribute "title"
  sys::Text value;  // attribute "value"
};

inline constexpr char16_t kNullAssayId[] = u"00000000-0000-0000-0000-000000000000";

struct FilePassport {
  sys::Text path;  // not stored: the file last loaded or saved
  sys::Text assayid = kNullAssayId;
  sys::Text series;
  std::int64_t andate = 0;
  double duration = 0.0;
  sys::Text sample;
  sys::Text method;
  bool graduation = false;
  std::int64_t date = 0;
  bool defect = false;
  sys::Text mixture;
  std::vector<FileColumn> columns;
  std::vector<FileExtraField> extras;
};

// One detected peak; every field is a child element of "item".
struct FilePeak {
  double front = 0.0;
  double back = 0.0;
  double time = 0.0;
  double area = 0.0;
  double height = 0.0;
  double concent = 0.0;
  sys::Text name;
  bool reference = false;
  std::int32_t left = -1;
  std::int32_t right = -1;
  std::uint32_t flags = 0;
  double front_base_height = 0.0;
  double back_base_height = 0.0;
  double index = 0.0;
};

// One detector channel: its raw signal and its peak table. The two raw words belong to
// the host and are carried bit for bit. number is 0 to 255; the file keeps its low byte.
// Copying takes the source's lock while the samples are copied; a copy or a moved-to
// channel has a lock of its own. Moving from a channel that another thread uses is the
// caller's fault, as with any move. Peaks are matched to channels by number: in a file,
// a channel that repeats an earlier channel's number has no peaks.
struct FileChannel {
  std::int32_t number = 0;
  std::vector<std::int32_t> samples;
  mutable std::mutex lock;  // guards samples while SaveFile copies them
  std::uint64_t rawParam0 = 0;
  std::uint64_t rawParam1 = 0;
  std::vector<FilePeak> peaks;

  FileChannel() = default;
  FileChannel(std::int32_t channelNumber, std::vector<std::int32_t> signal)
      : number(channelNumber), samples(std::move(signal)) {}
  FileChannel(const FileChannel& other);
  FileChannel(FileChannel&& other) noexcept;
  FileChannel& operator=(const FileChannel& other);
  FileChannel& operator=(FileChannel&& other) noexcept;
  ~FileChannel() = default;
};

// Failure codes: the enumerations below (LoadFileCode, LoadBufferCode, SaveFileCode), whose
// values are the numbers callers and logs know; 0 is success, every failure is negative.
//
// A plain value: created with version 1, the default passport and no channels. A load
// replaces the channels and the passport's lists; scalar passport fields that the XML
// lacks keep their values. After a failed load the object holds what was read so far.
class CLortanFile4 {
 public:
  enum LoadFileCode : std::int32_t {
    kFileLoaded = 0,
    kFileCannotOpen = -1,   // cannot open, names no regular file (a directory, FIFO, device or
                            // socket) or holds a NUL
    kFileShortHeader = -2,  // fewer than 16 header bytes
    kFileNoMagic = -3,      // no "STG"
    kFileBadVersion = -4,   // version above 1
    kFileShortChunk = -5,   // chunk header cut short
    kFileBadSamples = -6,   // sample count above 32 bits, or samples cut short
    kFileBadXml = -7,       // the XML does not parse
  };
  enum LoadBufferCode : std::int32_t {
    kBufferLoaded = 0,
    kBufferNoHeader = -1,     // no "STG" header, or fewer than 16 bytes
    kBufferBadVersion = -2,   // version above 1
    kBufferBadXml = -3,       // the XML does not parse
    kBufferShortChunk = -5,   // chunk header cut short
    kBufferBadSamples = -6,   // sample count above 32 bits, or samples cut short
  };
  enum SaveFileCode : std::int32_t {
    kFileSaved = 0,
    kSaveCannotCreate = -1,       // the file cannot be created
    kSaveHeaderNotWritten = -2,
    kSaveChunkNotWritten = -5,    // a chunk header was not written
    kSaveSamplesNotWritten = -6,
    kSaveStreamFailed = -7,       // the stream failed while or after the XML was written
  };

  // Reads the format from data[0, size). Never reads outside the block; a null data is
  // an empty block. Leaves passport.path as it is.
  [[nodiscard]] virtual LoadBufferCode LoadBuffer(const void* data, std::uint64_t size);
  // Reads the regular file at path (UTF-16; a symbolic link is followed). Anything else
  // answers kFileCannotOpen at once: a FIFO or device could block or never end. Counts and
  // offsets in the file are trusted only as far as the file's size, and no more than that
  // size is read. On success sets passport.path to path.
  [[nodiscard]] virtual LoadFileCode LoadFile(const sys::Text& path);
  // Writes the whole object to path, replacing the file; sets passport.path to path once
  // the binary part is written. A failed save leaves a partial file behind.
  [[nodiscard]] virtual SaveFileCode SaveFile(const sys::Text& path);

  std::uint8_t version = 1;
  FilePassport passport;
  std::vector<FileChannel> channels;
};
