#pragma once
#include <string>

enum class ListResult;

// Tells the user why the container list was left unchanged (damaged or full list).
void ShowListRefusal(ListResult why, const std::wstring& iniPath);
// Tells the user, when the list is loaded, that it is damaged and shown empty.
void ShowDamagedListAtStart(const std::wstring& iniPath);
// A container file just made that the list could not take: it holds no data yet and, unlisted,
// would only block its own name. Deleted, and the user told.
void DropUnlistedContainer(const std::wstring& path);
