// The drive list's preselection and the hot key from the settings.
#include <gtest/gtest.h>

#include "DriveChoice.h"
#include "HotKey.h"
#include "Protection.h"
#include "linked_session.h"

namespace {

using tray::AutoDrive;

TEST(DriveChoice, PreselectionComparesAllButTheLastEntry) {
  const std::vector<std::wstring> list{AutoDrive, L"F:", L"G:", L"Z:"};
  const struct {
    const wchar_t* stored;
    int index;
  } rows[] = {{L"", 0},  {AutoDrive, 0}, {L"F:", 1}, {L"G:", 2}, {L"H:", 0},  // taken meanwhile
              {L"Z:", 0}};  // the last entry is not compared
  for (auto& r : rows) EXPECT_EQ(tray::PreselectIndex(list, r.stored), r.index) << r.stored;
}

// A letter that only the user's other logon session has is never the one chosen: not the
// automatic mount letter (the list's last), nor the protection requests' temporary one.
TEST(DriveChoice, NoLetterOfTheOtherSession) {
  static DWORD other = 0;
  const struct {
    const char* chooser;
    std::wstring (*choose)();
  } rows[] = {{"mount", [] { return tray::FreeDriveLetters().back(); }},
              {"protection", [] { return FreeDriveLetter(); }}};
  for (auto& r : rows) {
    const std::wstring alone = r.choose();
    other = DWORD(1) << (alone[0] - L'A');
    forms::DriveLetterSource before = forms::SetLinkedSessionSource([] { return other; });
    const std::wstring chosen = r.choose();
    forms::SetLinkedSessionSource(before);
    EXPECT_NE(chosen, alone) << r.chooser;
    EXPECT_EQ(chosen.size(), 2u) << r.chooser;
  }
}

TEST(HotKeyValues, ModifiersAndKey) {
  const struct {
    const wchar_t *config, *ctrl, *alt, *shift, *key;
    bool on;
    UINT mods, vkey;
  } rows[] = {{L"", L"", L"", L"", L"", true, MOD_CONTROL | MOD_ALT, VK_F12},
              {L"1", L"1", L"0", L"1", L"65", true, MOD_CONTROL | MOD_SHIFT, 65},
              {L"0", L"0", L"0", L"0", L"9", false, 0, 9},
              // Not a key number: F12 rather than key 0.
              {L"", L"", L"", L"", L"65x", true, 3, VK_F12},
              // Key numbers run from 1 to 254; outside them F12.
              {L"", L"", L"", L"", L"0", true, 3, VK_F12},
              {L"", L"", L"", L"", L"1", true, 3, 1},
              {L"", L"", L"", L"", L"254", true, 3, 254},
              {L"", L"", L"", L"", L"255", true, 3, VK_F12},
              {L"", L"", L"", L"", L"99999", true, 3, VK_F12}};
  for (auto& r : rows) {
    auto h = tray::HotKeyFromValues(r.config, r.ctrl, r.alt, r.shift, r.key);
    EXPECT_EQ(h.enabled, r.on) << r.key;
    EXPECT_EQ(h.modifiers, r.mods) << r.key;
    EXPECT_EQ(h.vkey, r.vkey) << r.key;
  }
}

}  // namespace
