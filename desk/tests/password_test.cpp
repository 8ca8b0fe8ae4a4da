// Form8: a new password for the same disk key; refusals; the pair of block writes.
#include "CutAtNul.h"
#include "DialogFixture.h"
#include "PasswordDialog.h"

namespace {

const wchar_t kNotAnsi[] =
    L"密码中含有当前系统不支持的字符（例如韩文、泰文），这样的密码不能保护加密盘，请重新输入。";

class PasswordTest : public DialogFixture {
 protected:
  void SetUp() override {
    key = MakeContainer(box, L"old password");
    List(box);
    main.ListView1.Select(1);
  }
  // One run of the dialog as a user fills it in; true when it closed itself.
  bool Change(const std::wstring& old, const std::wstring& fresh, const std::wstring& confirm) {
    desk::Form8 form(main.ListView1);
    form.Load();
    form.Text1.Text(old);
    form.Text2.Text(fresh);
    form.Text3.Text(confirm);
    Click(form.Command1);
    bool closed = !form.IsLoaded();
    if (!closed) form.Unload();
    return closed;
  }
  std::string Block(int index) {
    std::string text;
    EXPECT_TRUE(desk::ReadBlock(box, index, text));
    return text;
  }

  const std::wstring box = dir / L"box.cvd";
  std::string key;
};

TEST_F(PasswordTest, NewPasswordOpensTheSameKeyOldOneIsRefused) {
  ASSERT_TRUE(Change(L"old password", L"新密码 pass word", L"新密码 pass word"));
  ExpectBox(0, L"密码修改成功！", L"修改密码", MB_ICONINFORMATION);
  SorvCtl ctl;
  EXPECT_EQ(Block(1), desk::VerifierOf(ctl, L"新密码 pass word"));
  // Wrapped under the password's bytes in code page 936 (GBK).
  char unwrapped[64] = {};
  sorvlib::AESDecryptB64(Block(2).c_str(), "\xD0\xC2\xC3\xDC\xC2\xEB pass word", unwrapped);
  EXPECT_EQ(std::string(unwrapped), key.substr(0, 16));
  EXPECT_FALSE(Change(L"old password", L"another one", L"another one"));
  ExpectBox(0, L"你输入的旧密码不对，请重新输入！", L"错误", MB_ICONERROR);
  EXPECT_EQ(Rows(), std::vector<std::wstring>{box});
}

TEST_F(PasswordTest, RefusalsChangeNothing) {
  const std::string before = ReadBytes(box);
  struct Case {
    const wchar_t *old, *fresh, *confirm, *message, *title;
    UINT icon;
  };
  const Case cases[] = {
      {L"", L"12345678", L"12345678", L"请输入旧密码！", L"错误", MB_ICONERROR},
      {L"old password", L"", L"12345678", L"请输入新密码！", L"提醒", MB_ICONINFORMATION},
      {L"old password", L"12345678", L"", L"请输入新密码的确认密码！", L"提醒", MB_ICONINFORMATION},
      {L"old password", L"1234567", L"1234567", L"密码不能小于8位，请重新你输入。", L"提醒",
       MB_ICONINFORMATION},
      {L"old password", L"12345678", L"12345679", L"你的新密码与确认密码不一样，请检查！", L"错误",
       MB_ICONERROR},
      // Hangul and Thai: their ANSI bytes are "?"s, under which anyone could unwrap the key.
      {L"old password", L"가나다라마바사아자차", L"가나다라마바사아자차", kNotAnsi, L"提醒",
       MB_ICONINFORMATION},
      {L"old password", L"สวัสดีครับผม", L"สวัสดีครับผม", kNotAnsi, L"提醒", MB_ICONINFORMATION},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(Change(c.old, c.fresh, c.confirm));
    ExpectBox(0, c.message, c.title, c.icon);
  }
  EXPECT_EQ(ReadBytes(box), before);
}

TEST_F(PasswordTest, DamagedKeyBlockIsNotWrappedAnew) {
  // Block 2 decrypts to something, but not to a key.
  ASSERT_TRUE(desk::WriteBlock(box, 2, "not a wrapped key at all"));
  const std::string before = ReadBytes(box);
  EXPECT_FALSE(Change(L"old password", L"new password", L"new password"));
  ExpectBox(0, kUnreadable, L"注意", MB_ICONINFORMATION);
  EXPECT_EQ(ReadBytes(box), before);
}

// Both blocks go to the disk in one write of their sector: a crash can leave the old pair or
// the new one, never a verifier beside a key it does not open. A write that fails, or lands
// and then reports failure (a failed flush), leaves the file as it was.
TEST_F(PasswordTest, OneWriteCarriesBothBlocksAnyFailureLeavesTheFile) {
  const std::string before = ReadBytes(box);
  enum Outcome { Fails, LandsAndFails, Lands };
  struct Write {
    LONGLONG offset;
    DWORD size;
    std::string verifier, wrapped;
  };
  for (Outcome outcome : {Fails, LandsAndFails, Lands}) {
    std::vector<Write> writes;
    bool rollingBack = false;
    desk::SectorWriter old = desk::SetSectorWriter(
        [&](HANDLE h, const void* data, DWORD size, DWORD* done, OVERLAPPED* at) {
          const char* bytes = static_cast<const char*>(data);
          writes.push_back({LONGLONG(at->Offset) | LONGLONG(at->OffsetHigh) << 32, size,
                            CutAtNul(std::string(bytes + 64, 64)),
                            CutAtNul(std::string(bytes + 128, 64))});
          if (rollingBack || outcome == Lands) return WriteFile(h, data, size, done, at);
          rollingBack = true;
          if (outcome == Fails) return FALSE;
          WriteFile(h, data, size, done, at);
          return FALSE;
        });
    const bool changed = Change(L"old password", L"new password", L"new password");
    desk::SetSectorWriter(old);
    ASSERT_FALSE(writes.empty()) << outcome;
    EXPECT_EQ(writes[0].offset, 0) << outcome;
    EXPECT_EQ(writes[0].size, 512u) << outcome;
    SorvCtl ctl;
    EXPECT_EQ(writes[0].verifier, desk::VerifierOf(ctl, L"new password"));
    EXPECT_EQ(desk::UnwrapKey(writes[0].wrapped, L"new password"), key.substr(0, 16));
    EXPECT_EQ(changed, outcome == Lands);
    if (outcome == Lands) {
      EXPECT_EQ(writes.size(), 1u);
      ExpectBox(0, L"密码修改成功！", L"修改密码", MB_ICONINFORMATION);
      EXPECT_EQ(Block(1), writes[0].verifier);
      EXPECT_EQ(Block(2), writes[0].wrapped);
    } else {
      ExpectBox(
          0, L"不能存储密码，可能的情况是：加密盘文件被占用、被保护或者被破坏，请确认后重试一次。",
          L"错误", MB_ICONERROR);
      EXPECT_EQ(ReadBytes(box), before) << outcome;
    }
  }
}

}  // namespace
