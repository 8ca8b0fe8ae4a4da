// What setup installs from its folder, the program folder it takes, and the order in which it
// loads the service library.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "Install.h"
#include "ProgramFolder.h"
#include "Reg.h"
#include "SavedSettings.h"
#include "TempDir.h"
#include "forms.h"

namespace {

// The system's files, as its layout names them.
const wchar_t* const kSystem[] = {
    L"SorvDesk.exe",   L"SorvForge.exe",  L"start.exe",     L"SorvLink.exe",  L"SorvShred.exe",
    L"SorvSparse.exe", L"SorvGuard.exe",  L"SorvCrypt.dll", L"SorvBlock.dll", L"SorvProbe.dll",
    L"SorvMount.dll",  L"SorvKeeper.dll", L"SorvDisk.sys",  L"tips.dat"};

// Descriptors: owner Administrators, only they (and SYSTEM) may change it, users read and run.
const wchar_t kAdminsOnly[] = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Wine keeps no owners or access lists: the descriptor each object reports is set here, by
// the object's name (the rest report kAdminsOnly).
class Security {
 public:
  explicit Security(std::wstring name = L"", std::wstring sddl = L"")
      : old_(setup::SetSecurityReader([name, sddl](HANDLE object) {
          wchar_t path[MAX_PATH * 2] = {};
          GetFinalPathNameByHandleW(object, path, MAX_PATH * 2, 0);
          const std::wstring p = path;
          const bool named =
              !name.empty() && p.size() >= name.size() && p.substr(p.size() - name.size()) == name;
          return named ? sddl : std::wstring(kAdminsOnly);
        })) {}
  ~Security() { setup::SetSecurityReader(old_); }

 private:
  setup::SecurityReader old_;
};

TEST(Setup, InstallsTheSystemsFilesAndNothingElseBesideIt) {
  TempDir from(L"setup_from"), to(L"setup_to");
  for (const wchar_t* name : kSystem) MakeFile(from / name, 10);
  MakeFile(from / L"SorvSetup.exe", 10);
  // Dropped into the download folder by someone else; help.chm is optional.
  const wchar_t* const foreign[] = {L"UxTheme.dll", L"version.dll", L"Helper.exe", L"x.ocx"};
  for (const wchar_t* name : foreign) MakeFile(from / name, 10);
  EXPECT_TRUE(setup::CopyProductFiles(from.path() + L"\\", to.path() + L"\\"));
  EXPECT_TRUE(setup::CopyDriverFile(from.path() + L"\\", to.path() + L"\\"));
  for (const wchar_t* name : kSystem) EXPECT_TRUE(Exists(to / name)) << Exists(to / name);
  for (const wchar_t* name : foreign) EXPECT_FALSE(Exists(to / name));
  // A file of the system missing beside it: reported.
  DeleteFileW((from / L"SorvMount.dll").c_str());
  EXPECT_FALSE(setup::CopyProductFiles(from.path() + L"\\", to.path() + L"\\"));
}

TEST(Setup, OnlyAdministratorsMayChangeTheFolder) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {kAdminsOnly, true},
      {L"O:SYD:(A;;FA;;;SY)(A;;FA;;;BA)", true},
      // An inherit-only full-control entry for whoever creates a file there (only admins can).
      {L"O:BAD:(A;OICIIO;GA;;;CO)(A;;FA;;;BA)(A;;GRGX;;;BU)", true},
      {L"O:BAD:(A;;FA;;;BA)(D;;FA;;;WD)", true},  // a denial takes rights away only
      // Anyone else's owner: it may rewrite the list.
      {L"O:BUD:(A;;FA;;;BA)", false},
      {L"O:S-1-5-21-1-2-3-1001D:(A;;FA;;;BA)", false},
      // Writing, deleting, changing the list for users, authenticated users, everyone.
      {L"O:BAD:(A;;FA;;;BA)(A;;0x1201bf;;;BU)", false},
      {L"O:BAD:(A;;FA;;;BA)(A;;FW;;;AU)", false},
      {L"O:BAD:(A;;FA;;;BA)(A;CIIO;0x4;;;BU)", false},  // add subfolder, inherited only
      {L"O:BAD:(A;;FA;;;BA)(A;;SD;;;WD)", false},
      {L"O:BAD:(A;;FA;;;BA)(A;;WD;;;BU)", false},
      {L"O:BAD:(A;;FA;;;BA)(A;;GA;;;S-1-5-21-1-2-3-1001)", false},
      // No list lets everyone in.
      {L"O:BAD:NO_ACCESS_CONTROL", false},
      {L"O:BA", false},
      {L"", false},
  };
  for (auto [sddl, ours] : cases)
    EXPECT_EQ(setup::OnlyAdministratorsChange(sddl), ours) << forms::ToAnsi(sddl);
}

