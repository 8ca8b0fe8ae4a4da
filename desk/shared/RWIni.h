#pragma once
// One ini file read and written through the profile functions; the file is in the ANSI code
// page. Nothing is cached: each call goes to the file.
#include <string>

class RWIni {
 public:
  void WriteIniKey(const std::wstring& section, const std::wstring& key, const std::wstring& value);
  // The value without blanks at either end; "" when file, section or key is missing.
  std::wstring GetIniKey(const std::wstring& section, const std::wstring& key);
  void SetINIFileName(const std::wstring& fileName) { fileName_ = fileName; }
  const std::wstring& INIFileName() const { return fileName_; }
  void DelIniKey(const std::wstring& section, const std::wstring& key);
  void DelIniSec(const std::wstring& section);

 private:
  static std::wstring JoinPath(std::wstring dir, std::wstring name);
  void SetIniFilePath(const std::wstring& dir, const std::wstring& name);

  std::wstring fileName_;
};
