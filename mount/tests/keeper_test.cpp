// The driver's kernel service: removed, installed, replaced, and what a file that is
// no driver does. Leaves the service as it found it.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

template <typename F>
F KeeperExport(const char* name) {
  HMODULE module = LoadLibraryA("SorvKeeper.dll");
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

int Create(const std::string& path) {
  static auto create = KeeperExport<int(__stdcall*)(const char*)>("SRCreateService");
  return create ? create(path.c_str()) : -100;
}

int Remove() {
  static auto remove = KeeperExport<int(__stdcall*)()>("SRSorvKeeper");
  return remove ? remove() : -100;
}

std::string InstalledPath() {
  char path[MAX_PATH] = {};
  DWORD size = sizeof path;
  RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Sorvane", "ImagePath",
               RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, path, &size);
  return path;
}

struct ServiceState {
  bool exists = false;
  bool running = false;
  std::string displayName;
  DWORD type = 0, start = 0;
};

ServiceState Query() {
  ServiceState state;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceA(manager, "Sorvane", SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS) : nullptr;
  if (service) {
    state.exists = true;
    SERVICE_STATUS status;
    state.running = QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING;
    char buffer[4096];
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer);
    DWORD needed;
    if (QueryServiceConfigA(service, config, sizeof buffer, &needed)) {
      state.displayName = config->lpDisplayName;
      state.type = config->dwServiceType;
      state.start = config->dwStartType;
    }
    CloseServiceHandle(service);
  }
  if (manager) CloseServiceHandle(manager);
  return state;
}

// Answers the one message box a failing install shows, and keeps its text.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(const char* caption)
      : thread_([this, caption] {
          for (int i = 0; i < 600 && !stop_; ++i) {
            if (HWND box = FindWindowA(nullptr, caption)) {
              EnumChildWindows(box, Collect, reinterpret_cast<LPARAM>(&text_));
              PostMessageA(box, WM_COMMAND, IDOK, 0);
              return;
            }
            Sleep(50);
          }
        }) {}
  ~MessageBoxAnswerer() { Text(); }
  std::string Text() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return text_;
  }

 private:
  static BOOL CALLBACK Collect(HWND child, LPARAM out) {
    char text[256];
    if (GetWindowTextA(child, text, sizeof text) && strstr(text, "SorvaneService"))
      *reinterpret_cast<std::string*>(out) = text;
    return TRUE;
  }
  std::atomic<bool> stop_{false};
  std::string text_;
  std::thread thread_;
};

class Keeper : public ::testing::Test {
 protected:
  std::string driver = InstalledPath();
  void SetUp() override { ASSERT_FALSE(driver.empty()) << "the driver is not installed"; }
  void TearDown() override {
    if (!Query().running) Create(driver);
  }
};

TEST_F(Keeper, RemovesInstallsAndReplacesTheService) {
  EXPECT_EQ(Remove(), 1);
  EXPECT_FALSE(Query().exists);
  EXPECT_EQ(Remove(), -1) << "nothing installed";

  EXPECT_EQ(Create(driver), 1);
  ServiceState state = Query();
  EXPECT_TRUE(state.running);
  EXPECT_EQ(state.displayName, "Sorvmount title");
  EXPECT_EQ(state.type & SERVICE_KERNEL_DRIVER, static_cast<DWORD>(SERVICE_KERNEL_DRIVER));
  EXPECT_EQ(state.start, static_cast<DWORD>(SERVICE_SYSTEM_START));

  EXPECT_EQ(Create(driver), 1) << "a second call replaces the registration";
  EXPECT_TRUE(Query().running);
  EXPECT_EQ(InstalledPath(), driver);
}

TEST_F(Keeper, AFileThatIsNoDriverIsRegisteredButDoesNotStart) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string bogus = std::string(temp) + "not a driver.sys";
  HANDLE file = CreateFileA(bogus.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(file, "plain text", 10, &written, nullptr);
  CloseHandle(file);

  MessageBoxAnswerer answerer("StartService Error");
  EXPECT_EQ(Create(bogus), -1);
  EXPECT_EQ(answerer.Text().rfind("Start SorvaneService error.Code:", 0), 0u);
  EXPECT_TRUE(Query().exists) << "registered all the same";
  EXPECT_FALSE(Query().running);

  EXPECT_EQ(Create(driver), 1);
  DeleteFileA(bogus.c_str());
}

}  // namespace
