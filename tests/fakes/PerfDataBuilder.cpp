#include "fakes/PerfDataBuilder.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace perfblock {

namespace {

// Counter types of the Windows headers, so the block looks like the real one.
constexpr std::uint32_t kPerf100NsecTimer = 0x20510500;
constexpr std::uint32_t kPerf100NsecTimerInv = 0x21510500;
constexpr std::uint32_t kPerfCounterCounter = 0x10410400;
constexpr std::uint32_t kPerfCounterRawcount = 0x00010000;

constexpr std::size_t Align8(std::size_t n) { return (n + 7) & ~std::size_t{7}; }

void Append(std::vector<std::uint8_t>& block, std::size_t count) {
  block.insert(block.end(), count, std::uint8_t{0});
}

// The name as zero-terminated UTF-16 (the names used here are ASCII).
std::vector<std::uint8_t> Utf16(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  for (char c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(0);
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

// Offsets of the counters inside a counter block: after the 4-byte ByteLength, each value aligned
// to 8 bytes; returns the block's ByteLength.
std::size_t PlaceCounters(const std::vector<CounterModel>& counters,
                          std::vector<std::size_t>& offsets) {
  std::size_t at = 8;
  offsets.clear();
  for (const CounterModel& counter : counters) {
    at = (at + counter.size - 1) / counter.size * counter.size;
    offsets.push_back(at);
    at += counter.size;
  }
  return Align8(at);
}

void WriteCounterBlock(std::vector<std::uint8_t>& block, const std::vector<CounterModel>& counters,
                       const std::vector<std::int64_t>& values) {
  std::vector<std::size_t> offsets;
  const std::size_t length = PlaceCounters(counters, offsets);
  const std::size_t start = block.size();
  Append(block, length);
  Put32(block, start + kCounterBlockByteLength, static_cast<std::uint32_t>(length));
  for (std::size_t i = 0; i < counters.size() && i < values.size(); ++i) {
    if (counters[i].size == 8) {
      Put64(block, start + offsets[i], static_cast<std::uint64_t>(values[i]));
    } else {
      Put32(block, start + offsets[i], static_cast<std::uint32_t>(values[i]));
    }
  }
}

}  // namespace

void Put16(std::vector<std::uint8_t>& block, std::size_t offset, std::uint16_t value) {
  if (offset + 2 > block.size()) throw std::out_of_range("Put16 beyond the block");
  block[offset] = static_cast<std::uint8_t>(value);
  block[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::vector<std::uint8_t>& block, std::size_t offset, std::uint32_t value) {
  if (offset + 4 > block.size()) throw std::out_of_range("Put32 beyond the block");
  for (int i = 0; i < 4; ++i) block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void Put64(std::vector<std::uint8_t>& block, std::size_t offset, std::uint64_t value) {
  if (offset + 8 > block.size()) throw std::out_of_range("Put64 beyond the block");
  for (int i = 0; i < 8; ++i) block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Get32(const std::vector<std::uint8_t>& block, std::size_t offset) {
  if (offset + 4 > block.size()) throw std::out_of_range("Get32 beyond the block");
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(block[offset + i]) << (8 * i);
  return value;
}

PerfDataBuilder::PerfDataBuilder(int processors, bool withTotal) {
  // An object type without instances before the processor object ("Memory"-like).
  ObjectModel memory;
  memory.titleIndex = 4;
  memory.counters = {{26, kPerfCounterRawcount, 4}, {28, kPerfCounterCounter, 4}};
  memory.hasInstances = false;
  memory.values = {123456, 789};
  objects_.push_back(memory);

  ObjectModel processor;
  processor.titleIndex = kProcessorObject;
  processor.counters = {{142, kPerf100NsecTimer, 8},  // user time
                        {144, kPerf100NsecTimer, 8},  // privileged time
                        {kIdleCounter, kPerf100NsecTimerInv, 8},
                        {148, kPerfCounterCounter, 4}};  // interrupts per second
  idleCounterIndex_ = 2;
  for (int i = 0; i < processors; ++i) {
    processor.instances.push_back({std::to_string(i), {1000 + i, 2000 + i, 0, 50 + i}});
  }
  if (withTotal) processor.instances.push_back({"_Total", {3000, 4000, 0, 99}});
  processorIndex_ = objects_.size();
  objects_.push_back(processor);

  // An object type with an instance after the processor object ("Process"-like).
  ObjectModel process;
  process.titleIndex = 230;
  process.counters = {{6, kPerf100NsecTimer, 8}, {180, kPerfCounterRawcount, 4}};
  process.instances = {{"Idle", {77, 1}}};
  objects_.push_back(process);
}

PerfDataBuilder& PerfDataBuilder::SetSecond(std::uint16_t second, std::uint16_t milliseconds) {
  time_.second = second;
  time_.milliseconds = milliseconds;
  return *this;
}

PerfDataBuilder& PerfDataBuilder::SetIdle(std::size_t instance, std::int64_t value) {
  Processor().instances.at(instance).values.at(idleCounterIndex_) = value;
  return *this;
}

PerfDataBuilder& PerfDataBuilder::SetIdles(const std::vector<std::int64_t>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) SetIdle(i, values[i]);
  return *this;
}

PerfDataBuilder& PerfDataBuilder::PadTo(std::size_t size) {
  padTo_ = size;
  return *this;
}

std::vector<std::uint8_t> PerfDataBuilder::Build() {
  std::vector<std::uint8_t> block;
  layout_.clear();

  // The header, followed by the system name; HeaderLength covers both.
  const std::vector<std::uint8_t> systemName = Utf16(systemName_);
  Append(block, kBlockSize);
  block.insert(block.end(), systemName.begin(), systemName.end());
  block.resize(Align8(block.size()), 0);
  const char16_t signature[4] = {u'P', u'E', u'R', u'F'};
  for (int i = 0; i < 4; ++i) Put16(block, 2 * i, static_cast<std::uint16_t>(signature[i]));
  Put32(block, 8, 1);   // LittleEndian
  Put32(block, 12, 1);  // Version
  Put32(block, 16, 1);  // Revision
  Put32(block, kBlockHeaderLength, static_cast<std::uint32_t>(block.size()));
  Put32(block, kBlockNumObjectTypes, static_cast<std::uint32_t>(objects_.size()));
  Put32(block, 32, kProcessorObject);  // DefaultObject
  const std::uint16_t time[8] = {time_.year, time_.month,  time_.dayOfWeek, time_.day,
                                 time_.hour, time_.minute, time_.second,    time_.milliseconds};
  for (int i = 0; i < 8; ++i) Put16(block, kBlockSystemTime + 2 * i, time[i]);
  Put64(block, 56, 123456789);           // PerfTime
  Put64(block, 64, 10000000);            // PerfFreq
  Put64(block, 72, 133000000000000000);  // PerfTime100nSec
  Put32(block, 80, static_cast<std::uint32_t>(systemName.size()));
  Put32(block, 84, static_cast<std::uint32_t>(kBlockSize));

  for (const ObjectModel& object : objects_) {
    ObjectLayout layout;
    layout.offset = block.size();
    Append(block, kObjectSize);
    for (std::size_t i = 0; i < object.counters.size(); ++i) {
      layout.counters.push_back(block.size());
      Append(block, kCounterDefinitionSize);
    }
    const std::size_t definitionLength = block.size() - layout.offset;

    std::vector<std::size_t> offsets;
    PlaceCounters(object.counters, offsets);
    for (std::size_t i = 0; i < object.counters.size(); ++i) {
      const std::size_t at = layout.counters[i];
      const CounterModel& counter = object.counters[i];
      Put32(block, at + kCounterByteLength, static_cast<std::uint32_t>(kCounterDefinitionSize));
      Put32(block, at + kCounterNameTitleIndex, counter.titleIndex);
      Put32(block, at + 12, counter.titleIndex + 1);  // CounterHelpTitleIndex
      Put32(block, at + 24, 100);                     // DetailLevel: novice
      Put32(block, at + kCounterType, counter.type);
      Put32(block, at + kCounterSize, counter.size);
      Put32(block, at + kCounterOffset, static_cast<std::uint32_t>(offsets[i]));
    }

    if (object.hasInstances) {
      for (const InstanceModel& instance : object.instances) {
        const std::vector<std::uint8_t> name = Utf16(instance.name);
        const std::size_t at = block.size();
        layout.instances.push_back(at);
        Append(block, Align8(kInstanceSize + name.size()));
        Put32(block, at + kInstanceByteLength, static_cast<std::uint32_t>(block.size() - at));
        Put32(block, at + 12, 0xFFFFFFFFu);  // UniqueID: none
        Put32(block, at + kInstanceNameOffset, static_cast<std::uint32_t>(kInstanceSize));
        Put32(block, at + kInstanceNameLength, static_cast<std::uint32_t>(name.size()));
        std::copy(name.begin(), name.end(), block.begin() + at + kInstanceSize);
        layout.counterBlocks.push_back(block.size());
        WriteCounterBlock(block, object.counters, instance.values);
      }
    } else {
      layout.counterBlocks.push_back(block.size());
      WriteCounterBlock(block, object.counters, object.values);
    }

    layout.size = block.size() - layout.offset;
    const std::size_t at = layout.offset;
    Put32(block, at + kObjectTotalByteLength, static_cast<std::uint32_t>(layout.size));
    Put32(block, at + kObjectDefinitionLength, static_cast<std::uint32_t>(definitionLength));
    Put32(block, at + kObjectHeaderLength, static_cast<std::uint32_t>(kObjectSize));
    Put32(block, at + kObjectNameTitleIndex, object.titleIndex);
    Put32(block, at + 20, object.titleIndex + 1);  // ObjectHelpTitleIndex
    Put32(block, at + 28, 100);                    // DetailLevel: novice
    Put32(block, at + kObjectNumCounters, static_cast<std::uint32_t>(object.counters.size()));
    Put32(block, at + kObjectNumInstances,
          object.hasInstances ? static_cast<std::uint32_t>(object.instances.size())
                              : 0xFFFFFFFFu);  // PERF_NO_INSTANCES
    layout_.push_back(std::move(layout));
  }

  if (block.size() < padTo_) block.resize(padTo_, 0);
  Put32(block, kBlockTotalByteLength, static_cast<std::uint32_t>(block.size()));
  return block;
}

}  // namespace perfblock
