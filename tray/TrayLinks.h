#pragma once
// The maker's web page, opened from the tray menu and named in the About box.
namespace tray {
inline constexpr wchar_t HomePage[] = L"http://www.velkiro.example/";
}  // namespace tray
