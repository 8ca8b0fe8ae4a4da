// Who may open the disks. Whoever may read or write one can read or change the
// decrypted disk of another session, and the product's requests mount, unmount and
// re-key: those stay the system's and the administrators'. Everyone may traverse the
// device, so that the user's own (unelevated) programs reach the file system on the
// volume, which then applies its own file rights.
// IoCreateDeviceSecure would do this in one call, but on Windows it lives in a WDK
// library, not in the kernel; the descriptor is built here instead, and set through
// a handle (Wine leaves ObSetSecurityObjectByPointer unimplemented, so a driver
// calling it dies there).
#include "device_access.h"
#include "driver.h"

static_assert(kFileAllAccess == FILE_ALL_ACCESS, "all access");
static_assert(kEveryoneAccess ==
                  (FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE),
              "traverse and the informational questions");

NTSTATUS SetDeviceAccess(PDEVICE_OBJECT device) {
  alignas(ULONG) UCHAR acl[kDeviceAclBytes];
  BuildDeviceAcl(acl);
  SECURITY_DESCRIPTOR descriptor;
  NTSTATUS status = RtlCreateSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  if (NT_SUCCESS(status))
    status = RtlSetDaclSecurityDescriptor(&descriptor, TRUE, reinterpret_cast<PACL>(acl), FALSE);
  HANDLE handle = nullptr;
  if (NT_SUCCESS(status))
    status = ObOpenObjectByPointer(device, OBJ_KERNEL_HANDLE, nullptr, WRITE_DAC, nullptr,
                                   KernelMode, &handle);
  if (NT_SUCCESS(status))
    status = ZwSetSecurityObject(handle, DACL_SECURITY_INFORMATION, &descriptor);
  if (handle) ZwClose(handle);
  return status;
}
