#include "driver.h"

#include "sorvdisk_ioctl.h"

namespace {

HANDLE g_directory;
PDEVICE_OBJECT g_devices[kDeviceCount];

NTSTATUS DispatchSuccess(PDEVICE_OBJECT, PIRP irp) { return CompleteIrp(irp, STATUS_SUCCESS, 0); }

NTSTATUS DispatchFlush(PDEVICE_OBJECT device, PIRP irp) {
  DiskDevice* disk = Disk(device);
  NTSTATUS status = STATUS_SUCCESS;
  LockMutex(&disk->lock);
  if (disk->file) {
    IO_STATUS_BLOCK io;
    status = ZwFlushBuffersFile(disk->file, &io);
  }
  UnlockMutex(&disk->lock);
  return CompleteIrp(irp, status, 0);
}

void DeleteDevices() {
  for (PDEVICE_OBJECT& device : g_devices) {
    if (!device) continue;
    StopWorker(Disk(device));
    CloseContainer(Disk(device));
    UnlinkLetter(Disk(device));
    IoDeleteDevice(device);
    device = nullptr;
  }
  if (g_directory) {
    ZwClose(g_directory);
    g_directory = nullptr;
  }
}

void Unload(PDRIVER_OBJECT) {
  DeleteDevices();
  ReleaseGuard();
}

NTSTATUS CreateDevice(PDRIVER_OBJECT driver, unsigned number) {
  static const WCHAR kBase[] = L"\\Device\\SorvDisk\\SorvDisk";
  WCHAR name[32];
  USHORT chars = 0;
  for (; kBase[chars]; ++chars) name[chars] = kBase[chars];
  name[chars++] = static_cast<WCHAR>(L'0' + number);
  name[chars] = 0;
  UNICODE_STRING deviceName = {static_cast<USHORT>(chars * 2), static_cast<USHORT>(chars * 2),
                               name};

  // Secure open: names below the device ("\\.\X:\anything") meet the same check.
  PDEVICE_OBJECT device;
  NTSTATUS status = IoCreateDevice(driver, sizeof(DiskDevice), &deviceName, FILE_DEVICE_DISK,
                                   FILE_DEVICE_SECURE_OPEN, FALSE, &device);
  if (!NT_SUCCESS(status)) return status;
  g_devices[number] = device;  // deleted with the others from here on
  DiskDevice* disk = Disk(device);
  RtlZeroMemory(disk, sizeof *disk);
  KeInitializeMutex(&disk->lock, 0);
  RtlCopyMemory(disk->name, name, (chars + 1) * sizeof(WCHAR));
  disk->nameLength = static_cast<USHORT>(chars * 2);
  status = AdministratorsOnly(device);
  if (NT_SUCCESS(status)) status = StartWorker(device);
  if (!NT_SUCCESS(status)) return status;
  device->Flags |= DO_DIRECT_IO;
  device->AlignmentRequirement = FILE_WORD_ALIGNMENT;
  device->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

}  // namespace

NTSTATUS CompleteIrp(PIRP irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

extern "C" NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
  InitGuard();
  UNICODE_STRING directoryName;
  RtlInitUnicodeString(&directoryName, L"\\Device\\SorvDisk");
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &directoryName,
                             OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE | OBJ_OPENIF, nullptr,
                             nullptr);
  NTSTATUS status = ZwCreateDirectoryObject(&g_directory, DIRECTORY_ALL_ACCESS, &attributes);
  if (!NT_SUCCESS(status)) return status;

  for (unsigned i = 0; i < kDeviceCount; ++i) {
    status = CreateDevice(driver, i);
    if (!NT_SUCCESS(status)) {
      DeleteDevices();
      return status;
    }
  }
  driver->MajorFunction[IRP_MJ_CREATE] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_CLOSE] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_READ] = DispatchReadWrite;
  driver->MajorFunction[IRP_MJ_WRITE] = DispatchReadWrite;
  driver->MajorFunction[IRP_MJ_FLUSH_BUFFERS] = DispatchFlush;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
  driver->MajorFunction[IRP_MJ_FILE_SYSTEM_CONTROL] = DispatchDeviceControl;
  driver->DriverUnload = Unload;
  return STATUS_SUCCESS;
}
