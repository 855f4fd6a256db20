// lortan_file_fuzz.cpp: libFuzzer target for CLortanFile4::LoadBuffer.
//
// Every input must load without reading outside its block (AddressSanitizer watches).
// An input that loads must survive a save and a load of that file unchanged: the same
// version, passport, columns, extras (less the nameless ones a text node gives, which a
// save leaves out), channels, samples, raw words and peaks, doubles bit for bit. A
// failed property aborts with the field that differs. Costs one small file write per
// input that loads.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "data/lortan_file.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "round trip changed %s\n", what);
  std::abort();
}

void Check(bool same, const char* what) {
  if (!same) Fail(what);
}

bool SameDouble(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckColumn(const FileColumn& a, const FileColumn& b) {
  Check(a.channel == b.channel && a.type == b.type && a.unit == b.unit, "column integers");
  Check(a.name == b.name && a.brand == b.brand && a.carrier == b.carrier &&
            a.phase == b.phase && a.part == b.part && a.serial == b.serial,
        "column text");
  Check(SameDouble(a.diameter, b.diameter) && SameDouble(a.length, b.length) &&
            SameDouble(a.percent, b.percent) && SameDouble(a.fraction0, b.fraction0) &&
            SameDouble(a.fraction1, b.fraction1) && SameDouble(a.film, b.film),
        "column doubles");
}

void CheckPeak(const FilePeak& a, const FilePeak& b) {
  Check(SameDouble(a.front, b.front) && SameDouble(a.back, b.back) &&
            SameDouble(a.time, b.time) && SameDouble(a.area, b.area) &&
            SameDouble(a.height, b.height) && SameDouble(a.concent, b.concent) &&
            SameDouble(a.front_base_height, b.front_base_height) &&
            SameDouble(a.back_base_height, b.back_base_height) && SameDouble(a.index, b.index),
        "peak doubles");
  Check(a.name == b.name && a.reference == b.reference && a.left == b.left &&
            a.right == b.right && a.flags == b.flags,
        "peak fields");
}

void CheckPassport(const FilePassport& a, const FilePassport& b) {
  Check(a.assayid == b.assayid && a.series == b.series && a.sample == b.sample &&
            a.method == b.method && a.mixture == b.mixture,
        "passport text");
  Check(a.andate == b.andate && a.date == b.date && a.graduation == b.graduation &&
            a.defect == b.defect && SameDouble(a.duration, b.duration),
        "passport scalars");
  Check(a.columns.size() == b.columns.size(), "column count");
  for (std::size_t i = 0; i < a.columns.size(); ++i) CheckColumn(a.columns[i], b.columns[i]);
  std::size_t j = 0;
  for (const FileExtraField& extra : a.extras) {
    if (extra.name.empty()) continue;
    Check(j < b.extras.size(), "extra count");
    const FileExtraField& other = b.extras[j++];
    Check(extra.name == other.name && extra.title == other.title && extra.value == other.value,
          "extra field");
  }
  Check(j == b.extras.size(), "extra count");
}

void CheckSame(const CLortanFile4& a, const CLortanFile4& b) {
  Check(a.version == b.version, "version");
  CheckPassport(a.passport, b.passport);
  Check(a.channels.size() == b.channels.size(), "channel count");
  for (std::size_t c = 0; c < a.channels.size(); ++c) {
    const FileChannel& x = a.channels[c];
    const FileChannel& y = b.channels[c];
    Check(x.number == y.number && x.rawParam0 == y.rawParam0 && x.rawParam1 == y.rawParam1,
          "channel header");
    Check(x.samples == y.samples, "samples");
    Check(x.peaks.size() == y.peaks.size(), "peak count");
    for (std::size_t k = 0; k < x.peaks.size(); ++k) CheckPeak(x.peaks[k], y.peaks[k]);
  }
}

struct ScratchFile {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("vetrix-fuzz-" + std::to_string(getpid()) + ".stg"))
                         .string();
  ~ScratchFile() { std::remove(path.c_str()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CLortanFile4 loaded;
  if (loaded.LoadBuffer(data, size) != 0) return 0;
  static const ScratchFile scratch;
  const sys::Text path = sys::FromUtf8(scratch.path);
  if (loaded.SaveFile(path) != 0) Fail("nothing: the save failed");
  CLortanFile4 again;
  if (again.LoadFile(path) != 0) Fail("nothing: the saved file does not load");
  CheckSame(loaded, again);
  return 0;
}
