// What setup installs from its folder, and the program folder it takes.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "ProgramFolder.h"
#include "TempDir.h"

namespace {

// The system's files, as its layout names them.
const wchar_t* const kSystem[] = {
    L"SorvDesk.exe",   L"SorvForge.exe",  L"start.exe",     L"SorvLink.exe",  L"SorvShred.exe",
    L"SorvSparse.exe", L"SorvGuard.exe",  L"SorvCrypt.dll", L"SorvBlock.dll", L"SorvProbe.dll",
    L"SorvMount.dll",  L"SorvKeeper.dll", L"SorvDisk.sys",  L"tips.dat"};

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Setup, InstallsTheSystemsFilesAndNothingElseBesideIt) {
  TempDir from(L"setup_from"), to(L"setup_to");
  for (const wchar_t* name : kSystem) MakeFile(from / name, 10);
  MakeFile(from / L"SorvSetup.exe", 10);
  // Dropped into the download folder by someone else; help.chm is optional.
  const wchar_t* const foreign[] = {L"UxTheme.dll", L"version.dll", L"Helper.exe", L"x.ocx"};
  for (const wchar_t* name : foreign) MakeFile(from / name, 10);
  EXPECT_TRUE(setup::CopyProductFiles(from.path() + L"\\", to.path() + L"\\"));
  for (const wchar_t* name : kSystem) EXPECT_TRUE(Exists(to / name)) << Exists(to / name);
  for (const wchar_t* name : foreign) EXPECT_FALSE(Exists(to / name));
  // A file of the system missing beside it: reported.
  DeleteFileW((from / L"SorvMount.dll").c_str());
  EXPECT_FALSE(setup::CopyProductFiles(from.path() + L"\\", to.path() + L"\\"));
}

TEST(Setup, MakesItsFolderRefusesOneOthersOwn) {
  TempDir parent(L"setup_folder");
  const std::wstring made = parent / L"Sorvane";
  EXPECT_EQ(setup::PrepareProgramFolder(made), setup::FolderResult::Ready);
  EXPECT_TRUE(Exists(made));
  // A folder the user made beforehand (Wine reports every file as the user's own; Windows
  // gives it to the built-in users here).
  const std::wstring planted = parent / L"Planted";
  ASSERT_TRUE(CreateDirectoryW(planted.c_str(), nullptr));
  PSID users = nullptr;
  ConvertStringSidToSidW(L"S-1-5-32-545", &users);
  SetNamedSecurityInfoW(const_cast<wchar_t*>(planted.c_str()), SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION, users, nullptr, nullptr, nullptr);
  LocalFree(users);
  EXPECT_EQ(setup::PrepareProgramFolder(planted), setup::FolderResult::ForeignOwner);
}

}  // namespace
