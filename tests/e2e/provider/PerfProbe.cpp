// Reads the "Processor" object from the performance-data root the way a monitoring program does
// and prints what it finds, so that the test provider can be checked on its own before the real
// program is run against it.
//
//   perf_probe.exe [samples [interval_ms]]     (default: 2 samples, 1000 ms apart)
//
// Output, one fact per line:
//   block header=96 total=384 objects=1 time=2024-05-01T10:00:00.123
//   object index=238 counters=2 instances=3 idle_offset=16
//   instance name=0 idle=12345
//   load name=0 percent=50.512 interval_ms=1001 data_age_ms=0
//       from the second sample on: 1 - (idle advance) / (stamp advance); the interval between the
//       two stamps; and how much older than its block's stamp the object's data is (the stamp
//       minus the object's PerfTime, taken to be a file time).
// Exit code 0 when every sample held the object and its idle counter, 1 otherwise.
//
// The walk is written from the Windows records, independently of the provider and of the
// program's own reader, and checks every record against the bytes returned.

#include <windows.h>
#include <winperf.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kProcessorObject = 238;
constexpr DWORD kIdleCounter = 6;

struct Instance {
  std::string name;
  std::int64_t idle = 0;
};

struct Sample {
  std::int64_t stamp = 0;       // the block's SystemTime as a file time
  std::int64_t objectTime = 0;  // the Processor object's PerfTime
  std::vector<Instance> instances;
};

template <typename Record>
bool Fits(const std::vector<BYTE>& block, std::size_t offset) {
  return offset <= block.size() && block.size() - offset >= sizeof(Record);
}

template <typename Record>
Record At(const std::vector<BYTE>& block, std::size_t offset) {
  Record record;
  std::memcpy(&record, block.data() + offset, sizeof record);
  return record;
}

std::string Narrow(const std::vector<BYTE>& block, std::size_t offset, std::size_t bytes) {
  std::string name;
  for (std::size_t i = 0; i + 1 < bytes && offset + i + 1 < block.size(); i += 2) {
    const wchar_t c = static_cast<wchar_t>(block[offset + i] | (block[offset + i + 1] << 8));
    if (c == 0) break;
    name += c < 128 ? static_cast<char>(c) : '?';
  }
  return name;
}

// Queries into `buffer`, which is kept from one query to the next and only grows, as a
// monitoring program keeps it; `block` receives the bytes returned.
bool Query(std::vector<BYTE>* buffer, std::vector<BYTE>* block) {
  if (buffer->size() < 8192) buffer->resize(8192);
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer->size());
    const LONG result =
        RegQueryValueExA(HKEY_PERFORMANCE_DATA, "238", nullptr, nullptr, buffer->data(), &size);
    if (result == ERROR_MORE_DATA) {
      buffer->resize(buffer->size() + 4096);
      continue;
    }
    if (result != ERROR_SUCCESS) {
      std::printf("error query=%ld\n", result);
      return false;
    }
    block->assign(buffer->begin(), buffer->begin() + std::min<std::size_t>(size, buffer->size()));
    return true;
  }
}

