// Sector reads and writes: the container file from byte 1024 on, XTS per sector.
#include "driver.h"
#include "request_check.h"
#include "sorvdisk_ioctl.h"

namespace {

// Below this much kernel stack a transfer leaves the caller's thread: the host
// volume's file system and storage stack, called from here, need about that much.
constexpr ULONG_PTR kStackForFileIo = 12 << 10;

// Whether the transfer must leave the caller's thread. The container's file I/O wants
// PASSIVE_LEVEL with APCs deliverable: a file system on the disk sends its paging I/O
// at APC_LEVEL or inside a guarded region, where that I/O could never complete. And it
// wants stack: a file system on the disk that sends its I/O from inside its own
// request (a top-level IRP is set) has already used much of the thread's. Wine leaves
// IoGetTopLevelIrp unimplemented (a call ends the driver's host); it answers TRUE to
// KeAreAllApcsDisabled, so the questions after that one are never asked there.
bool MustDefer() {
#if defined(SORVDISK_DEFER_ALL)  // test builds: every transfer through the worker
  return true;
#elif defined(SORVDISK_DEFER_NONE)  // test builds: every transfer in the caller's thread
  return false;
#else
  return KeGetCurrentIrql() > PASSIVE_LEVEL || KeAreAllApcsDisabled() ||
         IoGetTopLevelIrp() != nullptr || IoGetRemainingStackSize() < kStackForFileIo;
#endif
}

bool WriteThrough(PIO_STACK_LOCATION stack) {
  return (stack->Flags & SL_WRITE_THROUGH) ||
         (stack->FileObject && (stack->FileObject->Flags & FO_WRITE_THROUGH));
}

}  // namespace

// Chunk by chunk through the piece's scratch buffer: a write encrypts into it so the
// caller's data stays as it was; a read lands in it and is decrypted into the
// caller's pages, which are then written once rather than twice.
NTSTATUS MovePiece(DiskDevice* disk, const Piece& piece) {
  for (ULONG done = 0; done < piece.length;) {
    const ULONG chunk = piece.length - done < kScratchSize ? piece.length - done : kScratchSize;
    const ULONGLONG sector = (piece.offset + done) / kSectorSize;
    IO_STATUS_BLOCK io;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(kDiskOffset + piece.offset + done);
    NTSTATUS status;
    if (piece.write) {
      XtsEncryptSectors(&disk->key, sector, piece.buffer + done, piece.scratch,
                        chunk / kSectorSize);
      status = ZwWriteFile(disk->file, nullptr, nullptr, nullptr, &io, piece.scratch, chunk,
                           &position, nullptr);
    } else {
      status = ZwReadFile(disk->file, nullptr, nullptr, nullptr, &io, piece.scratch, chunk,
                          &position, nullptr);
    }
    if (!NT_SUCCESS(status)) return status;
    if (io.Information != chunk) return STATUS_UNEXPECTED_IO_ERROR;  // file cut short
    if (!piece.write)
      XtsDecryptSectors(&disk->key, sector, piece.scratch, piece.buffer + done,
                        chunk / kSectorSize);
    done += chunk;
  }
  return STATUS_SUCCESS;
}

NTSTATUS FlushContainer(DiskDevice* disk) {
  LockDisk(disk);
  HANDLE file = disk->file;
  if (file) ++disk->flushes;
  UnlockDisk(disk);
  if (!file) return STATUS_SUCCESS;
  IO_STATUS_BLOCK io;
  NTSTATUS status = ZwFlushBuffersFile(file, &io);
  LockDisk(disk);
  if (--disk->flushes == 0) KeSetEvent(&disk->flushesDone, IO_NO_INCREMENT, FALSE);
  UnlockDisk(disk);
  return status;
}

NTSTATUS Transfer(PDEVICE_OBJECT device, PIRP irp) {
  DiskDevice* disk = Disk(device);
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  if (stack->MajorFunction == IRP_MJ_FLUSH_BUFFERS)
    return CompleteIrp(irp, FlushContainer(disk), 0);
  const bool write = stack->MajorFunction == IRP_MJ_WRITE;
  ULONG length = write ? stack->Parameters.Write.Length : stack->Parameters.Read.Length;
  LARGE_INTEGER offset =
      write ? stack->Parameters.Write.ByteOffset : stack->Parameters.Read.ByteOffset;
  // The file position is the I/O manager's: it gives the offset and advances a
  // synchronous file object's position itself. Only a request that still carries the
  // marker (Wine's, for a handle it keeps no position for) uses and advances the
  // position here.
  PFILE_OBJECT file = stack->FileObject;
  const bool atPointer = file && offset.HighPart == -1 &&
                         offset.LowPart == FILE_USE_FILE_POINTER_POSITION &&
                         !(file->Flags & FO_SYNCHRONOUS_IO);
  if (atPointer) offset = file->CurrentByteOffset;
  if (length == 0) return CompleteIrp(irp, STATUS_SUCCESS, 0);
  // Direct I/O: the caller's pages come locked in an MDL. A request without one was
  // built by hand; its UserBuffer is an unchecked address, perhaps of another process.
  if (!irp->MdlAddress || MmGetMdlByteCount(irp->MdlAddress) < length)
    return CompleteIrp(irp, STATUS_INVALID_PARAMETER, 0);
  // A file system that has not yet checked the volume since the medium changed gets
  // told to; its own reads for that check say so in their flags.
  if (MustVerify(device, stack)) {
    IoSetHardErrorOrVerifyDevice(irp, device);
    return CompleteIrp(irp, STATUS_VERIFY_REQUIRED, 0);
  }

  NTSTATUS status;
  auto* buffer = static_cast<UCHAR*>(MmGetSystemAddressForMdlSafe(
      irp->MdlAddress, static_cast<MM_PAGE_PRIORITY>(NormalPagePriority | NoExecuteMapping())));
  LockDisk(disk);
  if (!disk->file || !disk->keyed)
    status = STATUS_DEVICE_NOT_READY;
  else if (offset.QuadPart < 0 || !TransferFits(offset.QuadPart, length, disk->length))
    status = STATUS_INVALID_PARAMETER;
  else if (!buffer)
    status = STATUS_INSUFFICIENT_RESOURCES;
  else
    status = MoveSectors(disk, write, offset.QuadPart, buffer, length);
  UnlockDisk(disk);
  // A write-through write (a journal's, say) is on the container's storage before it
  // completes.
  if (NT_SUCCESS(status) && write && WriteThrough(stack)) status = FlushContainer(disk);

  if (!NT_SUCCESS(status)) return CompleteIrp(irp, status, 0);
  if (atPointer) file->CurrentByteOffset.QuadPart = offset.QuadPart + length;
  return CompleteIrp(irp, STATUS_SUCCESS, length);
}

// Reads, writes and flushes: a flush calls the host's file system too, so it leaves
// the caller's thread when a transfer would.
NTSTATUS DispatchReadWrite(PDEVICE_OBJECT device, PIRP irp) {
  if (MustDefer()) return QueueTransfer(device, irp);
  return Transfer(device, irp);
}
