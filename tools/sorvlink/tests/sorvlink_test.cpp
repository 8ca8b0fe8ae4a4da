// SorvLink.exe run as its own process, as the tray program runs it.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

const char kBanner[] = "Sorvane Create short cut utility.\r\n";
const char kUsage[] =
    "Usage: SorvLink <ShortCutObject> <ShortCutPathName> <Description>\r\n"
    "Example: SorvLink c:\\winnt\\notepad.exe c:\\test.lnk TestShortCut\r\n";

struct Outcome {
  DWORD exitCode = 0;
  std::string output;
  std::wstring boxTitle;  // a message box the program showed, closed with OK
  std::wstring boxText;
};

struct BoxSearch {
  DWORD processId;
  HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<BoxSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  search->box = window;
  return FALSE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM data) {
  wchar_t text[256] = {};
  GetWindowTextW(child, text, 256);
  auto* all = reinterpret_cast<std::wstring*>(data);
  if (text[0]) *all += std::wstring(text) + L"\n";
  return TRUE;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path().string();
}

// Starts SorvLink with the given argument text, its output going to a file.
// A message box it shows is read and answered with OK from this thread.
Outcome RunSorvLink(const std::string& arguments, const fs::path& folder) {
  Outcome run;
  fs::path outputFile = folder / "output.txt";
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileA(outputFile.string().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, 0, nullptr);
  EXPECT_NE(output, INVALID_HANDLE_VALUE);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::string commandLine = "\"" + ProgramFolder() + "\\SorvLink.exe\" " + arguments;
  PROCESS_INFORMATION process = {};
  BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &startup, &process);
  CloseHandle(output);
  EXPECT_TRUE(started);
  if (!started) return run;

  for (int waited = 0; WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT; waited += 50) {
    BoxSearch search = {process.dwProcessId};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.box) {
      wchar_t title[256] = {};
      GetWindowTextW(search.box, title, 256);
      run.boxTitle = title;
      EnumChildWindows(search.box, CollectText, reinterpret_cast<LPARAM>(&run.boxText));
      PostMessageW(search.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    if (waited > 60000) {
      ADD_FAILURE() << "SorvLink did not end";
      TerminateProcess(process.hProcess, 1);
    }
  }
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  {
    std::ifstream in(outputFile, std::ios::binary);
    run.output.assign(std::istreambuf_iterator<char>(in), {});
  }
  fs::remove(outputFile);
  return run;
}

struct Shortcut {
  std::string target;
  std::string description;
};

Shortcut ReadShortcut(const fs::path& file) {
  Shortcut shortcut;
  IShellLinkA* link = nullptr;
  IPersistFile* persist = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(file.wstring().c_str(), STGM_READ))) {
    char text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    shortcut.target = text;
    char description[INFOTIPSIZE] = {};
    link->GetDescription(description, INFOTIPSIZE);
    shortcut.description = description;
  }
  if (persist) persist->Release();
  if (link) link->Release();
  return shortcut;
}

class SorvLink : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    folder_ = fs::temp_directory_path() /
              (std::string("sorvlink_") + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fs::remove_all(folder_);
    CoUninitialize();
  }
  std::string Quoted(const fs::path& path) const { return "\"" + path.string() + "\""; }
  bool FolderEmpty() const { return fs::is_empty(folder_); }

  fs::path folder_;
};

TEST_F(SorvLink, WrongArgumentCountPrintsUsageAndWritesNothing) {
  Outcome none = RunSorvLink("", folder_);
  EXPECT_EQ(none.output, std::string(kBanner) + kUsage);
  Outcome four = RunSorvLink("C:\\ " + Quoted(folder_ / "a.lnk") + " one two", folder_);
  EXPECT_EQ(four.output, std::string(kBanner) + kUsage);
  Outcome two = RunSorvLink("C:\\ " + Quoted(folder_ / "a.lnk"), folder_);
  EXPECT_EQ(two.output, std::string(kBanner) + kUsage);
  EXPECT_NE(none.exitCode, 0u);
  EXPECT_TRUE(FolderEmpty());
  EXPECT_TRUE(none.boxTitle.empty() && four.boxTitle.empty());
}

TEST_F(SorvLink, WritesAndOverwritesTheShortcut) {
  fs::path link = folder_ / L"加密盘S.lnk";
  char ansi[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, link.wstring().c_str(), -1, ansi, MAX_PATH, nullptr, nullptr);

  Outcome first = RunSorvLink(std::string("C:\\ \"") + ansi + "\" \"first drive\"", folder_);
  EXPECT_EQ(first.exitCode, 0u);
  EXPECT_EQ(first.output, kBanner);
  Shortcut written = ReadShortcut(link);
  EXPECT_EQ(written.target, "C:\\");
  EXPECT_EQ(written.description, "first drive");

  Outcome second = RunSorvLink(std::string("C:\\windows \"") + ansi + "\" second", folder_);
  EXPECT_EQ(second.exitCode, 0u);
  Shortcut overwritten = ReadShortcut(link);
  EXPECT_EQ(overwritten.target, "C:\\windows");
  EXPECT_EQ(overwritten.description, "second");
  EXPECT_TRUE(second.boxTitle.empty());
}

TEST_F(SorvLink, MissingFolderShowsTheSaveErrorAndExitsWithIt) {
  Outcome run = RunSorvLink("C:\\ " + Quoted(folder_ / "missing" / "x.lnk") + " d", folder_);
  EXPECT_EQ(run.boxTitle, L"Error");
  EXPECT_NE(run.boxText.find(L"IPersistFile->Save() Error\n"), std::wstring::npos);
  EXPECT_TRUE(FAILED(static_cast<HRESULT>(run.exitCode))) << std::hex << run.exitCode;
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(SorvLink, PathsOfTwoHundredSixtyCharactersAreRefused) {
  size_t base = (folder_ / "").string().size();
  std::string fits = (folder_ / (std::string(259 - base - 4, 'n') + ".lnk")).string();
  std::string tooLong = (folder_ / (std::string(260 - base - 4, 'n') + ".lnk")).string();
  ASSERT_EQ(fits.size(), 259u);
  ASSERT_EQ(tooLong.size(), 260u);

  Outcome refused = RunSorvLink("C:\\ \"" + tooLong + "\" d", folder_);
  EXPECT_EQ(refused.exitCode, static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)));
  EXPECT_TRUE(refused.boxTitle.empty());
  EXPECT_TRUE(FolderEmpty());

  Outcome written = RunSorvLink("C:\\ \"" + fits + "\" d", folder_);
  EXPECT_EQ(written.exitCode, 0u);
  EXPECT_TRUE(fs::exists(fits));
}

}  // namespace
