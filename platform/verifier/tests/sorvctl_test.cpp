#include <gtest/gtest.h>

#include "SorvCtl.h"

TEST(SorvCtl, PasswordAsTypedIsHashedAsUtf8) {
  SorvCtl ctl;
  ctl.SetPassword(L"密码口令abc");
  EXPECT_EQ(ctl.Verifier(), L"D32F11E247D3A2C48011A2A70016B80B729F06727B23D1F659D920ACD7BAF472");
}
