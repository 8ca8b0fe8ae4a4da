#pragma once
// The new container mounted once under a free letter, formatted, labelled and unmounted.
#include <windows.h>

#include <string>

namespace wizard {

// The driver's first device: the one the mount command's number 0 names.
inline constexpr wchar_t OurDevice[] = L"\\Device\\SorvDisk\\SorvDisk0";
// How long a mounted drive may take to appear.
inline constexpr DWORD DriveWaitMs = 10000;

// The first letter from Z: down to D: that is not in use, as "X:"; "" when all are.
std::wstring FreeLetterFromZ();

// Waits, letting window messages run, until `drive` is defined; true when it then names our
// device. A letter that names another device is refused at once.
bool WaitForOurDrive(const std::wstring& drive, DWORD ms);

// The system's format dialog for drive number driveIndex (0 = A:) and the label "加密盘" on
// "X:\". Each call is also handed as a line to the recorder when a test build set one (the
// format dialog is an empty stub on some systems, so tests read the calls).
void FormatNewDrive(HWND owner, int driveIndex, bool full);
using FormatRecorder = void (*)(const std::wstring& line);
FormatRecorder SetFormatRecorder(FormatRecorder recorder);
void LabelNewDrive(const std::wstring& drive);

// Mounts the container at path with its disk key under a free letter; when the letter then
// names our device, asks the user to format it, formats, labels and unmounts it. Every failure
// is told; a drive that is not ours is never formatted, labelled or unmounted.
void MountFormatUnmount(HWND owner, const std::wstring& path, const std::string& diskKey);

}  // namespace wizard
