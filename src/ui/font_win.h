#pragma once
#include <windows.h>

#include "settings/font_description.h"
#include "ui/gdi_win.h"

// Fonts of Kelvo's windows, always made for the DPI of the window that shows them.

// The logical font a settings description names (size in points) at a DPI. An empty name
// leaves the face to the system's choice for the character set.
LOGFONTW SettingsLogFont(const FontDescription& font, UINT dpi);

// The font a settings description names, at a window's DPI; empty when GDI refuses it.
FontHandle CreateSettingsFont(const FontDescription& font, UINT dpi);

// The user's message font (SPI_GETNONCLIENTMETRICS) at a DPI.
LOGFONTW MessageLogFont(UINT dpi);

// The user's message font as a settings description, in points: it stands for the main
// window's font wherever a settings font has no value of its own.
FontDescription MessageFontDescription();
