// Blocks that do not fit the bytes returned: each raises an Exception that names the fault and
// leaves the sampler exactly as it was, on the first sample and on a later one.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "fakes/PerfDataBuilder.h"
#include "framework/Exception.h"
#include "sampler/CpuUsage.h"
#include "support/Messages.h"

namespace {

using perfblock::PerfDataBuilder;
using perfblock::Put16;
using perfblock::Put32;
using Block = std::vector<std::uint8_t>;

constexpr std::int64_t kSecond = 10'000'000;

struct Corruption {
  const char* name;
  void (*corrupt)(Block& block, const PerfDataBuilder& builder);
  const char* message;
};

void PrintTo(const Corruption& corruption, std::ostream* os) { *os << corruption.name; }

std::size_t ProcessorObject(const PerfDataBuilder& b) { return b.ProcessorLayout().offset; }
std::size_t ProcessorEnd(const PerfDataBuilder& b) {
  return b.ProcessorLayout().offset + b.ProcessorLayout().size;
}
std::size_t IdleCounter(const PerfDataBuilder& b) {
  return b.ProcessorLayout().counters[b.IdleCounterIndex()];
}
// The last processor instance and its counter block: a fault there is found only after the
// walk has read the earlier instances.
std::size_t LastInstance(const PerfDataBuilder& b) { return b.ProcessorLayout().instances.back(); }
std::size_t LastCounterBlock(const PerfDataBuilder& b) {
  return b.ProcessorLayout().counterBlocks.back();
}

const Corruption kCorruptions[] = {
    {"BlockShorterThanHeader", [](Block& block, const PerfDataBuilder&) { block.resize(87); },
     "Invalid performance data block: the block is shorter than its header"},
    {"HeaderLengthBelowHeader",
     [](Block& block, const PerfDataBuilder&) { Put32(block, perfblock::kBlockHeaderLength, 52); },
     "Invalid performance data block: the header length is out of range"},
    {"HeaderLengthPastBlock",
     [](Block& block, const PerfDataBuilder&) {
       Put32(block, perfblock::kBlockHeaderLength, static_cast<std::uint32_t>(block.size() + 8));
     },
     "Invalid performance data block: the header length is out of range"},
    {"InvalidSystemTime",
     [](Block& block, const PerfDataBuilder&) {
       Put16(block, perfblock::kBlockSystemTime + 2, 13);
     },
     "Invalid performance data block: the system time is not a valid date and time"},
    {"ZeroLengthObjectsCountedInBillions",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, perfblock::kBlockNumObjectTypes, 0xFFFFFFFF);
       Put32(block, b.Layout()[0].offset + perfblock::kObjectTotalByteLength, 0);
     },
     "Invalid performance data block: an object type is shorter than its header"},
    {"ObjectPastBlock",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, ProcessorObject(b) + perfblock::kObjectTotalByteLength, 0xFFFFFFF0);
     },
     "Invalid performance data block: an object type runs past the end of the block"},
    {"BlockCutInsideProcessorObject",
     [](Block& block, const PerfDataBuilder& b) { block.resize(ProcessorEnd(b) - 4); },
     "Invalid performance data block: an object type runs past the end of the block"},
    {"CounterDefinitionsBeforeObjectHeader",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, ProcessorObject(b) + perfblock::kObjectHeaderLength, 16);
     },
     "Invalid performance data block: the counter definitions of an object type do not fit "
     "inside it"},
    {"DefinitionsPastObject",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, ProcessorObject(b) + perfblock::kObjectDefinitionLength,
             static_cast<std::uint32_t>(b.ProcessorLayout().size + 40));
     },
     "Invalid performance data block: the counter definitions of an object type do not fit "
     "inside it"},
    {"ZeroLengthCountersCountedInBillions",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, ProcessorObject(b) + perfblock::kObjectNumCounters, 0xFFFFFFFF);
       Put32(block, b.ProcessorLayout().counters[0] + perfblock::kCounterByteLength, 0);
     },
     "Invalid performance data block: a counter definition is shorter than its record"},
    {"CounterDefinitionPastDefinitions",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, b.ProcessorLayout().counters[1] + perfblock::kCounterByteLength, 400);
     },
     "Invalid performance data block: a counter definition runs past the definitions of its "
     "object type"},
    {"MoreCountersThanDefinitions",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, ProcessorObject(b) + perfblock::kObjectNumCounters, 9);
       Put32(block, IdleCounter(b) + perfblock::kCounterNameTitleIndex, 7);
     },
     "Invalid performance data block: a counter definition runs past the definitions of its "
     "object type"},
    {"ZeroLengthInstance",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, LastInstance(b) + perfblock::kInstanceByteLength, 0);
     },
     "Invalid performance data block: an instance is shorter than its record"},
    {"InstancePastObject",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, LastInstance(b) + perfblock::kInstanceByteLength, 0x7FFFFFFF);
     },
     "Invalid performance data block: an instance runs past the end of its object type"},
    {"InstanceRunsIntoNextObject",
     [](Block& block, const PerfDataBuilder& b) {
       // Still inside the block, but past the end of the processor object.
       Put32(block, LastInstance(b) + perfblock::kInstanceByteLength,
             static_cast<std::uint32_t>(ProcessorEnd(b) - LastInstance(b) + 8));
     },
     "Invalid performance data block: an instance runs past the end of its object type"},
    {"CounterBlockStartsAtObjectEnd",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, LastInstance(b) + perfblock::kInstanceByteLength,
             static_cast<std::uint32_t>(ProcessorEnd(b) - LastInstance(b) - 2));
     },
     "Invalid performance data block: a counter block runs past the end of its object type"},
    {"ZeroLengthCounterBlock",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, LastCounterBlock(b) + perfblock::kCounterBlockByteLength, 0);
     },
     "Invalid performance data block: a counter block is shorter than its record"},
    {"CounterBlockPastObject",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, LastCounterBlock(b) + perfblock::kCounterBlockByteLength, 0xFFFFFFFC);
     },
     "Invalid performance data block: a counter block runs past the end of its object type"},
    {"IdleValueOutsideCounterBlock",
     [](Block& block, const PerfDataBuilder& b) {
       // The value lies at 24..32 of the block: a block of 28 bytes cuts it in half.
       Put32(block, LastCounterBlock(b) + perfblock::kCounterBlockByteLength, 28);
     },
     "Invalid performance data block: the counter value lies outside its counter block"},
    {"CounterOffsetPastCounterBlocks",
     [](Block& block, const PerfDataBuilder& b) {
       Put32(block, IdleCounter(b) + perfblock::kCounterOffset, 0xFFFFFFFC);
     },
     "Invalid performance data block: the counter value lies outside its counter block"},
};

