#include "KeyBlocks.h"

#include <cstdint>

#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "SorvLibs.h"
#include "forms.h"

namespace desk {
namespace {
bool Failed(int32_t result) { return int16_t(result) < 0; }
}  // namespace

bool ReadBlock(const std::wstring& path, int index, std::string& text) {
  // The library fills 64 bytes; the rest of the cleared buffer ends the text.
  std::string buffer(128, '\0');
  bool ok = making::SurvivesAnsi(path) &&
            !Failed(sorvlib::CVD_ReadDataBlock(forms::ToAnsi(path).c_str(), index, buffer.data()));
  text = CutAtNul(buffer);
  return ok;
}

bool WriteBlock(const std::wstring& path, int index, const std::string& text) {
  return making::SurvivesAnsi(path) && making::WriteDataBlock(path, index, text);
}

bool BlockHolds(const std::wstring& path, int index, const std::string& text) {
  std::string read;
  return ReadBlock(path, index, read) && read == text;
}

bool HeaderIsValid(const std::wstring& path) {
  return making::SurvivesAnsi(path) &&
         !Failed(sorvlib::CVD_VerifyHeader(forms::ToAnsi(path).c_str()));
}

std::string VerifierOf(SorvCtl& control, const std::wstring& password) {
  control.SetPassword(password);
  return forms::ToAnsi(CutAtNul(control.Verifier()));
}

std::string UnwrapKey(const std::string& wrapped, const std::wstring& password) {
  std::string key(32, '\0');
  if (Failed(sorvlib::AESDecryptB64(wrapped.c_str(), forms::ToAnsi(password).c_str(), key.data())))
    return {};
  return CutAtNul(key);
}

std::string WrapKey(const std::string& key, const std::wstring& password) {
  std::string wrapped(128, '\0');
  if (Failed(sorvlib::AESEncryptB64(key.c_str(), forms::ToAnsi(password).c_str(), wrapped.data())))
    return {};
  return CutAtNul(wrapped);
}

}  // namespace desk
