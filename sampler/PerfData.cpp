#include "sampler/PerfData.h"

#include <bit>
#include <cstring>

namespace perfdata {

namespace {

// Field offsets inside the records (the Windows layout, identical for 32-bit and 64-bit Windows).
constexpr std::size_t kBlockHeaderLength = 24;
constexpr std::size_t kBlockNumObjectTypes = 28;
constexpr std::size_t kBlockSystemTime = 36;

constexpr std::size_t kObjectTotalByteLength = 0;
constexpr std::size_t kObjectDefinitionLength = 4;
constexpr std::size_t kObjectHeaderLength = 8;
constexpr std::size_t kObjectNameTitleIndex = 12;
constexpr std::size_t kObjectNumCounters = 32;
constexpr std::size_t kObjectNumInstances = 40;

constexpr std::size_t kCounterByteLength = 0;
constexpr std::size_t kCounterNameTitleIndex = 4;
constexpr std::size_t kCounterOffset = 36;

constexpr std::size_t kInstanceByteLength = 0;
constexpr std::size_t kCounterBlockByteLength = 0;

// True when `length` bytes from `offset` lie inside [0, end). Written so that nothing overflows
// whatever the operands.
constexpr bool Fits(std::size_t offset, std::uint64_t length, std::size_t end) {
  return offset <= end && length <= end - offset;
}

// Little-endian field reads. Callers check the bounds first; memcpy keeps unaligned fields safe.
template <typename T>
T ReadLittleEndian(Bytes block, std::size_t offset) {
  unsigned char bytes[sizeof(T)];
  std::memcpy(bytes, block.data() + offset, sizeof(T));
  if constexpr (std::endian::native == std::endian::big) {
    for (std::size_t i = 0; i < sizeof(T) / 2; ++i) {
      const unsigned char swap = bytes[i];
      bytes[i] = bytes[sizeof(T) - 1 - i];
      bytes[sizeof(T) - 1 - i] = swap;
    }
  }
  T value;
  std::memcpy(&value, bytes, sizeof(T));
  return value;
}

std::uint16_t ReadU16(Bytes block, std::size_t offset) {
  return ReadLittleEndian<std::uint16_t>(block, offset);
}
std::uint32_t ReadU32(Bytes block, std::size_t offset) {
  return ReadLittleEndian<std::uint32_t>(block, offset);
}
std::int32_t ReadI32(Bytes block, std::size_t offset) {
  return ReadLittleEndian<std::int32_t>(block, offset);
}
std::int64_t ReadI64(Bytes block, std::size_t offset) {
  return ReadLittleEndian<std::int64_t>(block, offset);
}

constexpr bool IsLeapYear(std::int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int DaysInMonth(std::int64_t year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1601-01-01 to the given date of the proleptic Gregorian calendar (year >= 1601).
constexpr std::int64_t DaysSince1601(std::int64_t year, int month, int day) {
  const std::int64_t y = year - 1601;  // whole years before `year`
  std::int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days + (day - 1);
}

}  // namespace

std::optional<std::int64_t> SystemTimeToFileTime(const SystemTime& time) {
  if (time.year < 1601 || time.year > 30827) return std::nullopt;
  if (time.month < 1 || time.month > 12) return std::nullopt;
  if (time.day < 1 || time.day > DaysInMonth(time.year, time.month)) return std::nullopt;
  if (time.hour > 23 || time.minute > 59 || time.second > 59 || time.milliseconds > 999) {
    return std::nullopt;
  }
  constexpr std::int64_t kUnitsPerMillisecond = 10'000;
  constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
  const std::int64_t milliseconds =
      DaysSince1601(time.year, time.month, time.day) * kMillisecondsPerDay +
      ((time.hour * 60 + time.minute) * 60 + time.second) * std::int64_t{1000} + time.milliseconds;
  // The latest valid time, 30827-12-31 23:59:59.999, is below 2^63 units.
  return milliseconds * kUnitsPerMillisecond;
}

const char* StatusMessage(Status status) {
  switch (status) {
    case Status::kOk:
      return "The performance data block is valid";
    case Status::kObjectNotFound:
      return "The performance data block lacks the wanted performance object";
    case Status::kCounterNotFound:
      return "The performance object lacks the wanted performance counter";
    case Status::kBlockTooShort:
      return "Invalid performance data block: the block is shorter than its header";
    case Status::kBadHeaderLength:
      return "Invalid performance data block: the header length is out of range";
    case Status::kBadSystemTime:
      return "Invalid performance data block: the system time is not a valid date and time";
    case Status::kObjectTooShort:
      return "Invalid performance data block: an object type is shorter than its header";
    case Status::kObjectOutOfBounds:
      return "Invalid performance data block: an object type runs past the end of the block";
    case Status::kBadObjectLayout:
      return "Invalid performance data block: the counter definitions of an object type do not "
             "fit inside it";
    case Status::kCounterTooShort:
      return "Invalid performance data block: a counter definition is shorter than its record";
    case Status::kCounterOutOfBounds:
      return "Invalid performance data block: a counter definition runs past the definitions of "
             "its object type";
    case Status::kNegativeInstanceCount:
      return "Invalid performance data block: the object lists a negative number of instances";
    case Status::kTooFewInstances:
      return "Invalid performance data block: the object lists fewer instances than processor "
             "slots";
    case Status::kInstanceTooShort:
      return "Invalid performance data block: an instance is shorter than its record";
    case Status::kInstanceOutOfBounds:
      return "Invalid performance data block: an instance runs past the end of its object type";
    case Status::kCounterBlockTooShort:
      return "Invalid performance data block: a counter block is shorter than its record";
    case Status::kCounterBlockOutOfBounds:
      return "Invalid performance data block: a counter block runs past the end of its object "
             "type";
    case Status::kCounterValueOutOfBounds:
      return "Invalid performance data block: the counter value lies outside its counter block";
  }
  return "Invalid performance data block";
}

Status ReadDataBlock(Bytes block, DataBlock& header) {
  if (block.size() < kDataBlockSize) return Status::kBlockTooShort;
  const std::uint32_t headerLength = ReadU32(block, kBlockHeaderLength);
  if (headerLength < kDataBlockSize || headerLength > block.size()) {
    return Status::kBadHeaderLength;
  }
  SystemTime time;
  time.year = ReadU16(block, kBlockSystemTime + 0);
  time.month = ReadU16(block, kBlockSystemTime + 2);
  time.dayOfWeek = ReadU16(block, kBlockSystemTime + 4);
  time.day = ReadU16(block, kBlockSystemTime + 6);
  time.hour = ReadU16(block, kBlockSystemTime + 8);
  time.minute = ReadU16(block, kBlockSystemTime + 10);
  time.second = ReadU16(block, kBlockSystemTime + 12);
  time.milliseconds = ReadU16(block, kBlockSystemTime + 14);
  const std::optional<std::int64_t> fileTime = SystemTimeToFileTime(time);
  if (!fileTime) return Status::kBadSystemTime;

  header.headerLength = headerLength;
  header.numObjectTypes = ReadU32(block, kBlockNumObjectTypes);
  header.systemTime = time;
  header.fileTime = *fileTime;
  return Status::kOk;
}

Status FindObjectType(Bytes block, const DataBlock& header, std::uint32_t titleIndex,
                      ObjectType& object) {
  // ReadDataBlock has checked that the first object starts inside the block. Each object
  // visited is at least kObjectTypeSize long, so the walk ends within size / 64 steps whatever
  // NumObjectTypes claims.
  std::size_t offset = header.headerLength;
  for (std::uint32_t i = 0; i < header.numObjectTypes; ++i) {
    if (!Fits(offset, kObjectTypeSize, block.size())) return Status::kObjectOutOfBounds;
    const std::uint32_t totalByteLength = ReadU32(block, offset + kObjectTotalByteLength);
    if (totalByteLength < kObjectTypeSize) return Status::kObjectTooShort;
    if (!Fits(offset, totalByteLength, block.size())) return Status::kObjectOutOfBounds;

    if (ReadU32(block, offset + kObjectNameTitleIndex) == titleIndex) {
      ObjectType found;
      found.offset = offset;
      found.totalByteLength = totalByteLength;
      found.definitionLength = ReadU32(block, offset + kObjectDefinitionLength);
      found.headerLength = ReadU32(block, offset + kObjectHeaderLength);
      found.objectNameTitleIndex = titleIndex;
      found.numCounters = ReadU32(block, offset + kObjectNumCounters);
      found.numInstances = ReadI32(block, offset + kObjectNumInstances);
      // The counter definitions lie between the object's header and its first instance.
      if (found.headerLength < kObjectTypeSize || found.headerLength > found.definitionLength ||
          found.definitionLength > totalByteLength) {
        return Status::kBadObjectLayout;
      }
      object = found;
      return Status::kOk;
    }
    offset += totalByteLength;
  }
  return Status::kObjectNotFound;
}

Status FindCounter(Bytes block, const ObjectType& object, std::uint32_t titleIndex,
                   CounterDefinition& counter) {
  // FindObjectType has already checked that the definition area lies inside the block; the
  // check is repeated so that no ObjectType can lead the walk outside it. Each definition is at
  // least kCounterDefinitionSize long, so the walk is bounded by the area's size.
  if (!Fits(object.offset, object.definitionLength, block.size())) {
    return Status::kBadObjectLayout;
  }
  const std::size_t end = object.offset + object.definitionLength;
  std::size_t offset = object.offset + object.headerLength;
  for (std::uint32_t i = 0; i < object.numCounters; ++i) {
    if (!Fits(offset, kCounterDefinitionSize, end)) return Status::kCounterOutOfBounds;
    const std::uint32_t byteLength = ReadU32(block, offset + kCounterByteLength);
    if (byteLength < kCounterDefinitionSize) return Status::kCounterTooShort;
    if (!Fits(offset, byteLength, end)) return Status::kCounterOutOfBounds;

    if (ReadU32(block, offset + kCounterNameTitleIndex) == titleIndex) {
      counter.offset = offset;
      counter.byteLength = byteLength;
      counter.counterNameTitleIndex = titleIndex;
      counter.counterOffset = ReadU32(block, offset + kCounterOffset);
      return Status::kOk;
    }
    offset += byteLength;
  }
  return Status::kCounterNotFound;
}

InstanceWalk BeginInstances(const ObjectType& object, const CounterDefinition& counter) {
  InstanceWalk walk;
  walk.counterOffset = counter.counterOffset;
  // An object that FindObjectType returned always passes this; any other yields an empty walk.
  if (object.definitionLength <= object.totalByteLength &&
      Fits(object.offset, object.totalByteLength, SIZE_MAX)) {
    walk.next = object.offset + object.definitionLength;
    walk.end = object.offset + object.totalByteLength;
  }
  return walk;
}

Status NextInstance(Bytes block, InstanceWalk& walk, std::int64_t& value) {
  // The walk's end lies inside the block for an object that FindObjectType returned; it is
  // clamped all the same so that no walk can read outside the block. Each step moves past at least
  // one instance definition and one counter block, so a walk of any length stays bounded.
  const std::size_t end = walk.end <= block.size() ? walk.end : block.size();
  const std::size_t instance = walk.next;
  if (!Fits(instance, kInstanceDefinitionSize, end)) return Status::kInstanceOutOfBounds;
  const std::uint32_t instanceLength = ReadU32(block, instance + kInstanceByteLength);
  if (instanceLength < kInstanceDefinitionSize) return Status::kInstanceTooShort;
  if (!Fits(instance, instanceLength, end)) return Status::kInstanceOutOfBounds;

  const std::size_t counterBlock = instance + instanceLength;
  if (!Fits(counterBlock, kCounterBlockSize, end)) return Status::kCounterBlockOutOfBounds;
  const std::uint32_t blockLength = ReadU32(block, counterBlock + kCounterBlockByteLength);
  if (blockLength < kCounterBlockSize) return Status::kCounterBlockTooShort;
  if (!Fits(counterBlock, blockLength, end)) return Status::kCounterBlockOutOfBounds;
  if (!Fits(walk.counterOffset, sizeof(std::int64_t), blockLength)) {
    return Status::kCounterValueOutOfBounds;
  }

  value = ReadI64(block, counterBlock + walk.counterOffset);
  walk.next = counterBlock + blockLength;
  return Status::kOk;
}

Status CheckInstances(Bytes block, const ObjectType& object, const CounterDefinition& counter,
                      std::int32_t count) {
  if (count < 0) return Status::kNegativeInstanceCount;
  if (count > object.numInstances) return Status::kTooFewInstances;
  InstanceWalk walk = BeginInstances(object, counter);
  for (std::int32_t i = 0; i < count; ++i) {
    std::int64_t value = 0;
    if (const Status status = NextInstance(block, walk, value); status != Status::kOk) {
      return status;
    }
  }
  return Status::kOk;
}

}  // namespace perfdata
