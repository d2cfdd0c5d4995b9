#pragma once
// The measured operations of the refresh tick, each set up once on the in-memory ports and then
// run as often as a benchmark (or a profiler run) asks:
// - the walk of a performance-data block, alone and as the sampler takes it from the registry;
// - one drawing of a bar, at the sizes the program's windows use;
// - one whole refresh tick of the main window for two processors.
//
// Each scenario's Run() does exactly one operation and keeps the state an ordinary run of the
// program would keep, so that its second and later runs are what every later tick costs.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Tamik.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/PerfDataBuilder.h"
#include "framework/Forms.h"
#include "gauge/RarBar.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "sampler/CpuUsage.h"

namespace bench {

// The fake window system with one change: a window takes a copied picture row by row, clipped once,
// as the platform's blit does, rather than pixel by pixel with a clip test each. The recording
// fake's per-pixel copy costs more than the drawing it receives and would measure the fake; the
// real blit's cost belongs to the whole-program figures under Wine.
class BlitWindowSystem : public FakeWindowSystem {
 public:
  std::unique_ptr<platform::IWindowPeer> CreateWindowPeer(const platform::WindowParams& params,
                                                          platform::IWindowEvents& events) override;

 private:
  std::uintptr_t nextHandle_ = 0x8000;
};

// A performance-data block with `instances` processor instances (no summary instance), as the
// performance-data root answers it.
std::vector<std::uint8_t> ProcessorBlock(int instances);

// The walk of one block exactly as a sample makes it: header, "Processor" object, idle-time
// counter, the instances checked, then read. Nothing is queried and no sampler state changes.
class ParseScenario {
 public:
  explicit ParseScenario(int instances);
  // Returns the sum of the counters read, so that the walk cannot be optimised away.
  std::int64_t Run();

 private:
  std::vector<std::uint8_t> block_;
  std::vector<std::int64_t> counts_;
};

// CpuUsage::TakeLoadSample on the fake registry: one performance query (the fake copies the
// block into the sampler's buffer) and the walk.
class SampleScenario {
 public:
  explicit SampleScenario(int instances);
  void Run();
  CpuUsage& Sampler() { return *sampler_; }

 private:
  FakeRegistry registry_;
  FakeSystem system_;
  std::unique_ptr<CpuUsage> sampler_;
};

// One DrawBar of a bar of the given size at a fixed Progress. With a parent form the bar sits on
// a shown form of the blit window system, as the bars of the program's windows do, and each
// drawing ends in one copy to that window; without one the picture stays in the bar's image, as for
// a bar created by code.
class BarScenario {
 public:
  struct Shape {
    int width = 60;
    int height = 180;
    int progress = 0;
    bool parented = false;
  };
  explicit BarScenario(const Shape& shape);
  ~BarScenario();
  void Run();
  TRarBar& Bar() { return *bar_; }

 private:
  BlitWindowSystem windows_;
  std::unique_ptr<TApplication> application_;
  TRarBar* bar_ = nullptr;  // owned by the form, or by orphan_
  std::unique_ptr<TRarBar> orphan_;
};

// The fake registry with performance data that moves on from one query to the next as a running
// system's does: each answer is stamped one refresh interval after the previous one, and every
// processor's idle counter advances by the idle time of a load that changes from tick to tick.
// Everything else is the fake's. The stamping rewrites a few fields of the caller's buffer in
// place and allocates nothing.
class AdvancingRegistry : public FakeRegistry {
 public:
  // Serves the block that `builder` builds, moving on by `intervalMs` per answer.
  AdvancingRegistry(perfblock::PerfDataBuilder& builder, std::uint32_t intervalMs);

  platform::RegResult QueryValue(platform::RegKey key, const char* valueName, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) override;

  // The load in percent that processor `processor` shows in answer `tick`.
  static int LoadAt(std::uint64_t tick, int processor);

 private:
  void Stamp(std::uint8_t* data, std::uint32_t size);

  std::vector<std::size_t> idleOffsets_;  // where each processor's idle counter lies
  std::vector<std::int64_t> idle_;        // each processor's idle total so far
  std::uint32_t intervalMs_;
  std::uint64_t tick_ = 0;
};

// The shell as the notification-area icon sees it: every request accepted, nothing kept (a
// recording fake would grow its record at every tick and measure itself).
class AcceptingShell : public platform::IShell {
 public:
  bool NotifyIcon(std::uint32_t, const platform::NotifyIconData&) override { return true; }
  bool Execute(platform::WindowHandle, const std::string&, const std::string&, int) override {
    return true;
  }
};

// One refresh tick of the main window, 2 processors, delivered as the platform timer delivers
// it (through the application's error boundary): a sample, two loads, two bar writes, each
// redrawing its bar and copying it to the shown window, and the new uptime text (the clock moves
// on by the interval, one second) given to the notification-area icon, which tells the shell.
class TickScenario {
 public:
  TickScenario();
  ~TickScenario();
  void Run();
  TMainForm& Form() { return *form_; }

 private:
  std::unique_ptr<AdvancingRegistry> registry_;
  FakeSystem system_;
  BlitWindowSystem windows_;
  AcceptingShell shell_;
  std::unique_ptr<CpuUsage> sampler_;
  std::unique_ptr<TApplication> application_;
  TMainForm* form_ = nullptr;
  platform::ITimerEvents* timer_ = nullptr;
};

// The scenarios by name, for the profiling mode of the benchmark program: "parse/64",
// "sample/2", "bar/63x100@50", "bar-parented/63x100@50", "tick". Null for an unknown name.
class AnyScenario {
 public:
  virtual ~AnyScenario() = default;
  virtual void Run() = 0;
};
std::unique_ptr<AnyScenario> MakeScenario(const std::string& name);

}  // namespace bench