TEST(Setup, TakesAFolderOnlyWhenNothingInItIsOthers) {
  TempDir parent(L"setup_folder");
  const std::wstring folder = parent / L"Sorvane";
  // Made by setup: its own.
  {
    setup::HeldFolder held;
    EXPECT_EQ(setup::PrepareProgramFolder(folder, held), setup::FolderResult::Ready);
    EXPECT_TRUE(Exists(folder));
  }
  // An earlier installation: the system's files and the container list.
  for (const wchar_t* name : kSystem) MakeFile(folder + L"\\" + name, 10);
  MakeFile(folder + L"\\List.ini", 10);
  MakeFile(folder + L"\\help.chm", 10);
  struct Case {
    const wchar_t* name;   // what the object is (folder or file), "" none
    const wchar_t* sddl;   // what it reports
    const wchar_t* extra;  // a file put into the folder first, "" none
    setup::FolderResult result;
  };
  const Case cases[] = {
      {L"", L"", L"", setup::FolderResult::Ready},
      {L"\\Sorvane", L"O:BUD:(A;;FA;;;BA)", L"", setup::FolderResult::OpenToOthers},
      {L"\\Sorvane", L"O:BAD:(A;;FA;;;BA)(A;OICI;0x1301bf;;;AU)", L"",
       setup::FolderResult::OpenToOthers},
      {L"\\start.exe", L"O:BAD:(A;;FA;;;BA)(A;;FA;;;BU)", L"", setup::FolderResult::OpenToOthers},
      {L"", L"", L"version.dll", setup::FolderResult::StrayFile},
      {L"", L"", L"tools\\", setup::FolderResult::StrayFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(forms::ToAnsi(std::wstring(c.name) + c.extra));
    const std::wstring extra = folder + L"\\" + c.extra;
    const bool subfolder = *c.extra && extra.back() == L'\\';
    if (subfolder)
      CreateDirectoryW(extra.c_str(), nullptr);
    else if (*c.extra)
      MakeFile(extra, 10);
    Security security(c.name, c.sddl);
    setup::HeldFolder held;
    EXPECT_EQ(setup::PrepareProgramFolder(folder, held), c.result);
    if (subfolder)
      RemoveDirectoryW(extra.c_str());
    else if (*c.extra)
      DeleteFileW(extra.c_str());
  }
  // A link in the folder's place (made by the build as a host link).
  Security security;
  setup::HeldFolder held;
  EXPECT_EQ(setup::PrepareProgramFolder(forms::AppPath() + L"\\setup_link", held),
            setup::FolderResult::Link);
}

TEST(Setup, LoadsOnlyTheServiceLibraryItInstalled) {
  SavedSettings settings{InstallFolderValue};
  TempDir from(L"setup_source"), to(L"setup_target");
  for (const wchar_t* name : kSystem) MakeFile(from / name, 10);
  MakeFile(from / L"SorvSetup.exe", 10);
  const std::wstring keepers = forms::AppPath() + L"\\setup_keeper\\";
  ASSERT_TRUE(CopyFileW((keepers + L"installed\\SorvKeeper.dll").c_str(),
                        (from / L"SorvKeeper.dll").c_str(), FALSE));
  // An earlier folder where the service library was replaced by one that leaves a mark.
  ASSERT_TRUE(CopyFileW((keepers + L"planted\\SorvKeeper.dll").c_str(),
                        (to / L"SorvKeeper.dll").c_str(), FALSE));
  Security security;
  const std::wstring target = to.path() + L"\\";
  EXPECT_EQ(setup::Install(from.path() + L"\\", target), 0);
  const std::vector<std::string> calls = TakeLines(to / L"keeper-calls.txt");
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "installed loaded", "SRSorvKeeper",
                       "SRCreateService " + forms::ToAnsi(target) + "SorvDisk.sys"}));
  EXPECT_EQ(GetSetting(InstallFolderValue), to.path());
}

}  // namespace
