#include "sampler/CpuUsage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "fakes/PerfDataBuilder.h"
#include "framework/Exception.h"
#include "support/AllocationCounter.h"
#include "support/Messages.h"

namespace {

constexpr std::int64_t kSecond = 10'000'000;  // in 100-nanosecond units
constexpr std::int64_t kMillisecond = 10'000;

class CpuUsageNtTest : public testing::Test {
 protected:
  // Serves the builder's present block to the next queries.
  void Serve() { registry_.SetPerformanceData(builder_.Build()); }
  // Serves the block for the given time and idle counters, then samples it.
  void Sample(std::uint16_t second, const std::vector<std::int64_t>& idles,
              std::uint16_t milliseconds = 0) {
    builder_.SetSecond(second, milliseconds).SetIdles(idles);
    Serve();
    usage_.TakeLoadSample();
  }

  FakeRegistry registry_;
  FakeSystem system_;  // Windows NT
  perfblock::PerfDataBuilder builder_{2};
  CpuUsage usage_{registry_, system_};
};

TEST_F(CpuUsageNtTest, ProcessorCountTakesExactlyOneSample) {
  Serve();
  EXPECT_EQ(usage_.ProcessorCount(), 2);
  EXPECT_EQ(registry_.PerformanceQueryCount(), 1);
  EXPECT_EQ(usage_.ProcessorCount(), 2);
  EXPECT_EQ(registry_.PerformanceQueryCount(), 1);
}

TEST_F(CpuUsageNtTest, QueriesTheProcessorObjectOnTheRootItself) {
  Serve();
  usage_.TakeLoadSample();
  EXPECT_EQ(registry_.LastPerformanceValueName(), "238");
  EXPECT_FALSE(registry_.LastPerformanceQueryAskedType());
  EXPECT_TRUE(registry_.Opens().empty());
  EXPECT_EQ(registry_.RootCloseCount(), 0);
}

TEST_F(CpuUsageNtTest, SummaryInstanceTakesASlotOfItsOwn) {
  builder_ = perfblock::PerfDataBuilder(2, true);
  Serve();
  EXPECT_EQ(usage_.ProcessorCount(), 3);
  EXPECT_NO_THROW(usage_.ProcessorLoad(2));
}

TEST_F(CpuUsageNtTest, LoadAfterTheFirstSampleIsZero) {
  // The idle counters since boot are far from zero; no load may be made of them alone.
  builder_.SetIdles({5 * kSecond, 123});
  Serve();
  ASSERT_EQ(usage_.ProcessorCount(), 2);
  EXPECT_EQ(usage_.ProcessorLoad(0), 0.0);
  EXPECT_EQ(usage_.ProcessorLoad(1), 0.0);
}

TEST_F(CpuUsageNtTest, LoadIsOneMinusIdleTimeOverElapsedTime) {
  struct Case {
    const char* what;
    std::int64_t idleBefore;
    std::int64_t idleAdvance;
    double load;
  };
  constexpr std::int64_t kHuge = (std::int64_t{1} << 62) + 1;  // not exact as a double
  const Case cases[] = {
      {"a quarter busy", 0, kSecond / 4 * 3, 0.25},
      {"idle throughout", 7 * kSecond, kSecond, 0.0},
      {"busy throughout", 7 * kSecond, 0, 1.0},
      {"idle time advanced more than the stamps: negative, not clamped", 0, kSecond * 3 / 2, -0.5},
      {"idle counter went back: above 1, not clamped", 5 * kSecond, -kSecond, 2.0},
      {"counters beyond double precision are subtracted exactly", kHuge, kSecond / 2, 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Slot 1 stays fully busy throughout, so a mix-up of slots shows.
    CpuUsage usage(registry_, system_);
    builder_.SetSecond(10).SetIdles({c.idleBefore, 999});
    Serve();
    usage.TakeLoadSample();
    builder_.SetSecond(11).SetIdles({c.idleBefore + c.idleAdvance, 999});
    Serve();
    usage.TakeLoadSample();
    EXPECT_DOUBLE_EQ(usage.ProcessorLoad(0), c.load);
    EXPECT_EQ(usage.ProcessorLoad(1), 1.0);
  }
}

TEST_F(CpuUsageNtTest, DividesInExtendedPrecisionAndRoundsOnce) {
  if (std::numeric_limits<long double>::digits <= std::numeric_limits<double>::digits) {
    GTEST_SKIP() << "long double is no wider than double here";
  }
  // 1 - 1/3: in double arithmetic 1/3 is rounded before the subtraction and the result lands one
  // unit above the correctly rounded 2/3.
  Sample(10, {0, 0}, 0);
  Sample(10, {kMillisecond, 0}, 3);
  EXPECT_EQ(usage_.ProcessorLoad(0), 2.0 / 3.0);
}

TEST_F(CpuUsageNtTest, EqualTimeStampsGiveZeroLoad) {
  Sample(10, {0, 0}, 500);
  Sample(10, {kSecond, kSecond / 2}, 500);  // same millisecond, counters moved on
  EXPECT_EQ(usage_.ProcessorLoad(0), 0.0);
  EXPECT_EQ(usage_.ProcessorLoad(1), 0.0);
}

TEST_F(CpuUsageNtTest, LoadMeasuresOnlyTheLastTwoSamples) {
  Sample(10, {0, 0});
  Sample(11, {kSecond / 4, kSecond / 2});
  Sample(13, {kSecond / 4 + kSecond, kSecond / 2});  // two seconds, half idle / busy
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(0), 0.5);
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(1), 1.0);
  // Without a new sample the load stays, and reading it queries nothing.
  const int queries = registry_.PerformanceQueryCount();
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(0), 0.5);
  EXPECT_EQ(registry_.PerformanceQueryCount(), queries);
}

