#pragma once
#include <string>

// Whole files as bytes: the settings, histories and canned sets the driver and the benchmarks
// give Kelvo, and what Kelvo wrote back.

// Writes the bytes as the whole file, made or emptied first.
void WriteBytes(const std::wstring& path, const std::string& bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
