// The Windows 95 family: one system-wide percentage from the dynamic-data branch.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "framework/Exception.h"
#include "sampler/CpuUsage.h"
#include "support/Messages.h"

namespace {

using platform::kHkeyDynData;

constexpr const char* kStartStat = "PerfStats\\StartStat";
constexpr const char* kStatData = "PerfStats\\StatData";
constexpr const char* kStopStat = "PerfStats\\StopStat";
constexpr const char* kCpuUsage = "KERNEL\\CPUUsage";

class CpuUsage95Test : public testing::Test {
 protected:
  CpuUsage95Test() {
    system_.SetVersion(platform::kVerPlatformWin32Windows, 4, 10, 2222);
    // Windows 98 publishes the statistic as four bytes of binary data.
    for (const char* key : {kStartStat, kStatData, kStopStat}) {
      registry_.PutValue(kHkeyDynData, key, kCpuUsage, platform::kRegBinary, {0, 0, 0, 0});
    }
    SetUsage(37);
  }

  void SetUsage(std::uint32_t percent) {
    registry_.PutValue(
        kHkeyDynData, kStatData, kCpuUsage, platform::kRegBinary,
        {static_cast<std::uint8_t>(percent), static_cast<std::uint8_t>(percent >> 8),
         static_cast<std::uint8_t>(percent >> 16), static_cast<std::uint8_t>(percent >> 24)});
  }

  std::vector<std::string> OpenedPaths() const {
    std::vector<std::string> paths;
    for (const FakeRegistry::OpenRecord& open : registry_.Opens()) paths.push_back(open.path);
    return paths;
  }

