// Who may open the disks. Whoever holds a handle can mount, unmount, re-key or read
// the disk of another session, so only the system and the administrators may.
// IoCreateDeviceSecure would do this in one call, but on Windows it lives in a WDK
// library, not in the kernel; the descriptor is built here with the kernel's own
// exports instead, and set through a handle (Wine leaves ObSetSecurityObjectByPointer
// unimplemented, so a driver calling it dies there).
#include "driver.h"

namespace {

// Room for a SID of up to two sub-authorities: S-1-5-18 and S-1-5-32-544.
struct Sid2 {
  alignas(ULONG) UCHAR bytes[sizeof(SID) + sizeof(ULONG)];
};

void MakeSid(Sid2* sid, ULONG first, ULONG second, UCHAR count) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  RtlInitializeSid(sid->bytes, &nt, count);
  *RtlSubAuthoritySid(sid->bytes, 0) = first;
  if (count > 1) *RtlSubAuthoritySid(sid->bytes, 1) = second;
}

}  // namespace

NTSTATUS AdministratorsOnly(PDEVICE_OBJECT device) {
  Sid2 system, administrators;
  MakeSid(&system, SECURITY_LOCAL_SYSTEM_RID, 0, 1);
  MakeSid(&administrators, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 2);
  ULONG aclBytes[64];  // room for the header and both entries, ULONG-aligned
  auto* acl = reinterpret_cast<PACL>(aclBytes);
  SECURITY_DESCRIPTOR descriptor;
  NTSTATUS status = RtlCreateAcl(acl, sizeof aclBytes, ACL_REVISION);
  if (NT_SUCCESS(status))
    status = RtlAddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, system.bytes);
  if (NT_SUCCESS(status))
    status = RtlAddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, administrators.bytes);
  if (NT_SUCCESS(status))
    status = RtlCreateSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  if (NT_SUCCESS(status)) status = RtlSetDaclSecurityDescriptor(&descriptor, TRUE, acl, FALSE);
  HANDLE handle = nullptr;
  if (NT_SUCCESS(status))
    status = ObOpenObjectByPointer(device, OBJ_KERNEL_HANDLE, nullptr, WRITE_DAC, nullptr,
                                   KernelMode, &handle);
  if (NT_SUCCESS(status))
    status = ZwSetSecurityObject(handle, DACL_SECURITY_INFORMATION, &descriptor);
  if (handle) ZwClose(handle);
  return status;
}
