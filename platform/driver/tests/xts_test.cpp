// XTS-AES-128 against the IEEE 1619 vectors, on both AES paths, and the two paths
// against each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "hex.h"
#include "sha256.h"
#include "xts.h"

namespace {

// Vector 4: data unit 0, plaintext = 00..ff twice.
const char* const kVector4Ciphertext =
    "27a7479befa1d476489f308cd4cfa6e2a96e4bbe3208ff25287dd3819616e89cc78cf7f5e543445f8333d8fa7f5600"
    "00"
    "05279fa5d8b5e4ad40e736ddb4d35412328063fd2aab53e5ea1e0a9f332500a5df9487d07a5c92cc512c8866c7e860"
    "ce"
    "93fdf166a24912b422976146ae20ce846bb7dc9ba94a767aaef20c0d61ad02655ea92dc4c4e41a8952c651d33174be"
    "51"
    "a10c421110e6d81588ede82103a252d8a750e8768defffed9122810aaeb99f9172af82b604dc4b8e51bcb08235a6f4"
    "34"
    "1332e4ca60482a4ba1a03b3e65008fc5da76b70bf1690db4eae29c5f1badd03c5ccf2a55d705ddcd86d449511ceb7e"
    "c3"
    "0bf12b1fa35b913f9f747a8afd1b130e94bff94effd01a91735ca1726acd0b197c4e5b03393697e126826fb6bbde8e"
    "cc"
    "1e08298516e2c9ed03ff3c1b7860f6de76d4cecd94c8119855ef5297ca67e9f3e7ff72b1e99785ca0a7e7720c5b36d"
    "c6"
    "d72cac9574c8cbbc2f801e23e56fd344b07f22154beba0f08ce8891e643ed995c94d9a69c9f1b5f499027a78572aee"
    "bd"
    "74d20cc39881c213ee770b1010e4bea718846977ae119f7a023ab58cca0ad752afe656bb3c17256a9f6e9bf19fdd5a"
    "38"
    "fc82bbe872c5539edb609ef4f79c203ebb140f2e583cb2ad15b4aa5b655016a8449277dbd477ef2c8d6c017db738b1"
    "8d"
    "eb4a427d1923ce3ff262735779a418f20a282df920147beabe421ee5319d0568";
// Vector 5: data unit 1, plaintext = vector 4's ciphertext.
const char* const kVector5Ciphertext =
    "264d3ca8512194fec312c8c9891f279fefdd608d0c027b60483a3fa811d65ee59d52d9e40ec5672d81532b38b6b089"
    "ce"
    "951f0f9c35590b8b978d175213f329bb1c2fd30f2f7f30492a61a532a79f51d36f5e31a7c9a12c286082ff7d2394d1"
    "8f"
    "783e1a8e72c722caaaa52d8f065657d2631fd25bfd8e5baad6e527d763517501c68c5edc3cdd55435c532d7125c861"
    "4d"
    "eed9adaa3acade5888b87bef641c4c994c8091b5bcd387f3963fb5bc37aa922fbfe3df4e5b915e6eb514717bdd2a74"
    "07"
    "9a5073f5c4bfd46adf7d282e7a393a52579d11a028da4d9cd9c77124f9648ee383b1ac763930e7162a8d37f350b2f7"
    "4b"
    "8472cf09902063c6b32e8c2d9290cefbd7346d1c779a0df50edcde4531da07b099c638e83a755944df2aef1aa31752"
    "fd"
    "323dcb710fb4bfbb9d22b925bc3577e1b8949e729a90bbafeacf7f7879e7b1147e28ba0bae940db795a61b15ecf4df"
    "8d"
    "b07b824bb062802cc98a9545bb2aaeed77cb3fc6db15dcd7d80d7d5bc406c4970a3478ada8899b329198eb61c193fb"
    "62"
    "75aa8ca340344a75a862aebe92eee1ce032fd950b47d7704a3876923b4ad62844bf4a09c4dbe8b4397184b7471360c"
    "95"
    "64880aedddb9baa4af2e75394b08cd32ff479c57a07d3eab5d54de5f9738b8d27f27a9f0ab11799d7b7ffefb2704c9"
    "5c"
    "6ad12c39f1e867a4b7b1d7818a4b753dfd2a89ccb45e001a03a867b187f225dd";
// Vector 6: data unit 2, plaintext = vector 5's ciphertext.
const char* const kVector6Ciphertext =
    "fa762a3680b76007928ed4a4f49a9456031b704782e65e16cecb54ed7d017b5e18abd67b338e81078f21edb7868d90"
    "1e"
    "be9c731a7c18b5e6dec1d6a72e078ac9a4262f860beefa14f4e821018272e411a951502b6e79066e84252c3346f3aa"
    "62"
    "344351a291d4bedc7a07618bdea2af63145cc7a4b8d4070691ae890cd65733e7946e9021a1dffc4c59f159425ee6d5"
    "0c"
    "a9b135fa6162cea18a939838dc000fb386fad086acce5ac07cb2ece7fd580b00cfa5e98589631dc25e8e2a3daf2ffd"
    "ec"
    "26531659912c9d8f7a15e5865ea8fb5816d6207052bd7128cd743c12c8118791a4736811935eb982a532349e31dd40"
    "1e"
    "0b660a568cb1a4711f552f55ded59f1f15bf7196b3ca12a91e488ef59d64f3a02bf45239499ac6176ae321c4a211ec"
    "54"
    "5365971c5d3f4f09d4eb139bfdf2073d33180b21002b65cc9865e76cb24cd92c874c24c18350399a936ab363707929"
    "5d"
    "76c417776b94efce3a0ef7206b15110519655c956cbd8b2489405ee2b09a6b6eebe0c53790a12a8998378b33a5b711"
    "59"
    "625f4ba49d2a2fdba59fbf0897bc7aabd8d707dc140a80f0f309f835d3da54ab584e501dfa0ee977fec543f74186a8"
    "02"
    "b9a37adb3e8291eca04d66520d229e60401e7282bef486ae059aa70696e0e305d777140a7a883ecdcb69b9ff938e8a"
    "42"
    "31864c69ca2c2043bed007ff3e605e014bcf518138dc3a25c5e236171a2d01d6";

struct Vector {
  const char* key1;
  const char* key2;
  uint64_t unit;
  std::vector<uint8_t> plain;
  std::string cipher;
};

std::vector<uint8_t> Counting512() {
  std::vector<uint8_t> bytes(512);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
  return bytes;
}

std::vector<Vector> Vectors() {
  const char* const k1 = "27182818284590452353602874713526";
  const char* const k2 = "31415926535897932384626433832795";
  return {
      {"00000000000000000000000000000000", "00000000000000000000000000000000", 0,
       std::vector<uint8_t>(32, 0),
       "917cf69ebd68b2ec9b9fe9a3eadda692cd43d2f59598ed858c02c2652fbf922e"},
      {"11111111111111111111111111111111", "22222222222222222222222222222222", 0x3333333333,
       std::vector<uint8_t>(32, 0x44),
       "c454185e6a16936e39334038acef838bfb186fff7480adc4289382ecd6d394f0"},
      {"fffefdfcfbfaf9f8f7f6f5f4f3f2f1f0", "22222222222222222222222222222222", 0x3333333333,
       std::vector<uint8_t>(32, 0x44),
       "af85336b597afc1a900b2eb21ec949d292df4c047e0b21532186a5971a227a89"},
      {k1, k2, 0, Counting512(), kVector4Ciphertext},
      {k1, k2, 1, FromHex(kVector4Ciphertext), kVector5Ciphertext},
      {k1, k2, 2, FromHex(kVector5Ciphertext), kVector6Ciphertext},
  };
}

const XtsPath kPaths[] = {XtsPath::Tables, XtsPath::AesNi, XtsPath::Vaes256, XtsPath::Vaes512};
const char* const kPathNames[] = {"Tables", "Instructions", "Vector256", "Vector512"};

class XtsPaths : public ::testing::TestWithParam<XtsPath> {
 protected:
  void SetUp() override {
    if (!XtsPathAvailable(GetParam())) GTEST_SKIP() << "not on this processor";
  }
  void SetKey(XtsKey* key, const uint8_t* key1, const uint8_t* key2) {
    XtsSetKey(key, key1, key2, GetParam());
    ASSERT_EQ(key->path, GetParam());
  }
};

TEST_P(XtsPaths, MatchesIeee1619Vectors) {
  int n = 1;
  for (const Vector& v : Vectors()) {
    SCOPED_TRACE("vector " + std::to_string(n++));
    XtsKey key;
    SetKey(&key, FromHex(v.key1).data(), FromHex(v.key2).data());
    std::vector<uint8_t> out(v.plain.size());
    XtsEncrypt(&key, v.unit, v.plain.data(), out.data(), out.size());
    EXPECT_EQ(ToHex(out.data(), out.size()), v.cipher);
    XtsDecrypt(&key, v.unit, out.data(), out.data(), out.size());  // in place
    EXPECT_EQ(out, v.plain);
    // The same unit as a sector of a run, where the vector paths take several at once.
    if (v.plain.size() != 512) continue;
    std::vector<uint8_t> run(512 * 3, 0x6c);
    std::copy(v.plain.begin(), v.plain.end(), run.begin() + 512);
    XtsEncryptSectors(&key, v.unit - 1, run.data(), run.data(), 3);
    EXPECT_EQ(ToHex(run.data() + 512, 512), v.cipher);
  }
}

TEST_P(XtsPaths, DiskKeyTakesKey2FromSha256OfKey1) {
  const std::vector<uint8_t> key1 = FromHex("000102030405060708090a0b0c0d0e0f");
  uint8_t digest[32];
  Sha256Digest(digest, key1.data(), key1.size());
  XtsKey explicitKey, diskKey;
  SetKey(&explicitKey, key1.data(), digest);
  XtsSetDiskKey(&diskKey, key1.data(), GetParam() != XtsPath::Tables);
  std::vector<uint8_t> sector = Counting512(), a(512), b(512);
  XtsEncrypt(&explicitKey, 77, sector.data(), a.data(), 512);
  XtsEncrypt(&diskKey, 77, sector.data(), b.data(), 512);
  EXPECT_EQ(a, b);
}

// Random keys, unit numbers (high ones carry the tweak through its upper bytes) and
// lengths: units shorter than a register, runs of sectors not a multiple of the
// registers' lanes. The tables, one unit at a time, are the reference.
TEST_P(XtsPaths, GivesTheSameUnitsAsTheTables) {
  std::mt19937_64 random(1619);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    uint8_t key1[16], key2[16];
    for (auto& b : key1) b = static_cast<uint8_t>(random());
    for (auto& b : key2) b = static_cast<uint8_t>(random());
    XtsKey tables, path;
    XtsSetKey(&tables, key1, key2, XtsPath::Tables);
    SetKey(&path, key1, key2);
    const uint64_t first = round % 3 == 0 ? random() % 64 : random();
    const bool sectors = round % 2 == 1;
    const size_t units = sectors ? 1 + random() % 11 : 1;
    const size_t unitBytes = sectors ? 512 : 16 * (1 + random() % 70);
    std::vector<uint8_t> plain(unitBytes * units), expected(plain.size()), got(plain.size());
    for (auto& b : plain) b = static_cast<uint8_t>(random());
    for (size_t i = 0; i < units; ++i)
      XtsEncrypt(&tables, first + i, &plain[i * unitBytes], &expected[i * unitBytes], unitBytes);
    if (sectors)
      XtsEncryptSectors(&path, first, plain.data(), got.data(), units);
    else
      XtsEncrypt(&path, first, plain.data(), got.data(), unitBytes);
    ASSERT_EQ(got, expected) << "first " << first << ", " << units << " x " << unitBytes;
    if (sectors)
      XtsDecryptSectors(&path, first, got.data(), got.data(), units);
    else
      XtsDecrypt(&path, first, got.data(), got.data(), unitBytes);
    ASSERT_EQ(got, plain);
  }
}