  FakeRegistry registry_;
  FakeSystem system_;
};

TEST_F(CpuUsage95Test, ProcessorCountIsOneWithoutTouchingTheRegistry) {
  CpuUsage usage(registry_, system_);
  EXPECT_EQ(usage.ProcessorCount(), 1);
  EXPECT_TRUE(registry_.Opens().empty());
  EXPECT_EQ(registry_.PerformanceQueryCount(), 0);
}

TEST_F(CpuUsage95Test, FirstSampleStartsTheCollectionAndKeepsStatDataOpen) {
  CpuUsage usage(registry_, system_);
  usage.TakeLoadSample();

  ASSERT_EQ(registry_.Opens().size(), 2u);
  EXPECT_EQ(registry_.Opens()[0].path, "HKEY_DYN_DATA\\PerfStats\\StartStat");
  EXPECT_EQ(registry_.Opens()[0].access, platform::kKeyAllAccess);
  EXPECT_EQ(registry_.Opens()[1].path, "HKEY_DYN_DATA\\PerfStats\\StatData");
  EXPECT_EQ(registry_.Opens()[1].access, platform::kKeyRead);
  EXPECT_EQ(registry_.OpenKeyPaths(),
            std::vector<std::string>{"HKEY_DYN_DATA\\PerfStats\\StatData"});
  EXPECT_EQ(registry_.CloseCount(), 1);
  EXPECT_EQ(usage.ProcessorLoad(0), 0.37);

  // Later samples read the open key again and open nothing.
  usage.TakeLoadSample();
  EXPECT_EQ(registry_.Opens().size(), 2u);
}

TEST_F(CpuUsage95Test, LoadIsThePercentageReadByTheLastSample) {
  struct Case {
    std::uint32_t percent;
    double load;
  };
  const Case cases[] = {{0, 0.0}, {37, 0.37}, {100, 1.0}, {0xFFFFFFFF, 42949672.95}};
  CpuUsage usage(registry_, system_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    SetUsage(c.percent);
    usage.TakeLoadSample();
    SetUsage(55);  // not read until the next sample
    EXPECT_EQ(usage.ProcessorLoad(0), c.load);
    EXPECT_EQ(usage.ProcessorLoad(0), c.load);
  }
}

TEST_F(CpuUsage95Test, ProcessorLoadBeforeAnySampleStartsTheCollection) {
  CpuUsage usage(registry_, system_);
  EXPECT_EQ(usage.ProcessorLoad(0), 0.37);
  EXPECT_EQ(registry_.OpenCount(kHkeyDynData, kStartStat), 1);
  EXPECT_EQ(registry_.OpenKeyCount(), 1);
}

TEST_F(CpuUsage95Test, OnlySlotZeroExists) {
  CpuUsage usage(registry_, system_);
  for (std::int32_t slot : {1, -1, 2}) {
    EXPECT_EQ(MessageOf([&] { usage.ProcessorLoad(slot); }), "CPU index out of bounds")
        << "slot " << slot;
  }
  EXPECT_TRUE(registry_.Opens().empty());
}

TEST_F(CpuUsage95Test, FailedStartLeavesTheCollectionStopped) {
  struct Case {
    const char* failingKey;
    const char* message;
  };
  const Case cases[] = {
      {kStartStat, "Unable to start performance monitoring"},
      {kStatData, "Unable to read performance data"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failingKey);
    registry_.ClearLog();
    CpuUsage usage(registry_, system_);
    registry_.FailOpen(kHkeyDynData, c.failingKey, platform::kErrorAccessDenied);
    EXPECT_EQ(MessageOf([&] { usage.TakeLoadSample(); }), c.message);
    EXPECT_EQ(registry_.OpenKeyCount(), 0);

    // The next call starts over from StartStat.
    registry_.ClearFailures();
    usage.TakeLoadSample();
    EXPECT_EQ(registry_.OpenCount(kHkeyDynData, kStartStat), 2);
    EXPECT_EQ(usage.ProcessorLoad(0), 0.37);
    usage.StopLoadStatistics();
  }
}

TEST_F(CpuUsage95Test, StopClosesStatDataAndReadsStopStatOnce) {
  CpuUsage usage(registry_, system_);
  usage.TakeLoadSample();
  usage.StopLoadStatistics();
  EXPECT_EQ(registry_.OpenKeyCount(), 0);
  EXPECT_EQ(registry_.InvalidCloseCount(), 0);
  ASSERT_EQ(registry_.Opens().size(), 3u);
  EXPECT_EQ(registry_.Opens()[2].path, "HKEY_DYN_DATA\\PerfStats\\StopStat");
  EXPECT_EQ(registry_.Opens()[2].access, platform::kKeyAllAccess);

  usage.StopLoadStatistics();  // already stopped: nothing more
  EXPECT_EQ(registry_.Opens().size(), 3u);

  // A sample after the stop starts the collection again.
  usage.TakeLoadSample();
  EXPECT_EQ(registry_.OpenCount(kHkeyDynData, kStartStat), 2);
}

TEST_F(CpuUsage95Test, StopBeforeAnyStartTouchesNothing) {
  CpuUsage usage(registry_, system_);
  usage.StopLoadStatistics();
  EXPECT_TRUE(registry_.Opens().empty());
  EXPECT_EQ(registry_.CloseCount(), 0);
}

TEST_F(CpuUsage95Test, StopIgnoresAMissingStopStat) {
  registry_.FailOpen(kHkeyDynData, kStopStat, platform::kErrorFileNotFound);
  CpuUsage usage(registry_, system_);
  usage.TakeLoadSample();
  EXPECT_NO_THROW(usage.StopLoadStatistics());
  EXPECT_EQ(registry_.OpenKeyCount(), 0);
}

TEST_F(CpuUsage95Test, ModuleStopEndsTheCollection) {
  {
    CpuUsage usage(registry_, system_);
    usage.TakeLoadSample();
  }
  EXPECT_EQ(registry_.OpenCount(kHkeyDynData, kStopStat), 1);
  EXPECT_EQ(registry_.OpenKeyCount(), 0);
}

}  // namespace
