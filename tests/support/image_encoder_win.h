#pragma once
#include <windows.h>

#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

// Writes an image with the platform's own encoder for the container format (GUID_ContainerFormat…)
// from rows of pixels in the given WIC pixel format.
bool EncodeImage(const std::u16string& path, REFGUID container, WICPixelFormatGUID format,
                 UINT width, UINT height, const std::vector<std::uint8_t>& pixels, UINT stride);
