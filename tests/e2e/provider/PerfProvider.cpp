// A performance-data provider for the end-to-end tests: it serves the "Processor" object (title
// index 238) with one instance per processor plus "_Total", each carrying the running idle time
// (counter title index 6, 100-nanosecond units) from which a monitoring program works out loads.
//
// Wine calls Open, Collect and Close of every provider registered under
// HKLM\System\CurrentControlSet\Services\<name>\Performance for each query of the performance-data
// root, loading the library for the query and unloading it afterwards. The library keeps nothing
// in memory from one query to the next (it pins itself only to make the unloading cheap, see
// PinLibrary); what must survive lives in files beside it:
//
//   provider.txt    written by the tests: "live", or "scripted" followed by one load per
//                   processor in percent ("scripted 50 25"; decimals allowed). Read at every query,
//                   so a test may change the loads while the program runs.
//   provider.state  written here at every query served: "queries N" (how many so far) and
//                   "lag L M" (the last and the largest number of milliseconds by which Wine's
//                   stamp of a block followed the provider's clock reading for it).
//
// Live mode serves the machine's real totals (Wine answers them from /proc/stat).
//
// Scripted mode. A program works a load out as 1 - (idle advance) / (stamp advance) between its
// last two blocks, the stamp being the block header's SystemTime. Wine 8 writes that stamp itself,
// in whole milliseconds, after every provider has returned, so the provider cannot know the stamp
// of the block it is filling. It can know everything about the program's previous block: a
// program hands in the same buffer query after query, Wine rewrites the header's SystemTime only
// after collection, and the object that the provider wrote last time is still in place. So the
// provider reads the previous stamp and the previous idle totals from the buffer and advances
// each total by (1 - load) times the time from that stamp to its own clock reading, in whole
// milliseconds, taken as late as possible; the object's PerfTime carries that reading, so that a
// reader can see how much older than its stamp the data is. Wine's new stamp comes from the same
// clock a little later, so the load the program computes is the scripted one or slightly more,
// never less: for a whole-number load and a one-second interval it truncates to exactly the
// scripted percentage unless Wine's stamp lags by more than 1 / (1 - load) percent of the
// interval (20 ms at 50 %).
// A buffer without a previous block (the program's first query) gets idle totals of zero, the
// base for the next query.
//
// Wine 8 also hands the provider a pointer sizeof(PERF_DATA_BLOCK) = 88 bytes past the place where
// the program looks for the first object type (block start + HeaderLength). The provider finds the
// block's header in front of the pointer, sees which of the two places the header designates, and
// writes there, so it serves a correct block on a Wine with or without that displacement.

#include <windows.h>
#include <winperf.h>
#include <winternl.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kProcessorObject = 238;
constexpr DWORD kProcessorObjectHelp = 239;
constexpr DWORD kProcessorTimeCounter = 6;  // "% Processor Time": idle time, inverted timer
constexpr DWORD kProcessorTimeHelp = 7;
constexpr DWORD kUserTimeCounter = 142;  // "% User Time": listed first, so readers must walk
constexpr DWORD kUserTimeHelp = 143;
constexpr DWORD kCounterCount = 2;
constexpr std::int64_t kTicksPerMillisecond = 10000;  // 100-nanosecond units
constexpr std::int64_t kTicksPerSecond = 1000 * kTicksPerMillisecond;
constexpr std::size_t kMaxProcessors = 64;

// The share of busy time that is served as user time. Deliberately not 1/2, so that a reader that
// took the user-time counter for the idle counter shows a wrong load.
constexpr double kUserShareOfBusy = 0.75;

enum class Mode { kNone, kLive, kScripted };

struct Script {
  Mode mode = Mode::kNone;
  std::vector<double> loads;  // scripted only: percent per processor
};

// The running totals of one block, 100-nanosecond units, one entry per processor.
struct Totals {
  std::int64_t stamp = 0;  // the provider's clock reading for the block
  std::vector<std::int64_t> idle;
  std::vector<std::int64_t> user;
};

struct State {
  std::int64_t queries = 0;
  std::int64_t lastLag = 0;  // milliseconds
  std::int64_t largestLag = 0;
};

