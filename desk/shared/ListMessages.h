#pragma once
#include <string>

enum class ListResult;

// Tells the user why the container list was left unchanged (damaged or full list).
void ShowListRefusal(ListResult why, const std::wstring& iniPath);
