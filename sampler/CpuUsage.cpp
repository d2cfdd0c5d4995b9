#include "sampler/CpuUsage.h"

#include <algorithm>
#include <utility>

#include "framework/Exception.h"
#include "framework/SysUtils.h"
#include "sampler/PerfData.h"

namespace {

// The performance data is selected by the "Processor" object's title index as decimal text.
constexpr const char* kProcessorValueName = "238";

constexpr const char* kStartStatPath = "PerfStats\\StartStat";
constexpr const char* kStatDataPath = "PerfStats\\StatData";
constexpr const char* kStopStatPath = "PerfStats\\StopStat";
constexpr const char* kCpuUsageValueName = "KERNEL\\CPUUsage";

constexpr const char* kObjectNotFoundMessage =
    "Unable to locate the \"Processor\" performance object";
constexpr const char* kCounterNotFoundMessage =
    "Unable to locate the \"% of CPU usage\" performance counter";
constexpr const char* kIndexOutOfBoundsMessage = "CPU index out of bounds";

// Raises the sampler's message for a failed step of the block walk.
void RaiseUnless(perfdata::Status status) {
  switch (status) {
    case perfdata::Status::kOk:
      return;
    case perfdata::Status::kObjectNotFound:
      throw Exception(kObjectNotFoundMessage);
    case perfdata::Status::kCounterNotFound:
      throw Exception(kCounterNotFoundMessage);
    default:
      throw Exception(perfdata::StatusMessage(status));
  }
}

// a - b with the wrap-around of two's complement, so that no pair of raw counters is undefined.
std::int64_t WrappingDifference(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}

}  // namespace

CpuUsage::CpuUsage(platform::IRegistry& registry, platform::ISystem& system)
    : registry_(registry),
      perfBuffer_(kInitialBufferSize, std::uint8_t{0}),
      perfBufferSize_(kInitialBufferSize) {
  // The basic version record is all the sampler needs.
  platform::OsVersionInfo version;
  version.size = platform::kOsVersionInfoSize;
  if (!system.GetVersionEx(version)) throw Exception("Can't get the Windows version");
  isNtFamily_ = version.platformId == platform::kVerPlatformWin32Nt;
}

CpuUsage::~CpuUsage() { StopLoadStatistics(); }

void CpuUsage::TakeLoadSample() {
  if (isNtFamily_) {
    TakeNtSample();
  } else {
    TakeDynSample();
  }
}

std::int32_t CpuUsage::ProcessorCount() {
  if (!isNtFamily_) return 1;
  if (processorSlots_ == -1) TakeLoadSample();
  return processorSlots_;
}

double CpuUsage::ProcessorLoad(std::int32_t slot) {
  if (!isNtFamily_) {
    if (slot != 0) throw Exception(kIndexOutOfBoundsMessage);
    if (!dynStatsStarted_) TakeLoadSample();
    return static_cast<double>(dynUsage_) / 100.0;
  }

  if (processorSlots_ == -1) TakeLoadSample();
  if (slot < 0 || slot >= processorSlots_) throw Exception(kIndexOutOfBoundsMessage);
  // After a single sample there is no interval to measure: the previous counts are not a sample.
  if (!hasPreviousSample_ || currentStamp_ == previousStamp_) return 0.0;
  const auto idle =
      static_cast<long double>(WrappingDifference(currentCounts_[slot], previousCounts_[slot]));
  const auto elapsed = static_cast<long double>(WrappingDifference(currentStamp_, previousStamp_));
  return static_cast<double>(1.0L - idle / elapsed);
}

void CpuUsage::StopLoadStatistics() {
  if (isNtFamily_ || !dynStatsStarted_) return;
  dynStatsStarted_ = false;
  dynStatsKey_.Close();
  // Reading the value of StopStat is what ends the system's collection.
  const platform::ScopedKeyResult stop = platform::OpenScopedKey(
      registry_, platform::kHkeyDynData, kStopStatPath, platform::kKeyAllAccess);
  if (stop.Opened()) ReadDynUsage(stop.key.Get());
}

