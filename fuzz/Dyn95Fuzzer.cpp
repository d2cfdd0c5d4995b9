// The Windows 95 family's load value on arbitrary registry contents: the sampler reads the 32-bit
// value "KERNEL\CPUUsage" of the dynamic-data keys StartStat, StatData and StopStat, whatever its
// type and size, and keeps the bytes a read does not write.
//
// Input: one control byte (bits 0..2: StartStat, StatData, StopStat cannot be opened; bit 3: a
// key has no such value), then records of a length byte and that many value bytes: the first for
// StartStat, the second for StopStat, each further one the StatData value of one more sample.
// The load each sample reports is checked against a model of the reads.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "framework/Exception.h"
#include "sampler/CpuUsage.h"

namespace {

constexpr const char* kStartStat = "PerfStats\\StartStat";
constexpr const char* kStatData = "PerfStats\\StatData";
constexpr const char* kStopStat = "PerfStats\\StopStat";
constexpr const char* kCpuUsage = "KERNEL\\CPUUsage";

void Check(bool condition) {
  if (!condition) std::abort();
}

// Splits the input into length-prefixed records; a short last record takes what is left.
class Records {
 public:
  explicit Records(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Empty() const { return bytes_.empty(); }
  std::vector<std::uint8_t> Next() {
    if (bytes_.empty()) return {};
    const std::size_t length = std::min<std::size_t>(bytes_[0], bytes_.size() - 1);
    std::vector<std::uint8_t> record(bytes_.begin() + 1, bytes_.begin() + 1 + length);
    bytes_ = bytes_.subspan(1 + length);
    return record;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// The sampler's value as the reads so far leave it: a value of at most four bytes overwrites that
// many low-order bytes; a longer one (the read answers "more data") or a missing one, none.
struct Model {
  std::uint8_t bytes[4] = {};
  void Read(const std::vector<std::uint8_t>* value) {
    if (value == nullptr || value->size() > 4) return;
    for (std::size_t i = 0; i < value->size(); ++i) bytes[i] = (*value)[i];
  }
  double Load() const {
    const std::uint32_t v = bytes[0] | static_cast<std::uint32_t>(bytes[1]) << 8 |
                            static_cast<std::uint32_t>(bytes[2]) << 16 |
                            static_cast<std::uint32_t>(bytes[3]) << 24;
    return static_cast<double>(v) / 100.0;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t control = data[0];
  Records records(std::span<const std::uint8_t>(data + 1, size - 1));
  const std::vector<std::uint8_t> start = records.Next();
  const std::vector<std::uint8_t> stop = records.Next();
  const bool withValues = (control & 0x08) == 0;

  FakeRegistry registry;
  FakeSystem system;
  system.SetVersion(platform::kVerPlatformWin32Windows, 4, 10, 2222);
  const std::uint32_t type = control >> 4;  // never looked at
  if (withValues) {
    registry.PutValue(platform::kHkeyDynData, kStartStat, kCpuUsage, type, start);
    registry.PutValue(platform::kHkeyDynData, kStopStat, kCpuUsage, type, stop);
    registry.PutValue(platform::kHkeyDynData, kStatData, kCpuUsage, type, {});
  } else {
    for (const char* key : {kStartStat, kStatData, kStopStat}) {
      registry.AddKey(platform::kHkeyDynData, key);
    }
  }
  const char* const keys[] = {kStartStat, kStatData, kStopStat};
  for (int i = 0; i < 3; ++i) {
    if ((control & (1 << i)) != 0) {
      registry.FailOpen(platform::kHkeyDynData, keys[i], platform::kErrorAccessDenied);
    }
  }
  const bool starts = (control & 0x03) == 0;

  Model model;
  {
    CpuUsage usage(registry, system);
    Check(usage.ProcessorCount() == 1);
    bool started = false;
    int samples = 0;
    while (!records.Empty() && samples++ < 64) {
      const std::vector<std::uint8_t> value = records.Next();
      if (withValues) registry.PutValue(platform::kHkeyDynData, kStatData, kCpuUsage, type, value);
      try {
        usage.TakeLoadSample();
        Check(starts);
      } catch (const Exception&) {
        Check(!starts);
        continue;
      }
      if (!started) model.Read(withValues ? &start : nullptr);
      started = true;
      model.Read(withValues ? &value : nullptr);
      Check(usage.ProcessorLoad(0) == model.Load());
      try {
        static_cast<void>(usage.ProcessorLoad(1));
        std::abort();  // only slot 0 exists
      } catch (const Exception&) {
      }
    }
  }
  Check(registry.OpenKeyCount() == 0);
  return 0;
}
