#include "ui/bitmap_helpers.h"

#include "ui/dib_layout.h"
#include "ui/gdi_handles.h"

#include <memory>
#include <vector>

namespace zd {

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

// The control's top-left corner in the window's client coordinates.
POINT ControlOrigin(HWND window, WORD controlId) {
    POINT p = {0, 0};
    RECT r;
    HWND control = GetDlgItem(window, controlId);
    if (control && GetWindowRect(control, &r)) {
        p.x = r.left;
        p.y = r.top;
        ScreenToClient(window, &p);
    }
    return p;
}

GdiObject<HPALETTE> BuildPalette(const uint8_t* table, uint32_t entries) {
    if (entries == 0)
        return nullptr;
    std::vector<uint8_t> buf(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = WORD(entries);
    for (uint32_t i = 0; i < entries; ++i) {
        // Colour table entries are blue, green, red, reserved.
        lp->palPalEntry[i].peRed = table[4 * i + 2];
        lp->palPalEntry[i].peGreen = table[4 * i + 1];
        lp->palPalEntry[i].peBlue = table[4 * i];
        lp->palPalEntry[i].peFlags = 0;
    }
    return GdiObject<HPALETTE>(CreatePalette(lp));
}

void Line(HDC dc, HPEN pen, std::initializer_list<POINT> points) {
    SelectObject(dc, pen);
    auto it = points.begin();
    MoveToEx(dc, it->x, it->y, nullptr);
    for (++it; it != points.end(); ++it)
        LineTo(dc, it->x, it->y);
}

} // namespace

int DrawTransparentBitmap(HWND window, HINSTANCE module, WORD controlId, WORD bitmapId) {
    POINT at = ControlOrigin(window, controlId);
    WindowDc screen(window);
    GdiObject<HBITMAP> bitmap(LoadBitmapW(module, MAKEINTRESOURCEW(bitmapId)));
    BITMAP info = {};
    if (!screen.get() || !bitmap || !GetObjectW(bitmap.get(), sizeof info, &info))
        return 1;
    const int w = info.bmWidth, h = info.bmHeight;

    // Mask: magenta pixels 1 (white), all others 0 (black).
    GdiObject<HBITMAP> maskBitmap(CreateBitmap(w, h, 1, 1, nullptr));
    GdiObject<HBITMAP> imageBitmap(CreateCompatibleBitmap(screen.get(), w, h));
    MemoryDc source(screen.get(), bitmap.get());
    MemoryDc mask(screen.get(), maskBitmap.get());
    MemoryDc image(screen.get(), imageBitmap.get());
    if (!maskBitmap || !imageBitmap || !source.get() || !mask.get() || !image.get())
        return 1;
    SetBkColor(source.get(), kTransparent);
    BitBlt(mask.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);

    // Image: the bitmap with its magenta pixels made black.
    SetBkColor(image.get(), RGB(255, 255, 255));
    SetTextColor(image.get(), RGB(0, 0, 0));
    BitBlt(image.get(), 0, 0, w, h, mask.get(), 0, 0, NOTSRCCOPY);
    BitBlt(image.get(), 0, 0, w, h, source.get(), 0, 0, SRCAND);

    // The one-bit mask maps onto the window through its text and background
    // colours: keep them black and white for the two copies.
    COLORREF oldBk = SetBkColor(screen.get(), RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(screen.get(), RGB(0, 0, 0));
    BitBlt(screen.get(), at.x, at.y, w, h, mask.get(), 0, 0, SRCAND);
    BitBlt(screen.get(), at.x, at.y, w, h, image.get(), 0, 0, SRCPAINT);
    SetBkColor(screen.get(), oldBk);
    SetTextColor(screen.get(), oldText);
    return 1;
}

BOOL DrawDibWithFrame(HWND window, HINSTANCE module, WORD bitmapId, WORD controlId) {
    POINT at = ControlOrigin(window, controlId);
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(bitmapId), RT_BITMAP)) {
        if (HGLOBAL loaded = LoadResource(module, res)) {
            data = static_cast<const uint8_t*>(LockResource(loaded));
            size = data ? SizeofResource(module, res) : 0;
        }
    }
    DibLayout dib = ReadDibLayout(data, size);
    int w = dib.valid ? dib.width : 0;
    int h = dib.valid ? (dib.height < 0 ? -dib.height : dib.height) : 0;

    GdiObject<HPALETTE> palette =
        dib.valid ? BuildPalette(data + kDibHeaderSize, dib.paletteEntries) : nullptr;
    WindowDc screen(window);
    HDC dc = screen.get();
    if (!dc)
        return TRUE;
    HPALETTE oldPalette = nullptr;
    if (palette) {
        oldPalette = SelectPalette(dc, palette.get(), FALSE);
        RealizePalette(dc);
    }
    if (dib.valid && dib.pixelsFit)
        SetDIBitsToDevice(dc, at.x + 2, at.y + 2, DWORD(w), DWORD(h), 0, 0, 0, UINT(h),
                          data + dib.pixelOffset, reinterpret_cast<const BITMAPINFO*>(data),
                          DIB_RGB_COLORS);

    const int px = at.x, py = at.y;
    const int xr = px + w + 2, yb = py + h + 2;
    GdiObject<HPEN> black(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    GdiObject<HPEN> shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    GdiObject<HPEN> highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    HGDIOBJ oldPen = GetCurrentObject(dc, OBJ_PEN);
    Line(dc, black.get(), {{px + 1, yb - 1}, {px + 1, py + 1}, {xr, py + 1}});
    Line(dc, shadow.get(), {{px, yb}, {px, py}, {xr + 1, py}});
    // The highlight continues from where the shadow line ended.
    SelectObject(dc, highlight.get());
    LineTo(dc, xr + 1, yb + 1);
    LineTo(dc, px, yb + 1);
    SelectObject(dc, oldPen);

    if (palette) {
        SelectPalette(dc, oldPalette, FALSE);
        RealizePalette(dc);
    }
    return TRUE;
}

} // namespace zd