class CpuUsageMalformedTest : public testing::TestWithParam<Corruption> {
 protected:
  // Serves the builder's block for the given second and idle counters, corrupted or not.
  void Serve(std::uint16_t second, std::int64_t idle0, std::int64_t idle1, bool corrupt = false) {
    builder_.SetSecond(second).SetIdles({idle0, idle1});
    Block block = builder_.Build();
    if (corrupt) GetParam().corrupt(block, builder_);
    registry_.SetPerformanceData(std::move(block));
  }

  FakeRegistry registry_;
  FakeSystem system_;
  PerfDataBuilder builder_{2};
  CpuUsage usage_{registry_, system_};
};

TEST_P(CpuUsageMalformedTest, FirstBlockLeavesTheSlotsUnknown) {
  Serve(10, 0, 0, true);
  EXPECT_EQ(MessageOf([&] { usage_.TakeLoadSample(); }), GetParam().message);

  // Nothing was learned: the count takes a sample of its own, which becomes the first.
  Serve(11, kSecond, kSecond);
  EXPECT_EQ(usage_.ProcessorCount(), 2);
  EXPECT_EQ(registry_.PerformanceQueryCount(), 2);
  EXPECT_EQ(usage_.ProcessorLoad(0), 0.0);
}

TEST_P(CpuUsageMalformedTest, LaterBlockShiftsNothing) {
  Serve(10, 0, 0);
  usage_.TakeLoadSample();
  Serve(11, kSecond / 4, kSecond / 2);
  usage_.TakeLoadSample();

  Serve(12, 9 * kSecond, 9 * kSecond, true);
  EXPECT_EQ(MessageOf([&] { usage_.TakeLoadSample(); }), GetParam().message);
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(0), 0.75);
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(1), 0.5);
  EXPECT_EQ(usage_.ProcessorCount(), 2);

  // The next good block is measured against the last good one, two seconds before.
  Serve(13, kSecond / 4 + kSecond, kSecond / 2 + 2 * kSecond);
  usage_.TakeLoadSample();
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(0), 0.5);
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(1), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Corruptions, CpuUsageMalformedTest, testing::ValuesIn(kCorruptions),
                         [](const testing::TestParamInfo<Corruption>& info) {
                           return std::string(info.param.name);
                         });

