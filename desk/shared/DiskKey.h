#pragma once
#include <string>

// What unwrapping block 2 with the right password gives: the 16 characters a container's key
// hands the driver, the start of a Base64 text. Anything else is a damaged block.
bool IsDiskKey(const std::string& key);
