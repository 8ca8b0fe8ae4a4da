// A mounted disk's drive letter, made in the global DOS-device namespace so that
// every logon session sees it. Under UAC the elevated program that mounts has a
// logon session of its own, and a letter it defines itself is seen by nobody else;
// only the kernel (or LocalSystem) may name a letter for all of them.
// "\DosDevices\Global" reaches the global names whichever caller's context the
// request runs in: a caller's "\DosDevices" is its own logon session's.
#include "driver.h"

#include "sorvdisk_ioctl.h"

namespace {

struct LinkName {
  WCHAR text[24];
  UNICODE_STRING string;
  explicit LinkName(WCHAR letter) {
    static const WCHAR kBase[] = L"\\DosDevices\\Global\\";
    USHORT chars = 0;
    for (; kBase[chars]; ++chars) text[chars] = kBase[chars];
    text[chars++] = letter;
    text[chars++] = L':';
    text[chars] = 0;
    string = {static_cast<USHORT>(chars * 2), static_cast<USHORT>(chars * 2), text};
  }
};

bool IsLetter(UCHAR c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Whether the open link names this device: another program may have replaced ours.
bool PointsHere(HANDLE link, const DiskDevice* disk) {
  WCHAR target[40];
  UNICODE_STRING string = {0, sizeof target, target};
  if (!NT_SUCCESS(ZwQuerySymbolicLinkObject(link, &string, nullptr))) return false;
  if (string.Length != disk->nameLength) return false;
  for (USHORT i = 0; i < disk->nameLength / 2; ++i)
    if (target[i] != disk->name[i]) return false;
  return true;
}

// Removes the device's letter when it still names the device; under the disk lock.
NTSTATUS RemoveLink(DiskDevice* disk) {
  if (!disk->letter) return STATUS_SUCCESS;
  LinkName name(disk->letter);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &name.string, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE,
                             nullptr, nullptr);
  HANDLE link;
  NTSTATUS status = ZwOpenSymbolicLinkObject(&link, DELETE | SYMBOLIC_LINK_QUERY, &attributes);
  if (NT_SUCCESS(status)) {
    if (PointsHere(link, disk)) status = ZwMakeTemporaryObject(link);
    ZwClose(link);
  }
  // Gone, or taken over by another: the name is no longer the device's either way.
  if (status == STATUS_OBJECT_NAME_NOT_FOUND) status = STATUS_SUCCESS;
  if (NT_SUCCESS(status)) disk->letter = 0;
  return status;
}

}  // namespace

// A device has one letter: a new one replaces the old. A letter that exists is refused
// (the link is made only where no name is), never taken over. The new link is made
// before the old one goes, so a refused letter leaves the device the one it had; its
// own letter asked again is made anew.
NTSTATUS LinkLetter(DiskDevice* disk, const void* input, ULONG length) {
  if (length < 1 || !IsLetter(*static_cast<const UCHAR*>(input))) return STATUS_INVALID_PARAMETER;
  const WCHAR letter = *static_cast<const UCHAR*>(input) & ~0x20;  // the system's drive names
  LinkName name(letter);
  UNICODE_STRING target = {disk->nameLength, disk->nameLength, disk->name};
  LockDisk(disk);
  NTSTATUS status = disk->letter == letter ? RemoveLink(disk) : STATUS_SUCCESS;
  if (NT_SUCCESS(status)) status = IoCreateSymbolicLink(&name.string, &target);
  if (NT_SUCCESS(status)) {
    RemoveLink(disk);  // the old letter, if it was another
    disk->letter = letter;
  }
  UnlockDisk(disk);
  return status;
}

NTSTATUS UnlinkLetter(DiskDevice* disk) {
  LockDisk(disk);
  NTSTATUS status = RemoveLink(disk);
  UnlockDisk(disk);
  return status;
}
