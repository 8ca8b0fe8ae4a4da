// Opening files by name, and the guard that holds one container file against
// every other opener.
#include "driver.h"
#include "sorvdisk_ioctl.h"

namespace {

KMUTEX g_guardLock;
HANDLE g_guard;

}  // namespace

NTSTATUS OpenFileByName(const char* name, size_t length, ACCESS_MASK access, HANDLE* handle) {
  ANSI_STRING ansi;
  ansi.Buffer = const_cast<PCHAR>(name);
  ansi.Length = ansi.MaximumLength = static_cast<USHORT>(length);
  UNICODE_STRING wide;
  NTSTATUS status = RtlAnsiStringToUnicodeString(&wide, &ansi, TRUE);
  if (!NT_SUCCESS(status)) return status;
  // The caller's rights count, not the kernel's: the name comes from user mode.
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &wide,
                             OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE | OBJ_FORCE_ACCESS_CHECK,
                             nullptr, nullptr);
  IO_STATUS_BLOCK io;
  // No sharing: while we hold the file, nobody else may read, write or delete it.
  status = ZwCreateFile(handle, access | SYNCHRONIZE, &attributes, &io, nullptr,
                        FILE_ATTRIBUTE_NORMAL, 0, FILE_OPEN,
                        FILE_SYNCHRONOUS_IO_NONALERT | FILE_NON_DIRECTORY_FILE, nullptr, 0);
  RtlFreeUnicodeString(&wide);
  return status;
}

void InitGuard() { KeInitializeMutex(&g_guardLock, 0); }

NTSTATUS GuardFile(const char* dosPath, size_t length) {
  char name[4 + kLockFileSize];
  if (length > kLockFileSize) return STATUS_INVALID_PARAMETER;
  name[0] = '\\';
  name[1] = name[2] = '?';
  name[3] = '\\';
  RtlCopyMemory(name + 4, dosPath, length);
  LockMutex(&g_guardLock);
  if (g_guard) {  // one guarded file at a time: the newest one
    ZwClose(g_guard);
    g_guard = nullptr;
  }
  NTSTATUS status = OpenFileByName(name, 4 + length, GENERIC_READ, &g_guard);
  if (!NT_SUCCESS(status)) g_guard = nullptr;
  UnlockMutex(&g_guardLock);
  return status;
}

void ReleaseGuard() {
  LockMutex(&g_guardLock);
  if (g_guard) ZwClose(g_guard);
  g_guard = nullptr;
  UnlockMutex(&g_guardLock);
}