// The instance count: negative on the first parse, or below the slots learned then.
class CpuUsageInstanceCountTest : public testing::Test {
 protected:
  void Serve(PerfDataBuilder& builder, std::uint16_t second, const std::vector<std::int64_t>& idles,
             std::optional<std::int32_t> numInstances = std::nullopt) {
    builder.SetSecond(second).SetIdles(idles);
    Block block = builder.Build();
    if (numInstances) {
      Put32(block, builder.ProcessorLayout().offset + perfblock::kObjectNumInstances,
            static_cast<std::uint32_t>(*numInstances));
    }
    registry_.SetPerformanceData(std::move(block));
  }

  FakeRegistry registry_;
  FakeSystem system_;
  CpuUsage usage_{registry_, system_};
};

TEST_F(CpuUsageInstanceCountTest, NegativeCountOnTheFirstParseIsMalformed) {
  PerfDataBuilder builder(2);
  Serve(builder, 10, {0, 0}, -1);
  EXPECT_EQ(MessageOf([&] { usage_.TakeLoadSample(); }),
            "Invalid performance data block: the object lists a negative number of instances");
  Serve(builder, 11, {0, 0});
  EXPECT_EQ(usage_.ProcessorCount(), 2);
  EXPECT_EQ(registry_.PerformanceQueryCount(), 2);
}

TEST_F(CpuUsageInstanceCountTest, FewerInstancesThanSlotsLaterIsMalformed) {
  PerfDataBuilder two(2);
  Serve(two, 10, {0, 0});
  usage_.TakeLoadSample();
  Serve(two, 11, {kSecond / 4, kSecond / 2});
  usage_.TakeLoadSample();

  struct Case {
    const char* what;
    int processors;
    std::optional<std::int32_t> numInstances;  // NumInstances, when not as built
  };
  const Case cases[] = {
      {"one processor listed", 1, std::nullopt},
      {"two built, one counted", 2, 1},
      {"no instances", 2, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PerfDataBuilder builder(c.processors);
    Serve(builder, 12, std::vector<std::int64_t>(c.processors, 9 * kSecond), c.numInstances);
    EXPECT_EQ(MessageOf([&] { usage_.TakeLoadSample(); }),
              "Invalid performance data block: the object lists fewer instances than processor "
              "slots");
    EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(0), 0.75);
    EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(1), 0.5);
  }
}

TEST_F(CpuUsageInstanceCountTest, MoreInstancesLaterAreWalkedOnlyAsFarAsTheSlots) {
  PerfDataBuilder two(2);
  Serve(two, 10, {0, 0});
  usage_.TakeLoadSample();
  PerfDataBuilder three(3);
  Serve(three, 11, {kSecond / 4, kSecond / 2, kSecond});
  usage_.TakeLoadSample();
  EXPECT_EQ(usage_.ProcessorCount(), 2);
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(0), 0.75);
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(1), 0.5);
}

TEST_F(CpuUsageInstanceCountTest, MissingCounterLaterShiftsNothing) {
  PerfDataBuilder builder(2);
  Serve(builder, 10, {0, 0});
  usage_.TakeLoadSample();
  Serve(builder, 11, {kSecond / 4, kSecond / 2});
  usage_.TakeLoadSample();
  PerfDataBuilder broken(2);
  broken.Processor().counters[broken.IdleCounterIndex()].titleIndex = 7;
  Serve(broken, 12, {9 * kSecond, 9 * kSecond});
  EXPECT_EQ(MessageOf([&] { usage_.TakeLoadSample(); }),
            "Unable to locate the \"% of CPU usage\" performance counter");
  Serve(builder, 13, {kSecond / 4 + kSecond, kSecond / 2 + 2 * kSecond});
  usage_.TakeLoadSample();
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(0), 0.5);
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(1), 0.0);
}

}  // namespace
