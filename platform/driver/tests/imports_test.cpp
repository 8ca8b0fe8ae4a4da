// The driver imports only what the Windows kernel exports. Wine's ntoskrnl exports
// more (IoCreateDeviceSecure, for one, which on Windows is a WDK static library), so
// a driver that loads here may still fail to load on Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// Exports of ntoskrnl.exe on 64-bit Windows 7 and later that a disk driver of this
// kind may use. A new import must be checked against the kernel before it goes here.
const std::set<std::string> kKernelExports = {
    "ExAllocatePoolWithTag",
    "ExFreePoolWithTag",
    "IoCreateDevice",
    "IoDeleteDevice",
    "IofCompleteRequest",
    "KeAreAllApcsDisabled",
    "KeAcquireSpinLockRaiseToDpc",
    "KeReleaseSpinLock",
    "KeInitializeMutex",
    "KeReleaseMutex",
    "KeInitializeSemaphore",
    "KeReleaseSemaphore",
    "KeWaitForSingleObject",
    "MmMapLockedPagesSpecifyCache",
    "ObOpenObjectByPointer",
    "PsCreateSystemThread",
    "PsTerminateSystemThread",
    "RtlAddAccessAllowedAce",
    "RtlAnsiStringToUnicodeString",
    "RtlCreateAcl",
    "RtlCreateSecurityDescriptor",
    "RtlFreeUnicodeString",
    "RtlInitUnicodeString",
    "RtlInitializeSid",
    "RtlSetDaclSecurityDescriptor",
    "RtlSubAuthoritySid",
    "ZwClose",
    "ZwCreateDirectoryObject",
    "ZwCreateFile",
    "ZwFlushBuffersFile",
    "ZwQueryInformationFile",
    "ZwReadFile",
    "ZwSetSecurityObject",
    "ZwWaitForSingleObject",
    "ZwWriteFile",
    "memcpy",
    "memmove",
    "memset",
};

std::string Folder() {
  char path[MAX_PATH];
  std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of('\\') + 1);
}

// "dll!function" for every import of the image by name; "!" alone for a malformed one.
std::vector<std::string> Imports(const std::vector<char>& file) {
  auto at = [&](size_t offset, size_t size) -> const char* {
    return offset <= file.size() && size <= file.size() - offset ? &file[offset] : nullptr;
  };
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
  auto* nt = dos ? reinterpret_cast<const IMAGE_NT_HEADERS64*>(
                       at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS64)))
                 : nullptr;
  if (!nt || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return {"!"};
  const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
  auto offsetOf = [&](DWORD rva) -> size_t {  // file offset of an address in the image
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i)
      if (rva >= sections[i].VirtualAddress &&
          rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
        return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
    return file.size();
  };
  std::vector<std::string> names;
  DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (;; rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        at(offsetOf(rva), sizeof(IMAGE_IMPORT_DESCRIPTOR)));
    if (!d) return {"!"};
    if (!d->Name) break;
    const char* dll = at(offsetOf(d->Name), 1);
    DWORD thunk = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
    for (;; thunk += sizeof(ULONGLONG)) {
      auto* entry = reinterpret_cast<const ULONGLONG*>(at(offsetOf(thunk), sizeof(ULONGLONG)));
      if (!dll || !entry) return {"!"};
      if (!*entry) break;
      const char* name = *entry >> 63 ? nullptr : at(offsetOf(static_cast<DWORD>(*entry)) + 2, 1);
      names.push_back(std::string(dll) + "!" + (name ? name : "#ordinal"));
    }
  }
  return names;
}

TEST(DriverImports, OnlyExportsOfTheWindowsKernel) {
  for (const char* image : {"SorvDisk.sys", "forced-worker\\SorvDisk.sys"}) {
    std::ifstream in(Folder() + image, std::ios::binary);
    ASSERT_TRUE(in) << image;
    std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> imports = Imports(file);
    EXPECT_GT(imports.size(), 10u) << image;
    for (const std::string& import : imports) {
      const size_t bang = import.find('!');
      EXPECT_EQ(_stricmp(import.substr(0, bang).c_str(), "ntoskrnl.exe"), 0) << import;
      EXPECT_TRUE(kKernelExports.count(import.substr(bang + 1))) << image << ": " << import;
    }
  }
}

}  // namespace
