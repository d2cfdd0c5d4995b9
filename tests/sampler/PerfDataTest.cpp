#include "sampler/PerfData.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "fakes/PerfDataBuilder.h"

namespace {

using perfdata::Status;
using perfdata::SystemTime;

SystemTime Time(std::uint16_t year, std::uint16_t month, std::uint16_t day, std::uint16_t hour = 0,
                std::uint16_t minute = 0, std::uint16_t second = 0,
                std::uint16_t milliseconds = 0) {
  SystemTime time;
  time.year = year;
  time.month = month;
  time.day = day;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  time.milliseconds = milliseconds;
  return time;
}

TEST(SystemTimeToFileTimeTest, CountsHundredNanosecondsSince1601) {
  struct Case {
    SystemTime time;
    std::int64_t fileTime;
  };
  const Case cases[] = {
      {Time(1601, 1, 1), 0},
      {Time(1601, 12, 31, 23, 59, 59, 999), 315359999990000},
      {Time(1970, 1, 1), 116444736000000000},
      {Time(2000, 2, 29, 12, 34, 56, 789), 125963012967890000},     // a leap day of a 400-year
      {Time(2100, 3, 1, 0, 0, 0, 1), 157520160000010000},           // 2100 has no leap day
      {Time(30827, 12, 31, 23, 59, 59, 999), 9223149887999990000},  // the latest valid time
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.time.year << "-" << c.time.month << "-" << c.time.day);
    EXPECT_EQ(perfdata::SystemTimeToFileTime(c.time), c.fileTime);
  }
}

TEST(SystemTimeToFileTimeTest, IgnoresTheDayOfWeek) {
  SystemTime time = Time(1970, 1, 1);
  time.dayOfWeek = 6;  // 1970-01-01 was a Thursday (4)
  EXPECT_EQ(perfdata::SystemTimeToFileTime(time), 116444736000000000);
}

TEST(SystemTimeToFileTimeTest, RejectsFieldsOutOfRange) {
  struct Case {
    const char* what;
    SystemTime time;
  };
  const Case cases[] = {
      {"year before 1601", Time(1600, 12, 31)},
      {"year after 30827", Time(30828, 1, 1)},
      {"year zero (a zero-filled record)", Time(0, 0, 0)},
      {"month 0", Time(2024, 0, 10)},
      {"month 13", Time(2024, 13, 10)},
      {"day 0", Time(2024, 5, 0)},
      {"day 32", Time(2024, 1, 32)},
      {"April 31", Time(2024, 4, 31)},
      {"February 29 of a common year", Time(2023, 2, 29)},
      {"February 29 of a century year", Time(1900, 2, 29)},
      {"February 30 of a leap year", Time(2024, 2, 30)},
      {"hour 24", Time(2024, 5, 5, 24)},
      {"minute 60", Time(2024, 5, 5, 0, 60)},
      {"second 60", Time(2024, 5, 5, 0, 0, 60)},
      {"millisecond 1000", Time(2024, 5, 5, 0, 0, 0, 1000)},
      {"all fields at their maximum", Time(65535, 65535, 65535, 65535, 65535, 65535, 65535)},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(perfdata::SystemTimeToFileTime(c.time).has_value()) << c.what;
  }
}

// Runs the whole walk the sampler makes over `bytes`, returning the first failure.
Status WalkProcessorCounters(perfdata::Bytes bytes, std::vector<std::int64_t>* values = nullptr) {
  perfdata::DataBlock header;
  if (Status s = perfdata::ReadDataBlock(bytes, header); s != Status::kOk) return s;
  perfdata::ObjectType object;
  if (Status s =
          perfdata::FindObjectType(bytes, header, perfdata::kProcessorObjectTitleIndex, object);
      s != Status::kOk) {
    return s;
  }
  perfdata::CounterDefinition counter;
  if (Status s =
          perfdata::FindCounter(bytes, object, perfdata::kProcessorTimeCounterTitleIndex, counter);
      s != Status::kOk) {
    return s;
  }
  if (Status s = perfdata::CheckInstances(bytes, object, counter, object.numInstances);
      s != Status::kOk) {
    return s;
  }
  perfdata::InstanceWalk walk = perfdata::BeginInstances(object, counter);
  for (std::int32_t i = 0; i < object.numInstances; ++i) {
    std::int64_t value = 0;
    if (Status s = perfdata::NextInstance(bytes, walk, value); s != Status::kOk) return s;
    if (values != nullptr) values->push_back(value);
  }
  return Status::kOk;
}

class PerfDataWalkTest : public testing::Test {
 protected:
  PerfDataWalkTest() : builder_(3, true) { builder_.SetIdles({111, -222, 1LL << 62, 444}); }

  perfblock::PerfDataBuilder builder_;
};

