#include "test_pixels.h"

namespace zdtest {

std::vector<COLORREF> BitmapPixels(HMODULE module, int id, int* w, int* h) {
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bmp)
        return {};
    BITMAP info = {};
    GetObjectW(bmp, sizeof info, &info);
    *w = info.bmWidth;
    *h = info.bmHeight;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = *w;
    bi.bmiHeader.biHeight = -*h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<COLORREF> px(size_t(*w) * size_t(*h));
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, UINT(*h), px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bmp);
    for (COLORREF& c : px)
        c &= 0xFFFFFF;
    return px;
}

std::vector<COLORREF> ScreenPixels(HWND window, int x, int y, int w, int h) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, dc, x, y, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> px(static_cast<COLORREF*>(bits),
                             static_cast<COLORREF*>(bits) + size_t(w) * size_t(h));
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(window, dc);
    for (COLORREF& c : px)
        c &= 0xFFFFFF;
    return px;
}

POINT ControlOrigin(HWND window, int id) {
    RECT r = {};
    GetWindowRect(GetDlgItem(window, id), &r);
    POINT p = {r.left, r.top};
    ScreenToClient(window, &p);
    return p;
}

} // namespace zdtest
