// Sector reads and writes: the container file from byte 1024 on, XTS per sector.
#include "driver.h"
#include "request_check.h"
#include "sorvdisk_ioctl.h"

namespace {

// Direct I/O: the caller's pages through the MDL; none comes with an empty request.
UCHAR* TransferBuffer(PIRP irp) {
  if (irp->MdlAddress)
    return static_cast<UCHAR*>(MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority));
  return static_cast<UCHAR*>(irp->UserBuffer);
}

NTSTATUS ReadSectors(DiskDevice* disk, ULONGLONG offset, UCHAR* buffer, ULONG length) {
  IO_STATUS_BLOCK io;
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(kDiskOffset + offset);
  NTSTATUS status =
      ZwReadFile(disk->file, nullptr, nullptr, nullptr, &io, buffer, length, &position, nullptr);
  if (!NT_SUCCESS(status)) return status;
  if (io.Information != length) return STATUS_UNEXPECTED_IO_ERROR;  // file cut short
  XtsDecryptSectors(&disk->key, offset / kSectorSize, buffer, buffer, length / kSectorSize);
  return STATUS_SUCCESS;
}

NTSTATUS WriteSectors(DiskDevice* disk, ULONGLONG offset, const UCHAR* buffer, ULONG length) {
  for (ULONG done = 0; done < length;) {
    ULONG chunk = length - done < kScratchSize ? length - done : kScratchSize;
    XtsEncryptSectors(&disk->key, (offset + done) / kSectorSize, buffer + done, disk->scratch,
                      chunk / kSectorSize);
    IO_STATUS_BLOCK io;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(kDiskOffset + offset + done);
    NTSTATUS status = ZwWriteFile(disk->file, nullptr, nullptr, nullptr, &io, disk->scratch, chunk,
                                  &position, nullptr);
    if (!NT_SUCCESS(status)) return status;
    if (io.Information != chunk) return STATUS_UNEXPECTED_IO_ERROR;
    done += chunk;
  }
  return STATUS_SUCCESS;
}

NTSTATUS Transfer(PDEVICE_OBJECT device, PIRP irp) {
  DiskDevice* disk = Disk(device);
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  const bool write = stack->MajorFunction == IRP_MJ_WRITE;
  ULONG length = write ? stack->Parameters.Write.Length : stack->Parameters.Read.Length;
  LARGE_INTEGER offset =
      write ? stack->Parameters.Write.ByteOffset : stack->Parameters.Read.ByteOffset;
  PFILE_OBJECT file = stack->FileObject;
  const bool atPointer = offset.HighPart == -1 && offset.LowPart == FILE_USE_FILE_POINTER_POSITION;
  if (atPointer && file) offset = file->CurrentByteOffset;
  if (length == 0) return CompleteIrp(irp, STATUS_SUCCESS, 0);

  NTSTATUS status;
  UCHAR* buffer = TransferBuffer(irp);
  Lock(&disk->lock);
  if (!disk->file || !disk->keyed)
    status = STATUS_DEVICE_NOT_READY;
  else if (offset.QuadPart < 0 || !TransferFits(offset.QuadPart, length, disk->length))
    status = STATUS_INVALID_PARAMETER;
  else if (!buffer)
    status = STATUS_INSUFFICIENT_RESOURCES;
  else if (write)
    status = WriteSectors(disk, offset.QuadPart, buffer, length);
  else
    status = ReadSectors(disk, offset.QuadPart, buffer, length);
  Unlock(&disk->lock);

  if (!NT_SUCCESS(status)) return CompleteIrp(irp, status, 0);
  if (atPointer && file) file->CurrentByteOffset.QuadPart = offset.QuadPart + length;
  return CompleteIrp(irp, STATUS_SUCCESS, length);
}

VOID NTAPI DeferredTransfer(PDEVICE_OBJECT device, PVOID context) {
  PIRP irp = static_cast<PIRP>(context);
  IoFreeWorkItem(static_cast<PIO_WORKITEM>(irp->Tail.Overlay.DriverContext[0]));
  Transfer(device, irp);
}

}  // namespace

// The container's file I/O wants PASSIVE_LEVEL; paging reads and writes of a file
// system on the disk come at APC_LEVEL, so those go to a system worker thread.
NTSTATUS DispatchReadWrite(PDEVICE_OBJECT device, PIRP irp) {
  if (KeGetCurrentIrql() == PASSIVE_LEVEL) return Transfer(device, irp);
  PIO_WORKITEM item = IoAllocateWorkItem(device);
  if (!item) return CompleteIrp(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
  irp->Tail.Overlay.DriverContext[0] = item;
  IoMarkIrpPending(irp);
  IoQueueWorkItem(item, DeferredTransfer, DelayedWorkQueue, irp);
  return STATUS_PENDING;
}