// ---- Files beside the library ------------------------------------------------------------------

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// The folder holding this library, with a trailing backslash.
std::wstring ModuleFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(ThisModule(), path, MAX_PATH);
  const std::wstring file(path, length);
  const std::size_t slash = file.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash + 1);
}

bool ReadText(const std::wstring& path, std::string* text) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return false;
  char chunk[512];
  std::size_t count = 0;
  text->clear();
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) text->append(chunk, count);
  std::fclose(file);
  return true;
}

// Replaces the file in one step, so that a reader polling it never sees half of it.
bool WriteText(const std::wstring& path, const std::string& text) {
  const std::wstring temporary = path + L".tmp";
  FILE* file = _wfopen(temporary.c_str(), L"wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) return false;
  return MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    const std::size_t start = at;
    while (at < text.size() && !std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    if (at > start) words.push_back(text.substr(start, at - start));
  }
  return words;
}

bool ParseNumber(const std::string& word, double* value) {
  char* end = nullptr;
  *value = std::strtod(word.c_str(), &end);
  return end != word.c_str() && *end == '\0' && std::isfinite(*value);
}

// An unreadable or malformed script serves nothing, so that a broken test set-up shows as the
// program's missing "Processor" object instead of as plausible-looking loads.
Script ReadScript(const std::wstring& folder) {
  Script script;
  std::string text;
  if (!ReadText(folder + L"provider.txt", &text)) return script;
  const std::vector<std::string> words = Words(text);
  if (words.size() == 1 && words[0] == "live") {
    script.mode = Mode::kLive;
  } else if (words.size() >= 2 && words.size() <= kMaxProcessors + 1 && words[0] == "scripted") {
    for (std::size_t i = 1; i < words.size(); ++i) {
      double load = 0;
      if (!ParseNumber(words[i], &load) || load < 0 || load > 100) return Script{};
      script.loads.push_back(load);
    }
    script.mode = Mode::kScripted;
  }
  return script;
}

// A missing or unreadable state starts afresh.
State ReadState(const std::wstring& folder) {
  State state;
  std::string text;
  if (!ReadText(folder + L"provider.state", &text)) return state;
  const std::vector<std::string> words = Words(text);
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "queries" && i + 1 < words.size()) {
      state.queries = std::strtoll(words[i + 1].c_str(), nullptr, 10);
    }
    if (words[i] == "lag" && i + 2 < words.size()) {
      state.lastLag = std::strtoll(words[i + 1].c_str(), nullptr, 10);
      state.largestLag = std::strtoll(words[i + 2].c_str(), nullptr, 10);
    }
  }
  return state;
}

bool WriteState(const std::wstring& folder, const State& state) {
  return WriteText(folder + L"provider.state", "queries " + std::to_string(state.queries) +
                                                   "\nlag " + std::to_string(state.lastLag) + " " +
                                                   std::to_string(state.largestLag) + "\n");
}

// ---- Time --------------------------------------------------------------------------------------

std::int64_t FileTimeTicks(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
}

// The present time as Wine stamps a block: UTC, truncated to whole milliseconds, in 100-ns units.
std::int64_t StampNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const std::int64_t ticks = FileTimeTicks(now);
  return ticks - ticks % kTicksPerMillisecond;
}

// The header's SystemTime in 100-ns units; 0 when it holds none.
std::int64_t HeaderStamp(const PERF_DATA_BLOCK& header) {
  FILETIME stamp;
  if (header.SystemTime.wYear == 0 || !SystemTimeToFileTime(&header.SystemTime, &stamp)) return 0;
  return FileTimeTicks(stamp);
}

// ---- The block's layout ------------------------------------------------------------------------

constexpr std::size_t Align8(std::size_t size) { return (size + 7) & ~static_cast<std::size_t>(7); }

// The counter block of every instance: its length, then the two 64-bit counters.
struct CounterValues {
  PERF_COUNTER_BLOCK block;
  DWORD padding;
  LONGLONG userTime;
  LONGLONG idleTime;
};
static_assert(offsetof(CounterValues, userTime) == 8 && offsetof(CounterValues, idleTime) == 16);

