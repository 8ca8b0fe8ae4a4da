// Sector reads and writes: the container file from byte 1024 on, XTS per sector.
#include "driver.h"
#include "request_check.h"
#include "sorvdisk_ioctl.h"

namespace {

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

// Whether the transfer must leave the caller's thread. The container's file I/O wants
// PASSIVE_LEVEL with APCs deliverable: a file system on the disk sends its paging I/O
// at APC_LEVEL or inside a guarded region, where that I/O could never complete.
bool MustDefer() {
#ifdef SORVDISK_DEFER_ALL  // the test build sends every transfer through the worker
  return true;
#else
  return KeGetCurrentIrql() > PASSIVE_LEVEL || KeAreAllApcsDisabled();
#endif
}

}  // namespace

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
  // Direct I/O: the caller's pages come locked in an MDL. A request without one was
  // built by hand; its UserBuffer is an unchecked address, perhaps of another process.
  if (!irp->MdlAddress) return CompleteIrp(irp, STATUS_INVALID_PARAMETER, 0);

  NTSTATUS status;
  auto* buffer =
      static_cast<UCHAR*>(MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority));
  LockMutex(&disk->lock);
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
  UnlockMutex(&disk->lock);

  if (!NT_SUCCESS(status)) return CompleteIrp(irp, status, 0);
  if (atPointer && file) file->CurrentByteOffset.QuadPart = offset.QuadPart + length;
  return CompleteIrp(irp, STATUS_SUCCESS, length);
}

NTSTATUS DispatchReadWrite(PDEVICE_OBJECT device, PIRP irp) {
  if (MustDefer()) return QueueTransfer(device, irp);
  return Transfer(device, irp);
}
