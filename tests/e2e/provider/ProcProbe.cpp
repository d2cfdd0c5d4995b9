// Reads what Windows tells about one process's resources and prints it on one line, so that a
// long run of the program can be watched from outside (tools/soak.sh).
//
//   proc_probe.exe PID|NAME
//
// PID is the Windows process id (decimal); NAME an executable's file name ("Tamik.exe"), looked up
// among the running processes (the first one found). Output, one line:
//   pid=1234 handles=56 gdi=12 user=34 private_bytes=5107712 pagefile_bytes=5107712
//   working_set=9433088   (on one line)
// A figure that the system refuses to give is printed as -1. Wine 8 answers the handle count and
// the private bytes with 0, and refuses the GDI and USER object counts (tools/soak.sh,
// docs/SOAK.md). Exit code 0 when the process could be opened, 1 otherwise.

#include <windows.h>
// After windows.h, which defines the types they use.
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsNumber(const char* text) {
  if (*text == '\0') return false;
  for (; *text != '\0'; ++text) {
    if (*text < '0' || *text > '9') return false;
  }
  return true;
}

DWORD FindByName(const char* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  DWORD found = 0;
  for (BOOL more = Process32First(snapshot, &entry); more && found == 0;
       more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, name) == 0) found = entry.th32ProcessID;
  }
  CloseHandle(snapshot);
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: proc_probe.exe PID|NAME\n");
    return 2;
  }
  const DWORD pid = IsNumber(argv[1]) ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10))
                                      : FindByName(argv[1]);
  HANDLE process =
      pid == 0 ? nullptr : OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (process == nullptr) {
    std::fprintf(stderr, "proc_probe: cannot open process %s\n", argv[1]);
    return 1;
  }

  long long handles = -1;
  DWORD handleCount = 0;
  if (GetProcessHandleCount(process, &handleCount)) handles = handleCount;

  // GetGuiResources answers 0 both for "none" and on failure; the last error tells them apart.
  SetLastError(0);
  long long gdi = GetGuiResources(process, GR_GDIOBJECTS);
  if (gdi == 0 && GetLastError() != 0) gdi = -1;
  SetLastError(0);
  long long user = GetGuiResources(process, GR_USEROBJECTS);
  if (user == 0 && GetLastError() != 0) user = -1;

  long long privateBytes = -1;
  long long pagefileBytes = -1;
  long long workingSet = -1;
  PROCESS_MEMORY_COUNTERS_EX memory;
  std::memset(&memory, 0, sizeof memory);
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    privateBytes = static_cast<long long>(memory.PrivateUsage);
    pagefileBytes = static_cast<long long>(memory.PagefileUsage);
    workingSet = static_cast<long long>(memory.WorkingSetSize);
  }
  CloseHandle(process);

  std::printf(
      "pid=%lu handles=%lld gdi=%lld user=%lld private_bytes=%lld pagefile_bytes=%lld "
      "working_set=%lld\n",
      static_cast<unsigned long>(pid), handles, gdi, user, privateBytes, pagefileBytes, workingSet);
  return 0;
}