constexpr std::size_t kDefinitionLength =
    sizeof(PERF_OBJECT_TYPE) + kCounterCount * sizeof(PERF_COUNTER_DEFINITION);

std::wstring InstanceName(std::size_t index, std::size_t processors) {
  return index == processors ? std::wstring(L"_Total") : std::to_wstring(index);
}

std::size_t InstanceLength(const std::wstring& name) {
  return Align8(sizeof(PERF_INSTANCE_DEFINITION) + (name.size() + 1) * sizeof(wchar_t));
}

std::size_t ObjectLength(std::size_t processors) {
  std::size_t length = kDefinitionLength;
  for (std::size_t i = 0; i <= processors; ++i) {
    length += InstanceLength(InstanceName(i, processors)) + sizeof(CounterValues);
  }
  return length;
}

// Writes the "Processor" object at `out`, which has room for ObjectLength(processors) bytes.
void WriteObject(std::uint8_t* out, const Totals& totals) {
  const std::size_t processors = totals.idle.size();
  std::memset(out, 0, ObjectLength(processors));

  PERF_OBJECT_TYPE object = {};
  object.TotalByteLength = static_cast<DWORD>(ObjectLength(processors));
  object.DefinitionLength = static_cast<DWORD>(kDefinitionLength);
  object.HeaderLength = sizeof(PERF_OBJECT_TYPE);
  object.ObjectNameTitleIndex = kProcessorObject;
  object.ObjectHelpTitleIndex = kProcessorObjectHelp;
  object.DetailLevel = PERF_DETAIL_NOVICE;
  object.NumCounters = kCounterCount;
  object.DefaultCounter = 1;
  object.NumInstances = static_cast<LONG>(processors + 1);
  object.CodePage = 0;  // instance names are UTF-16
  object.PerfTime.QuadPart = totals.stamp;
  object.PerfFreq.QuadPart = kTicksPerSecond;
  std::memcpy(out, &object, sizeof object);
  std::size_t at = sizeof object;

  struct CounterLayout {
    DWORD title, help, type, offset;
  };
  const CounterLayout counters[kCounterCount] = {
      {kUserTimeCounter, kUserTimeHelp, PERF_100NSEC_TIMER, offsetof(CounterValues, userTime)},
      {kProcessorTimeCounter, kProcessorTimeHelp, PERF_100NSEC_TIMER_INV,
       offsetof(CounterValues, idleTime)},
  };
  for (const CounterLayout& layout : counters) {
    PERF_COUNTER_DEFINITION counter = {};
    counter.ByteLength = sizeof counter;
    counter.CounterNameTitleIndex = layout.title;
    counter.CounterHelpTitleIndex = layout.help;
    counter.DetailLevel = PERF_DETAIL_NOVICE;
    counter.CounterType = layout.type;
    counter.CounterSize = sizeof(LONGLONG);
    counter.CounterOffset = layout.offset;
    std::memcpy(out + at, &counter, sizeof counter);
    at += sizeof counter;
  }

  std::int64_t idleSum = 0;
  std::int64_t userSum = 0;
  for (std::size_t i = 0; i < processors; ++i) {
    idleSum += totals.idle[i];
    userSum += totals.user[i];
  }
  for (std::size_t i = 0; i <= processors; ++i) {
    const std::wstring name = InstanceName(i, processors);
    PERF_INSTANCE_DEFINITION instance = {};
    instance.ByteLength = static_cast<DWORD>(InstanceLength(name));
    instance.UniqueID = PERF_NO_UNIQUE_ID;
    instance.NameOffset = sizeof instance;
    instance.NameLength = static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t));
    std::memcpy(out + at, &instance, sizeof instance);
    std::memcpy(out + at + sizeof instance, name.c_str(), instance.NameLength);
    at += instance.ByteLength;

    // "_Total" carries the processors' average, as the system's own summary instance does.
    CounterValues values = {};
    values.block.ByteLength = sizeof values;
    const auto count = static_cast<std::int64_t>(processors);
    values.idleTime = i < processors ? totals.idle[i] : idleSum / count;
    values.userTime = i < processors ? totals.user[i] : userSum / count;
    std::memcpy(out + at, &values, sizeof values);
    at += sizeof values;
  }
}

