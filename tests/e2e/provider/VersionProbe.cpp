// Reads an executable's identity the way Windows Explorer's properties page does, for the package
// check (tests/e2e/package.sh): the fixed version numbers and the strings of the version resource
// (GetFileVersionInfo, VerQueryValue), then the application manifest (resource 1 of type
// RT_MANIFEST) as the loader would find it.
//
//   version_probe.exe PATH
//
// Output, one item a line:
//   fixed FILE PRODUCT                  the numeric versions, "a.b.c.d"
//   translation LANG CODEPAGE           in hexadecimal, as the string block is named
//   string NAME=VALUE                   each of the standard names the block holds
//   manifest BYTES                      then the manifest's text as it is stored
// Exits 1 when the file has no version resource, 2 on a usage error; a missing manifest prints
// "manifest none".

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

const char* const kNames[] = {"CompanyName",  "FileDescription", "FileVersion",
                              "InternalName", "LegalCopyright",  "OriginalFilename",
                              "ProductName",  "ProductVersion"};

void PrintManifest(const char* path) {
  HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : nullptr;
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data == nullptr) {
    std::printf("manifest none\n");
  } else {
    const DWORD size = SizeofResource(module, found);
    std::printf("manifest %lu\n", static_cast<unsigned long>(size));
    std::fwrite(data, 1, size, stdout);
    std::printf("\n");
  }
  if (module) FreeLibrary(module);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: version_probe.exe PATH\n");
    return 2;
  }
  const char* path = argv[1];
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoA(path, 0, size, block.data())) {
    std::printf("no version resource (error %lu)\n", static_cast<unsigned long>(GetLastError()));
    return 1;
  }

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) &&
      length >= sizeof(VS_FIXEDFILEINFO)) {
    std::printf("fixed %u.%u.%u.%u %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                LOWORD(fixed->dwFileVersionLS), HIWORD(fixed->dwProductVersionMS),
                LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                LOWORD(fixed->dwProductVersionLS));
  }

  // The strings live in the block named after the first translation listed.
  WORD* translation = nullptr;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < 2 * sizeof(WORD)) {
    std::printf("translation none\n");
  } else {
    std::printf("translation %04x %04x\n", translation[0], translation[1]);
    for (const char* name : kNames) {
      char query[96];
      std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation[0],
                    translation[1], name);
      char* value = nullptr;
      if (VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &length) &&
          value != nullptr) {
        std::printf("string %s=%s\n", name, value);
      }
    }
  }

  PrintManifest(path);
  return 0;
}
