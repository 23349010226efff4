#include "core/hand_over.h"

#include <cstring>

std::u16string CommandLineTail(std::u16string_view commandLine) {
  std::size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == u'"') {
    const std::size_t close = commandLine.find(u'"', 1);
    i = close == std::u16string_view::npos ? commandLine.size() : close + 1;
  }
  while (i < commandLine.size() && commandLine[i] != u' ' && commandLine[i] != u'\t') ++i;
  while (i < commandLine.size() && (commandLine[i] == u' ' || commandLine[i] == u'\t')) ++i;
  return std::u16string(commandLine.substr(i));
}

std::u16string ReadHandOverText(std::uintptr_t kind, const void* data, std::size_t byteCount) {
  if (kind != kHandOverKind || data == nullptr) return {};
  const std::size_t units = byteCount / sizeof(char16_t);
  std::u16string text;
  text.reserve(units);
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < units; ++i) {
    char16_t unit;
    // The buffer comes from another process and need not be aligned for char16_t.
    std::memcpy(&unit, bytes + i * sizeof(char16_t), sizeof(unit));
    if (unit == u'\0') break;
    text.push_back(unit);
  }
  return text;
}

bool IsReloadRequest(std::u16string_view handOverText) { return handOverText == u"-R"; }
