// SorvLink.exe run as its own process, as the tray program runs it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "MessageBoxes.h"

namespace {

namespace fs = std::filesystem;

const std::string kBanner = "Sorvane Create short cut utility.\r\n";
const std::string kUsage = kBanner +
                           "Usage: SorvLink <ShortCutObject> <ShortCutPathName> <Description>\r\n"
                           "Example: SorvLink c:\\winnt\\notepad.exe c:\\test.lnk TestShortCut\r\n";

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

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
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fs::remove_all(folder_);
    fs::remove(output_);
    CoUninitialize();
  }

  // Runs SorvLink from the program folder with its output going to a file.
  Outcome Run(const std::string& arguments) {
    Outcome run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileW(output_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command = Quoted((fs::path(program).parent_path() / "SorvLink.exe").string());
    command += " " + arguments;
    PROCESS_INFORMATION process = {};
    bool started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
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
    std::ifstream in(output_, std::ios::binary);
    run.output.assign(std::istreambuf_iterator<char>(in), {});
    return run;
  }

  const fs::path folder_ =
      fs::temp_directory_path() / ("sorvlink_" + std::to_string(std::random_device()()));
  const fs::path output_ = folder_.string() + ".out";  // beside the folder, which must stay empty
};

TEST_F(SorvLink, WrongArgumentCountPrintsUsageAndWritesNothing) {
  const std::string link = Quoted((folder_ / "a.lnk").string());
  for (const std::string& arguments : {std::string(), "C:\\ " + link, "C:\\ " + link + " a b"}) {
    SCOPED_TRACE(arguments);
    Outcome run = Run(arguments);
    EXPECT_EQ(run.output, kUsage);
    EXPECT_NE(run.exitCode, 0u);
  }
  EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(SorvLink, WritesAndOverwritesTheShortcut) {
  const fs::path link = folder_ / L"加密盘S.lnk";
  char ansi[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, link.wstring().c_str(), -1, ansi, MAX_PATH, nullptr, nullptr);
  for (const std::string target : {"C:\\", "C:\\windows"}) {
    Outcome run = Run(target + " " + Quoted(ansi) + " \"drive " + target.substr(3) + "\"");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, kBanner);
    EXPECT_EQ(ReadShortcut(link), target + " | drive " + target.substr(3));
  }
}

TEST_F(SorvLink, MissingFolderShowsTheSaveErrorAndExitsWithIt) {
  Outcome run = Run("C:\\ " + Quoted((folder_ / "missing" / "x.lnk").string()) + " d");
  EXPECT_EQ(run.box, L"IPersistFile->Save() Error");
  EXPECT_TRUE(FAILED(static_cast<HRESULT>(run.exitCode))) << std::hex << run.exitCode;
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

// A shortcut path of 260 characters or more is refused before anything is written.
TEST_F(SorvLink, PathsOfTwoHundredSixtyCharactersAreRefused) {
  const size_t base = (folder_ / "").string().size();
  const HRESULT refused = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  for (size_t length : {260, 259}) {
    std::string path = (folder_ / (std::string(length - base - 4, 'n') + ".lnk")).string();
    ASSERT_EQ(path.size(), length);
    Outcome run = Run("C:\\ " + Quoted(path) + " d");
    EXPECT_EQ(run.exitCode, length < 260 ? 0 : DWORD(refused));
    EXPECT_EQ(fs::exists(path), length < 260);
  }
}

}  // namespace