std::uint32_t CpuUsage::QueryPerformanceData() {
  std::uint32_t byteCount = perfBufferSize_;
  platform::RegResult result = registry_.QueryValue(
      platform::kHkeyPerformanceData, kProcessorValueName, nullptr, perfBuffer_.data(), &byteCount);
  while (result == platform::kErrorMoreData) {
    // The byte count answered with "more data" does not tell the size needed: grow by one step.
    if (perfBufferSize_ > kMaxBufferSize - kBufferGrowth) {
      throw Exception(Format("Unable to query the performance data (more than %u bytes)",
                             static_cast<unsigned>(kMaxBufferSize)));
    }
    perfBufferSize_ += kBufferGrowth;
    perfBuffer_.resize(perfBufferSize_, std::uint8_t{0});
    byteCount = perfBufferSize_;
    result = registry_.QueryValue(platform::kHkeyPerformanceData, kProcessorValueName, nullptr,
                                  perfBuffer_.data(), &byteCount);
  }
  // A failed query leaves an older block (or none) in the buffer: its loads would be stale.
  if (result != platform::kErrorSuccess) {
    throw Exception(
        Format("Unable to query the performance data (error %d)", static_cast<int>(result)));
  }
  return std::min(byteCount, perfBufferSize_);
}

void CpuUsage::TakeNtSample() {
  // The query may move the buffer, so its address is taken only afterwards.
  const std::uint32_t validBytes = QueryPerformanceData();
  const perfdata::Bytes block(perfBuffer_.data(), validBytes);

  // Every step is checked before any state changes, so a block that cannot be used leaves the
  // slots, the counts and the stamps as they were.
  perfdata::DataBlock header;
  RaiseUnless(perfdata::ReadDataBlock(block, header));
  perfdata::ObjectType object;
  RaiseUnless(
      perfdata::FindObjectType(block, header, perfdata::kProcessorObjectTitleIndex, object));
  perfdata::CounterDefinition counter;
  RaiseUnless(
      perfdata::FindCounter(block, object, perfdata::kProcessorTimeCounterTitleIndex, counter));
  // The first parse learns the slots from the instances listed; later parses walk exactly that
  // many instances, whatever the block lists now.
  const bool firstSample = processorSlots_ == -1;
  const std::int32_t slots = firstSample ? object.numInstances : processorSlots_;
  RaiseUnless(perfdata::CheckInstances(block, object, counter, slots));

  if (firstSample) {
    currentCounts_ = std::make_unique<std::int64_t[]>(static_cast<std::size_t>(slots));
    previousCounts_ = std::make_unique<std::int64_t[]>(static_cast<std::size_t>(slots));
    processorSlots_ = slots;
  }
  perfdata::InstanceWalk walk = perfdata::BeginInstances(object, counter);
  for (std::int32_t i = 0; i < slots; ++i) {
    std::int64_t value = 0;
    // Cannot fail: CheckInstances has just walked the same instances of the same bytes.
    static_cast<void>(perfdata::NextInstance(block, walk, value));
    previousCounts_[i] = currentCounts_[i];
    currentCounts_[i] = value;
  }
  previousStamp_ = currentStamp_;
  currentStamp_ = header.fileTime;
  hasPreviousSample_ = !firstSample;
}

void CpuUsage::TakeDynSample() {
  if (!dynStatsStarted_) {
    {
      // Reading the value of StartStat is what starts the system's collection.
      const platform::ScopedKeyResult start = platform::OpenScopedKey(
          registry_, platform::kHkeyDynData, kStartStatPath, platform::kKeyAllAccess);
      if (!start.Opened()) throw Exception("Unable to start performance monitoring");
      ReadDynUsage(start.key.Get());
    }
    platform::ScopedKeyResult data = platform::OpenScopedKey(registry_, platform::kHkeyDynData,
                                                             kStatDataPath, platform::kKeyRead);
    if (!data.Opened()) throw Exception("Unable to read performance data");
    dynStatsKey_ = std::move(data.key);
    dynStatsStarted_ = true;
  }
  ReadDynUsage(dynStatsKey_.Get());
}

void CpuUsage::ReadDynUsage(platform::RegKey key) {
  // The value is a little-endian 32-bit number. The result and the type are not examined: bytes
  // the read does not write keep the previous value.
  std::uint8_t bytes[4] = {
      static_cast<std::uint8_t>(dynUsage_), static_cast<std::uint8_t>(dynUsage_ >> 8),
      static_cast<std::uint8_t>(dynUsage_ >> 16), static_cast<std::uint8_t>(dynUsage_ >> 24)};
  std::uint32_t type = 0;
  std::uint32_t size = sizeof(bytes);
  registry_.QueryValue(key, kCpuUsageValueName, &type, bytes, &size);
  dynUsage_ = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
              static_cast<std::uint32_t>(bytes[2]) << 16 |
              static_cast<std::uint32_t>(bytes[3]) << 24;
}