TEST_F(PerfDataWalkTest, ReadsTheIdleCounterOfEveryProcessorInstance) {
  const std::vector<std::uint8_t> block = builder_.Build();

  perfdata::DataBlock header;
  ASSERT_EQ(perfdata::ReadDataBlock(block, header), Status::kOk);
  EXPECT_EQ(header.numObjectTypes, 3u);
  EXPECT_GT(header.headerLength, perfdata::kDataBlockSize);  // the system name follows the header
  EXPECT_EQ(header.fileTime, 133549794000000000);            // 2024-03-15 12:30:00.000

  perfdata::ObjectType object;
  ASSERT_EQ(perfdata::FindObjectType(block, header, 238, object), Status::kOk);
  EXPECT_EQ(object.offset, builder_.ProcessorLayout().offset);
  EXPECT_EQ(object.numInstances, 4);

  perfdata::CounterDefinition counter;
  ASSERT_EQ(perfdata::FindCounter(block, object, 6, counter), Status::kOk);
  EXPECT_EQ(counter.counterOffset, 24u);

  std::vector<std::int64_t> values;
  ASSERT_EQ(WalkProcessorCounters(block, &values), Status::kOk);
  EXPECT_EQ(values, (std::vector<std::int64_t>{111, -222, 1LL << 62, 444}));
}

TEST_F(PerfDataWalkTest, ReadsFieldsAtAnyAlignment) {
  // The same block one byte into a buffer: no field is aligned any more.
  const std::vector<std::uint8_t> block = builder_.Build();
  std::vector<std::uint8_t> shifted(block.size() + 1);
  std::copy(block.begin(), block.end(), shifted.begin() + 1);
  std::vector<std::int64_t> values;
  ASSERT_EQ(WalkProcessorCounters(perfdata::Bytes(shifted).subspan(1), &values), Status::kOk);
  EXPECT_EQ(values, (std::vector<std::int64_t>{111, -222, 1LL << 62, 444}));
}

TEST_F(PerfDataWalkTest, SearchesOnlyTheCountedObjectsAndCounters) {
  struct Case {
    const char* what;
    std::size_t (*field)(const perfblock::PerfDataBuilder&);
    std::uint32_t value;
    Status expected;
  };
  const Case cases[] = {
      // The processor object is the second of three.
      {"NumObjectTypes 1",
       [](const perfblock::PerfDataBuilder&) { return perfblock::kBlockNumObjectTypes; }, 1,
       Status::kObjectNotFound},
      {"NumObjectTypes 0",
       [](const perfblock::PerfDataBuilder&) { return perfblock::kBlockNumObjectTypes; }, 0,
       Status::kObjectNotFound},
      // The idle counter is the third of four.
      {"NumCounters 2",
       [](const perfblock::PerfDataBuilder& b) {
         return b.ProcessorLayout().offset + perfblock::kObjectNumCounters;
       },
       2, Status::kCounterNotFound},
      {"NumCounters 3",
       [](const perfblock::PerfDataBuilder& b) {
         return b.ProcessorLayout().offset + perfblock::kObjectNumCounters;
       },
       3, Status::kOk},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> block = builder_.Build();
    perfblock::Put32(block, c.field(builder_), c.value);
    EXPECT_EQ(WalkProcessorCounters(block), c.expected) << c.what;
  }
}

TEST_F(PerfDataWalkTest, StopsAtTheFirstMatchingObject) {
  // A second processor object after the first one is never reached.
  builder_.Objects().push_back(builder_.Processor());
  builder_.Objects().back().instances.resize(1);
  const std::vector<std::uint8_t> block = builder_.Build();
  perfdata::DataBlock header;
  ASSERT_EQ(perfdata::ReadDataBlock(block, header), Status::kOk);
  perfdata::ObjectType object;
  ASSERT_EQ(perfdata::FindObjectType(block, header, 238, object), Status::kOk);
  EXPECT_EQ(object.offset, builder_.ProcessorLayout().offset);
}

TEST_F(PerfDataWalkTest, AnyTruncationBeforeTheProcessorObjectEndsIsRejected) {
  // The walk needs every byte up to the end of the processor object and none after it. Each
  // truncated copy is exactly as long as the bytes returned, so a read past them would leave the
  // allocation.
  const std::vector<std::uint8_t> block = builder_.Build();
  const perfblock::ObjectLayout& processor = builder_.ProcessorLayout();
  const std::size_t needed = processor.offset + processor.size;
  ASSERT_LT(needed, block.size());
  for (std::size_t length = 0; length <= block.size(); ++length) {
    const std::vector<std::uint8_t> truncated(block.begin(), block.begin() + length);
    const Status status = WalkProcessorCounters(truncated);
    if (length >= needed) {
      EXPECT_EQ(status, Status::kOk) << "length " << length;
    } else {
      EXPECT_NE(status, Status::kOk) << "length " << length;
      EXPECT_NE(status, Status::kObjectNotFound) << "length " << length;
      EXPECT_NE(status, Status::kCounterNotFound) << "length " << length;
    }
  }
}

TEST_F(PerfDataWalkTest, ExtremeFieldValuesAnywhereEndInAStatus) {
  // Every 32-bit field position set to values that break naive arithmetic: each walk must end
  // (no field can make it loop or wrap) and stay inside the block.
  const std::vector<std::uint8_t> block = builder_.Build();
  const std::uint32_t values[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF8};
  for (std::size_t offset = 0; offset + 4 <= block.size(); offset += 2) {
    for (std::uint32_t value : values) {
      std::vector<std::uint8_t> corrupted = block;
      perfblock::Put32(corrupted, offset, value);
      static_cast<void>(WalkProcessorCounters(corrupted));
    }
  }
}

}  // namespace
