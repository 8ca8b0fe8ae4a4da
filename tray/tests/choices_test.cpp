// The drive list's preselection and the hot key from the settings.
#include "DriveChoice.h"
#include "HotKey.h"
#include <gtest/gtest.h>

namespace {

using tray::AutoDrive;

TEST(DriveChoice, PreselectionComparesAllButTheLastEntry) {
  const std::vector<std::wstring> list{AutoDrive, L"F:", L"G:", L"Z:"};
  EXPECT_EQ(tray::PreselectIndex(list, L""), 0);
  EXPECT_EQ(tray::PreselectIndex(list, AutoDrive), 0);
  EXPECT_EQ(tray::PreselectIndex(list, L"G:"), 2);
  EXPECT_EQ(tray::PreselectIndex(list, L"F:"), 1);
  EXPECT_EQ(tray::PreselectIndex(list, L"H:"), 0);  // in use meanwhile
  EXPECT_EQ(tray::PreselectIndex(list, L"Z:"), 0);  // the last entry is not compared
  EXPECT_EQ(tray::PreselectIndex({AutoDrive}, L"G:"), 0);
}

TEST(DriveChoice, AutomaticTakesTheLastEntry) {
  EXPECT_EQ(tray::DriveForChoice(AutoDrive, L"Z:"), L"Z:");
  EXPECT_EQ(tray::DriveForChoice(L"G:", L"Z:"), L"G:");
  // Every letter taken: the list holds only the automatic entry, which is no drive.
  EXPECT_EQ(tray::DriveForChoice(AutoDrive, AutoDrive), L"");
  EXPECT_EQ(tray::DriveForChoice(L"", L""), L"");
}

TEST(HotKeyValues, ModifiersAndKey) {
  auto h = tray::HotKeyFromValues(L"", L"", L"", L"", L"");
  EXPECT_TRUE(h.enabled);
  EXPECT_EQ(h.modifiers, 3u);
  EXPECT_EQ(h.vkey, 123u);
  h = tray::HotKeyFromValues(L"1", L"1", L"0", L"1", L"65");
  EXPECT_EQ(h.modifiers, 6u);
  EXPECT_EQ(h.vkey, 65u);
  EXPECT_FALSE(tray::HotKeyFromValues(L"0", L"", L"", L"", L"").enabled);
  EXPECT_EQ(tray::HotKeyFromValues(L"", L"0", L"0", L"0", L"").modifiers, 0u);
  // Not a key number: F12 rather than key 0.
  for (const wchar_t* bad : {L"abc", L"65x", L"0", L"-3", L"99999"})
    EXPECT_EQ(tray::HotKeyFromValues(L"", L"", L"", L"", bad).vkey, 123u) << bad;
}

}  // namespace
