#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The one pair of conversions at the Win32 boundary. wchar_t is UTF-16 on Windows, so the casts
// between char16_t and wchar_t are exact.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t must be UTF-16");

inline const wchar_t* W(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The units of a view, for calls that take a length: a view is not terminated.
inline const wchar_t* WData(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

inline std::u16string U16(const wchar_t* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

inline std::u16string U16(const wchar_t* text, std::size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
