#include "win32/image_decoder_win.h"

#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "win32/com_win.h"
#include "win32/wide_win.h"

namespace {

constexpr int kThumbnailMode = 2;

// The thumbnail (mode 2 only), else the preview, else frame 0; empty when not even the frame is
// there.
ComRef<IWICBitmapSource> ChooseSource(IWICBitmapDecoder& decoder, int mode) {
  ComRef<IWICBitmapSource> source;
  if (mode == kThumbnailMode && SUCCEEDED(decoder.GetThumbnail(source.Put())) && source) {
    return source;
  }
  if (SUCCEEDED(decoder.GetPreview(source.Put())) && source) return source;
  ComRef<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder.GetFrame(0, frame.Put())) || !frame) return {};
  frame->QueryInterface(IID_IWICBitmapSource, source.PutVoid());
  return source;
}

// The source's pixels converted to the given format, bytesPerPixel bytes each, rows without
// padding; nothing when the conversion fails or the image is too large to copy in one call.
std::optional<std::vector<std::uint8_t>> ConvertedPixels(IWICImagingFactory& factory,
                                                         IWICBitmapSource& source,
                                                         REFWICPixelFormatGUID format,
                                                         UINT bytesPerPixel, UINT& width,
                                                         UINT& height) {
  ComRef<IWICFormatConverter> converter;
  if (FAILED(factory.CreateFormatConverter(converter.Put()))) return std::nullopt;
  if (FAILED(converter->Initialize(&source, format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0) {
    return std::nullopt;
  }
  const std::uint64_t stride = static_cast<std::uint64_t>(width) * bytesPerPixel;
  const std::uint64_t size = stride * height;
  if (size > 0x7FFFFFFFu) return std::nullopt;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size));
  if (FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(size),
                                   pixels.data()))) {
    return std::nullopt;
  }
  return pixels;
}

// Straight to 24-bit blue-green-red; where the codecs cannot convert a format that way (Wine's,
// for palette images), through 32-bit blue-green-red-alpha with the alpha bytes dropped here.
std::optional<Bitmap24> ConvertTo24(IWICImagingFactory& factory, IWICBitmapSource& source) {
  UINT width = 0;
  UINT height = 0;
  auto direct = ConvertedPixels(factory, source, GUID_WICPixelFormat24bppBGR, 3, width, height);
  if (direct) {
    return Bitmap24{static_cast<int>(width), static_cast<int>(height), std::move(*direct)};
  }
  auto withAlpha = ConvertedPixels(factory, source, GUID_WICPixelFormat32bppBGRA, 4, width, height);
  if (!withAlpha) return std::nullopt;
  Bitmap24 bitmap{static_cast<int>(width), static_cast<int>(height), {}};
  bitmap.pixels.reserve(withAlpha->size() / 4 * 3);
  for (std::size_t i = 0; i + 3 < withAlpha->size(); i += 4) {
    bitmap.pixels.insert(bitmap.pixels.end(), withAlpha->begin() + i, withAlpha->begin() + i + 3);
  }
  return bitmap;
}

}  // namespace

bool LoadImageToBitmap(const std::u16string& path, Bitmap24& bitmap, int mode) {
  // Declared first so that every interface below is released before COM is uninitialised.
  const ComInitialization com;
  ComRef<IWICImagingFactory> factory;
  if (FAILED(
          ComCreateInstance(CLSID_WICImagingFactory, IID_IWICImagingFactory, factory.PutVoid()))) {
    return false;
  }
  ComRef<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromFilename(W(path), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.Put()))) {
    return false;
  }
  ComRef<IWICBitmapSource> source = ChooseSource(*decoder.Get(), mode);
  if (!source) return false;
  std::optional<Bitmap24> decoded = ConvertTo24(*factory.Get(), *source.Get());
  if (!decoded) return false;
  bitmap = std::move(*decoded);
  return true;
}
