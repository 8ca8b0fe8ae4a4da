// Device requests: the five of the mount library, and the disk queries a file
// system asks before it uses a volume.
#include "driver.h"

#include <mountdev.h>
#include <ntdddisk.h>
#include <ntddstor.h>

#include "request_check.h"
#include "sorvdisk_ioctl.h"

namespace {

// The volume controls (ntifs.h has them, with much else).
constexpr ULONG kLockVolume =
    CTL_CODE(FILE_DEVICE_FILE_SYSTEM, 6, METHOD_BUFFERED, FILE_ANY_ACCESS);
constexpr ULONG kUnlockVolume =
    CTL_CODE(FILE_DEVICE_FILE_SYSTEM, 7, METHOD_BUFFERED, FILE_ANY_ACCESS);
constexpr ULONG kDismountVolume =
    CTL_CODE(FILE_DEVICE_FILE_SYSTEM, 8, METHOD_BUFFERED, FILE_ANY_ACCESS);

constexpr ULONG kPoolTag = 0x6b736944;  // "Disk" in pool dumps

struct Request {
  void* buffer;  // METHOD_BUFFERED: input on the way in, output on the way out
  ULONG inLength;
  ULONG outLength;
  ULONG_PTR information;
  bool mustVerify;  // the volume is to be verified, and this is not the verifier asking
};

void FreeScratch(UCHAR* const (&scratch)[kMaxHelpers + 1]) {
  for (UCHAR* buffer : scratch)
    if (buffer) ExFreePoolWithTag(buffer, kPoolTag);
}

NTSTATUS OpenContainer(PDEVICE_OBJECT device, Request& r) {
  DiskDevice* disk = Disk(device);
  const char* name;
  size_t nameLength;
  if (!ParseOpenFileRequest(static_cast<const uint8_t*>(r.buffer), r.inLength, &name, &nameLength))
    return STATUS_INVALID_PARAMETER;
  LockDisk(disk);
  const bool busy = disk->file != nullptr || disk->closing;
  UnlockDisk(disk);
  if (busy) return STATUS_DEVICE_BUSY;

  // The file system is called without the disk lock, which this device's transfers
  // wait for; the disk is taken under it only once the file is open.
  HANDLE file;
  NTSTATUS status = OpenFileByName(name, nameLength, GENERIC_READ | GENERIC_WRITE, &file);
  if (!NT_SUCCESS(status)) return status;
  FILE_STANDARD_INFORMATION info;
  IO_STATUS_BLOCK io;
  status = ZwQueryInformationFile(file, &io, &info, sizeof info, FileStandardInformation);
  ULONGLONG length = NT_SUCCESS(status) ? DiskLength(info.EndOfFile.QuadPart) : 0;
  if (NT_SUCCESS(status) && length == 0) status = STATUS_INVALID_PARAMETER;
  // Non-paged: a file system on the disk writes through it while it pages.
  UCHAR* scratch[kMaxHelpers + 1] = {};
  for (ULONG i = 0; NT_SUCCESS(status) && i <= disk->helperCount; ++i) {
    scratch[i] = static_cast<UCHAR*>(ExAllocatePoolWithTag(NonPagedData(), kScratchSize, kPoolTag));
    if (!scratch[i]) status = STATUS_INSUFFICIENT_RESOURCES;
  }
  if (NT_SUCCESS(status)) {
    LockDisk(disk);
    if (disk->file || disk->closing) {
      status = STATUS_DEVICE_BUSY;  // another open-file came first
    } else {
      disk->file = file;
      disk->length = length;
      RtlCopyMemory(disk->scratch, scratch, sizeof scratch);
      disk->keyed = false;
      MediaChanged(device);
    }
    UnlockDisk(disk);
  }
  if (!NT_SUCCESS(status)) {
    FreeScratch(scratch);
    ZwClose(file);
  }
  return status;
}

// The key is set once a container: a second one would encrypt later writes
// differently from the sectors already written. Only closing the file ends it.
NTSTATUS SetKey(DiskDevice* disk, Request& r) {
  NTSTATUS status = STATUS_SUCCESS;
  if (r.inLength < kSetKeySize) {
    status = STATUS_INVALID_PARAMETER;
  } else if (!disk->file) {
    status = STATUS_DEVICE_NOT_READY;
  } else if (disk->keyed) {
    status = STATUS_DEVICE_BUSY;
  } else {
    XtsSetDiskKey(&disk->key, static_cast<const uint8_t*>(r.buffer), true);
    disk->keyed = true;
  }
  // The request's buffer goes back to the pool: leave no key in it.
  RtlSecureZeroMemory(r.buffer, r.inLength);
  return status;
}

NTSTATUS LockFile(Request& r) {
  const char* path;
  size_t length;
  ULONG size = r.inLength < kLockFileSize ? r.inLength : kLockFileSize;
  if (!ParseLockFileRequest(static_cast<const uint8_t*>(r.buffer), size, &path, &length))
    return STATUS_INVALID_PARAMETER;
  return GuardFile(path, length);
}

NTSTATUS QueryDevice(DiskDevice* disk, Request& r) {
  if (r.outLength < kQueryDeviceSize) return STATUS_BUFFER_TOO_SMALL;
  auto* answer = static_cast<UCHAR*>(r.buffer);
  LockDisk(disk);
  answer[0] = disk->file != nullptr;
  answer[1] = static_cast<UCHAR>(disk->letter);
  UnlockDisk(disk);
  r.information = kQueryDeviceSize;
  return STATUS_SUCCESS;
}

template <typename T>
T* Output(Request& r) {
  if (r.outLength < sizeof(T)) return nullptr;
  RtlZeroMemory(r.buffer, sizeof(T));
  r.information = sizeof(T);
  return static_cast<T*>(r.buffer);
}

void FillPartition(const DiskDevice* disk, PARTITION_INFORMATION* p) {
  p->StartingOffset.QuadPart = 0;
  p->PartitionLength.QuadPart = static_cast<LONGLONG>(disk->length);
  p->HiddenSectors = 0;
  p->PartitionNumber = 1;
  p->PartitionType = PARTITION_IFS;
  p->BootIndicator = FALSE;
  p->RecognizedPartition = TRUE;
  p->RewritePartition = FALSE;
}

NTSTATUS DiskQuery(DiskDevice* disk, ULONG code, Request& r) {
  if (!disk->file) return STATUS_NO_MEDIA_IN_DEVICE;
  switch (code) {
    case IOCTL_DISK_GET_DRIVE_GEOMETRY: {
      auto* g = Output<DISK_GEOMETRY>(r);
      if (!g) return STATUS_BUFFER_TOO_SMALL;
      g->MediaType = FixedMedia;
      g->TracksPerCylinder = 2;
      g->SectorsPerTrack = 32;
      g->BytesPerSector = kSectorSize;
      g->Cylinders.QuadPart = static_cast<LONGLONG>(disk->length / (2 * 32 * kSectorSize));
      return STATUS_SUCCESS;
    }
    case IOCTL_DISK_GET_LENGTH_INFO: {
      auto* l = Output<GET_LENGTH_INFORMATION>(r);
      if (!l) return STATUS_BUFFER_TOO_SMALL;
      l->Length.QuadPart = static_cast<LONGLONG>(disk->length);
      return STATUS_SUCCESS;
    }
    case IOCTL_DISK_GET_PARTITION_INFO: {
      auto* p = Output<PARTITION_INFORMATION>(r);
      if (!p) return STATUS_BUFFER_TOO_SMALL;
      FillPartition(disk, p);
      return STATUS_SUCCESS;
    }
    case IOCTL_DISK_GET_PARTITION_INFO_EX: {
      auto* p = Output<PARTITION_INFORMATION_EX>(r);
      if (!p) return STATUS_BUFFER_TOO_SMALL;
      PARTITION_INFORMATION plain;
      FillPartition(disk, &plain);
      p->PartitionStyle = PARTITION_STYLE_MBR;
      p->StartingOffset = plain.StartingOffset;
      p->PartitionLength = plain.PartitionLength;
      p->PartitionNumber = plain.PartitionNumber;
      p->RewritePartition = FALSE;
      p->Mbr.PartitionType = plain.PartitionType;
      p->Mbr.BootIndicator = FALSE;
      p->Mbr.RecognizedPartition = TRUE;
      p->Mbr.HiddenSectors = 0;
      return STATUS_SUCCESS;
    }
    case IOCTL_DISK_IS_WRITABLE:
      return STATUS_SUCCESS;
    default: {  // the verify requests: the medium is there, and how often it changed
      if (r.outLength >= sizeof(ULONG)) {
        *static_cast<ULONG*>(r.buffer) = disk->changes;
        r.information = sizeof(ULONG);
      }
      // A mounted file system that has not checked the volume yet is told to; anyone
      // else hears of a new medium once.
      if (r.mustVerify) return STATUS_VERIFY_REQUIRED;
      if (!disk->mediaChanged) return STATUS_SUCCESS;
      disk->mediaChanged = false;
      return STATUS_MEDIA_CHANGED;
    }
  }
}

NTSTATUS QueryProperty(Request& r) {
  if (r.inLength < sizeof(STORAGE_PROPERTY_QUERY)) return STATUS_INVALID_PARAMETER;
  auto* query = static_cast<STORAGE_PROPERTY_QUERY*>(r.buffer);
  if (query->PropertyId != StorageDeviceProperty) return STATUS_INVALID_DEVICE_REQUEST;
  if (query->QueryType == PropertyExistsQuery) return STATUS_SUCCESS;
  if (query->QueryType != PropertyStandardQuery) return STATUS_INVALID_DEVICE_REQUEST;
  if (r.outLength < sizeof(STORAGE_DESCRIPTOR_HEADER)) return STATUS_BUFFER_TOO_SMALL;
  STORAGE_DEVICE_DESCRIPTOR d;
  RtlZeroMemory(&d, sizeof d);
  d.Version = sizeof d;
  d.Size = sizeof d;
  d.DeviceType = 0;  // direct-access device
  d.BusType = BusTypeFileBackedVirtual;
  ULONG n = r.outLength < sizeof d ? r.outLength : static_cast<ULONG>(sizeof d);
  RtlCopyMemory(r.buffer, &d, n);
  r.information = n;
  return STATUS_SUCCESS;
}

NTSTATUS QueryDeviceName(const DiskDevice* disk, Request& r) {
  auto* name = Output<MOUNTDEV_NAME>(r);
  if (!name) return STATUS_INVALID_PARAMETER;
  name->NameLength = disk->nameLength;
  ULONG needed = FIELD_OFFSET(MOUNTDEV_NAME, Name) + disk->nameLength;
  if (r.outLength < needed) return STATUS_BUFFER_OVERFLOW;  // the length alone, to ask again
  RtlCopyMemory(name->Name, disk->name, disk->nameLength);
  r.information = needed;
  return STATUS_SUCCESS;
}

// The requests on the disk itself, under its lock.
NTSTATUS DiskRequest(DiskDevice* disk, ULONG code, Request& r) {
  switch (code) {
    case kIoctlSetKey:
      return SetKey(disk, r);
    case IOCTL_DISK_GET_DRIVE_GEOMETRY:
    case IOCTL_DISK_GET_LENGTH_INFO:
    case IOCTL_DISK_GET_PARTITION_INFO:
    case IOCTL_DISK_GET_PARTITION_INFO_EX:
    case IOCTL_DISK_IS_WRITABLE:
    case IOCTL_DISK_CHECK_VERIFY:
    case IOCTL_STORAGE_CHECK_VERIFY:
    case IOCTL_STORAGE_CHECK_VERIFY2:
      return DiskQuery(disk, code, r);
    case IOCTL_STORAGE_QUERY_PROPERTY:
      return QueryProperty(r);
    case IOCTL_MOUNTDEV_QUERY_DEVICE_NAME:
      return QueryDeviceName(disk, r);
    case kLockVolume:  // no file system here to answer the volume controls
    case kUnlockVolume:
    case kDismountVolume:
      return STATUS_SUCCESS;
    default:
      return STATUS_INVALID_DEVICE_REQUEST;
  }
}

NTSTATUS Dispatch(PDEVICE_OBJECT device, ULONG code, Request& r) {
  DiskDevice* disk = Disk(device);
  switch (code) {
    case kIoctlOpenFile:
      return OpenContainer(device, r);
    case kIoctlCloseFile:
      CloseContainer(device);  // nothing open is nothing to release
      return STATUS_SUCCESS;
    // The guard touches no disk state, and its file may lie on this very disk: opening
    // it then pages through this device, whose transfers wait for the disk lock.
    case kIoctlLockFile:
      return LockFile(r);
    case kIoctlUnlockFile:
      ReleaseGuard();
      return STATUS_SUCCESS;
    case kIoctlLinkLetter:
      return LinkLetter(disk, r.buffer, r.inLength);
    case kIoctlUnlinkLetter:
      return UnlinkLetter(disk);
    case kIoctlQueryDevice:
      return QueryDevice(disk, r);
    default: {
      LockDisk(disk);
      NTSTATUS status = DiskRequest(disk, code, r);
      UnlockDisk(disk);
      return status;
    }
  }
}

}  // namespace

