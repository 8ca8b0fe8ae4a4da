// The real wiper behind the wipe control's interface.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "FileWipe.h"
#include "ShredControl.h"

namespace shredder {

class SorvShredX : public ShredControl {
 public:
  // Bottom up: the files of each folder, its sub-folders, then the folder itself. Links
  // (reparse points) are removed themselves; what they point to is never entered.
  void ShredFolder(const std::wstring& path) override;
  void ShredFile(const std::wstring& path) override;

 private:
  struct Item {
    std::wstring path;
    enum Kind { File, Folder, FileLink, FolderLink } kind;
    uint64_t size;
  };
  void Collect(const std::wstring& folder, std::vector<Item>& items);
  void Run(const std::vector<Item>& items);
};

}  // namespace shredder
