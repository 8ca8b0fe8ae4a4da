// Each device has its own thread for the transfers that cannot be carried out in
// the thread that asks. Not the system's shared work queues: a file-backed disk
// whose file I/O waits there can hold up the very workers that the file system
// and the memory manager need to finish it, which deadlocks when memory is low.
#include "driver.h"

namespace {

// The oldest queued transfer, or null when the queue is empty.
PIRP TakeQueued(DiskDevice* disk) {
  KIRQL irql;
  KeAcquireSpinLock(&disk->queueLock, &irql);
  PIRP irp = nullptr;
  if (!IsListEmpty(&disk->queue))
    irp = CONTAINING_RECORD(RemoveHeadList(&disk->queue), IRP, Tail.Overlay.ListEntry);
  KeReleaseSpinLock(&disk->queueLock, irql);
  return irp;
}

VOID NTAPI WorkerMain(PVOID context) {
  PDEVICE_OBJECT device = static_cast<PDEVICE_OBJECT>(context);
  DiskDevice* disk = Disk(device);
  for (;;) {
    KeWaitForSingleObject(&disk->queued, Executive, KernelMode, FALSE, nullptr);
    if (PIRP irp = TakeQueued(disk))
      Transfer(device, irp);
    else if (disk->stopping)
      break;
  }
  PsTerminateSystemThread(STATUS_SUCCESS);
}

}  // namespace

NTSTATUS StartWorker(PDEVICE_OBJECT device) {
  DiskDevice* disk = Disk(device);
  InitializeListHead(&disk->queue);
  KeInitializeSpinLock(&disk->queueLock);
  KeInitializeSemaphore(&disk->queued, 0, MAXLONG);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, nullptr, OBJ_KERNEL_HANDLE, nullptr, nullptr);
  return PsCreateSystemThread(&disk->worker, SYNCHRONIZE, &attributes, nullptr, nullptr, WorkerMain,
                              device);
}

void StopWorker(DiskDevice* disk) {
  if (!disk->worker) return;
  disk->stopping = true;
  KeReleaseSemaphore(&disk->queued, IO_NO_INCREMENT, 1, FALSE);
  ZwWaitForSingleObject(disk->worker, FALSE, nullptr);
  ZwClose(disk->worker);
  disk->worker = nullptr;
}

NTSTATUS QueueTransfer(PDEVICE_OBJECT device, PIRP irp) {
  DiskDevice* disk = Disk(device);
  IoMarkIrpPending(irp);
  KIRQL irql;
  KeAcquireSpinLock(&disk->queueLock, &irql);
  InsertTailList(&disk->queue, &irp->Tail.Overlay.ListEntry);
  KeReleaseSpinLock(&disk->queueLock, irql);
  KeReleaseSemaphore(&disk->queued, IO_NO_INCREMENT, 1, FALSE);
  return STATUS_PENDING;
}