void MediaChanged(PDEVICE_OBJECT device) {
  DiskDevice* disk = Disk(device);
  ++disk->changes;
  disk->mediaChanged = true;
  if (device->Vpb && (device->Vpb->Flags & VPB_MOUNTED)) device->Flags |= DO_VERIFY_VOLUME;
}

// The disk is taken off under the lock, so no transfer uses the file any more; the
// file system is called after the lock is released, once the flushes are done.
void CloseContainer(PDEVICE_OBJECT device) {
  DiskDevice* disk = Disk(device);
  LockDisk(disk);
  HANDLE file = disk->file;
  UCHAR* scratch[kMaxHelpers + 1];
  RtlCopyMemory(scratch, disk->scratch, sizeof scratch);
  if (file) {  // a close that finds no file leaves the flag to the one closing it
    MediaChanged(device);
    disk->closing = true;
  }
  disk->file = nullptr;
  RtlZeroMemory(disk->scratch, sizeof disk->scratch);
  disk->length = 0;
  disk->keyed = false;
  XtsClear(&disk->key);
  const bool flushing = disk->flushes > 0;
  if (flushing) KeClearEvent(&disk->flushesDone);
  UnlockDisk(disk);
  if (!file) return;
  if (flushing) KeWaitForSingleObject(&disk->flushesDone, Executive, KernelMode, FALSE, nullptr);
  IO_STATUS_BLOCK io;
  ZwFlushBuffersFile(file, &io);
  ZwClose(file);
  FreeScratch(scratch);
  LockDisk(disk);
  disk->closing = false;
  UnlockDisk(disk);
}

NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  // Of the file-system controls only a caller's request has the layout read below;
  // the other minor functions (mount, verify, ...) are for file systems.
  if (stack->MajorFunction == IRP_MJ_FILE_SYSTEM_CONTROL &&
      stack->MinorFunction != IRP_MN_USER_FS_REQUEST)
    return CompleteIrp(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
  ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  Request r = {irp->AssociatedIrp.SystemBuffer, stack->Parameters.DeviceIoControl.InputBufferLength,
               stack->Parameters.DeviceIoControl.OutputBufferLength, 0, MustVerify(device, stack)};
  if (!r.buffer) r.inLength = r.outLength = 0;
  NTSTATUS status = Dispatch(device, code, r);
  if (status == STATUS_VERIFY_REQUIRED) IoSetHardErrorOrVerifyDevice(irp, device);
  // A warning (a short buffer, a new medium) still hands back what was written.
  return CompleteIrp(irp, status, NT_ERROR(status) ? 0 : r.information);
}
