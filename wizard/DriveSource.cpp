#include "DriveSource.h"

namespace wizard {
namespace {

DriveLister& Current() {
  static DriveLister lister;
  return lister;
}

}  // namespace

DriveLister SetDriveLister(DriveLister lister) {
  DriveLister old = std::move(Current());
  Current() = std::move(lister);
  return old;
}

std::vector<forms::Drive> ListDrives() { return Current() ? Current()() : forms::Drives(); }

std::wstring ShowFileSystemType(const std::wstring& drive) {
  if (!Current()) return forms::GetDrive(drive).FileSystem;
  for (const forms::Drive& d : Current()())
    if (!drive.empty() && d.DriveLetter == towupper(drive[0])) return d.FileSystem;
  return L"";
}

}  // namespace wizard
