// The rights each built program asks for in its manifest resource. Programs that write HKLM
// or the program folder, or talk to the driver, need administrator rights: unelevated, every
// such write fails under Windows' default settings and nothing the user does is kept.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "forms.h"

namespace {

struct ProgramLevel {
  const wchar_t* program;
  const char* level;
};

// One row a program of the build folder.
const ProgramLevel kLevels[] = {
    {L"start.exe", "requireAdministrator"},
    {L"SorvSetup.exe", "requireAdministrator"},
    {L"SorvLink.exe", "asInvoker"},
    {L"SorvDesk.exe", "requireAdministrator"},
    {L"SorvShred.exe", "requireAdministrator"},
    {L"SorvSparse.exe", "asInvoker"},
    {L"SorvGuard.exe", "asInvoker"},
    {L"SorvForge.exe", "requireAdministrator"},
};

// The manifest text of a program, "" when it has none.
std::string ManifestOf(const std::wstring& file) {
  HMODULE image = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!image) return {};
  std::string text;
  if (HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))
    if (HGLOBAL data = LoadResource(image, found))
      text.assign(static_cast<const char*>(LockResource(data)), SizeofResource(image, found));
  FreeLibrary(image);
  return text;
}

// The one execution level the manifest requests, "" when none, "several" when more.
std::string LevelIn(const std::string& manifest) {
  const std::string tag = "<requestedExecutionLevel level=\"";
  size_t at = manifest.find(tag);
  if (at == std::string::npos) return {};
  if (manifest.find(tag, at + 1) != std::string::npos) return "several";
  at += tag.size();
  return manifest.substr(at, manifest.find('"', at) - at);
}

TEST(Manifest, EachProgramAsksForItsLevel) {
  for (const ProgramLevel& row : kLevels) {
    SCOPED_TRACE(forms::ToAnsi(row.program));
    const std::string manifest = ManifestOf(forms::AppPath() + L"\\" + row.program);
    ASSERT_FALSE(manifest.empty()) << "no manifest resource";
    EXPECT_EQ(LevelIn(manifest), row.level);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
  }
}

// The wipe shell walks trees of any depth: it says so, or Windows stops its paths at 260
// characters. The other programs keep the limit they were written for.
TEST(Manifest, OnlyTheWipeShellTakesLongPaths) {
  const std::string aware =
      "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true"
      "</longPathAware>";
  for (const ProgramLevel& row : kLevels) {
    SCOPED_TRACE(forms::ToAnsi(row.program));
    const std::string manifest = ManifestOf(forms::AppPath() + L"\\" + row.program);
    EXPECT_EQ(manifest.find(aware) != std::string::npos,
              std::wstring(row.program) == L"SorvShred.exe");
  }
}

}  // namespace
