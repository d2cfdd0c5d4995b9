#include "bench/Scenarios.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/Windowing.h"
#include "sampler/PerfData.h"

namespace bench {

namespace {

// Windows 7, Wine's default answer: the processor count needs no correction.
void AnswerWindows7(FakeSystem& system) {
  system.SetVersion(platform::kVerPlatformWin32Nt, 6, 1, 7601);
}

// The bar's font as the main window's layout gives it.
void UseLayoutFont(TRarBar& bar) {
  TFont* font = bar.Font();
  font->SetColor(clPurple);
  font->SetHeight(-9);
  font->SetName("Small Fonts");
  font->SetStyle({fsBold});
}

void PutLittleEndian(std::uint8_t* data, std::size_t offset, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) data[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

class BlitWindowPeer : public FakeWindowPeer {
 public:
  using FakeWindowPeer::FakeWindowPeer;

  void CopyPixels(int l, int t, int w, int h, const std::uint32_t* pixels, int stride) override {
    ++copies;
    const int x0 = std::max(l, 0);
    const int y0 = std::max(t, 0);
    const int x1 = std::min(l + w, width);
    const int y1 = std::min(t + h, height);
    if (pixels == nullptr || x0 >= x1 || y0 >= y1) return;
    for (int y = y0; y < y1; ++y) {
      const std::uint32_t* from = pixels + static_cast<std::size_t>(y - t) * stride + (x0 - l);
      std::copy(from, from + (x1 - x0),
                surface.begin() + static_cast<std::ptrdiff_t>(y) * width + x0);
    }
  }
};

}  // namespace

std::unique_ptr<platform::IWindowPeer> BlitWindowSystem::CreateWindowPeer(
    const platform::WindowParams& params, platform::IWindowEvents& events) {
  auto peer = std::make_unique<BlitWindowPeer>(params, &events, nextHandle_++);
  windows.push_back(peer.get());
  return peer;
}

std::vector<std::uint8_t> ProcessorBlock(int instances) {
  return perfblock::PerfDataBuilder(instances, /*withTotal=*/false).Build();
}

// ---------------------------------------------------------------------------------------------

ParseScenario::ParseScenario(int instances)
    : block_(ProcessorBlock(instances)), counts_(static_cast<std::size_t>(instances)) {}

std::int64_t ParseScenario::Run() {
  // The steps of a sample, in its order: every step checked before anything is read out.
  const perfdata::Bytes block(block_.data(), block_.size());
  perfdata::DataBlock header;
  if (perfdata::ReadDataBlock(block, header) != perfdata::Status::kOk) return -1;
  perfdata::ObjectType object;
  if (perfdata::FindObjectType(block, header, perfdata::kProcessorObjectTitleIndex, object) !=
      perfdata::Status::kOk) {
    return -1;
  }
  perfdata::CounterDefinition counter;
  if (perfdata::FindCounter(block, object, perfdata::kProcessorTimeCounterTitleIndex, counter) !=
      perfdata::Status::kOk) {
    return -1;
  }
  const auto slots = static_cast<std::int32_t>(counts_.size());
  if (perfdata::CheckInstances(block, object, counter, slots) != perfdata::Status::kOk) return -1;
  perfdata::InstanceWalk walk = perfdata::BeginInstances(object, counter);
  std::int64_t sum = header.fileTime;
  for (std::int32_t i = 0; i < slots; ++i) {
    std::int64_t value = 0;
    static_cast<void>(perfdata::NextInstance(block, walk, value));
    counts_[static_cast<std::size_t>(i)] = value;
    sum += value;
  }
  return sum;
}

// ---------------------------------------------------------------------------------------------

SampleScenario::SampleScenario(int instances) {
  AnswerWindows7(system_);
  registry_.SetPerformanceData(ProcessorBlock(instances));
  sampler_ = std::make_unique<CpuUsage>(registry_, system_);
  // The first sample learns the slots and grows the buffer to the block's size; the second
  // fills "previous". Every later sample is an ordinary one.
  sampler_->TakeLoadSample();
  sampler_->TakeLoadSample();
}

void SampleScenario::Run() { sampler_->TakeLoadSample(); }

// ---------------------------------------------------------------------------------------------

BarScenario::BarScenario(const Shape& shape) {
  if (shape.parented) {
    application_ = std::make_unique<TApplication>(TApplication::Ports{&windows_, {}});
    TForm* form = application_->CreateForm<TForm>();
    TControl& window = *form;
    window.SetBounds(0, 0, shape.width, shape.height);
    form->Show();
    bar_ = new TRarBar(form);
    bar_->SetParent(form);
  } else {
    orphan_ = std::make_unique<TRarBar>(nullptr);
    bar_ = orphan_.get();
  }
  TControl& control = *bar_;
  control.SetBounds(0, 0, shape.width, shape.height);
  UseLayoutFont(*bar_);
  bar_->SetColor(clWhite);
  // The first drawing sizes the image and the canvas's scratch space.
  bar_->SetProgress(shape.progress);
}

BarScenario::~BarScenario() = default;

void BarScenario::Run() { bar_->DrawBar(); }

// ---------------------------------------------------------------------------------------------

AdvancingRegistry::AdvancingRegistry(perfblock::PerfDataBuilder& builder, std::uint32_t intervalMs)
    : intervalMs_(intervalMs) {
  const std::vector<std::uint8_t> block = builder.Build();
  const perfblock::ObjectLayout& layout = builder.ProcessorLayout();
  const std::uint32_t counterOffset = perfblock::Get32(
      block, layout.counters.at(builder.IdleCounterIndex()) + perfblock::kCounterOffset);
  for (const std::size_t counterBlock : layout.counterBlocks) {
    idleOffsets_.push_back(counterBlock + counterOffset);
  }
  idle_.assign(idleOffsets_.size(), 0);
  SetPerformanceData(block);
}

int AdvancingRegistry::LoadAt(std::uint64_t tick, int processor) {
  // Every load from 0 to 100 % in turn, the processors out of step with each other.
  return static_cast<int>((tick * 37 + static_cast<std::uint64_t>(processor) * 50) % 101);
}

void AdvancingRegistry::Stamp(std::uint8_t* data, std::uint32_t size) {
  const std::uint64_t tick = tick_++;
  // The time the block was assembled: 2024-03-01 00:00:00 UTC plus one interval per answer
  // (the day of the month wraps after 28 days, far beyond any run).
  const std::uint64_t ms = tick * intervalMs_;
  const std::uint64_t seconds = ms / 1000;
  const std::uint16_t fields[8] = {2024,
                                   3,
                                   5,
                                   static_cast<std::uint16_t>(1 + seconds / 86400 % 28),
                                   static_cast<std::uint16_t>(seconds / 3600 % 24),
                                   static_cast<std::uint16_t>(seconds / 60 % 60),
                                   static_cast<std::uint16_t>(seconds % 60),
                                   static_cast<std::uint16_t>(ms % 1000)};
  if (size >= perfblock::kBlockSystemTime + sizeof(fields)) {
    for (int i = 0; i < 8; ++i) {
      PutLittleEndian(data, perfblock::kBlockSystemTime + 2 * i, fields[i], 2);
    }
  }
  // 1 % of an interval of `intervalMs_` milliseconds is intervalMs_ * 100 units of 100 ns.
  for (std::size_t i = 0; i < idleOffsets_.size(); ++i) {
    idle_[i] +=
        static_cast<std::int64_t>(100 - LoadAt(tick, static_cast<int>(i))) * intervalMs_ * 100;
    if (idleOffsets_[i] + 8 <= size) {
      PutLittleEndian(data, idleOffsets_[i], static_cast<std::uint64_t>(idle_[i]), 8);
    }
  }
}

platform::RegResult AdvancingRegistry::QueryValue(platform::RegKey key, const char* valueName,
                                                  std::uint32_t* type, std::uint8_t* data,
                                                  std::uint32_t* size) {
  const platform::RegResult result = FakeRegistry::QueryValue(key, valueName, type, data, size);
  if (key == platform::kHkeyPerformanceData && result == platform::kErrorSuccess &&
      data != nullptr && size != nullptr) {
    Stamp(data, *size);
  }
  return result;
}

// ---------------------------------------------------------------------------------------------

TickScenario::TickScenario() {
  perfblock::PerfDataBuilder builder(2, /*withTotal=*/false);
  registry_ = std::make_unique<AdvancingRegistry>(builder, 1000);
  AnswerWindows7(system_);

  sampler_ = std::make_unique<CpuUsage>(*registry_, system_);
  TApplication::Ports ports;
  ports.Windows = &windows_;
  ports.Shell = &shell_;
  application_ = std::make_unique<TApplication>(ports);
  application_->SetTitle(kApplicationTitle);
  form_ = application_->CreateForm<TMainForm>(*sampler_, system_);
  // Shown as the message loop shows it, so that every drawing is copied to the window.
  form_->Show();
  // With its icon in the notification area (the options' tray setting), so that each tick's new
  // uptime text goes on to the shell.
  form_->TrayIcon1->SetActive(true);
  if (windows_.timers.size() == 1) timer_ = windows_.timers.begin()->second.events;
  // The first ticks size the bars' images and the canvases' scratch space; an ordinary tick
  // follows many others.
  for (int i = 0; i < 4; ++i) Run();
}

TickScenario::~TickScenario() {
  // The window goes before the sampler it uses.
  application_.reset();
}

void TickScenario::Run() {
  system_.tickCount += 1000;
  if (timer_ != nullptr) {
    timer_->TimerFired();
  } else {
    form_->Timer1->Tick();
  }
}

// ---------------------------------------------------------------------------------------------

namespace {

template <class S>
class Adapter : public AnyScenario {
 public:
  template <class... Args>
  explicit Adapter(Args&&... args) : scenario_(std::forward<Args>(args)...) {}
  void Run() override { Sink(scenario_); }

 private:
  static void Sink(ParseScenario& scenario) {
    volatile std::int64_t result = scenario.Run();
    static_cast<void>(result);
  }
  template <class T>
  static void Sink(T& scenario) {
    scenario.Run();
  }
  S scenario_;
};

}  // namespace

std::unique_ptr<AnyScenario> MakeScenario(const std::string& name) {
  int a = 0, b = 0, c = 0;
  char form[8] = {};
  if (name == "tick") return std::make_unique<Adapter<TickScenario>>();
  if (std::sscanf(name.c_str(), "parse/%d", &a) == 1 && a > 0) {
    return std::make_unique<Adapter<ParseScenario>>(a);
  }
  if (std::sscanf(name.c_str(), "sample/%d", &a) == 1 && a > 0) {
    return std::make_unique<Adapter<SampleScenario>>(a);
  }
  const int fields = std::sscanf(name.c_str(), "bar/%dx%d/%d/%7s", &a, &b, &c, form);
  if (fields >= 3 && a > 0 && b > 0) {
    BarScenario::Shape shape{a, b, c, fields == 4 && std::string(form) == "form"};
    return std::make_unique<Adapter<BarScenario>>(shape);
  }
  return nullptr;
}

}  // namespace bench
