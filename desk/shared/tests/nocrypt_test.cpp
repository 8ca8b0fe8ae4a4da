// This program folder has no crypto library: a new container must then get no key at all.
#include <gtest/gtest.h>

#include "ContainerMaking.h"
#include "forms.h"

TEST(KeyMaking, WithoutTheCryptoLibraryThereIsNoKey) {
  ASSERT_FALSE(forms::FileExists(forms::AppPath() + L"\\SorvCrypt.dll"));
  EXPECT_EQ(making::NewWrappedKey(L"password"), "");
  const making::DiskKeys keys = making::NewDiskKeys(L"password");
  EXPECT_EQ(keys.diskKey + keys.wrapped, "");
}
