// Writes the binary seed files of the sampler's fuzz targets into <folder>/perfdata and
// <folder>/dyn95 (normally fuzz/corpus): performance-data blocks from the tests' block builder
// (tests/fakes/PerfDataBuilder) and registry contents of the Windows 95 family's load value in
// the input layout of fuzz/Dyn95Fuzzer.cpp.
//
//   build/fuzz/fuzz/fuzz_seeds fuzz/corpus

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "fakes/PerfDataBuilder.h"

namespace {

void Write(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    std::exit(1);
  }
}

std::vector<std::uint8_t> Block(int processors, bool withTotal,
                                const std::vector<std::int64_t>& idles, std::uint16_t second) {
  perfblock::PerfDataBuilder builder(processors, withTotal);
  builder.SetSecond(second, 250);
  builder.SetIdles(idles);
  return builder.Build();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const std::filesystem::path perf = root / "perfdata";
  const std::filesystem::path dyn = root / "dyn95";
  std::filesystem::create_directories(perf);
  std::filesystem::create_directories(dyn);

  Write(perf / "one-processor", Block(1, false, {123456789}, 1));
  Write(perf / "two-processors", Block(2, false, {10'000'000, 20'000'000}, 2));
  Write(perf / "two-processors-total", Block(2, true, {5, 7, 6}, 3));
  Write(perf / "four-processors-total", Block(4, true, {1, -1, INT64_MAX, INT64_MIN, 0}, 59));
  {
    // The processor object first.
    perfblock::PerfDataBuilder builder(2, false);
    builder.SetIdles({1000, 2000});
    std::swap(builder.Objects()[0], builder.Objects()[builder.ProcessorIndex()]);
    Write(perf / "processor-first", builder.Build());
  }
  {
    perfblock::PerfDataBuilder builder(1, false);
    builder.PadTo(1024);
    Write(perf / "padded", builder.Build());
  }

  // Control byte, StartStat record, StopStat record, then one StatData record per sample.
  Write(dyn / "four-bytes", {0x30, 4, 0, 0, 0, 0, 4, 0, 0, 0, 0, 4, 37, 0, 0, 0, 4, 100, 0, 0, 0});
  Write(dyn / "dword-samples", {0x40, 4, 1, 0, 0, 0, 4, 2, 0, 0, 0, 4, 55, 0, 0, 0, 2, 9, 0});
  Write(dyn / "short-and-long", {0x30, 1, 5, 0, 1, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8, 0, 3, 1, 2, 3});
  Write(dyn / "no-values", {0x08, 0, 0, 0, 0});
  Write(dyn / "start-fails", {0x01, 4, 1, 0, 0, 0, 4, 2, 0, 0, 0, 4, 3, 0, 0, 0});
  return 0;
}
