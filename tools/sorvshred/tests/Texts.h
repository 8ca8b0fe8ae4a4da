#pragma once
// The texts the wipe shell shows, written out here as the user reads them.
#include <string>

inline std::wstring FolderBox(const std::wstring& path) {
  return L"即将彻底删除文件夹[" + path +
         L"]和文件夹内的所有文件（及其子文件夹和子文件夹内的所有文件），删除后将无法恢复! "
         L"确实要彻底删除吗？ ";
}
inline std::wstring FileBox(const std::wstring& path) {
  return L"即将彻底删除文件[" + path + L"]的所有内容，删除后将无法恢复! 确实要彻底删除吗？ ";
}
inline std::wstring NotWipedBox(const std::wstring& path) {
  return L"[" + path + L"]未能彻底删除：它可能正被其他程序使用，或您没有删除它的权限。";
}
inline std::wstring NotFoundBox(const std::wstring& path) {
  return L"[" + path + L"]未能彻底删除：找不到它（名称须与磁盘上的完全一致），未删除任何内容。";
}
inline std::wstring ChangedLine(const std::wstring& path) {
  return L"[" + path + L"]未能彻底删除：列出之后它被改名、替换或换成了链接，已原样保留，"
         L"其中的内容未被触及。";
}
inline std::wstring NoSpaceLine(const std::wstring& path) {
  return L"[" + path + L"]未能彻底删除：磁盘空间不足，无法覆写它的全部内容；文件未删除。";
}
inline std::wstring SeveralNamesLine(const std::wstring& path) {
  return L"[" + path +
         L"]未能彻底删除：它还有其他文件名（硬链接），"
         L"擦除会毁掉其他文件名下的同一内容，已原样保留。";
}
inline std::wstring LinkLeftLine(const std::wstring& path) {
  return L"[" + path +
         L"]未能彻底删除：它是指向别处的链接，只能删除链接本身，而链接本身未能删除；"
         L"它指向的内容未被触及。";
}