TEST_F(CpuUsageNtTest, SlotsOutsideTheProcessorsAreRejected) {
  Serve();
  ASSERT_EQ(usage_.ProcessorCount(), 2);
  for (std::int32_t slot : {-1, 2, 3, std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::max()}) {
    EXPECT_EQ(MessageOf([&] { usage_.ProcessorLoad(slot); }), "CPU index out of bounds")
        << "slot " << slot;
  }
  EXPECT_NO_THROW(usage_.ProcessorLoad(1));
}

TEST_F(CpuUsageNtTest, ProcessorLoadBeforeAnySampleTakesTheFirstOne) {
  Serve();
  EXPECT_EQ(usage_.ProcessorLoad(1), 0.0);
  EXPECT_EQ(registry_.PerformanceQueryCount(), 1);
  EXPECT_EQ(MessageOf([&] { usage_.ProcessorLoad(2); }), "CPU index out of bounds");
  EXPECT_EQ(registry_.PerformanceQueryCount(), 1);
}

TEST_F(CpuUsageNtTest, BufferGrowsInStepsUntilTheBlockFitsAndKeepsItsSize) {
  struct Case {
    std::size_t blockSize;
    std::uint32_t bufferSize;
    int queries;
  };
  const Case cases[] = {
      {8192, 8192, 1},
      {8193, 12288, 2},
      {20000, 20480, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.blockSize);
    FakeRegistry registry;
    CpuUsage usage(registry, system_);
    EXPECT_EQ(usage.BufferSize(), 8192u);
    builder_.PadTo(c.blockSize);
    registry.SetPerformanceData(builder_.Build());
    usage.TakeLoadSample();
    EXPECT_EQ(usage.BufferSize(), c.bufferSize);
    EXPECT_EQ(registry.PerformanceQueryCount(), c.queries);
    // Each query offers the whole buffer, whatever byte count the last answer carried.
    EXPECT_EQ(registry.LastPerformanceCapacity(), c.bufferSize);

    // A smaller block later fits at once; the buffer does not shrink.
    builder_.PadTo(0);
    registry.SetPerformanceData(builder_.Build());
    usage.TakeLoadSample();
    EXPECT_EQ(usage.BufferSize(), c.bufferSize);
    EXPECT_EQ(registry.PerformanceQueryCount(), c.queries + 1);
  }
}

TEST_F(CpuUsageNtTest, FailedQueryRaisesAndKeepsTheLastLoads) {
  Sample(10, {0, 0});
  Sample(11, {kSecond / 4, kSecond / 2});
  registry_.SetPerformanceResult(platform::kErrorAccessDenied);
  EXPECT_EQ(MessageOf([&] { usage_.TakeLoadSample(); }),
            "Unable to query the performance data (error 5)");
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(0), 0.75);
  EXPECT_DOUBLE_EQ(usage_.ProcessorLoad(1), 0.5);
  EXPECT_EQ(usage_.BufferSize(), 8192u);
}

TEST_F(CpuUsageNtTest, EndlessRequestsForMoreDataStopAtTheBufferLimit) {
  registry_.SetPerformanceResult(platform::kErrorMoreData);
  EXPECT_EQ(MessageOf([&] { usage_.TakeLoadSample(); }),
            "Unable to query the performance data (more than 16777216 bytes)");
  EXPECT_LE(usage_.BufferSize(), CpuUsage::kMaxBufferSize);
  EXPECT_GT(usage_.BufferSize(), CpuUsage::kMaxBufferSize - CpuUsage::kBufferGrowth);
}