bool Parse(const std::vector<BYTE>& block, Sample* sample) {
  if (!Fits<PERF_DATA_BLOCK>(block, 0)) {
    std::printf("error block too short (%zu bytes)\n", block.size());
    return false;
  }
  const auto header = At<PERF_DATA_BLOCK>(block, 0);
  const SYSTEMTIME& t = header.SystemTime;
  std::printf("block header=%lu total=%lu objects=%lu time=%04u-%02u-%02uT%02u:%02u:%02u.%03u\n",
              header.HeaderLength, header.TotalByteLength, header.NumObjectTypes, t.wYear, t.wMonth,
              t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  FILETIME stamp;
  if (!SystemTimeToFileTime(&t, &stamp)) {
    std::printf("error bad SystemTime\n");
    return false;
  }
  sample->stamp = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(stamp.dwHighDateTime) << 32) | stamp.dwLowDateTime);

  std::size_t object = header.HeaderLength;
  for (DWORD i = 0; i < header.NumObjectTypes; ++i) {
    if (!Fits<PERF_OBJECT_TYPE>(block, object)) {
      std::printf("error object %lu outside the block\n", i);
      return false;
    }
    const auto type = At<PERF_OBJECT_TYPE>(block, object);
    if (type.ObjectNameTitleIndex != kProcessorObject) {
      std::printf("object index=%lu (skipped)\n", type.ObjectNameTitleIndex);
      object += type.TotalByteLength;
      continue;
    }
    std::size_t counter = object + type.HeaderLength;
    DWORD idleOffset = 0;
    bool found = false;
    for (DWORD c = 0; c < type.NumCounters && !found; ++c) {
      if (!Fits<PERF_COUNTER_DEFINITION>(block, counter)) {
        std::printf("error counter definition %lu outside the block\n", c);
        return false;
      }
      const auto definition = At<PERF_COUNTER_DEFINITION>(block, counter);
      if (definition.CounterNameTitleIndex == kIdleCounter) {
        idleOffset = definition.CounterOffset;
        found = true;
      }
      counter += definition.ByteLength;
    }
    std::printf("object index=%lu counters=%lu instances=%ld idle_offset=%lu\n",
                type.ObjectNameTitleIndex, type.NumCounters, type.NumInstances, idleOffset);
    sample->objectTime = type.PerfTime.QuadPart;
    if (!found) {
      std::printf("error no idle counter\n");
      return false;
    }
    std::size_t instance = object + type.DefinitionLength;
    for (LONG n = 0; n < type.NumInstances; ++n) {
      if (!Fits<PERF_INSTANCE_DEFINITION>(block, instance)) {
        std::printf("error instance %ld outside the block\n", n);
        return false;
      }
      const auto definition = At<PERF_INSTANCE_DEFINITION>(block, instance);
      const std::size_t values = instance + definition.ByteLength;
      if (!Fits<PERF_COUNTER_BLOCK>(block, values) || !Fits<LONGLONG>(block, values + idleOffset)) {
        std::printf("error counters of instance %ld outside the block\n", n);
        return false;
      }
      Instance entry;
      entry.name = Narrow(block, instance + definition.NameOffset, definition.NameLength);
      entry.idle = At<LONGLONG>(block, values + idleOffset);
      std::printf("instance name=%s idle=%lld\n", entry.name.c_str(),
                  static_cast<long long>(entry.idle));
      sample->instances.push_back(entry);
      instance = values + At<PERF_COUNTER_BLOCK>(block, values).ByteLength;
    }
    return true;
  }
  std::printf("error no Processor object\n");
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const int samples = argc > 1 ? std::atoi(argv[1]) : 2;
  const int interval = argc > 2 ? std::atoi(argv[2]) : 1000;
  Sample previous;
  std::vector<BYTE> buffer;
  for (int n = 0; n < samples; ++n) {
    if (n > 0) Sleep(static_cast<DWORD>(interval));
    std::vector<BYTE> block;
    Sample sample;
    if (!Query(&buffer, &block) || !Parse(block, &sample)) return 1;
    if (n > 0 && sample.instances.size() == previous.instances.size() &&
        sample.stamp != previous.stamp) {
      constexpr std::int64_t kTicksPerMillisecond = 10000;
      const double elapsed = static_cast<double>(sample.stamp - previous.stamp);
      for (std::size_t i = 0; i < sample.instances.size(); ++i) {
        const double idle =
            static_cast<double>(sample.instances[i].idle - previous.instances[i].idle);
        std::printf(
            "load name=%s percent=%.6f interval_ms=%lld data_age_ms=%lld\n",
            sample.instances[i].name.c_str(), 100.0 * (1.0 - idle / elapsed),
            static_cast<long long>((sample.stamp - previous.stamp) / kTicksPerMillisecond),
            static_cast<long long>((sample.stamp - sample.objectTime) / kTicksPerMillisecond));
      }
    }
    previous = sample;
  }
  std::fflush(stdout);
  return 0;
}
