#include "ContainerList.h"

#include <windows.h>

#include "ListMessages.h"
#include "forms.h"

namespace {
constexpr wchar_t kCountSection[] = L"CvdFileCount";
constexpr wchar_t kCountKey[] = L"Count";
constexpr wchar_t kListSection[] = L"CvdFileList";
}  // namespace

ContainerList::ContainerList(std::wstring iniPath) { ini_.SetINIFileName(iniPath); }

ContainerList ContainerList::InProgramFolder() {
  return ContainerList(forms::AppPath() + L"\\List.ini");
}

bool ContainerList::Exists() const {
  DWORD attr = GetFileAttributesW(ini_.INIFileName().c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

int ContainerList::ReadCount() {
  if (!Exists()) return 0;
  std::wstring text = ini_.GetIniKey(kCountSection, kCountKey);
  if (text.empty() || text.size() > 5) return -1;
  int n = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return -1;
    n = n * 10 + (c - L'0');
  }
  return n <= kMaxEntries ? n : -1;
}

ListResult ContainerList::Refuse(ListResult why) {
  ShowListRefusal(why, ini_.INIFileName());
  return why;
}

ListResult ContainerList::Load(std::vector<std::wstring>& paths) {
  paths.clear();
  int n = ReadCount();
  if (n < 0) return ListResult::Damaged;
  for (int i = 1; i <= n; ++i) paths.push_back(ini_.GetIniKey(kListSection, std::to_wstring(i)));
  return ListResult::Done;
}

ListResult ContainerList::Room(int& n) {
  n = ReadCount();
  if (n < 0) return Refuse(ListResult::Damaged);
  if (n >= kMaxEntries) return Refuse(ListResult::Full);
  return ListResult::Done;
}

ListResult ContainerList::CanAppend() {
  int n = 0;
  return Room(n);
}

bool ContainerList::Holds(const std::wstring& path) {
  std::vector<std::wstring> paths;
  if (Load(paths) != ListResult::Done) return false;
  for (const std::wstring& p : paths)
    if (p == path) return true;
  return false;
}

ListResult ContainerList::Append(const std::wstring& path) {
  int n = 0;
  const ListResult room = Room(n);
  if (room != ListResult::Done) return room;
  // Count first, then the key: the order the other readers of the file expect.
  ini_.WriteIniKey(kCountSection, kCountKey, std::to_wstring(n + 1));
  ini_.WriteIniKey(kListSection, std::to_wstring(n + 1), path);
  return ListResult::Done;
}

ListResult ContainerList::AppendUnlisted(const std::wstring& path) {
  int n = ReadCount();
  if (n < 0) return Refuse(ListResult::Damaged);
  for (int i = 1; i <= n; ++i)
    if (ini_.GetIniKey(kListSection, std::to_wstring(i)) == path) return ListResult::AlreadyListed;
  return Append(path);
}

void ContainerList::RemoveKey(int k, int n) {
  for (int j = k; j < n; ++j)
    ini_.WriteIniKey(kListSection, std::to_wstring(j),
                     ini_.GetIniKey(kListSection, std::to_wstring(j + 1)));
  ini_.DelIniKey(kListSection, std::to_wstring(n));
  ini_.WriteIniKey(kCountSection, kCountKey, std::to_wstring(n - 1));
}

ListResult ContainerList::RemoveAt(int k, const std::wstring& rowPath) {
  int n = ReadCount();
  if (n < 0) return Refuse(ListResult::Damaged);
  if (k >= 1 && k <= n && ini_.GetIniKey(kListSection, std::to_wstring(k)) == rowPath) {
    RemoveKey(k, n);
    return ListResult::Done;
  }
  return RemovePath(rowPath);
}

ListResult ContainerList::RemovePath(const std::wstring& path) {
  int n = ReadCount();
  if (n < 0) return Refuse(ListResult::Damaged);
  for (int h = 1; h <= n; ++h) {
    if (ini_.GetIniKey(kListSection, std::to_wstring(h)) == path) {
      RemoveKey(h, n);
      return ListResult::Done;
    }
  }
  return ListResult::NotFound;
}
