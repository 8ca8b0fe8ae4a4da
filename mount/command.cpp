#include "command.h"

#include <cstring>

#include "sorvdisk_ioctl.h"

bool SplitWords(const char* line, WordTable* table) {
  memset(table, 0, sizeof *table);
  table->count = 1;
  int word = 0, pos = 0;
  bool quoted = false;
  for (const char* p = line; *p; ++p) {
    const char c = *p;
    if (c == '"') quoted = !quoted;
    const bool separator = c == ' ' && !quoted;
    if (separator) {
      if (++table->count > kMaxWords) return false;
      word = table->count - 1;
      pos = 0;
    }
    if (pos >= kWordSize - 1) return false;
    table->words[word][pos] = c;
    if (!separator) ++pos;
  }
  return true;
}

void StripQuotes(char* word) {
  if (word[0] != '"') return;
  size_t length = strlen(word);
  // A lone quote has no last character to drop apart from the first.
  size_t kept = length >= 2 ? length - 2 : 0;
  memmove(word, word + 1, kept);
  memset(word + kept, 0, length - kept);
}

namespace {

// The decimal number at the start of a word; 0 when there is none. Stops before
// an overflow rather than wrapping round.
unsigned LeadingNumber(const char* word) {
  unsigned value = 0;
  for (; *word >= '0' && *word <= '9'; ++word) {
    unsigned digit = static_cast<unsigned>(*word - '0');
    if (value > (0xFFFFFFFFu - digit) / 10) break;
    value = value * 10 + digit;
  }
  return value;
}

// A drive word that names a letter to define: letter and colon, or letter, colon and
// backslash. Anything else would map the device onto a name such as " :" or "0:".
bool DriveWord(const char* word) {
  const char letter = static_cast<char>(word[0] | 0x20);
  return letter >= 'a' && letter <= 'z' && word[1] == ':' &&
         (word[2] == 0 || (word[2] == '\\' && word[3] == 0));
}

}  // namespace

Command ParseCommand(const char* line, WordTable* table) {
  Command c;
  if (!SplitWords(line ? line : "", table)) return c;
  const int n = table->count;
  char(*w)[kWordSize] = table->words;
  if (n == 5) StripQuotes(w[2]);
  if (n == 4) StripQuotes(w[3]);
  if (n == 5 && strcmp(w[0], "/mount") == 0 && DriveWord(w[3])) {
    c = {Operation::Mount, LeadingNumber(w[1]), w[3][0], w[2], w[4]};
  } else if (n == 2 && strcmp(w[0], "/umount") == 0) {
    c = {Operation::Unmount, 0, w[1][0], nullptr, nullptr};
  } else if (n == 2 && strcmp(w[0], "/kill") == 0) {
    c = {Operation::Kill, 0, w[1][0], nullptr, nullptr};
  } else if (n == 4 && strcmp(w[0], "/lockfile") == 0 && DriveWord(w[2])) {
    c = {Operation::LockFile, LeadingNumber(w[1]), w[2][0], w[3], nullptr};
  } else if (n == 3 && strcmp(w[0], "/unlockfile") == 0 && DriveWord(w[2])) {
    c = {Operation::UnlockFile, LeadingNumber(w[1]), w[2][0], nullptr, nullptr};
  } else if (n == 3 && strcmp(w[0], "/query") == 0 && DriveWord(w[2])) {
    c = {Operation::Query, LeadingNumber(w[1]), w[2][0], nullptr, nullptr};
  }
  return c;
}

std::vector<uint8_t> OpenFileRequest(const char* path) {
  const size_t nameLength = 4 + strlen(path);  // "\??\" and the path; a word keeps it < 260
  std::vector<uint8_t> request(nameLength + kOpenFileOverhead, 0);
  request[16] = static_cast<uint8_t>(nameLength);
  request[17] = static_cast<uint8_t>(nameLength >> 8);
  memcpy(&request[kOpenFileNameOffset], "\\??\\", 4);
  memcpy(&request[kOpenFileNameOffset + 4], path, nameLength - 4);
  return request;
}

std::array<uint8_t, 32> SetKeyRequest(const char* key) {
  std::array<uint8_t, 32> request{};
  for (size_t i = 0; i < kKeyBytes && key[i]; ++i) request[i] = static_cast<uint8_t>(key[i]);
  return request;
}

std::array<uint8_t, 256> LockFileRequest(const char* path) {
  std::array<uint8_t, 256> request{};
  for (size_t i = 0; i < request.size() - 1 && path[i]; ++i)
    request[i] = static_cast<uint8_t>(path[i]);
  return request;
}
