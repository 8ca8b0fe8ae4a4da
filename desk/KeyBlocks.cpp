#include "KeyBlocks.h"

#include <cstdint>

#include "ContainerMaking.h"
#include "CutAtNul.h"
#include "SorvLibs.h"
#include "Wipe.h"
#include "forms.h"
#include "header.h"

namespace desk {
namespace {
bool Failed(int32_t result) { return int16_t(result) < 0; }

constexpr DWORD kSector = 512;

SectorWriter& Writer() {
  static SectorWriter w;
  return w;
}

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

bool WriteKeyBlocks(const std::wstring& path, const std::string& verifier,
                    const std::string& wrapped) {
  static_assert((kWrappedKeyBlock + 1) * header::kBlockSize <= int(kSector));
  // Others may read meanwhile, not write: the sector written back is the one read.
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  unsigned char sector[kSector] = {};
  DWORD done = 0;
  OVERLAPPED at{};  // offset 0
  bool ok = ReadFile(h, sector, kSector, &done, &at) && done == kSector &&
            header::IsHeaderStart(sector) &&
            header::PlaceBlock(sector, kVerifierBlock, verifier.c_str()) &&
            header::PlaceBlock(sector, kWrappedKeyBlock, wrapped.c_str());
  if (ok) {
    at = OVERLAPPED{};
    done = 0;
    ok = (Writer() ? Writer()(h, sector, kSector, &done, &at)
                   : WriteFile(h, sector, kSector, &done, &at)) &&
         done == kSector && FlushFileBuffers(h);
  }
  CloseHandle(h);
  return ok;
}

SectorWriter SetSectorWriter(SectorWriter writer) {
  SectorWriter old = std::move(Writer());
  Writer() = std::move(writer);
  return old;
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
  std::string key(32, '\0'), ansi = forms::ToAnsi(password);
  WipeOnExit wipeKey{key}, wipePassword{ansi};
  if (Failed(sorvlib::AESDecryptB64(wrapped.c_str(), ansi.c_str(), key.data()))) return {};
  return CutAtNul(key);
}

std::string WrapKey(const std::string& key, const std::wstring& password) {
  std::string wrapped(128, '\0'), ansi = forms::ToAnsi(password);
  WipeOnExit wipePassword{ansi};
  if (Failed(sorvlib::AESEncryptB64(key.c_str(), ansi.c_str(), wrapped.data()))) return {};
  return CutAtNul(wrapped);
}

}  // namespace desk
