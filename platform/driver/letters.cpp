// A mounted disk's drive letter, made in the global DOS-device namespace so that
// every logon session sees it. Under UAC the elevated program that mounts has a
// logon session of its own, and a letter it defines itself is seen by nobody else;
// only the kernel (or LocalSystem) may name a letter for all of them.
// The link is named in "\GLOBAL??" itself: "\DosDevices\Global" is resolved through
// the device map of the process whose request is running. A system without
// "\GLOBAL??" (Wine has one namespace, which "\DosDevices\Global" reaches) takes that.
#include "driver.h"

#include "sorvdisk_ioctl.h"

namespace {

const WCHAR* const kBases[] = {L"\\GLOBAL??\\", L"\\DosDevices\\Global\\"};

struct LinkName {
  WCHAR text[24];
  UNICODE_STRING string;
  LinkName(const WCHAR* base, WCHAR letter) {
    USHORT chars = 0;
    for (; base[chars]; ++chars) text[chars] = base[chars];
    text[chars++] = letter;
    text[chars++] = L':';
    text[chars] = 0;
    string = {static_cast<USHORT>(chars * 2), static_cast<USHORT>(chars * 2), text};
  }
};

// Runs act on the letter's global name, in the first namespace the system has.
template <typename Act>
NTSTATUS OnGlobalName(WCHAR letter, Act act) {
  NTSTATUS status = STATUS_OBJECT_PATH_NOT_FOUND;
  for (const WCHAR* base : kBases) {
    LinkName name(base, letter);
    status = act(&name.string);
    if (status != STATUS_OBJECT_PATH_NOT_FOUND) break;
  }
  return status;
}

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

NTSTATUS OpenLink(WCHAR letter, HANDLE* link) {
  return OnGlobalName(letter, [link](UNICODE_STRING* name) {
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, name, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE,
                               nullptr, nullptr);
    return ZwOpenSymbolicLinkObject(link, DELETE | SYMBOLIC_LINK_QUERY, &attributes);
  });
}

// Whether the letter's link exists and names this device.
bool LinkedHere(DiskDevice* disk, WCHAR letter) {
  HANDLE link;
  if (!NT_SUCCESS(OpenLink(letter, &link))) return false;
  const bool here = PointsHere(link, disk);
  ZwClose(link);
  return here;
}

// Removes the device's letter when it still names the device; under the disk lock.
NTSTATUS RemoveLink(DiskDevice* disk) {
  if (!disk->letter) return STATUS_SUCCESS;
  HANDLE link;
  NTSTATUS status = OpenLink(disk->letter, &link);
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
// own letter asked again is kept while it still names the device, made again if gone.
NTSTATUS LinkLetter(DiskDevice* disk, const void* input, ULONG length) {
  if (length < 1 || !IsLetter(*static_cast<const UCHAR*>(input))) return STATUS_INVALID_PARAMETER;
  const WCHAR letter = *static_cast<const UCHAR*>(input) & ~0x20;  // the system's drive names
  UNICODE_STRING target = {disk->nameLength, disk->nameLength, disk->name};
  LockDisk(disk);
  if (disk->letter == letter && !LinkedHere(disk, letter)) disk->letter = 0;  // gone or taken
  NTSTATUS status = STATUS_SUCCESS;
  if (disk->letter != letter) {
    status = OnGlobalName(letter, [&target](UNICODE_STRING* name) {
      return IoCreateSymbolicLink(name, &target);
    });
    if (NT_SUCCESS(status)) {
      RemoveLink(disk);  // the old letter
      disk->letter = letter;
    }
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
