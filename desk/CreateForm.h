#pragma once
// Form2: the create dialog. Checks the path, size and password, makes the container file
// with its header and keys, lists it, and offers to make it the current container.
#include <cstdint>
#include <functional>
#include <string>

#include "ProgressForm.h"
#include "SorvCtl.h"
#include "forms.h"

namespace desk {

class Form1;

class Form2 : public forms::Form {
 public:
  explicit Form2(Form1& main);

  forms::Frame Frame1, Frame2, Frame3;
  forms::TextBox Text1, Text2, Text3, Text4;
  forms::CommandButton Command1, Command2, Command3;
  forms::SpinButton SpinButton1;
  forms::Label Label1, Label2;
  forms::Image Image1;
  SorvCtl Sorvane1;
  Form7 progress;

  // What the checks ask of a drive ("G:"); the real drive unless a test puts another here.
  std::function<forms::Drive(const std::wstring& drive)> DriveQuery = forms::GetDrive;
  // The file system of a drive: "NTFS", "FAT32", "FAT" or another name ("" when not ready).
  std::wstring ShowFileSystemType(const std::wstring& drive);

  // The checks in their order, each refusal shown; true when the inputs may be used. On
  // success `path` is the full path, `mib` the size and `password` the checked password (read
  // from its box once; the caller wipes it).
  bool CheckInputs(std::wstring& path, int32_t& mib, std::wstring& password);
  // "创建".
  void CreateContainer();

 protected:
  void Design() override;
  void Form_Initialize() override;
  void Form_Load() override;
  void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override;

 private:
  void Command1_Click();
  void Text2_KeyPress(int& keyAscii);
  void Spin(int step);
  bool MakeFile(const std::wstring& path, int32_t mib, const std::wstring& fileSystem);
  bool WriteHeaderAndKeys(const std::wstring& path, const std::wstring& password);
  bool ListContainer(const std::wstring& path);
  void Busy(bool on);

  Form1& main_;
};

}  // namespace desk