// The totals of the object that WriteObject left at `in` for the program's previous query, when
// that object is there and lists `processors` processors; false otherwise.
bool ReadPreviousObject(const std::uint8_t* in, std::size_t room, std::size_t processors,
                        Totals* totals) {
  const std::size_t length = ObjectLength(processors);
  if (length > room) return false;
  PERF_OBJECT_TYPE object;
  std::memcpy(&object, in, sizeof object);
  if (object.ObjectNameTitleIndex != kProcessorObject || object.TotalByteLength != length ||
      object.DefinitionLength != kDefinitionLength ||
      object.NumInstances != static_cast<LONG>(processors + 1) ||
      object.PerfFreq.QuadPart != kTicksPerSecond) {
    return false;
  }
  totals->stamp = object.PerfTime.QuadPart;
  totals->idle.assign(processors, 0);
  totals->user.assign(processors, 0);
  std::size_t at = kDefinitionLength;
  for (std::size_t i = 0; i < processors; ++i) {
    at += InstanceLength(InstanceName(i, processors));
    CounterValues values;
    std::memcpy(&values, in + at, sizeof values);
    totals->idle[i] = values.idleTime;
    totals->user[i] = values.userTime;
    at += sizeof values;
  }
  return true;
}

// ---- Where to write ----------------------------------------------------------------------------

struct Placement {
  PERF_DATA_BLOCK header = {};
  std::uint8_t* firstObject = nullptr;  // null when no header was found
};

// Where the program will look for the first object type, given the pointer that Collect receives:
// the block's header lies in front of it, at a distance of exactly its HeaderLength (the documented
// contract) or of HeaderLength + 88 (Wine 8). The header is recognised by its signature, its
// fixed fields and a HeaderLength that matches the distance; the search moves away from the
// pointer one 8-byte step at a time, so it stops at the header before reading anything in front
// of it.
Placement FindPlacement(std::uint8_t* pointer) {
  constexpr std::size_t kDisplacement = sizeof(PERF_DATA_BLOCK);
  constexpr std::size_t kLongestHeader =
      sizeof(PERF_DATA_BLOCK) + Align8((MAX_COMPUTERNAME_LENGTH + 1) * sizeof(wchar_t));
  Placement placement;
  for (std::size_t distance = sizeof(PERF_DATA_BLOCK); distance <= kLongestHeader + kDisplacement;
       distance += 8) {
    PERF_DATA_BLOCK header;
    std::memcpy(&header, pointer - distance, sizeof header);
    if (std::wmemcmp(header.Signature, L"PERF", 4) != 0 || header.LittleEndian != 1 ||
        header.SystemNameOffset != sizeof(PERF_DATA_BLOCK)) {
      continue;
    }
    if (header.HeaderLength == distance) {
      placement.firstObject = pointer;
    } else if (header.HeaderLength + kDisplacement == distance) {
      placement.firstObject = pointer - kDisplacement;
    } else {
      continue;
    }
    placement.header = header;
    break;
  }
  return placement;
}

// Wine unloads the library after every query, between the provider's clock reading and Wine's
// stamp; pinned, the library stays mapped and the unloading costs nothing. It keeps no state in
// memory all the same.
void PinLibrary() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(&PinLibrary), &module);
}

// ---- Collection --------------------------------------------------------------------------------

// The machine's own totals, as the system reports them.
bool ReadLive(Totals* totals) {
  using QueryFunction = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return false;
  SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION info[kMaxProcessors] = {};
  ULONG returned = 0;
  if (query(SystemProcessorPerformanceInformation, info, sizeof info, &returned) < 0) return false;
  const std::size_t count = returned / sizeof info[0];
  if (count == 0) return false;
  totals->idle.resize(count);
  totals->user.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    totals->idle[i] = info[i].IdleTime.QuadPart;
    totals->user[i] = info[i].UserTime.QuadPart;
  }
  totals->stamp = StampNow();
  return true;
}

