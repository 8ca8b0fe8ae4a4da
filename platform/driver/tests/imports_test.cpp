// The driver imports only what the Windows kernel exports. Wine's ntoskrnl exports
// more (IoCreateDeviceSecure, for one, which on Windows is a WDK static library), so
// a driver that loads here may still fail to load on Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Exports of ntoskrnl.exe on 64-bit Windows 7 and later that a disk driver of this
// kind may use. A new import must be checked against the kernel before it goes here.
const std::set<std::string> kKernelExports = {
    "ExAllocatePoolWithTag",
    "ExAcquireResourceExclusiveLite",
    "ExDeleteResourceLite",
    "ExFreePoolWithTag",
    "ExInitializeResourceLite",
    "ExReleaseResourceLite",
    "IoCreateDevice",
    "IoCreateSymbolicLink",
    "IoDeleteDevice",
    "IoGetStackLimits",
    "IoGetTopLevelIrp",
    "IoRegisterShutdownNotification",
    "IoSetHardErrorOrVerifyDevice",
    "IoUnregisterShutdownNotification",
    "IofCompleteRequest",
    "KeAreAllApcsDisabled",
    "KeAcquireSpinLockRaiseToDpc",
    "KeReleaseSpinLock",
    "KeInitializeMutex",
    "KeReleaseMutex",
    "KeInitializeSemaphore",
    "KeReleaseSemaphore",
    "KeEnterCriticalRegion",
    "KeLeaveCriticalRegion",
    "KeInitializeEvent",
    "KeClearEvent",
    "KeSetEvent",
    "KeQueryActiveProcessorCount",
    "KeWaitForSingleObject",
    "MmGetSystemRoutineAddress",
    "MmMapLockedPagesSpecifyCache",
    "ObOpenObjectByPointer",
    "PsCreateSystemThread",
    "PsTerminateSystemThread",
    "RtlAddAccessAllowedAce",
    "RtlAnsiStringToUnicodeString",
    "RtlCreateAcl",
    "RtlCreateSecurityDescriptor",
    "RtlFreeUnicodeString",
    "RtlGetVersion",
    "RtlInitUnicodeString",
    "RtlInitializeSid",
    "RtlSetDaclSecurityDescriptor",
    "RtlSubAuthoritySid",
    "ZwClose",
    "ZwCreateDirectoryObject",
    "ZwCreateFile",
    "ZwFlushBuffersFile",
    "ZwMakeTemporaryObject",
    "ZwOpenSymbolicLinkObject",
    "ZwQueryInformationFile",
    "ZwQuerySymbolicLinkObject",
    "ZwReadFile",
    "ZwSetSecurityObject",
    "ZwWaitForSingleObject",
    "ZwWriteFile",
    "memcpy",
    "memmove",
    "memset",
    // Looked up by name at run time (Wine 8 lacks them), never imported.
    "KeRestoreExtendedProcessorState",
    "KeSaveExtendedProcessorState",
};

// "dll!function" for every import of the image, mapped as an image but not loaded.
std::vector<std::string> Imports(const char* image) {
  char self[MAX_PATH];
  std::string path(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  path = path.substr(0, path.find_last_of('\\') + 1) + image;
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return {};
  auto* base = reinterpret_cast<const char*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::vector<std::string> names;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       directory.VirtualAddress && d->Name; ++d) {
    auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA*>(
        base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
    for (; thunk->u1.AddressOfData; ++thunk) {
      const bool byOrdinal = IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal);
      names.push_back(
          std::string(base + d->Name) + "!" +
          (byOrdinal ? "#ordinal"
                     : reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData)
                           ->Name));
    }
  }
  FreeLibrary(module);
  return names;
}

TEST(DriverImports, OnlyExportsOfTheWindowsKernel) {
  for (const char* image : {"SorvDisk.sys", "forced-worker\\SorvDisk.sys", "in-place\\SorvDisk.sys",
                            "split-all\\SorvDisk.sys"}) {
    std::vector<std::string> imports = Imports(image);
    EXPECT_GT(imports.size(), 10u) << image;
    for (const std::string& import : imports) {
      const size_t bang = import.find('!');
      EXPECT_EQ(_stricmp(import.substr(0, bang).c_str(), "ntoskrnl.exe"), 0) << import;
      EXPECT_TRUE(kKernelExports.count(import.substr(bang + 1))) << image << ": " << import;
    }
  }
}

}  // namespace
