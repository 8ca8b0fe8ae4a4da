// SorvDisk.sys: file-backed virtual disks \Device\SorvDisk\SorvDisk0..3 whose sectors
// are a container file from byte 1024 on, encrypted with XTS-AES-128 per sector.
#pragma once

#include "ddk.h"

#include "xts.h"

struct DiskDevice {
  KMUTEX lock;       // guards the disk below; transfers and disk requests take it
  HANDLE file;       // the container, held without sharing; null when none
  ULONGLONG length;  // bytes of disk
  bool keyed;        // no sector moves before the key is set, and the key is set once
  ULONG changes;     // media change count for the verify requests
  UCHAR* scratch;    // ciphertext on its way to or from the file
  XtsKey key;
  USHORT nameLength;  // bytes of name, without terminator
  WCHAR name[32];
  WCHAR letter;  // the drive letter linked for all sessions; 0 when none

  // Transfers that cannot run in the caller's thread, for the device's own thread.
  LIST_ENTRY queue;
  KSPIN_LOCK queueLock;
  KSEMAPHORE queued;  // one count a queued transfer, one more to stop the thread
  HANDLE worker;
  volatile bool stopping;
};

inline DiskDevice* Disk(PDEVICE_OBJECT device) {
  return static_cast<DiskDevice*>(device->DeviceExtension);
}

inline void LockMutex(KMUTEX* mutex) {
  KeWaitForSingleObject(mutex, Executive, KernelMode, FALSE, nullptr);
}
inline void UnlockMutex(KMUTEX* mutex) { KeReleaseMutex(mutex, FALSE); }

NTSTATUS CompleteIrp(PIRP irp, NTSTATUS status, ULONG_PTR information);

// disk_io.cpp
constexpr ULONG kScratchSize = 1 << 20;
NTSTATUS DispatchReadWrite(PDEVICE_OBJECT device, PIRP irp);
// Carries out a read or write and completes it; any thread at PASSIVE_LEVEL.
NTSTATUS Transfer(PDEVICE_OBJECT device, PIRP irp);

// worker.cpp: the device's thread for transfers.
NTSTATUS StartWorker(PDEVICE_OBJECT device);
void StopWorker(DiskDevice* disk);  // after the queued transfers are done
NTSTATUS QueueTransfer(PDEVICE_OBJECT device, PIRP irp);

// control.cpp
NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp);
void CloseContainer(DiskDevice* disk);

// files.cpp: opens a file by its NT path given as ANSI text.
NTSTATUS OpenFileByName(const char* name, size_t length, ACCESS_MASK access, HANDLE* handle);
NTSTATUS GuardFile(const char* dosPath, size_t length);
void ReleaseGuard();
void InitGuard();

// letters.cpp: the drive letter in the global DOS-device namespace.
NTSTATUS LinkLetter(DiskDevice* disk, const void* input, ULONG length);
NTSTATUS UnlinkLetter(DiskDevice* disk);

// security.cpp
NTSTATUS AdministratorsOnly(PDEVICE_OBJECT device);
