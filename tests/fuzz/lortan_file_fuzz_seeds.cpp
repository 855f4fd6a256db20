// lortan_file_fuzz_seeds.cpp: writes the seed corpus of the chromatogram file fuzzer.
//
// Usage: lortan_file_fuzz_seeds FOLDER. Each seed is a file written by SaveFile: an empty
// object, a full one (every passport field, columns, extras, two channels with samples and
// peaks), one with a repeated and an out-of-range channel number, one of version 0 and one
// with doubles written under the Russian separator. A few kilobytes in all.
#include <cstdio>
#include <string>

#include "data/lortan_file.h"
#include "platform/sys/locale.h"

namespace {

CLortanFile4 FullFile() {
  CLortanFile4 file;
  FilePassport& p = file.passport;
  p.assayid = u"3f2504e0-4f89-11d3-9a0c-0305e82c3301";
  p.series = u"Серия";
  p.andate = 1700000000;
  p.duration = 600.25;
  p.sample = u"Проба <1>";
  p.method = u"Метод & \"кавычки\"";
  p.graduation = true;
  p.date = -1;
  p.defect = true;
  p.mixture = u"ГСО";
  FileColumn& column = p.columns.emplace_back();
  column.channel = 1;
  column.name = u"Колонка";
  column.diameter = 0.53;
  column.length = 30.0;
  column.part = u"деталь";
  p.extras = {{u"operator", u"Оператор", u"Иванов"}, {u"note", u"", u"x"}};
  for (int c = 0; c < 2; ++c) {
    std::vector<std::int32_t> signal(16);
    for (std::size_t i = 0; i < signal.size(); ++i) signal[i] = static_cast<int>(i * i) - 40 * c;
    FileChannel& channel = file.channels.emplace_back(c, std::move(signal));
    channel.rawParam0 = 0x0102030405060708ull;
    channel.rawParam1 = ~0ull;
    for (int k = 0; k < 2; ++k) {
      FilePeak& peak = channel.peaks.emplace_back();
      peak.front = 0.5 + k;
      peak.back = 1.0 / 3.0;
      peak.time = 12.75;
      peak.area = 98765.4321;
      peak.name = k ? u"Метан" : u"Азот";
      peak.reference = k == 0;
      peak.left = 3;
      peak.right = 9;
      peak.flags = 0x80000001u;
      peak.index = 1e-300;
    }
  }
  return file;
}

bool Save(CLortanFile4& file, const std::string& folder, const char* name) {
  const int code = file.SaveFile(sys::FromUtf8(folder + "/" + name));
  if (code != 0) std::fprintf(stderr, "saving seed %s failed: %d\n", name, code);
  return code == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  bool ok = true;
  CLortanFile4 empty;
  ok &= Save(empty, folder, "empty.stg");
  CLortanFile4 full = FullFile();
  ok &= Save(full, folder, "full.stg");
  CLortanFile4 numbers = FullFile();
  numbers.channels[1].number = 0;
  numbers.channels.emplace_back(300, std::vector<std::int32_t>{7, 8});
  ok &= Save(numbers, folder, "numbers.stg");
  CLortanFile4 old = FullFile();
  old.version = 0;
  ok &= Save(old, folder, "version0.stg");
  sys::SetRussianLocale();
  CLortanFile4 comma = FullFile();
  ok &= Save(comma, folder, "comma.stg");
  sys::ResetLocale();
  return ok ? 0 : 1;
}
