#pragma once
#include <windows.h>

// The About boxes' title font: SimSun, 12 points, bold; made once, kept for the program's life.
HFONT TitleFont();
