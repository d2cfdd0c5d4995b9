#pragma once
// Builds performance-data blocks as the performance-data root answers them, so that tests can
// feed the sampler realistic blocks and corrupt any length or offset in a line.
//
// The layout is written from the Windows records independently of the sampler's reader: a header
// followed by the system name, then each object type with its counter definitions and either its
// instances (definition, UTF-16 name, counter block) or a single counter block. Counter values
// are 8-byte aligned inside each counter block.
//
// By default the block holds three object types, the "Processor" object in the middle; that
// object lists one instance per processor ("0", "1", ...) plus "_Total" when asked, and defines
// two counters before the idle-time counter and one after it, so the idle counter's CounterOffset
// is 24.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace perfblock {

// Field offsets of the Windows records (identical for 32-bit and 64-bit Windows).
inline constexpr std::size_t kBlockTotalByteLength = 20;
inline constexpr std::size_t kBlockHeaderLength = 24;
inline constexpr std::size_t kBlockNumObjectTypes = 28;
inline constexpr std::size_t kBlockSystemTime = 36;  // wYear, wMonth, wDayOfWeek, wDay, ... (u16)
inline constexpr std::size_t kBlockSize = 88;

inline constexpr std::size_t kObjectTotalByteLength = 0;
inline constexpr std::size_t kObjectDefinitionLength = 4;
inline constexpr std::size_t kObjectHeaderLength = 8;
inline constexpr std::size_t kObjectNameTitleIndex = 12;
inline constexpr std::size_t kObjectNumCounters = 32;
inline constexpr std::size_t kObjectNumInstances = 40;
inline constexpr std::size_t kObjectSize = 64;

inline constexpr std::size_t kCounterByteLength = 0;
inline constexpr std::size_t kCounterNameTitleIndex = 4;
inline constexpr std::size_t kCounterType = 28;
inline constexpr std::size_t kCounterSize = 32;
inline constexpr std::size_t kCounterOffset = 36;
inline constexpr std::size_t kCounterDefinitionSize = 40;

inline constexpr std::size_t kInstanceByteLength = 0;
inline constexpr std::size_t kInstanceNameOffset = 16;
inline constexpr std::size_t kInstanceNameLength = 20;
inline constexpr std::size_t kInstanceSize = 24;

inline constexpr std::size_t kCounterBlockByteLength = 0;

inline constexpr std::uint32_t kProcessorObject = 238;
inline constexpr std::uint32_t kIdleCounter = 6;

// Little-endian writes into a built block, for corrupting it.
void Put16(std::vector<std::uint8_t>& block, std::size_t offset, std::uint16_t value);
void Put32(std::vector<std::uint8_t>& block, std::size_t offset, std::uint32_t value);
void Put64(std::vector<std::uint8_t>& block, std::size_t offset, std::uint64_t value);
std::uint32_t Get32(const std::vector<std::uint8_t>& block, std::size_t offset);

struct CounterModel {
  std::uint32_t titleIndex = 0;
  std::uint32_t type = 0;
  std::uint32_t size = 8;  // 4 or 8 bytes
};

struct InstanceModel {
  std::string name;
  std::vector<std::int64_t> values;  // one per counter of the object
};

struct ObjectModel {
  std::uint32_t titleIndex = 0;
  std::vector<CounterModel> counters;
  bool hasInstances = true;
  std::vector<InstanceModel> instances;
  std::vector<std::int64_t> values;  // the single counter block when !hasInstances
};

// Where the records of one object type landed in the built block.
struct ObjectLayout {
  std::size_t offset = 0;
  std::size_t size = 0;
  std::vector<std::size_t> counters;       // counter definitions
  std::vector<std::size_t> instances;      // instance definitions
  std::vector<std::size_t> counterBlocks;  // counter blocks, one per instance (or the single one)
};

struct BlockTime {
  std::uint16_t year = 2024;
  std::uint16_t month = 3;
  std::uint16_t dayOfWeek = 5;
  std::uint16_t day = 15;
  std::uint16_t hour = 12;
  std::uint16_t minute = 30;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

class PerfDataBuilder {
 public:
  explicit PerfDataBuilder(int processors = 2, bool withTotal = false);

  // The time the block was assembled.
  BlockTime& Time() { return time_; }
  PerfDataBuilder& SetSecond(std::uint16_t second, std::uint16_t milliseconds = 0);
  // The idle counter of the processor instance `instance`.
  PerfDataBuilder& SetIdle(std::size_t instance, std::int64_t value);
  PerfDataBuilder& SetIdles(const std::vector<std::int64_t>& values);
  // Pads the built block with zero bytes after the last object, up to `size` bytes in all.
  PerfDataBuilder& PadTo(std::size_t size);

  std::vector<ObjectModel>& Objects() { return objects_; }
  ObjectModel& Processor() { return objects_[processorIndex_]; }
  std::size_t ProcessorIndex() const { return processorIndex_; }
  // The index of the idle counter among the processor object's counters.
  std::size_t IdleCounterIndex() const { return idleCounterIndex_; }

  std::vector<std::uint8_t> Build();
  // Where the latest Build put each object's records, in the order of Objects().
  const std::vector<ObjectLayout>& Layout() const { return layout_; }
  const ObjectLayout& ProcessorLayout() const { return layout_[processorIndex_]; }

 private:
  BlockTime time_;
  std::string systemName_ = "TAMIK-TEST";
  std::vector<ObjectModel> objects_;
  std::size_t processorIndex_ = 0;
  std::size_t idleCounterIndex_ = 0;
  std::size_t padTo_ = 0;
  std::vector<ObjectLayout> layout_;
};

}  // namespace perfblock
