#include "driver.h"

#include "sorvdisk_ioctl.h"

namespace {

HANDLE g_directory;
PDEVICE_OBJECT g_devices[kDeviceCount];
bool g_noExecute;

NTSTATUS DispatchSuccess(PDEVICE_OBJECT, PIRP irp) { return CompleteIrp(irp, STATUS_SUCCESS, 0); }

// Windows is shutting down: what the disks wrote goes to the containers' storage. The
// containers stay open, since the file systems on the disks are told after this driver
// (the last to register is told first) and still write their last changes.
NTSTATUS DispatchShutdown(PDEVICE_OBJECT device, PIRP irp) {
  return CompleteIrp(irp, FlushContainer(Disk(device)), 0);
}

void DeleteDevices() {
  for (PDEVICE_OBJECT& device : g_devices) {
    if (!device) continue;
    DiskDevice* disk = Disk(device);
    IoUnregisterShutdownNotification(device);
    StopWorker(disk);
    StopHelpers(disk);
    CloseContainer(device);
    UnlinkLetter(disk);
    ExDeleteResourceLite(&disk->lock);
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
  DiskDevice* disk = Disk(device);
  RtlZeroMemory(disk, sizeof *disk);
  status = ExInitializeResourceLite(&disk->lock);
  if (!NT_SUCCESS(status)) {
    IoDeleteDevice(device);
    return status;
  }
  g_devices[number] = device;  // deleted with the others from here on
  KeInitializeEvent(&disk->flushesDone, NotificationEvent, FALSE);
  RtlCopyMemory(disk->name, name, (chars + 1) * sizeof(WCHAR));
  disk->nameLength = static_cast<USHORT>(chars * 2);
  status = SetDeviceAccess(device);
  if (NT_SUCCESS(status)) status = StartWorker(device);
  if (NT_SUCCESS(status)) status = StartHelpers(disk);
  if (NT_SUCCESS(status)) status = IoRegisterShutdownNotification(device);
  if (!NT_SUCCESS(status)) return status;
  device->Flags |= DO_DIRECT_IO;
  device->AlignmentRequirement = FILE_WORD_ALIGNMENT;
  device->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

}  // namespace

POOL_TYPE NonPagedData() { return g_noExecute ? NonPagedPoolNx : NonPagedPool; }
ULONG NoExecuteMapping() { return g_noExecute ? MdlMappingNoExecute : 0; }

NTSTATUS CompleteIrp(PIRP irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_DISK_INCREMENT);
  return status;
}

extern "C" NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
  RTL_OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  g_noExecute = NT_SUCCESS(RtlGetVersion(&version)) &&
                (version.dwMajorVersion > 6 ||
                 (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2));
  InitGuard();
  // The table is complete before a device can take its first request.
  driver->MajorFunction[IRP_MJ_CREATE] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_CLOSE] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_READ] = DispatchReadWrite;
  driver->MajorFunction[IRP_MJ_WRITE] = DispatchReadWrite;
  driver->MajorFunction[IRP_MJ_FLUSH_BUFFERS] = DispatchReadWrite;
  driver->MajorFunction[IRP_MJ_SHUTDOWN] = DispatchShutdown;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
  driver->MajorFunction[IRP_MJ_FILE_SYSTEM_CONTROL] = DispatchDeviceControl;
  driver->DriverUnload = Unload;

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
  return STATUS_SUCCESS;
}
