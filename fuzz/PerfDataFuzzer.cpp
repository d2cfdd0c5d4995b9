// The performance-data block walk on arbitrary bytes: the checked walk itself (sampler/PerfData)
// and the sampler that reads its blocks through the registry port (sampler/CpuUsage on the fake
// registry), both fresh and after a good block has fixed the number of processor slots.
//
// The block is the whole input. Failures are the sampler's Exception; anything else (a sanitizer
// report, a walk that claims success and then fails, a load from a block that was refused) is a
// finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "fakes/PerfDataBuilder.h"
#include "framework/Exception.h"
#include "sampler/CpuUsage.h"
#include "sampler/PerfData.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The walk as the sampler does it, with its promises checked: a walk that CheckInstances accepts
// reads every instance, and a failed step leaves the walk where it was.
void Walk(perfdata::Bytes block) {
  perfdata::DataBlock header;
  if (perfdata::ReadDataBlock(block, header) != perfdata::Status::kOk) return;
  Check(header.headerLength <= block.size());
  perfdata::ObjectType object;
  if (perfdata::FindObjectType(block, header, perfdata::kProcessorObjectTitleIndex, object) !=
      perfdata::Status::kOk) {
    return;
  }
  Check(object.offset + object.totalByteLength <= block.size());
  perfdata::CounterDefinition counter;
  if (perfdata::FindCounter(block, object, perfdata::kProcessorTimeCounterTitleIndex, counter) !=
      perfdata::Status::kOk) {
    return;
  }
  const perfdata::Status checked =
      perfdata::CheckInstances(block, object, counter, object.numInstances);
  perfdata::InstanceWalk walk = perfdata::BeginInstances(object, counter);
  // Each instance takes at least 28 bytes, so no walk can be longer than this.
  const std::size_t bound = block.size() / 28 + 1;
  for (std::size_t i = 0; i < bound; ++i) {
    std::int64_t value = 0;
    const perfdata::InstanceWalk before = walk;
    const perfdata::Status status = perfdata::NextInstance(block, walk, value);
    if (status != perfdata::Status::kOk) {
      Check(walk.next == before.next && walk.end == before.end);
      if (checked == perfdata::Status::kOk)
        Check(i >= static_cast<std::size_t>(object.numInstances));
      return;
    }
    Check(walk.next > before.next && walk.next <= block.size());
  }
  std::abort();  // the walk did not end
}

// Samples the block twice and reads every slot's load.
void Sample(CpuUsage& usage) {
  try {
    usage.TakeLoadSample();
    usage.TakeLoadSample();
    const std::int32_t slots = usage.ProcessorCount();
    Check(slots >= 0);
    for (std::int32_t slot = 0; slot < slots; ++slot) static_cast<void>(usage.ProcessorLoad(slot));
  } catch (const Exception&) {
  }
}

const std::vector<std::uint8_t>& GoodBlock() {
  static const std::vector<std::uint8_t> block = perfblock::PerfDataBuilder(2, true).Build();
  return block;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> block(data, data + size);
  Walk(perfdata::Bytes(block.data(), block.size()));

  FakeSystem system;
  system.SetVersion(platform::kVerPlatformWin32Nt, 5, 1, 2600);
  {
    // A fresh sampler learns its slots from this block.
    FakeRegistry registry;
    registry.SetPerformanceData(block);
    CpuUsage usage(registry, system);
    Sample(usage);
  }
  {
    // A sampler whose slots a good block has fixed walks exactly that many instances.
    FakeRegistry registry;
    registry.SetPerformanceData(GoodBlock());
    CpuUsage usage(registry, system);
    usage.TakeLoadSample();
    registry.SetPerformanceData(block);
    Sample(usage);
    Check(usage.ProcessorCount() == 3);
  }
  return 0;
}
