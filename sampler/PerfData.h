#pragma once
// Checked reading of a Windows performance-data block (the answer of a query on the
// performance-data registry root).
//
// The block is untrusted input: every record is checked against the bytes actually returned
// before any of its fields is read, every field is read with memcpy (the block is little-endian
// and its records need not be aligned), and every walk is bounded by the bytes it covers, so a
// malformed block yields a Status naming the fault and nothing outside `block` is ever read.
// Nothing here allocates, throws or keeps state; the functions are safe to call on arbitrary bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace perfdata {

using Bytes = std::span<const std::uint8_t>;

// Record sizes of the Windows layout (identical for 32-bit and 64-bit Windows).
inline constexpr std::uint32_t kDataBlockSize = 88;           // PERF_DATA_BLOCK
inline constexpr std::uint32_t kObjectTypeSize = 64;          // PERF_OBJECT_TYPE
inline constexpr std::uint32_t kCounterDefinitionSize = 40;   // PERF_COUNTER_DEFINITION
inline constexpr std::uint32_t kInstanceDefinitionSize = 24;  // PERF_INSTANCE_DEFINITION
inline constexpr std::uint32_t kCounterBlockSize = 4;         // PERF_COUNTER_BLOCK

// The title index of the "Processor" object and of its idle-time counter (a running total of
// the processor's idle time in 100-nanosecond units).
inline constexpr std::uint32_t kProcessorObjectTitleIndex = 238;
inline constexpr std::uint32_t kProcessorTimeCounterTitleIndex = 6;

// A calendar time as the block carries it (SYSTEMTIME), UTC, millisecond resolution.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t dayOfWeek = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// The time as a file time: 100-nanosecond units since 1601-01-01 00:00 UTC. Empty when a field is
// out of range: a year outside 1601..30827, a month outside 1..12, a day that the month does not
// have (leap years by the Gregorian rule), an hour above 23, a minute or second above 59, or
// milliseconds above 999. The day of the week is not looked at.
std::optional<std::int64_t> SystemTimeToFileTime(const SystemTime& time);

enum class Status {
  kOk,
  kObjectNotFound,   // no object type with the wanted title index among NumObjectTypes
  kCounterNotFound,  // no counter definition with the wanted title index among NumCounters
  // The block is malformed:
  kBlockTooShort,
  kBadHeaderLength,
  kBadSystemTime,
  kObjectTooShort,
  kObjectOutOfBounds,
  kBadObjectLayout,
  kCounterTooShort,
  kCounterOutOfBounds,
  kNegativeInstanceCount,
  kTooFewInstances,
  kInstanceTooShort,
  kInstanceOutOfBounds,
  kCounterBlockTooShort,
  kCounterBlockOutOfBounds,
  kCounterValueOutOfBounds,
};

// An English sentence for the status ("Invalid performance data block: ..." for a malformed
// block). Static text; never null.
const char* StatusMessage(Status status);

// The fields of the block header that the walk uses.
struct DataBlock {
  std::uint32_t headerLength = 0;  // where the first object type starts
  std::uint32_t numObjectTypes = 0;
  SystemTime systemTime;      // when the system assembled the block
  std::int64_t fileTime = 0;  // systemTime as a file time
};

// An object type found in the block. Offsets are from the block start; the object's bytes are
// [offset, offset + totalByteLength), all inside the block.
struct ObjectType {
  std::size_t offset = 0;
  std::uint32_t totalByteLength = 0;
  std::uint32_t definitionLength = 0;  // the first instance starts here
  std::uint32_t headerLength = 0;      // the first counter definition starts here
  std::uint32_t objectNameTitleIndex = 0;
  std::uint32_t numCounters = 0;
  std::int32_t numInstances = 0;
};

// A counter definition found in an object type; `counterOffset` locates the counter's value in
// each instance's counter block.
struct CounterDefinition {
  std::size_t offset = 0;
  std::uint32_t byteLength = 0;
  std::uint32_t counterNameTitleIndex = 0;
  std::uint32_t counterOffset = 0;
};

// Reads the header: the block must hold a whole PERF_DATA_BLOCK, HeaderLength must cover it and
// lie within the block, and SystemTime must be a valid time.
Status ReadDataBlock(Bytes block, DataBlock& header);

// Walks at most header.numObjectTypes object types from the first one and stops at the first with
// the wanted title index. Every object visited must lie inside the block and be at least one
// PERF_OBJECT_TYPE long (so the walk always advances); the one found must also have a counter
// definition area [HeaderLength, DefinitionLength) that fits inside it.
Status FindObjectType(Bytes block, const DataBlock& header, std::uint32_t titleIndex,
                      ObjectType& object);

// Walks at most object.numCounters counter definitions from the object's first one and stops at
// the first with the wanted title index. Every definition visited must be at least one
// PERF_COUNTER_DEFINITION long and lie inside the object's definition area.
Status FindCounter(Bytes block, const ObjectType& object, std::uint32_t titleIndex,
                   CounterDefinition& counter);

// A walk over an object's instances, one instance per NextInstance.
struct InstanceWalk {
  std::size_t next = 0;  // where the next instance starts
  std::size_t end = 0;   // the end of the object: no instance data lies beyond
  std::uint32_t counterOffset = 0;
};

InstanceWalk BeginInstances(const ObjectType& object, const CounterDefinition& counter);

// Reads the counter of the instance at walk.next (the 64-bit value at counter block +
// CounterOffset) and moves the walk to the instance after it. The instance definition and its
// counter block must each be at least one record long and lie inside the object, and the value
// must lie inside the counter block. On failure the walk is left where it was.
Status NextInstance(Bytes block, InstanceWalk& walk, std::int64_t& value);

// Checks a whole walk over the object's first `count` instances without reading anything out:
// `count` must not be negative and not exceed the object's NumInstances, and each of the
// `count` instances must pass NextInstance. A caller checks the walk first and then reads it,
// so that a block that proves malformed part-way changes nothing.
Status CheckInstances(Bytes block, const ObjectType& object, const CounterDefinition& counter,
                      std::int32_t count);

}  // namespace perfdata
