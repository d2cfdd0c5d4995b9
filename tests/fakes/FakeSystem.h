#pragma once
// An in-memory system: the version answer is what the test sets, and the query can be made to
// fail; the executable's path, the decimal separator and the tick count are what the test sets.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/System.h"

class FakeSystem : public platform::ISystem {
 public:
  // Answers Windows NT (platform id 2) by default.
  FakeSystem() { SetVersion(platform::kVerPlatformWin32Nt, 5, 1, 2600); }

  void SetVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor,
                  std::uint32_t build, const char* csdVersion = "") {
    version = platform::OsVersionInfo{};
    version.platformId = platformId;
    version.majorVersion = major;
    version.minorVersion = minor;
    version.buildNumber = build;
    std::strncpy(version.csdVersion, csdVersion, sizeof(version.csdVersion) - 1);
  }

  // Like GetVersionExA: fills every field but the size the caller set, or fails.
  bool GetVersionEx(platform::OsVersionInfo& info) override {
    ++versionQueries;
    lastVersionSize = info.size;
    if (failVersion) return false;
    const std::uint32_t size = info.size;
    info = version;
    info.size = size;
    return true;
  }

  std::string ExecutablePath() override { return executablePath; }
  char DecimalSeparator() override { return decimalSeparator; }
  std::uint32_t TickCount() override { return tickCount; }
  platform::MemoryStatus QueryMemoryStatus() override { return memory; }

  // Priorities and sleeps are recorded in `calls` ("SetPriorityClass 256", "Sleep 10", ...); the
  // time-stamp counter advances by `ticksPerMillisecond` for every millisecond slept.
  std::uint32_t PriorityClass() override { return priorityClass; }
  void SetPriorityClass(std::uint32_t value) override {
    calls.push_back("SetPriorityClass " + std::to_string(value));
    priorityClass = value;
  }
  int ThreadPriority() override { return threadPriority; }
  void SetThreadPriority(int value) override {
    calls.push_back("SetThreadPriority " + std::to_string(value));
    threadPriority = value;
  }
  void Sleep(std::uint32_t milliseconds) override {
    calls.push_back("Sleep " + std::to_string(milliseconds));
    counter += ticksPerMillisecond * milliseconds;
  }
  std::uint64_t TimeStampCounter() override {
    calls.push_back("TimeStampCounter");
    return counter;
  }

  platform::OsVersionInfo version;
  bool failVersion = false;
  int versionQueries = 0;
  std::uint32_t lastVersionSize = 0;
  std::string executablePath = "C:\\Program Files\\Tamik\\Tamik.exe";
  char decimalSeparator = '.';
  std::uint32_t tickCount = 0;
  platform::MemoryStatus memory;
  std::uint32_t priorityClass = platform::kNormalPriorityClass;
  int threadPriority = platform::kThreadPriorityNormal;
  std::uint64_t counter = 0;
  std::uint64_t ticksPerMillisecond = 0;
  std::vector<std::string> calls;
};
