// The command line: word splitting with its exact consequences, the choice of
// operation, and the request buffers byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "command.h"
#include "sorvdisk_ioctl.h"

namespace {

std::vector<std::string> Words(const char* line) {
  WordTable table;
  EXPECT_TRUE(SplitWords(line, &table));
  return std::vector<std::string>(table.words, table.words + table.count);
}

using W = std::vector<std::string>;

TEST(SplitWords, BlanksQuotesAndCounts) {
  EXPECT_EQ(Words("/umount Q:"), (W{"/umount", "Q:"}));
  EXPECT_EQ(Words(""), (W{""})) << "an empty line is one empty word";
  EXPECT_EQ(Words("/umount  Q:"), (W{"/umount", " ", "Q:"})) << "doubled blank: a one-blank word";
  EXPECT_EQ(Words("/umount Q: "), (W{"/umount", "Q:", " "})) << "trailing blank";
  EXPECT_EQ(Words(" /umount Q:"), (W{"", "/umount", "Q:"})) << "leading blank";
  EXPECT_EQ(Words("a \"b c\" d"), (W{"a", "\"b c\"", "d"})) << "quotes stay, blank inside kept";
  EXPECT_EQ(Words("a \"b c d"), (W{"a", "\"b c d"})) << "an open quote runs to the end";
  EXPECT_EQ(Words("a\tb"), (W{"a\tb"})) << "tabs are ordinary";
  EXPECT_EQ(Words("x\"y z\"w v"), (W{"x\"y z\"w", "v"})) << "quotes inside a word";
}

TEST(SplitWords, RefusesWhatTheTableCannotHold) {
  WordTable table;
  EXPECT_TRUE(SplitWords("1 2 3 4 5 6 7 8 9 10", &table));
  EXPECT_EQ(table.count, 10);
  EXPECT_FALSE(SplitWords("1 2 3 4 5 6 7 8 9 10 11", &table));
  EXPECT_FALSE(SplitWords("          ", &table)) << "ten blanks make eleven words";
  std::string longest(255, 'x');
  EXPECT_TRUE(SplitWords(("/kill " + longest).c_str(), &table));
  EXPECT_EQ(std::string(table.words[1]), longest);
  EXPECT_FALSE(SplitWords(("/kill " + longest + "x").c_str(), &table));
}

TEST(StripQuotes, DropsFirstAndLastCharacter) {
  char a[kWordSize] = "\"C:\\my dir\\a.cvd\"";
  StripQuotes(a);
  EXPECT_STREQ(a, "C:\\my dir\\a.cvd");
  char b[kWordSize] = "\"C:\\a.cvdX";  // the last character goes whatever it is
  StripQuotes(b);
  EXPECT_STREQ(b, "C:\\a.cvd");
  char c[kWordSize] = "\"\"";
  StripQuotes(c);
  EXPECT_STREQ(c, "");
  char d[kWordSize] = "\"";  // a lone quote: nothing before the string is touched
  StripQuotes(d);
  EXPECT_STREQ(d, "");
  char e[kWordSize] = "C:\\a.cvd";
  StripQuotes(e);
  EXPECT_STREQ(e, "C:\\a.cvd");
}

Command Parse(const char* line) {
  static WordTable table;
  return ParseCommand(line, &table);
}

TEST(ParseCommand, PicksTheOperationByCountAndExactWord) {
  Command m = Parse("/mount 0 \"C:\\my dir\\a.cvd\" X: ABCDEFGHIJKLMNOPQRSTUVWX");
  EXPECT_EQ(m.operation, Operation::Mount);
  EXPECT_EQ(m.device, 0u);
  EXPECT_STREQ(m.path, "C:\\my dir\\a.cvd");
  EXPECT_EQ(m.drive, 'X');
  EXPECT_STREQ(m.key, "ABCDEFGHIJKLMNOPQRSTUVWX");

  EXPECT_EQ(Parse("/umount X:").drive, 'X');
  EXPECT_EQ(Parse("/umount X:\\").drive, 'X');
  EXPECT_EQ(Parse("/umount x").drive, 'x') << "no change of case";
  EXPECT_EQ(Parse("/kill X:\\").operation, Operation::Kill);

  Command l = Parse("/lockfile 3 R: C:\\a.cvd");
  EXPECT_EQ(l.operation, Operation::LockFile);
  EXPECT_EQ(l.device, 3u);
  EXPECT_EQ(l.drive, 'R');
  EXPECT_STREQ(l.path, "C:\\a.cvd");
  EXPECT_STREQ(Parse("/lockfile 0 R: \"C:\\a.cvd\"").path, "C:\\a.cvd") << "quoted or not";

  Command u = Parse("/unlockfile 12x R:");
  EXPECT_EQ(u.operation, Operation::UnlockFile);
  EXPECT_EQ(u.device, 12u) << "the number at the start of the word";
  EXPECT_EQ(Parse("/unlockfile x R:").device, 0u);
  EXPECT_EQ(Parse("/unlockfile 99999999999999 R:").device, 999999999u) << "no wrap-around";
}

TEST(ParseCommand, NothingMatchesLinesOffTheTable) {
  for (const char* line : {"", "/UMOUNT X:", "/umount  X:", "/umount X: ", " /umount X:",
                           "/umount", "/mount 0 C:\\my dir\\a.cvd X: key", "/mount 0 a X:",
                           "/kill X: Y:", "/lockfile 0 R:", "/unlockfile 0", "mount 0 a X: k",
                           "1 2 3 4 5 6 7 8 9 10 11"}) {
    EXPECT_EQ(Parse(line).operation, Operation::None) << "[" << line << "]";
  }
}

TEST(Requests, OpenFileIsNameLengthPlus23Bytes) {
  std::vector<uint8_t> r = OpenFileRequest("C:\\a.cvd");
  ASSERT_EQ(r.size(), 35u);
  EXPECT_EQ(std::vector<uint8_t>(r.begin(), r.begin() + 16), std::vector<uint8_t>(16, 0));
  EXPECT_EQ(r[16], 12);
  EXPECT_EQ(r[17], 0);
  EXPECT_EQ(std::string(r.begin() + 18, r.begin() + 30), "\\??\\C:\\a.cvd");
  EXPECT_EQ(std::vector<uint8_t>(r.begin() + 30, r.end()), std::vector<uint8_t>(5, 0));

  std::string longPath(253, 'p');
  r = OpenFileRequest(longPath.c_str());
  EXPECT_EQ(r.size(), 257u + 23u);
  EXPECT_EQ(r[16] | (r[17] << 8), 257);
  EXPECT_EQ(OpenFileRequest("").size(), 27u) << "the empty path of a \"\" word";
}

TEST(Requests, SetKeyTakesAtMost16KeyCharacters) {
  auto r = SetKeyRequest("ABCDEFGHIJKLMNOPQRSTUVWX");
  EXPECT_EQ(std::string(r.begin(), r.begin() + 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(std::vector<uint8_t>(r.begin() + 16, r.end()), std::vector<uint8_t>(16, 0));
  r = SetKeyRequest("abcde");
  EXPECT_EQ(std::string(r.begin(), r.begin() + 5), "abcde");
  EXPECT_EQ(std::vector<uint8_t>(r.begin() + 5, r.end()), std::vector<uint8_t>(27, 0));
}

TEST(Requests, LockFileIsThePathInA256ByteSlot) {
  auto r = LockFileRequest("C:\\my dir\\a.cvd");
  EXPECT_EQ(r.size(), kLockFileSize);
  EXPECT_STREQ(reinterpret_cast<const char*>(r.data()), "C:\\my dir\\a.cvd");
  EXPECT_EQ(std::count(r.begin() + 15, r.end(), 0), 256 - 15);
}

TEST(Requests, CodesAreTheDriversTable) {
  EXPECT_EQ(kIoctlOpenFile, 0x8000E000u);
  EXPECT_EQ(kIoctlCloseFile, 0x8000E004u);
  EXPECT_EQ(kIoctlSetKey, 0x8000E008u);
  EXPECT_EQ(kIoctlLockFile, 0x8000E00Cu);
  EXPECT_EQ(kIoctlUnlockFile, 0x8000E010u);
}

}  // namespace
