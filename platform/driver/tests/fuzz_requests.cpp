// libFuzzer target: the driver's checks of request buffers on arbitrary bytes and
// lengths. The buffer is sized exactly, so ASan reports any byte read past it; what
// a check accepts must lie inside the buffer and be a DOS path.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "request_check.h"
#include "sorvdisk_ioctl.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool Inside(const uint8_t* buffer, size_t size, const char* text, size_t length) {
  auto* start = reinterpret_cast<const uint8_t*>(text);
  return start >= buffer && start + length <= buffer + size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> buffer(data, data + size);
  const char* text;
  size_t length;
  if (ParseOpenFileRequest(buffer.data(), buffer.size(), &text, &length)) {
    Check(Inside(buffer.data(), buffer.size(), text, length));
    Check(length >= 4 && memcmp(text, "\\??\\", 4) == 0 && IsDosPath(text + 4, length - 4));
  }
  if (ParseLockFileRequest(buffer.data(), buffer.size(), &text, &length)) {
    Check(Inside(buffer.data(), buffer.size(), text, length + 1) && text[length] == 0);
    Check(IsDosPath(text, length) && memchr(text, 0, length) == nullptr);
  }
  // The transfer checks on offsets and lengths from the same bytes.
  if (size >= 24) {
    uint64_t values[3];
    memcpy(values, data, sizeof values);
    if (TransferFits(values[0], values[1], values[2]))
      Check(values[0] % kSectorSize == 0 && values[1] % kSectorSize == 0 &&
            values[0] + values[1] >= values[0] && values[0] + values[1] <= values[2]);
    Check(DiskLength(values[0]) <= values[0] && DiskLength(values[0]) % kSectorSize == 0);
  }
  return 0;
}
