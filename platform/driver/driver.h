// SorvDisk.sys: file-backed virtual disks \Device\SorvDisk\SorvDisk0..3 whose sectors
// are a container file from byte 1024 on, encrypted with XTS-AES-128 per sector.
#pragma once

#include "ddk.h"

#include "xts.h"

// Threads beside the one carrying out a transfer that share its cipher work.
constexpr ULONG kMaxHelpers = 3;

struct DiskDevice;

// A run of a transfer's sectors: one thread's share of it.
struct Piece {
  bool write;
  ULONGLONG offset;
  UCHAR* buffer;
  ULONG length;
  UCHAR* scratch;
  NTSTATUS status;
};

struct Helper {
  DiskDevice* disk;
  HANDLE thread;
  KEVENT go;  // a piece is waiting, or the thread is to stop
  Piece piece;
  volatile bool stop;
};

struct DiskDevice {
  // Guards the disk below; transfers and disk requests hold it exclusively. Taken
  // inside a critical region, as every ERESOURCE must be.
  ERESOURCE lock;
  HANDLE file;       // the container, held without sharing; null when none
  ULONGLONG length;  // bytes of disk
  bool keyed;        // no sector moves before the key is set, and the key is set once
  bool closing;      // the file is being closed, outside the lock
  // Flushes of the file run outside the lock: closing waits until none is left.
  ULONG flushes;
  KEVENT flushesDone;
  bool mediaChanged;  // a container came or went since check-verify last said so
  ULONG changes;     // media change count for the verify requests
  UCHAR* scratch[kMaxHelpers + 1];  // ciphertext on its way to or from the file, a piece each
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

  // The helpers and the one piece count they share while a transfer is split.
  Helper helpers[kMaxHelpers];
  ULONG helperCount;
  volatile LONG piecesLeft;
  KEVENT piecesDone;
};

inline DiskDevice* Disk(PDEVICE_OBJECT device) {
  return static_cast<DiskDevice*>(device->DeviceExtension);
}

inline void LockMutex(KMUTEX* mutex) {
  KeWaitForSingleObject(mutex, Executive, KernelMode, FALSE, nullptr);
}
inline void UnlockMutex(KMUTEX* mutex) { KeReleaseMutex(mutex, FALSE); }

inline void LockDisk(DiskDevice* disk) {
  KeEnterCriticalRegion();
  ExAcquireResourceExclusiveLite(&disk->lock, TRUE);
}
inline void UnlockDisk(DiskDevice* disk) {
  ExReleaseResourceLite(&disk->lock);
  KeLeaveCriticalRegion();
}

NTSTATUS CompleteIrp(PIRP irp, NTSTATUS status, ULONG_PTR information);

// driver.cpp: memory and mappings that never hold code (no-execute where the
// system has it, Windows 8 on).
POOL_TYPE NonPagedData();
ULONG NoExecuteMapping();

// disk_io.cpp
constexpr ULONG kScratchSize = 1 << 20;
NTSTATUS DispatchReadWrite(PDEVICE_OBJECT device, PIRP irp);
// Carries out a read, write or flush and completes it; any thread at PASSIVE_LEVEL.
NTSTATUS Transfer(PDEVICE_OBJECT device, PIRP irp);
// Writes the container's cached data to its storage; no lock held while it does.
NTSTATUS FlushContainer(DiskDevice* disk);
NTSTATUS MovePiece(DiskDevice* disk, const Piece& piece);

// worker.cpp: the device's thread for transfers.
NTSTATUS StartWorker(PDEVICE_OBJECT device);
void StopWorker(DiskDevice* disk);  // after the queued transfers are done
NTSTATUS QueueTransfer(PDEVICE_OBJECT device, PIRP irp);

// helpers.cpp: the device's threads that share a large transfer's cipher work.
NTSTATUS StartHelpers(DiskDevice* disk);
void StopHelpers(DiskDevice* disk);
// Moves the sectors, split across the helpers when the transfer is large enough;
// returns once every piece is done. Under the disk lock.
NTSTATUS MoveSectors(DiskDevice* disk, bool write, ULONGLONG offset, UCHAR* buffer, ULONG length);

// control.cpp
NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp);
void CloseContainer(PDEVICE_OBJECT device);
// A container came or went: file systems must not keep what they read of the old one.
void MediaChanged(PDEVICE_OBJECT device);
// Whether the request is to be refused until the mounted file system has checked the
// volume: it came since the change, and is not that file system's own check.
inline bool MustVerify(PDEVICE_OBJECT device, PIO_STACK_LOCATION stack) {
  return (device->Flags & DO_VERIFY_VOLUME) && !(stack->Flags & SL_OVERRIDE_VERIFY_VOLUME);
}

// files.cpp: opens a file by its NT path given as ANSI text.
NTSTATUS OpenFileByName(const char* name, size_t length, ACCESS_MASK access, HANDLE* handle);
NTSTATUS GuardFile(const char* dosPath, size_t length);
void ReleaseGuard();
void InitGuard();

// letters.cpp: the drive letter in the global DOS-device namespace.
NTSTATUS LinkLetter(DiskDevice* disk, const void* input, ULONG length);
NTSTATUS UnlinkLetter(DiskDevice* disk);

// security.cpp
// Before the device is usable: the same DACL for every device.
NTSTATUS SetDeviceAccess(PDEVICE_OBJECT device);
