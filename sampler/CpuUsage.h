#pragma once
// The processor load sampler: how many processor slots there are and how busy each one was
// between the last two samples, read from the operating system's own statistics through the
// registry port.
//
// On the Windows NT family each sample is one query of the "Processor" object's performance data
// and a walk to the idle-time counter of every processor instance. On the Windows 95 family the
// sampler reads the single system-wide percentage that the dynamic-data branch publishes, after
// starting the system's collection of it.
//
// The program creates exactly one CpuUsage; construction is the module start and destruction the
// module stop. Every failure is raised as an Exception with a fixed English message. All calls
// come from the user-interface thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Registry.h"
#include "platform/System.h"

class CpuUsage {
 public:
  // The buffer for the performance-data block starts at this size and grows in these steps.
  static constexpr std::uint32_t kInitialBufferSize = 8192;
  static constexpr std::uint32_t kBufferGrowth = 4096;
  // A system that keeps answering "more data" beyond this size is treated as failing rather than
  // being fed ever more memory.
  static constexpr std::uint32_t kMaxBufferSize = 16 * 1024 * 1024;

  // Module start: queries the operating-system version to choose between the two families.
  // Raises "Can't get the Windows version" when the query fails.
  CpuUsage(platform::IRegistry& registry, platform::ISystem& system);
  // Module stop: ends the 95 family's statistics collection.
  ~CpuUsage();

  CpuUsage(const CpuUsage&) = delete;
  CpuUsage& operator=(const CpuUsage&) = delete;

  // NT family: reads and parses one performance-data block and shifts the latest sample to
  // "previous". A block that cannot be used raises an Exception and changes no sample.
  // 95 family: starts the statistics collection if needed and reads the current percentage.
  void TakeLoadSample();

  // 95 family: 1, without touching the registry. NT family: the number of processor slots (every
  // instance of the "Processor" object, a summary instance included), taking a first sample when
  // none has succeeded yet.
  std::int32_t ProcessorCount();

  // The load of `slot` between the last two samples as a fraction (1.0 = fully busy), not
  // clamped. NT family: 0.0 until two samples have been taken or when both samples carry the same
  // time stamp. 95 family: slot 0 only, the last percentage read divided by 100. Never samples of
  // its own, except the first sample when none has been taken. Raises "CPU index out of bounds"
  // for a slot that does not exist.
  double ProcessorLoad(std::int32_t slot);

  // 95 family: stops the statistics collection if it was started; failures are ignored. Does
  // nothing on the NT family.
  void StopLoadStatistics();

  // The present size of the performance-data buffer in bytes.
  std::uint32_t BufferSize() const { return perfBufferSize_; }

 private:
  void TakeNtSample();
  void TakeDynSample();
  // Queries the performance data into perfBuffer_, growing it as the system asks, and returns
  // the number of valid bytes (never more than the buffer).
  std::uint32_t QueryPerformanceData();
  // Reads the 32-bit value "KERNEL\CPUUsage" of `key` into dynUsage_, unchecked.
  void ReadDynUsage(platform::RegKey key);

  platform::IRegistry& registry_;

  bool isNtFamily_ = false;

  std::vector<std::uint8_t> perfBuffer_;
  std::uint32_t perfBufferSize_ = 0;

  std::int32_t processorSlots_ = -1;
  std::unique_ptr<std::int64_t[]> currentCounts_;
  std::unique_ptr<std::int64_t[]> previousCounts_;
  std::int64_t currentStamp_ = 0;
  std::int64_t previousStamp_ = 0;
  // True once two samples have been taken, so that previousCounts_ and previousStamp_ come from a
  // real sample.
  bool hasPreviousSample_ = false;

  bool dynStatsStarted_ = false;
  // The dynamic-statistics data key, open while the statistics are started.
  platform::ScopedRegKey dynStatsKey_;
  std::uint32_t dynUsage_ = 0;
};
