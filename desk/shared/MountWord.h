#pragma once
// The mount library takes a container path as one word of its command line: quoted, at most
// 255 bytes in the system's ANSI code page. A longer path can be made but never mounted.
#include <string>

inline constexpr int kMountWordBytes = 255;

// True when the path, quoted, fits one word of the mount command.
bool MountCommandCarries(const std::wstring& path);

inline constexpr wchar_t kPathTooLong[] =
    L"加密盘文件的路径太长，不能加载：路径连同两边的引号不能超过255字节（一个汉字算2字节），"
    L"请选择较短的路径。";
