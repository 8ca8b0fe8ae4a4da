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
  SorvShredX() = default;
  // Named streams found and opened through `streams`.
  explicit SorvShredX(Streams& streams) : streams_(&streams) {}

  // Bottom up: the files of each folder, its sub-folders, then the folder itself. Links
  // (reparse points: every folder one, and the file links) lose their own name only; what
  // they point to is never entered. Paths of any length.
  void ShredFolder(const std::wstring& path) override;
  void ShredFile(const std::wstring& path) override;

 private:
  struct Item {
    std::wstring path;  // the long form
    enum Kind { File, Folder, Link } kind;
    uint64_t size;
  };
  void Collect(const std::wstring& folder, std::vector<Item>& items);
  void Run(const std::vector<Item>& items);
  void Leave(const Item& item, const wchar_t* why);

  Streams system_;
  Streams* streams_ = &system_;
};

}  // namespace shredder
