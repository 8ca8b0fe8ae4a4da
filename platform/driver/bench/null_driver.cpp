// SorvNull.sys, for the benchmark only: \Device\SorvNull, a disk that completes every
// read and write at once without touching the data, a file or the cipher. What a
// drive moves through it is what Wine itself can move through any driver.
#include "../ddk.h"

namespace {

NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

NTSTATUS DispatchSuccess(PDEVICE_OBJECT, PIRP irp) { return Complete(irp, STATUS_SUCCESS, 0); }

NTSTATUS DispatchReadWrite(PDEVICE_OBJECT, PIRP irp) {
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  return Complete(irp, STATUS_SUCCESS,
                  stack->MajorFunction == IRP_MJ_WRITE ? stack->Parameters.Write.Length
                                                       : stack->Parameters.Read.Length);
}

void Unload(PDRIVER_OBJECT driver) {
  if (driver->DeviceObject) IoDeleteDevice(driver->DeviceObject);
}

}  // namespace

extern "C" NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
  UNICODE_STRING name;
  RtlInitUnicodeString(&name, L"\\Device\\SorvNull");
  PDEVICE_OBJECT device;
  NTSTATUS status =
      IoCreateDevice(driver, 0, &name, FILE_DEVICE_DISK, FILE_DEVICE_SECURE_OPEN, FALSE, &device);
  if (!NT_SUCCESS(status)) return status;
  device->Flags |= DO_DIRECT_IO;
  device->Flags &= ~DO_DEVICE_INITIALIZING;
  driver->MajorFunction[IRP_MJ_CREATE] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_CLOSE] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchSuccess;
  driver->MajorFunction[IRP_MJ_READ] = DispatchReadWrite;
  driver->MajorFunction[IRP_MJ_WRITE] = DispatchReadWrite;
  driver->DriverUnload = Unload;
  return STATUS_SUCCESS;
}
