// Sector reads and writes: the container file from byte 1024 on, XTS per sector.
#include "driver.h"
#include "request_check.h"
#include "sorvdisk_ioctl.h"

namespace {

// Chunk by chunk through the disk's scratch buffer: a write encrypts into it so the
// caller's data stays as it was; a read lands in it and is decrypted into the
// caller's pages, which are then written once rather than twice.
NTSTATUS MoveSectors(DiskDevice* disk, bool write, ULONGLONG offset, UCHAR* buffer, ULONG length) {
  for (ULONG done = 0; done < length;) {
    const ULONG chunk = length - done < kScratchSize ? length - done : kScratchSize;
    const ULONGLONG sector = (offset + done) / kSectorSize;
    IO_STATUS_BLOCK io;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(kDiskOffset + offset + done);
    NTSTATUS status;
    if (write) {
      XtsEncryptSectors(&disk->key, sector, buffer + done, disk->scratch, chunk / kSectorSize);
      status = ZwWriteFile(disk->file, nullptr, nullptr, nullptr, &io, disk->scratch, chunk,
                           &position, nullptr);
    } else {
      status = ZwReadFile(disk->file, nullptr, nullptr, nullptr, &io, disk->scratch, chunk,
                          &position, nullptr);
    }
    if (!NT_SUCCESS(status)) return status;
    if (io.Information != chunk) return STATUS_UNEXPECTED_IO_ERROR;  // file cut short
    if (!write)
      XtsDecryptSectors(&disk->key, sector, disk->scratch, buffer + done, chunk / kSectorSize);
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
  else
    status = MoveSectors(disk, write, offset.QuadPart, buffer, length);
  UnlockMutex(&disk->lock);

  if (!NT_SUCCESS(status)) return CompleteIrp(irp, status, 0);
  if (atPointer && file) file->CurrentByteOffset.QuadPart = offset.QuadPart + length;
  return CompleteIrp(irp, STATUS_SUCCESS, length);
}

NTSTATUS DispatchReadWrite(PDEVICE_OBJECT device, PIRP irp) {
  if (MustDefer()) return QueueTransfer(device, irp);
  return Transfer(device, irp);
}
