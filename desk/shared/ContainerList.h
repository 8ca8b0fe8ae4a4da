#pragma once
// The container list "List.ini" beside the programs:
//   [CvdFileCount] Count=n      [CvdFileList] 1..n = full paths, in the main window's row order.
// Every operation re-reads Count right before it writes. A file whose Count is missing, empty,
// not a number or out of range is damaged: it loads as empty, and nothing is written to it.
#include <string>
#include <vector>

#include "RWIni.h"

enum class ListResult {
  Done,
  Damaged,        // refused: Count unreadable (the user is told)
  Full,           // refused: 32767 entries (the user is told)
  AlreadyListed,  // wizard append: the path is in the list, nothing written
  NotFound,       // removal: no key holds the path, nothing written
};

class ContainerList {
 public:
  static constexpr int kMaxEntries = 32767;

  explicit ContainerList(std::wstring iniPath);
  // "List.ini" in the program folder.
  static ContainerList InProgramFolder();
  std::wstring File() const { return ini_.INIFileName(); }

  // Done (also when the file is missing: an empty list) or Damaged (an empty list).
  ListResult Load(std::vector<std::wstring>& paths);
  // Done when an entry could be appended now; Damaged or Full (the user is told) otherwise.
  // Asked before a new container file is made, so that a refusal leaves no file behind.
  ListResult CanAppend();
  // True when the file lists the path (read back: the profile functions report no failure).
  bool Holds(const std::wstring& path);
  // As the management program appends: the caller has made sure the path is not listed.
  ListResult Append(const std::wstring& path);
  // As the wizard appends: a path already listed is not written again.
  ListResult AppendUnlisted(const std::wstring& path);
  // Removes row k (from 1) of the list the caller shows. The key is removed only when it still
  // holds rowPath; otherwise (the file changed meanwhile) the entry holding rowPath is removed.
  ListResult RemoveAt(int k, const std::wstring& rowPath);
  // Removes the first entry holding exactly path.
  ListResult RemovePath(const std::wstring& path);

 private:
  bool Exists() const;
  // Count, or -1 when the file exists and Count is not a number from 0 to kMaxEntries.
  int ReadCount();
  ListResult Refuse(ListResult why);
  // Reads Count into n; Damaged or Full (told) when no entry can be added.
  ListResult Room(int& n);
  void RemoveKey(int k, int n);

  RWIni ini_;
};
