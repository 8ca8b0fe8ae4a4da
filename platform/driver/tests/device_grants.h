// The tests' own reading of an ACL (the bytes of Windows' ACL, ACE and SID layouts)
// and the grants every disk device must carry.
#pragma once

#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

using Grants = std::vector<std::pair<std::string, uint32_t>>;

const Grants kDeviceGrants = {
    {"S-1-5-18", 0x001f01ff},      // SYSTEM: FILE_ALL_ACCESS
    {"S-1-5-32-544", 0x001f01ff},  // Administrators: FILE_ALL_ACCESS
    // Everyone: FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE
    {"S-1-1-0", 0x20 | 0x80 | 0x20000 | 0x100000},
};

inline uint32_t Le(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// The ACL's allowed ACEs as SID text and mask; a header or ACE out of form fails.
inline Grants ReadGrants(const uint8_t* acl, size_t size) {
  Grants grants;
  EXPECT_EQ(acl[0], 2) << "ACL_REVISION";
  EXPECT_EQ(Le(acl + 2, 2), size);
  size_t at = 8;
  for (uint32_t n = Le(acl + 4, 2); n > 0 && at + 16 <= size; --n) {
    const uint8_t* ace = acl + at;
    EXPECT_EQ(ace[0], 0) << "ACCESS_ALLOWED_ACE_TYPE";
    EXPECT_EQ(ace[1], 0) << "no inheritance flags";
    const uint8_t* sid = ace + 8;
    EXPECT_EQ(sid[0], 1) << "SID revision";
    EXPECT_EQ(Le(ace + 2, 2), 8u + 8 + 4 * sid[1]) << "ACE size";
    std::string text = "S-1-" + std::to_string(sid[7]);
    for (int i = 0; i < sid[1]; ++i) text += "-" + std::to_string(Le(sid + 8 + 4 * i, 4));
    grants.emplace_back(text, Le(ace + 4, 4));
    at += Le(ace + 2, 2);
  }
  EXPECT_EQ(at, size) << "the ACEs fill the ACL";
  return grants;
}

}  // namespace testsupport
