// The device's helper threads: a large transfer's sectors are split among them and
// the thread carrying it out, each piece through its own scratch buffer, so the
// cipher work of one request runs on several processors. The container's handle is
// synchronous; its file system takes the pieces' reads and writes one at a time.
#include "driver.h"
#include "request_check.h"
#include "sorvdisk_ioctl.h"

namespace {

#ifdef SORVDISK_SPLIT_ALL  // test builds: every transfer of two sectors or more is split
constexpr ULONG kMinPiece = kSectorSize;
#else
// Less is not worth waking a thread for: under Wine each wake and wait is a round trip
// to its server, and 1 MiB requests split in four ran slower than whole.
constexpr ULONG kMinPiece = 1 << 20;
#endif

VOID NTAPI HelperMain(PVOID context) {
  Helper* helper = static_cast<Helper*>(context);
  DiskDevice* disk = helper->disk;
  for (;;) {
    KeWaitForSingleObject(&helper->go, Executive, KernelMode, FALSE, nullptr);
    if (helper->stop) break;
    helper->piece.status = MovePiece(disk, helper->piece);
    if (InterlockedDecrement(&disk->piecesLeft) == 0)
      KeSetEvent(&disk->piecesDone, IO_NO_INCREMENT, FALSE);
  }
  PsTerminateSystemThread(STATUS_SUCCESS);
}

}  // namespace

NTSTATUS StartHelpers(DiskDevice* disk) {
  KeInitializeEvent(&disk->piecesDone, SynchronizationEvent, FALSE);
#ifdef SORVDISK_SPLIT_ALL
  ULONG wanted = kMaxHelpers;
#else
  ULONG processors = KeQueryActiveProcessorCount(nullptr);
  ULONG wanted = processors > kMaxHelpers ? kMaxHelpers : processors > 1 ? processors - 1 : 0;
#endif
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, nullptr, OBJ_KERNEL_HANDLE, nullptr, nullptr);
  for (; disk->helperCount < wanted; ++disk->helperCount) {
    Helper& helper = disk->helpers[disk->helperCount];
    helper.disk = disk;
    KeInitializeEvent(&helper.go, SynchronizationEvent, FALSE);
    NTSTATUS status = PsCreateSystemThread(&helper.thread, SYNCHRONIZE, &attributes, nullptr,
                                           nullptr, HelperMain, &helper);
    if (!NT_SUCCESS(status)) return status;
  }
  return STATUS_SUCCESS;
}

// After the worker has stopped: no transfer runs any more.
void StopHelpers(DiskDevice* disk) {
  for (ULONG i = 0; i < disk->helperCount; ++i) {
    Helper& helper = disk->helpers[i];
    helper.stop = true;
    KeSetEvent(&helper.go, IO_NO_INCREMENT, FALSE);
    ZwWaitForSingleObject(helper.thread, FALSE, nullptr);
    ZwClose(helper.thread);
  }
  disk->helperCount = 0;
}

NTSTATUS MoveSectors(DiskDevice* disk, bool write, ULONGLONG offset, UCHAR* buffer, ULONG length) {
  const TransferSplit split = SplitTransfer(length, disk->helperCount + 1, kMinPiece);
  Piece own = {write, offset, buffer, split.count > 1 ? split.pieceBytes : length, disk->scratch[0],
               STATUS_SUCCESS};
  if (split.count > 1) {
    disk->piecesLeft = static_cast<LONG>(split.count - 1);
    for (ULONG i = 1; i < split.count; ++i) {
      const ULONG start = i * split.pieceBytes;
      const ULONG bytes = i + 1 < split.count ? split.pieceBytes : length - start;
      Helper& helper = disk->helpers[i - 1];
      helper.piece = {write, offset + start, buffer + start, bytes, disk->scratch[i],
                      STATUS_SUCCESS};
      KeSetEvent(&helper.go, IO_NO_INCREMENT, FALSE);
    }
  }
  NTSTATUS status = MovePiece(disk, own);
  if (split.count > 1) {
    KeWaitForSingleObject(&disk->piecesDone, Executive, KernelMode, FALSE, nullptr);
    for (ULONG i = 1; i < split.count && NT_SUCCESS(status); ++i)
      status = disk->helpers[i - 1].piece.status;
  }
  return status;
}
