// The command line: word splitting with its exact consequences, quote stripping,
// and the request buffers byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "command.h"
#include "sorvdisk_ioctl.h"

namespace {

using W = std::vector<std::string>;

TEST(SplitWords, BlanksAndQuotes) {
  const struct {
    const char* line;
    W words;
  } cases[] = {
      {"/umount Q:", {"/umount", "Q:"}},
      {"", {""}},
      {"/umount  Q:", {"/umount", " ", "Q:"}},  // a doubled blank makes a one-blank word
      {"/umount Q: ", {"/umount", "Q:", " "}},
      {" /umount Q:", {"", "/umount", "Q:"}},
      {"a \"b c\" d", {"a", "\"b c\"", "d"}},
      {"a \"b c d", {"a", "\"b c d"}},  // an open quote runs to the end
      {"a\tb", {"a\tb"}},
      {"x\"y z\"w v", {"x\"y z\"w", "v"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    WordTable table;
    ASSERT_TRUE(SplitWords(c.line, &table));
    EXPECT_EQ(W(table.words, table.words + table.count), c.words);
  }
}

TEST(SplitWords, RefusesWhatTheTableCannotHold) {
  WordTable table;
  EXPECT_TRUE(SplitWords("1 2 3 4 5 6 7 8 9 10", &table));
  EXPECT_FALSE(SplitWords("1 2 3 4 5 6 7 8 9 10 11", &table));
  EXPECT_FALSE(SplitWords("          ", &table)) << "ten blanks make eleven words";
  std::string longest(255, 'x');
  EXPECT_TRUE(SplitWords(("/kill " + longest).c_str(), &table));
  EXPECT_EQ(table.words[1], longest);
  EXPECT_FALSE(SplitWords(("/kill " + longest + "x").c_str(), &table));
}

TEST(StripQuotes, DropsFirstAndLastCharacterOfAQuotedWord) {
  const char* cases[][2] = {{"\"C:\\my dir\\a.cvd\"", "C:\\my dir\\a.cvd"},
                            {"\"C:\\a.cvdX", "C:\\a.cvd"},
                            {"\"\"", ""},
                            {"\"", ""},
                            {"C:\\a.cvd", "C:\\a.cvd"}};
  for (auto& c : cases) {
    char word[kWordSize] = {};
    strcpy(word, c[0]);
    StripQuotes(word);
    EXPECT_STREQ(word, c[1]) << c[0];
  }
}

// The commands that define a letter take only a letter and a colon (and a backslash);
// the others only open the drive and keep the bare letter.
TEST(ParseCommand, DriveWordsOfTheCommandsThatDefineALetter) {
  const struct {
    const char* line;
    Operation operation;
    char drive;
  } cases[] = {
      {"/mount 0 a.cvd Q: key", Operation::Mount, 'Q'},
      {"/mount 0 a.cvd q:\\ key", Operation::Mount, 'q'},
      {"/mount 0 a.cvd  key", Operation::None, 0},  // two blanks: the drive word is " "
      {"/mount 0 a.cvd Q key", Operation::None, 0},
      {"/mount 0 a.cvd 0: key", Operation::None, 0},
      {"/mount 0 a.cvd Q:x key", Operation::None, 0},
      {"/lockfile 0 R: a.cvd", Operation::LockFile, 'R'},
      {"/lockfile 0  a.cvd", Operation::None, 0},
      {"/lockfile 0 :R a.cvd", Operation::None, 0},
      {"/unlockfile 0 R:", Operation::UnlockFile, 'R'},
      {"/unlockfile  0", Operation::None, 0},  // the drive word would be "0"
      {"/umount Q", Operation::Unmount, 'Q'},
      {"/kill Q:\\", Operation::Kill, 'Q'},
  };
  for (const auto& c : cases) {
    WordTable table;
    Command command = ParseCommand(c.line, &table);
    EXPECT_EQ(command.operation, c.operation) << c.line;
    if (c.operation != Operation::None) {
      EXPECT_EQ(command.drive, c.drive) << c.line;
    }
  }
}

TEST(Requests, LayoutsAndCodesAreTheDriversTable) {
  std::vector<uint8_t> open = OpenFileRequest("C:\\a.cvd");
  std::vector<uint8_t> expected(35, 0);
  expected[16] = 12;
  memcpy(&expected[18], "\\??\\C:\\a.cvd", 12);
  EXPECT_EQ(open, expected);
  open = OpenFileRequest(std::string(253, 'p').c_str());
  EXPECT_EQ(open.size(), 257u + 23u);
  EXPECT_EQ(open[16] | (open[17] << 8), 257);
  EXPECT_EQ(OpenFileRequest("").size(), 27u) << "the empty path of a \"\" word";

  auto key = SetKeyRequest("ABCDEFGHIJKLMNOPQRSTUVWX");
  EXPECT_EQ(std::string(key.begin(), key.end()), "ABCDEFGHIJKLMNOP" + std::string(16, '\0'));
  key = SetKeyRequest("abcde");
  EXPECT_EQ(std::string(key.begin(), key.end()), "abcde" + std::string(27, '\0'));

  auto lock = LockFileRequest("C:\\my dir\\a.cvd");
  EXPECT_EQ(std::string(lock.begin(), lock.end()), "C:\\my dir\\a.cvd" + std::string(241, '\0'));

  EXPECT_EQ((std::vector<uint32_t>{kIoctlOpenFile, kIoctlCloseFile, kIoctlSetKey, kIoctlLockFile,
                                   kIoctlUnlockFile}),
            (std::vector<uint32_t>{0x8000E000, 0x8000E004, 0x8000E008, 0x8000E00C, 0x8000E010}));
}

}  // namespace
