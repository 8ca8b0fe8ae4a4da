// SorvLink.exe run as its own process, as the tray program runs it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "MessageBoxes.h"

namespace {

namespace fs = std::filesystem;

const std::string kBanner = "Sorvane Create short cut utility.\r\n";
const std::string kUsage = kBanner +
                           "Usage: SorvLink <ShortCutObject> <ShortCutPathName> <Description>\r\n"
                           "Example: SorvLink c:\\winnt\\notepad.exe c:\\test.lnk TestShortCut\r\n";

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The SendTo folder of the test user's profile, built here from the profile folder.
fs::path SendTo() {
  PWSTR profile = nullptr;
  SHGetKnownFolderPath(FOLDERID_Profile, 0, nullptr, &profile);
  fs::path folder = fs::path(profile) / "AppData" / "Roaming" / "Microsoft" / "Windows" / "SendTo";
  CoTaskMemFree(profile);
  return folder;
}


// Wine's own calls: the host path of a Windows path, and a host command run to its end.
std::string HostPath(const fs::path& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* name = unixName ? unixName(path.c_str()) : nullptr;
  std::string result = name ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

bool RunOnHost(std::vector<std::string> words) {
  using Spawn = NTSTATUS(CDECL*)(char* const*, int);
  auto spawn = reinterpret_cast<Spawn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll"), "__wine_unix_spawnvp")));
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  return spawn && spawn(argv.data(), TRUE) == 0;
}

std::string Utf8(const std::wstring& text) {
  std::string result(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr,
                                         nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), int(result.size()), nullptr,
                      nullptr);
  result.pop_back();
  return result;
}

fs::path ProgramFolder() {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return fs::path(program).parent_path();
}

struct Outcome {
  DWORD exitCode = 0;
  std::string output;
  std::wstring box;  // the text of an "Error" box it showed, answered with OK
};

// "target | description" of a shortcut file, "" when it cannot be read.
std::string ReadShortcut(const fs::path& file) {
  std::string result;
  IShellLinkA* link = nullptr;
  IPersistFile* persist = nullptr;
  char target[MAX_PATH] = {}, description[INFOTIPSIZE] = {};
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(file.wstring().c_str(), STGM_READ)) &&
      SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
      SUCCEEDED(link->GetDescription(description, INFOTIPSIZE)))
    result = std::string(target) + " | " + description;
  if (persist) persist->Release();
  if (link) link->Release();
  return result;
}

class SorvLink : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    fs::create_directories(outside_);
  }
  void TearDown() override {
    for (const fs::path& name : Ours()) fs::remove_all(sendTo_ / name);
    fs::remove_all(outside_);
    fs::remove(output_);
    CoUninitialize();
  }

  // Runs SorvLink from the program folder with its output going to a file.
  Outcome Run(const std::wstring& arguments) {
    Outcome run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileW(output_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
    std::wstring command = Quoted(ProgramFolder() / "SorvLink.exe") + L" " + arguments;
    PROCESS_INFORMATION process = {};
    bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &process);
    CloseHandle(output);
    EXPECT_TRUE(started);
    // Up to a minute; an "Error" box of the program is read and answered.
    for (int n = 0; started && n < 1200 && WaitForSingleObject(process.hProcess, 50); ++n) {
      if (testsupport::ShownBox box = testsupport::FindBox(process.dwProcessId, L"Error")) {
        run.box = box.text;
        box.Answer(IDOK);
      }
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), WAIT_OBJECT_0) << "SorvLink did not end";
    TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    run.output = ReadFile(output_);
    return run;
  }

  const std::wstring tag_ = std::to_wstring(std::random_device()());
  const fs::path sendTo_ = SendTo();
  const fs::path outside_ = fs::temp_directory_path() / (L"sorvlink_" + tag_);
  const fs::path output_ = outside_.wstring() + L".out";

  // The names in the SendTo folder that this test made: other tests' shortcuts come and go.
  std::set<fs::path> Ours() const {
    std::set<fs::path> names;
    for (const auto& entry : fs::directory_iterator(sendTo_))
      if (entry.path().filename().wstring().find(tag_) != std::wstring::npos)
        names.insert(entry.path().filename());
    return names;
  }
};

TEST_F(SorvLink, WrongArgumentCountPrintsUsageAndWritesNothing) {
  const std::wstring link = Quoted(sendTo_ / (L"a" + tag_ + L".lnk"));
  for (const std::wstring& arguments : {std::wstring(), L"C:\\ " + link, L"C:\\ " + link + L" a b"}) {
    SCOPED_TRACE(testing::Message() << arguments);
    Outcome run = Run(arguments);
    EXPECT_EQ(run.output, kUsage);
    EXPECT_NE(run.exitCode, 0u);
  }
  EXPECT_TRUE(Ours().empty());
}

