#pragma once
// The arithmetic of the drive step: size texts, the recommended drive, slider and size box.
#include <cstdint>
#include <string>
#include <vector>

#include "forms.h"

namespace wizard {

// A size in bytes as the drive list shows it: MiB with two decimals, then "x.xxGB" above
// 1000 MiB (not 1024) or the MiB in shortest form and "MB" (980MB, 512.5MB).
std::wstring SizeText(std::uint64_t bytes);

// Listed: ready, and fixed, removable or network.
bool IsListed(const forms::Drive& drive);
// The row (from 0) to recommend: the first fixed drive with more free space than every row
// before it; removable and network drives count as empty. -1 when no fixed drive has space.
int Recommend(const std::vector<forms::Drive>& rows);

// Whole MiB of free space (bytes cut down, so a size in MiB never exceeds the bytes).
std::int64_t FreeMiB(const forms::Drive& drive);
// The size for a slider position: free × percent \ 100.
std::int64_t SizeForSlider(std::int64_t freeMiB, int percent);
// The slider position for a size: size × 100 \ free + 1, kept within 0 to 100 (a drive with
// no free space, or a size at or above it, gives 100).
int SliderForSize(std::int64_t sizeMiB, std::int64_t freeMiB);
// True when size MiB fit into the free bytes.
bool FitsFreeSpace(std::int64_t sizeMiB, std::uint64_t freeBytes);

// The size box's text: only digits may be in it; its number saturates instead of overflowing.
bool IsAllDigits(const std::wstring& text);
std::int64_t SizeNumber(const std::wstring& text);

}  // namespace wizard
