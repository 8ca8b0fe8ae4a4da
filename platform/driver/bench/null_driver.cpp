// SorvNull.sys, for the benchmark only: two disks that complete every read and write at
// once, without a file or the cipher. \Device\SorvNull leaves the data alone: what a
// drive moves through it is what Wine itself can move through any driver.
// \Device\SorvNullTouch fills the caller's buffer on a read and reads all of it on a
// write, the least that any driver moving data must do: the honest ceiling.
#include "../ddk.h"

namespace {

struct NullDevice {
  bool touches;
};

NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

NTSTATUS DispatchSuccess(PDEVICE_OBJECT, PIRP irp) { return Complete(irp, STATUS_SUCCESS, 0); }

// Every byte of the caller's buffer: written on a read, read on a write.
bool Touch(PIRP irp, bool write, ULONG length) {
  if (!irp->MdlAddress || MmGetMdlByteCount(irp->MdlAddress) < length) return false;
  auto* bytes = static_cast<ULONG64*>(MmGetSystemAddressForMdlSafe(
      irp->MdlAddress, static_cast<MM_PAGE_PRIORITY>(NormalPagePriority | MdlMappingNoExecute)));
  if (!bytes) return false;
  if (!write) {
    memset(bytes, 0x5a, length);
    return true;
  }
  ULONG64 sum = 0;
  for (ULONG i = 0; i < length / 8; ++i) sum += bytes[i];
  volatile ULONG64 sink = sum;  // keeps the reads
  (void)sink;
  return true;
}

NTSTATUS DispatchReadWrite(PDEVICE_OBJECT device, PIRP irp) {
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  const bool write = stack->MajorFunction == IRP_MJ_WRITE;
  const ULONG length = write ? stack->Parameters.Write.Length : stack->Parameters.Read.Length;
  if (static_cast<NullDevice*>(device->DeviceExtension)->touches && length &&
      !Touch(irp, write, length))
    return Complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
  return Complete(irp, STATUS_SUCCESS, length);
}

void Unload(PDRIVER_OBJECT driver) {
  for (PDEVICE_OBJECT device = driver->DeviceObject; device;) {
    PDEVICE_OBJECT next = device->NextDevice;
    IoDeleteDevice(device);
    device = next;
  }
}

NTSTATUS CreateDisk(PDRIVER_OBJECT driver, PCWSTR path, bool touches) {
  UNICODE_STRING name;
  RtlInitUnicodeString(&name, path);
  PDEVICE_OBJECT device;
  NTSTATUS status = IoCreateDevice(driver, sizeof(NullDevice), &name, FILE_DEVICE_DISK,
                                   FILE_DEVICE_SECURE_OPEN, FALSE, &device);
  if (!NT_SUCCESS(status)) return status;
  static_cast<NullDevice*>(device->DeviceExtension)->touches = touches;
  device->Flags |= DO_DIRECT_IO;
  device->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

}  // namespace

extern "C" NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
  driver->MajorFunction[IRP_MJ_CREATE] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_CLOSE] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_READ] = DispatchReadWrite;
  driver->MajorFunction[IRP_MJ_WRITE] = DispatchReadWrite;
  driver->DriverUnload = Unload;
  NTSTATUS status = CreateDisk(driver, L"\\Device\\SorvNull", false);
  if (NT_SUCCESS(status)) status = CreateDisk(driver, L"\\Device\\SorvNullTouch", true);
  if (!NT_SUCCESS(status)) Unload(driver);
  return status;
}
