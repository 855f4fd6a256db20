// lortan_file_bench.cpp: how fast a chromatogram file loads compared with plain reading.
//
// Writes one 64 MiB chromatogram (two channels of 8 Mi samples, a peak table each) to the
// temporary folder, reads it once so the page cache is warm, then times LoadFile against
// reading the same bytes into fresh memory with a single fread, and against fread into a
// buffer reused across iterations (no page faults: the upper bound). The run ends with
// the throughput ratios. Run: build/bench/lortan_file/lortan_file_bench
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "data/lortan_file.h"

namespace {

constexpr std::size_t kSamplesPerChannel = std::size_t{8} << 20;

struct BenchFile {
  std::filesystem::path path;
  std::size_t size = 0;
  BenchFile() {
    path = std::filesystem::temp_directory_path() /
           ("vetrix-bench-" + std::to_string(getpid()) + ".stg");
    CLortanFile4 file;
    for (int c = 0; c < 2; ++c) {
      std::vector<std::int32_t> signal(kSamplesPerChannel);
      for (std::size_t i = 0; i < signal.size(); ++i) signal[i] = static_cast<int>(i % 4096) * c;
      FileChannel& channel = file.channels.emplace_back(c, std::move(signal));
      for (int k = 0; k < 40; ++k) {
        FilePeak& peak = channel.peaks.emplace_back();
        peak.time = k * 1.5;
        peak.area = 1e5 / (k + 1);
        peak.name = u"Компонент";
      }
    }
    if (file.SaveFile(sys::FromUtf8(path.string())) != 0) std::abort();
    size = std::filesystem::file_size(path);
    std::vector<char> warm(size);
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in || std::fread(warm.data(), 1, size, in) != size) std::abort();
    std::fclose(in);
  }
  ~BenchFile() { std::filesystem::remove(path); }
};

const BenchFile& File() {
  static const BenchFile file;
  return file;
}

void ReadAll(const BenchFile& file, char* target) {
  std::FILE* in = std::fopen(file.path.c_str(), "rb");
  if (!in || std::fread(target, 1, file.size, in) != file.size) std::abort();
  std::fclose(in);
}

void BM_LoadFile(benchmark::State& state) {
  const BenchFile& file = File();
  const sys::Text path = sys::FromUtf8(file.path.string());
  for (auto _ : state) {
    CLortanFile4 loaded;
    if (loaded.LoadFile(path) != 0) state.SkipWithError("LoadFile failed");
    benchmark::DoNotOptimize(loaded.channels.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
}

void BM_FreadFreshBuffer(benchmark::State& state) {
  const BenchFile& file = File();
  for (auto _ : state) {
    std::unique_ptr<char[]> buffer(new char[file.size]);
    ReadAll(file, buffer.get());
    benchmark::DoNotOptimize(buffer.get());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
}

void BM_FreadReusedBuffer(benchmark::State& state) {
  const BenchFile& file = File();
  std::vector<char> buffer(file.size);
  for (auto _ : state) {
    ReadAll(file, buffer.data());
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
}

BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FreadFreshBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FreadReusedBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

// The console output plus, at the end, LoadFile's throughput as a share of each fread's.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto it = run.counters.find("bytes_per_second");
      if (it != run.counters.end() && run.run_type == Run::RT_Iteration) {
        rates_[run.run_name.function_name] = it->second.value;
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const double load = rates_["BM_LoadFile"];
    for (const char* base : {"BM_FreadFreshBuffer", "BM_FreadReusedBuffer"}) {
      if (rates_[base] > 0) std::printf("LoadFile / %s: %.2f\n", base, load / rates_[base]);
    }
  }

 private:
  std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