// Advances the previous block's totals by the scripted loads over the time since the program's
// previous stamp; without a previous block every total starts at zero.
Totals AdvanceScripted(const Script& script, bool havePrevious, const Totals& previous,
                       std::int64_t previousStamp) {
  const std::size_t count = script.loads.size();
  Totals totals;
  totals.idle.assign(count, 0);
  totals.user.assign(count, 0);
  totals.stamp = StampNow();
  if (!havePrevious) return totals;
  const auto elapsed = static_cast<double>(std::max<std::int64_t>(totals.stamp - previousStamp, 0));
  for (std::size_t i = 0; i < count; ++i) {
    const double busy = script.loads[i] / 100.0;
    totals.idle[i] = previous.idle[i] + std::llround(elapsed * (1.0 - busy));
    totals.user[i] = previous.user[i] + std::llround(elapsed * busy * kUserShareOfBusy);
  }
  return totals;
}

bool QueryWantsProcessor(const wchar_t* query) {
  if (query == nullptr || query[0] == L'\0' || std::wcscmp(query, L"Global") == 0) return true;
  const std::wstring list(query);
  std::size_t at = 0;
  while (at < list.size()) {
    const std::size_t end = std::min(list.find(L' ', at), list.size());
    if (list.compare(at, end - at, L"238") == 0) return true;
    at = end + 1;
  }
  return false;
}

DWORD Collect(LPWSTR query, LPVOID* data, LPDWORD size, LPDWORD objectCount) {
  PinLibrary();
  *objectCount = 0;
  const DWORD available = *size;
  *size = 0;
  // A query names the objects it wants: "Global" (everything), "Costly", "Foreign ..." or a
  // list of title indexes. Only the "Processor" object is served.
  if (!QueryWantsProcessor(query)) return ERROR_SUCCESS;
  std::uint8_t* const pointer = static_cast<std::uint8_t*>(*data);
  const Placement placement = FindPlacement(pointer);
  if (placement.firstObject == nullptr) return ERROR_SUCCESS;
  const std::size_t room = available + static_cast<std::size_t>(pointer - placement.firstObject);
  const std::wstring folder = ModuleFolder();
  const Script script = ReadScript(folder);
  if (script.mode == Mode::kNone) return ERROR_SUCCESS;

  Totals totals;
  if (script.mode == Mode::kLive && !ReadLive(&totals)) return ERROR_SUCCESS;
  const std::size_t processors =
      script.mode == Mode::kScripted ? script.loads.size() : totals.idle.size();
  const std::size_t length = ObjectLength(processors);
  if (length > room) return ERROR_MORE_DATA;

  // In scripted mode everything that takes time happens before the clock is read for the new
  // block, to keep the lag behind Wine's stamp short.
  const std::int64_t previousStamp = HeaderStamp(placement.header);
  Totals previous;
  const bool havePrevious =
      script.mode == Mode::kScripted && previousStamp != 0 &&
      ReadPreviousObject(placement.firstObject, room, processors, &previous) &&
      previousStamp >= previous.stamp;
  State state = ReadState(folder);
  ++state.queries;
  if (havePrevious) {
    state.lastLag = (previousStamp - previous.stamp) / kTicksPerMillisecond;
    state.largestLag = std::max(state.largestLag, state.lastLag);
  }
  if (!WriteState(folder, state)) return ERROR_SUCCESS;
  if (script.mode == Mode::kScripted) {
    totals = AdvanceScripted(script, havePrevious, previous, previousStamp);
  }
  WriteObject(placement.firstObject, totals);
  *data = placement.firstObject + length;
  *size = static_cast<DWORD>(length);
  *objectCount = 1;
  return ERROR_SUCCESS;
}

}  // namespace

extern "C" {

__attribute__((dllexport)) DWORD WINAPI OpenPerfData(LPWSTR /*deviceNames*/) {
  return ERROR_SUCCESS;
}

__attribute__((dllexport)) DWORD WINAPI CollectPerfData(LPWSTR query, LPVOID* data, LPDWORD size,
                                                        LPDWORD objectCount) {
  try {
    return Collect(query, data, size, objectCount);
  } catch (...) {
    // Nothing may escape into the caller's frames; serve nothing instead.
    *size = 0;
    *objectCount = 0;
    return ERROR_SUCCESS;
  }
}

__attribute__((dllexport)) DWORD WINAPI ClosePerfData() { return ERROR_SUCCESS; }

}  // extern "C"
