#include "device_access.h"

namespace {

struct Grant {
  uint8_t authority;  // the last byte of the six-byte identifier authority
  uint8_t subCount;
  uint32_t sub[2];
  uint32_t mask;
};

constexpr Grant kGrants[] = {
    {5, 1, {18, 0}, kFileAllAccess},    // S-1-5-18, SYSTEM
    {5, 2, {32, 544}, kFileAllAccess},  // S-1-5-32-544, Administrators
    {1, 1, {0, 0}, kEveryoneAccess},    // S-1-1-0, Everyone
};

uint8_t* Put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  return p + 2;
}

uint8_t* Put32(uint8_t* p, uint32_t v) { return Put16(Put16(p, v), v >> 16); }

}  // namespace

void BuildDeviceAcl(uint8_t (&acl)[kDeviceAclBytes]) {
  uint8_t* p = acl;
  *p++ = 2;  // ACL_REVISION
  *p++ = 0;
  p = Put16(p, kDeviceAclBytes);
  p = Put16(p, sizeof kGrants / sizeof kGrants[0]);
  p = Put16(p, 0);
  for (const Grant& g : kGrants) {
    *p++ = 0;  // ACCESS_ALLOWED_ACE_TYPE
    *p++ = 0;  // no inheritance: a device has no children
    p = Put16(p, 8 + 8 + 4 * g.subCount);
    p = Put32(p, g.mask);
    *p++ = 1;  // SID_REVISION
    *p++ = g.subCount;
    for (int i = 0; i < 5; ++i) *p++ = 0;
    *p++ = g.authority;
    for (int i = 0; i < g.subCount; ++i) p = Put32(p, g.sub[i]);
  }
}