TEST_F(SorvLink, WritesAndOverwritesTheShortcut) {
  const fs::path link = sendTo_ / (L"加密盘S" + tag_ + L".lnk");
  for (const std::wstring target : {L"C:\\", L"C:\\windows"}) {
    const std::wstring description = L"drive " + target.substr(3);
    Outcome run = Run(target + L" " + Quoted(link) + L" \"" + description + L"\"");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, kBanner);
    EXPECT_EQ(ReadShortcut(link), Utf8(target) + " | " + Utf8(description));
  }
  EXPECT_EQ(Ours(), std::set<fs::path>{link.filename()});  // no temporary file stays
}

// Only the SendTo folder of the profile, reached through no link, takes a shortcut; a failed
// write shows the save error and exits with it.
TEST_F(SorvLink, OtherFoldersShowTheSaveErrorAndExitWithIt) {
  fs::create_directories(sendTo_ / (L"sub" + tag_));
  for (const fs::path& link : {outside_ / "x.lnk", sendTo_ / (L"sub" + tag_) / "x.lnk",
                               sendTo_ / (L"missing" + tag_) / "x.lnk"}) {
    SCOPED_TRACE(link);
    Outcome run = Run(L"C:\\ " + Quoted(link) + L" d");
    EXPECT_EQ(run.box, L"IPersistFile->Save() Error");
    EXPECT_TRUE(FAILED(static_cast<HRESULT>(run.exitCode))) << std::hex << run.exitCode;
    EXPECT_FALSE(fs::exists(link));
  }
  EXPECT_TRUE(fs::is_empty(outside_));
}

// A shortcut path of 260 characters or more is refused before anything is written.
TEST_F(SorvLink, PathsOfTwoHundredSixtyCharactersAreRefused) {
  const size_t base = (sendTo_ / "").wstring().size();
  const HRESULT refused = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  for (size_t length : {260, 259}) {
    fs::path path = sendTo_ / (tag_ + std::wstring(length - base - tag_.size() - 4, L'n') + L".lnk");
    ASSERT_EQ(path.wstring().size(), length);
    Outcome run = Run(L"C:\\ " + Quoted(path) + L" d");
    EXPECT_EQ(run.exitCode, length < 260 ? 0 : DWORD(refused));
    EXPECT_EQ(fs::exists(path), length < 260);
  }
}

// What stands at the shortcut's name, or what the arguments hold, never makes the tool write
// anywhere but the one file in the SendTo folder. Host links and a run under a Western code
// page (where U+FF3C would become '\' in an ANSI copy) are made through Wine's host calls.
TEST_F(SorvLink, NothingOutsideTheSendToFolderChanges) {
  const fs::path victim = outside_ / "victim.txt";
  const fs::path parent = sendTo_.parent_path().parent_path();  // ...\Roaming\Microsoft
  const std::wstring escape = L"..\uFF3C..\uFF3C";
  const struct {
    const char* what;
    fs::path linkTo;    // a host link at the shortcut's name pointing here, or none
    std::wstring path;  // the shortcut's path after the SendTo folder
    bool western;       // run under code page 1252 instead of the test's 936
    fs::path untouched; // a path outside the folder that must not appear
  } rows[] = {
      {"host link to a file outside", victim, L"加密盘L" + tag_ + L".lnk", false, {}},
      {"U+FF3C in the path", {}, escape + L"e" + tag_ + L".lnk", true, parent / (L"e" + tag_ + L".lnk")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::ofstream(victim, std::ios::binary) << "victim";
    const fs::path link = sendTo_ / row.path;
    if (!row.linkTo.empty()) {
      ASSERT_TRUE(RunOnHost({"ln", "-s", HostPath(row.linkTo), HostPath(link)}));
    }
    if (row.western) {
      ASSERT_TRUE(RunOnHost({"timeout", "60", "env", "LC_ALL=C.UTF-8", "LANG=C.UTF-8", "wine",
                             HostPath(ProgramFolder() / "SorvLink.exe"), "C:\\",
                             Utf8(link.wstring()), "d"}));
    } else {
      EXPECT_EQ(Run(L"C:\\ " + Quoted(link) + L" d").exitCode, 0u);
    }
    EXPECT_EQ(ReadFile(victim), "victim");
    EXPECT_EQ(ReadShortcut(link), "C:\\ | d");
    if (!row.untouched.empty()) {
      EXPECT_FALSE(fs::exists(row.untouched));
    }
    EXPECT_EQ(Ours(), std::set<fs::path>{link.filename()});
    fs::remove(link);
  }
}

// A folder at the shortcut's name cannot be replaced: the write fails and leaves no file.
TEST_F(SorvLink, AFailedRenameLeavesNoTemporaryFile) {
  const fs::path link = sendTo_ / (L"加密盘F" + tag_ + L".lnk");
  fs::create_directories(link);
  Outcome run = Run(L"C:\\ " + Quoted(link) + L" d");
  EXPECT_EQ(run.box, L"IPersistFile->Save() Error");
  EXPECT_TRUE(FAILED(static_cast<HRESULT>(run.exitCode))) << std::hex << run.exitCode;
  EXPECT_TRUE(fs::is_directory(link));
  EXPECT_EQ(Ours(), std::set<fs::path>{link.filename()});
}

}  // namespace