TEST_F(CpuUsageNtTest, OnlyTheBytesTheQueryReportsAreRead) {
  // A valid block whose reported byte count stops inside the processor object.
  const std::vector<std::uint8_t> block = builder_.Build();
  registry_.SetPerformanceData(block);
  registry_.SetPerformanceByteCount(
      static_cast<std::uint32_t>(builder_.ProcessorLayout().counterBlocks[1] + 8));
  EXPECT_EQ(MessageOf([&] { usage_.TakeLoadSample(); }),
            "Invalid performance data block: an object type runs past the end of the block");
}

TEST_F(CpuUsageNtTest, AReportedByteCountBeyondTheBufferIsCappedAtTheBuffer) {
  // The processor object claims to run on past the buffer, and the query claims to have
  // returned that many bytes.
  std::vector<std::uint8_t> block = builder_.Build();
  perfblock::Put32(block, builder_.ProcessorLayout().offset + perfblock::kObjectTotalByteLength,
                   9000);
  registry_.SetPerformanceData(block);
  registry_.SetPerformanceByteCount(100000);
  EXPECT_EQ(MessageOf([&] { usage_.TakeLoadSample(); }),
            "Invalid performance data block: an object type runs past the end of the block");
}

TEST_F(CpuUsageNtTest, MissingProcessorObjectOrCounterRaisesAndLearnsNothing) {
  struct Case {
    const char* what;
    void (*change)(perfblock::PerfDataBuilder&);
    const char* message;
  };
  const Case cases[] = {
      {"no processor object", [](perfblock::PerfDataBuilder& b) { b.Processor().titleIndex = 239; },
       "Unable to locate the \"Processor\" performance object"},
      {"no idle counter",
       [](perfblock::PerfDataBuilder& b) {
         b.Processor().counters[b.IdleCounterIndex()].titleIndex = 7;
       },
       "Unable to locate the \"% of CPU usage\" performance counter"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistry registry;
    CpuUsage usage(registry, system_);
    perfblock::PerfDataBuilder builder(2);
    c.change(builder);
    registry.SetPerformanceData(builder.Build());
    EXPECT_EQ(MessageOf([&] { usage.TakeLoadSample(); }), c.message);
    // The slots are still unknown: the next count samples again.
    registry.SetPerformanceData(perfblock::PerfDataBuilder(4).Build());
    EXPECT_EQ(usage.ProcessorCount(), 4);
    EXPECT_EQ(registry.PerformanceQueryCount(), 2);
  }
}

TEST_F(CpuUsageNtTest, OrdinarySampleAllocatesNothing) {
  Sample(10, {0, 0});
  Sample(11, {kSecond / 4, kSecond / 2});
  builder_.SetSecond(12).SetIdles({kSecond / 2, kSecond});
  Serve();

  AllocationCounter counter;
  usage_.TakeLoadSample();
  const double load0 = usage_.ProcessorLoad(0);
  const double load1 = usage_.ProcessorLoad(1);
  EXPECT_EQ(counter.Allocations(), 0u);
  EXPECT_DOUBLE_EQ(load0, 0.75);
  EXPECT_DOUBLE_EQ(load1, 0.5);
}

TEST_F(CpuUsageNtTest, StopLoadStatisticsTouchesNothing) {
  Serve();
  usage_.TakeLoadSample();
  registry_.ClearLog();
  usage_.StopLoadStatistics();
  EXPECT_TRUE(registry_.Opens().empty());
  EXPECT_EQ(registry_.CloseCount() + registry_.RootCloseCount(), 0);
  EXPECT_EQ(registry_.PerformanceQueryCount(), 0);
}

TEST(CpuUsageStartTest, FailedVersionQueryStopsTheStart) {
  FakeRegistry registry;
  FakeSystem system;
  system.failVersion = true;
  EXPECT_EQ(MessageOf([&] { CpuUsage usage(registry, system); }), "Can't get the Windows version");
}

TEST(CpuUsageStartTest, PlatformIdTwoAloneSelectsThePerformanceData) {
  struct Case {
    std::uint32_t platformId;
    bool nt;
  };
  const Case cases[] = {{0, false}, {1, false}, {2, true}, {3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.platformId);
    FakeRegistry registry;
    registry.SetPerformanceData(perfblock::PerfDataBuilder(4).Build());
    FakeSystem system;
    system.SetVersion(c.platformId, 4, 0, 950);
    CpuUsage usage(registry, system);
    EXPECT_EQ(system.lastVersionSize, 148u);
    EXPECT_EQ(usage.ProcessorCount(), c.nt ? 4 : 1);
    EXPECT_EQ(registry.PerformanceQueryCount(), c.nt ? 1 : 0);
    EXPECT_TRUE(registry.Opens().empty());
  }
}

}  // namespace
