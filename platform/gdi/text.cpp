// Zobu 4 platform floor: the built-in raster fonts, TextOutA and GetTextExtentPoint32A.
//
// Two fonts are built into the program (fonts/README.md): the System font, every DC's
// default, with 8 x 16 cells, and the dialog font, with 6 x 13 cells. Both are fixed-pitch,
// so a text's extent is its length times the cell width, by the cell height. Characters
// are taken as ISO 8859-1; control characters show as '?'.
#include "objects.h"

#include <string.h>

extern const uint16_t kSystemFontGlyphs[224][16];
extern const uint16_t kDialogFontGlyphs[224][13];

struct FontData {
    int32_t width;
    int32_t height;
    const uint16_t* glyphs; // `height` rows for each character from 0x20, top bit leftmost

    const uint16_t* Glyph(unsigned char c) const {
        const unsigned index = c >= 0x20 ? c - 0x20u : '?' - 0x20u;
        return glyphs + static_cast<size_t>(index) * static_cast<size_t>(height);
    }
};

namespace {
const FontData kSystemFont = {8, 16, &kSystemFontGlyphs[0][0]};
const FontData kDialogFont = {6, 13, &kDialogFontGlyphs[0][0]};
} // namespace

const FontData* SystemFontData() {
    return &kSystemFont;
}
const FontData* DialogFontData() {
    return &kDialogFont;
}

HFONT StockFont(int index) {
    static HFONT system = [] {
        auto font = std::make_unique<GdiFont>(&kSystemFont);
        font->stock = true;
        return static_cast<HFONT>(AddObject(std::move(font)));
    }();
    static HFONT dialog = [] {
        auto font = std::make_unique<GdiFont>(&kDialogFont);
        font->stock = true;
        return static_cast<HFONT>(AddObject(std::move(font)));
    }();
    switch (index) {
    case SYSTEM_FONT:
        return system;
    case DEFAULT_GUI_FONT:
        return dialog;
    default:
        return nullptr;
    }
}

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    const DeviceContext* context = DcFromHandle(dc);
    if (!context || !size || length < 0 || (length > 0 && !text)) {
        return FALSE;
    }
    const FontData* font = FontFromHandle(context->font);
    size->cx = font->width * length;
    size->cy = font->height;
    return TRUE;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    const DeviceContext* context = DcFromHandle(dc);
    DrawTarget t;
    if (!context || !ResolveTarget(dc, &t) || length < 0 || (length > 0 && !text) ||
        t.pixels.format == PixelFormat::FourCC16) {
        return FALSE;
    }
    const FontData* font = FontFromHandle(context->font);
    const uint32_t ink = RawFromColor(t.pixels.format, context->text_color);
    const uint32_t paper = RawFromColor(t.pixels.format, context->bk_color);
    const bool opaque = context->bk_mode == OPAQUE;
    for (int i = 0; i < length; ++i) {
        const uint16_t* rows = font->Glyph(static_cast<unsigned char>(text[i]));
        const int32_t left = x + t.origin.x + i * font->width;
        for (int32_t row = 0; row < font->height; ++row) {
            const int32_t py = y + t.origin.y + row;
            for (int32_t column = 0; column < font->width; ++column) {
                const int32_t px = left + column;
                if (!t.pixels.Contains(px, py) || !t.clip.Contains(px, py)) {
                    continue;
                }
                if (rows[row] & (0x8000u >> column)) {
                    t.pixels.Write(px, py, ink);
                } else if (opaque) {
                    t.pixels.Write(px, py, paper);
                }
            }
        }
    }
    if (t.on_screen) {
        DisplayChanged();
    }
    return TRUE;
}
