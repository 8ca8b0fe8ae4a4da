#pragma once
// A file or folder known by what it is (its volume and file index), not by a path that could
// name something else by the time it is used again.
#include <windows.h>

#include <string>

struct FileIdentity {
  DWORD volume = 0;
  ULONGLONG index = 0;
  bool known = false;
};

// The identity of what `file` has open; not known when it cannot be read.
FileIdentity IdentityOf(HANDLE file);

// The identity of the file or folder at path, opened for a moment; not known when it cannot be.
FileIdentity IdentityAt(const std::wstring& path);

// True when both are known and the same file.
bool IsSame(const FileIdentity& a, const FileIdentity& b);
