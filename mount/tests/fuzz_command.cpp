// libFuzzer target: word splitting, quote stripping and the choice of operation on
// arbitrary lines. ASan reports any byte written past the word table; the word count
// is checked against a count of the blanks outside quotes made here.
#include <cstdlib>
#include <cstring>
#include <string>

#include "command.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  line = line.c_str();          // the library takes NUL-terminated text
  auto* table = new WordTable;  // on the heap, so ASan sees its end
  if (SplitWords(line.c_str(), table)) {
    int separators = 0;
    bool quoted = false;
    for (char c : line) {
      if (c == '"') quoted = !quoted;
      if (c == ' ' && !quoted) ++separators;
    }
    Check(table->count == separators + 1 && table->count <= kMaxWords);
    for (int i = 0; i < kMaxWords; ++i) {
      char* word = table->words[i];
      Check(memchr(word, 0, kWordSize) != nullptr);
      const size_t length = strlen(word);
      const bool quotedWord = word[0] == '"';
      StripQuotes(word);
      Check(strlen(word) == (quotedWord ? (length >= 2 ? length - 2 : 0) : length));
    }
  }
  Command command = ParseCommand(line.c_str(), table);
  if (command.operation == Operation::Mount) {
    Check(OpenFileRequest(command.path).size() == strlen(command.path) + 27);
    SetKeyRequest(command.key);
  }
  if (command.operation == Operation::LockFile) LockFileRequest(command.path);
  delete table;
  return 0;
}
