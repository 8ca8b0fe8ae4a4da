// The real wiper behind the wipe control's interface.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "FileWipe.h"
#include "Handles.h"
#include "ShredControl.h"

namespace shredder {

class SorvShredX : public ShredControl {
 public:
  SorvShredX() = default;
  // Named streams and data ranges found through `layout`.
  explicit SorvShredX(FileLayout& layout) : layout_(&layout) {}

  // Bottom up: the files of each folder, its sub-folders, then the folder itself, each
  // opened through the handle of the folder that holds it and wiped only when it is still the
  // entry the listing showed (its file ID and kind). Links (reparse points: every folder one,
  // and the file links) lose their own name only; what they point to is never entered. The
  // path names exactly one entry: no trailing dot or blank is dropped. Paths of any length.
  void ShredFolder(const std::wstring& path) override;
  void ShredFile(const std::wstring& path) override;

 private:
  struct Node {
    Entry entry;
    enum Kind { File, Folder, Link } kind;
    bool changed = false;  // not what its folder's listing showed when it was opened to list
    std::vector<Node> inside;
  };
  void Start(const std::wstring& path, bool folder);
  void Collect(HANDLE folder, Node& node);
  void Wipe(HANDLE folder, const Node& node, const std::wstring& path);
  void WipeOne(HANDLE folder, const Node& node, const std::wstring& path);
  void RemoveFolder(HANDLE folder, const Node& node, const std::wstring& path);
  void RemoveLink(HANDLE folder, const Node& node, const std::wstring& path);
  static Node::Kind KindOf(const Entry& entry);
  static uint64_t Units(const Node& node);
  void Leave(const std::wstring& path, const std::wstring& why);
  // The share done, with `part` of the entry at `path` done.
  void Report(const std::wstring& path, uint64_t part);

  FileLayout system_;
  FileLayout* layout_ = &system_;
  RandomBytes random_;
  uint64_t total_ = 0, done_ = 0;
};

}  // namespace shredder
