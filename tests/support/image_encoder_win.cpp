#include "support/image_encoder_win.h"

#include "win32/com_win.h"
#include "win32/wide_win.h"

// Writes an image with the platform's own encoder for the container format.
bool EncodeImage(const std::u16string& path, REFGUID container, WICPixelFormatGUID format,
                 UINT width, UINT height, const std::vector<std::uint8_t>& pixels, UINT stride) {
  const ComInitialization com;
  ComRef<IWICImagingFactory> factory;
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapEncoder> encoder;
  ComRef<IWICBitmapFrameEncode> frame;
  ComRef<IPropertyBag2> properties;
  const WICPixelFormatGUID wanted = format;
  const bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IWICImagingFactory, factory.PutVoid())) &&
                  SUCCEEDED(factory->CreateStream(stream.Put())) &&
                  SUCCEEDED(stream->InitializeFromFilename(W(path), GENERIC_WRITE)) &&
                  SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.Put())) &&
                  SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
                  SUCCEEDED(encoder->CreateNewFrame(frame.Put(), properties.Put())) &&
                  SUCCEEDED(frame->Initialize(properties.Get())) &&
                  SUCCEEDED(frame->SetSize(width, height)) &&
                  SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, wanted) &&
                  SUCCEEDED(frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()),
                                               const_cast<BYTE*>(pixels.data()))) &&
                  SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  return ok;
}
