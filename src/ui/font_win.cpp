#include "ui/font_win.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "ui/owned_gdi_objects_win.h"
#include "win32/wide_win.h"

namespace {

constexpr int kPointsPerInch = 72;

// The message font of the nonclient metrics, at the system DPI; nothing when the system does
// not say.
std::optional<LOGFONTW> SystemMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return std::nullopt;
  }
  return metrics.lfMessageFont;
}

}  // namespace

LOGFONTW SettingsLogFont(const FontDescription& font, UINT dpi) {
  LOGFONTW logFont{};
  logFont.lfHeight = -MulDiv(font.size, static_cast<int>(dpi), kPointsPerInch);
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.italic ? TRUE : FALSE;
  logFont.lfCharSet = static_cast<BYTE>(font.charset);
  // A longer name than GDI holds is cut, as the system would cut it.
  const std::size_t length = std::min<std::size_t>(font.name.size(), LF_FACESIZE - 1);
  std::copy_n(W(font.name), length, logFont.lfFaceName);
  return logFont;
}

FontHandle CreateSettingsFont(const FontDescription& font, UINT dpi) {
  const LOGFONTW logFont = SettingsLogFont(font, dpi);
  return owned::CreateFontIndirectW(&logFont);
}

LOGFONTW MessageLogFont(UINT dpi) {
  if (std::optional<LOGFONTW> font = SystemMessageFont()) {
    // The metrics are those of the system DPI; the window may sit on a monitor of another.
    const UINT systemDpi = GetDpiForSystem();
    if (systemDpi != 0 && systemDpi != dpi) {
      font->lfHeight = MulDiv(font->lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi));
    }
    return *font;
  }
  LOGFONTW font{};
  font.lfHeight = -MulDiv(9, static_cast<int>(dpi), kPointsPerInch);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, L"MS UI Gothic", LF_FACESIZE);
  return font;
}

FontDescription MessageFontDescription() {
  FontDescription font{u"Yu Gothic UI", 9, SHIFTJIS_CHARSET, false, false};
  const std::optional<LOGFONTW> message = SystemMessageFont();
  if (!message) return font;
  int dpi = USER_DEFAULT_SCREEN_DPI;
  {
    const WindowDC screen(nullptr);
    if (screen.Get()) dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  }
  font.name = U16(message->lfFaceName);
  font.size = MulDiv(std::abs(message->lfHeight), kPointsPerInch, dpi);
  font.charset = message->lfCharSet;
  font.bold = message->lfWeight >= FW_BOLD;
  font.italic = message->lfItalic != 0;
  return font;
}