#ifdef _WIN32  // frames as the driver's compiler lays them out; the sanitizers' are larger
// Whether the stack below the caller holds the 16 bytes: what the thread's next calls find.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"  // the old contents are the point
__attribute__((noinline)) bool StackBelowHolds(const uint8_t* pattern) {
  volatile uint8_t area[16 << 10];
  bool found = false;
  for (size_t i = 0; i + 16 <= sizeof area && !found; i += 16) {
    bool same = true;
    for (size_t j = 0; j < 16 && same; ++j) same = area[i + j] == pattern[j];
    found = same;
  }
  return found;
}
#pragma GCC diagnostic pop

__attribute__((noinline)) void ClearStackBelow() {
  volatile uint8_t area[16 << 10];
  for (size_t i = 0; i < sizeof area; ++i) area[i] = 0;
}

// The cipher leaves no round key of either key on the stack: the driver's key lives in
// non-paged memory only, a kernel stack may be paged out.
TEST_P(XtsPaths, LeavesNoRoundKeyOnTheStack) {
  static XtsKey key;
  static uint8_t data[512 * 9];
  const uint8_t key1[16] = {0x5a, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  const uint8_t key2[16] = {0xa5, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
  SetKey(&key, key1, key2);
  if (!AesNiAvailable()) GTEST_SKIP() << "the reference schedules need the AES instructions";
  static AesNiKey reference1, reference2;
  AesNiSetKey(&reference1, key1);
  AesNiSetKey(&reference2, key2);
  for (bool encrypt : {true, false}) {
    ClearStackBelow();
    (encrypt ? XtsEncryptSectors : XtsDecryptSectors)(&key, 3, data, data, 9);
    for (int r = 1; r <= 10; ++r) {
      EXPECT_FALSE(StackBelowHolds(reference1.enc + 16 * r)) << encrypt << " key 1 round " << r;
      EXPECT_FALSE(StackBelowHolds(reference1.dec + 16 * r)) << encrypt << " key 1 round " << r;
      EXPECT_FALSE(StackBelowHolds(reference2.enc + 16 * r)) << encrypt << " key 2 round " << r;
    }
  }
}
#endif

// Stores the vector registers to out as they are on entry: 16 xmm of 16 bytes, 16 ymm
// of 32, or 32 zmm of 64. Written in assembly, so nothing runs before the stores.
extern "C" void CaptureXmm(uint8_t* out);
extern "C" void CaptureYmm(uint8_t* out);
extern "C" void CaptureZmm(uint8_t* out);
#ifdef _WIN32
#define SORV_ARG0 "%rcx"
#else
#define SORV_ARG0 "%rdi"
#endif
#define SORV_CAPTURE(name, move, reg, size, last)                                \
  ".globl " name "\n" name ":\n.irp r,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15" last \
  "\n" move " %" reg "\\r, \\r*" size "(" SORV_ARG0 ")\n.endr\nret\n"
asm(".text\n" SORV_CAPTURE("CaptureXmm", "movdqu", "xmm", "16", "")
        SORV_CAPTURE("CaptureYmm", "vmovdqu", "ymm", "32", "")
            SORV_CAPTURE("CaptureZmm", "vmovdqu64", "zmm", "64",
                         ",16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31"));

// Round keys left in the registers are read by whatever the thread runs next (in the
// driver, by the caller of the request): setting the key and each cipher call leave
// none of either key's.
TEST_P(XtsPaths, LeavesNoRoundKeyInTheVectorRegisters) {
  if (!AesNiAvailable()) GTEST_SKIP() << "the reference schedules need the AES instructions";
  static const uint8_t key1[16] = {0x5a, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  static const uint8_t key2[16] = {0xa5, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
  static AesNiKey reference1, reference2;
  AesNiSetKey(&reference1, key1);
  AesNiSetKey(&reference2, key2);
  void (*capture)(uint8_t*) = CaptureXmm;
  size_t bytes = 16 * 16;
  if (XtsPathAvailable(XtsPath::Vaes512)) {
    capture = CaptureZmm;
    bytes = 32 * 64;
  } else if (XtsPathAvailable(XtsPath::Vaes256)) {
    capture = CaptureYmm;
    bytes = 16 * 32;
  }
  static XtsKey key;
  static uint8_t data[512 * 9], registers[32 * 64];
  auto holds = [&](const uint8_t* roundKey) {
    for (size_t at = 0; at < bytes; at += 16)
      if (memcmp(registers + at, roundKey, 16) == 0) return true;
    return false;
  };
  for (const char* call : {"set key", "encrypt", "decrypt"}) {
    if (call[0] == 's') {
      XtsSetKey(&key, key1, key2, GetParam());
      capture(registers);
    } else {
      (call[0] == 'e' ? XtsEncryptSectors : XtsDecryptSectors)(&key, 3, data, data, 9);
      capture(registers);
    }
    for (int r = 0; r <= 10; ++r) {
      EXPECT_FALSE(holds(reference1.enc + 16 * r)) << call << ": key 1 round " << r;
      EXPECT_FALSE(holds(reference1.dec + 16 * r)) << call << ": key 1 round " << r;
      EXPECT_FALSE(holds(reference2.enc + 16 * r)) << call << ": key 2 round " << r;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Aes, XtsPaths, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return kPathNames[static_cast<int>(info.param)]; });

// The fastest path there is: what the driver asks for.
TEST(Xts, InstructionsMeanTheFastestPath) {
  const uint8_t key1[16] = {7};
  XtsKey key;
  XtsSetDiskKey(&key, key1, true);
  XtsPath fastest = XtsPath::Tables;
  for (XtsPath path : kPaths)
    if (XtsPathAvailable(path)) fastest = path;
  EXPECT_EQ(key.path, fastest);
}

TEST(Xts, ClearWipesTheKey) {
  XtsKey key;
  const uint8_t key1[16] = {1, 2, 3};
  XtsSetDiskKey(&key, key1, false);
  XtsClear(&key);
  const auto* bytes = reinterpret_cast<const uint8_t*>(&key);
  EXPECT_TRUE(std::all_of(bytes, bytes + sizeof key, [](uint8_t b) { return b == 0; }));
}

}  // namespace
