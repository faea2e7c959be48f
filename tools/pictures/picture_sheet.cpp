// Draws every picture of zdui.dll through the library's drawing helpers into
// one window and writes a capture of it as a 24-bit BMP:
//   picture_sheet.exe <out.bmp>
// zdui.dll is loaded from the program's own folder. The transparent pictures
// sit on a coloured ground, so that a magenta pixel that survived would show.
#include "resources/resource.h"
#include "ui/bitmap_helpers.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 660, kHeight = 470;

struct Place {
    WORD bitmap;
    int x, y;
    bool framed; // drawn with DrawDibWithFrame, else with DrawTransparentBitmap
};

const Place kPlaces[] = {
    {IDB_OFFICE_PHOTO, 10, 10, true},
    {IDB_OFFICE_PHOTO_GRAY, 210, 10, true},
    {IDB_ABOUT, 410, 10, true},
    {IDB_QUALITY_0, 10, 175, true},
    {IDB_QUALITY_1, 200, 175, true},
    {IDB_QUALITY_2, 390, 175, true},
    {IDB_LINK_LOGO, 410, 110, false},
    {IDB_COLOR_AUTO, 10, 310, false},
    {IDB_COLOR_OFFICE, 65, 310, false},
    {IDB_COLOR_PHOTO, 120, 310, false},
    {IDB_COLOR_NO_MATCHING, 175, 310, false},
    {IDB_COLOR_GRAYSCALE, 230, 310, false},
    {IDB_ARROW_RIGHT, 290, 310, false},
    {IDB_ARROW_DOWN, 330, 310, false},
    {IDB_ARROW_LONG, 10, 370, false},
};
const WORD kIcons[] = {IDI_PRINT_NORMAL, IDI_PRINT_MIRROR, IDI_PRINT_NEGATIVE,
                       IDI_PRINT_MIRROR_NEGATIVE};

LRESULT CALLBACK SheetProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND)
        return 1;
    return DefWindowProcW(w, m, wp, lp);
}

bool WriteBmp(const wchar_t* path, HWND window) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = kWidth;
    bi.bmiHeader.biHeight = kHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
    GdiFlush();
    DWORD stride = (kWidth * 3 + 3) & ~3u;
    DWORD size = stride * kHeight;
    BITMAPFILEHEADER fh = {0x4D42, DWORD(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                           DWORD(sizeof fh + sizeof bi.bmiHeader)};
    bi.bmiHeader.biSizeImage = size;
    bool ok = false;
    if (FILE* f = _wfopen(path, L"wb")) {
        ok = fwrite(&fh, sizeof fh, 1, f) == 1 &&
             fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 && fwrite(bits, size, 1, f) == 1;
        ok = fclose(f) == 0 && ok;
    }
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(window, dc);
    return ok;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fwprintf(stderr, L"usage: picture_sheet <out.bmp>\n");
        return 2;
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dll(self);
    dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"zdui.dll";
    HMODULE module = LoadLibraryW(dll.c_str());
    if (!module) {
        fwprintf(stderr, L"cannot load %ls\n", dll.c_str());
        return 1;
    }
    WNDCLASSW wc = {};
    wc.lpfnWndProc = SheetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZdPictureSheet";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                  kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(window);
    HDC dc = GetDC(window);
    RECT all = {0, 0, kWidth, kHeight};
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &all, face);
    DeleteObject(face);
    // The transparent pictures' ground: a colour that magenta cannot hide in.
    RECT ground = {0, 300, kWidth, kHeight};
    HBRUSH green = CreateSolidBrush(RGB(200, 230, 200));
    FillRect(dc, &ground, green);
    RECT logoGround = {400, 100, 560, 150};
    FillRect(dc, &logoGround, green);
    DeleteObject(green);
    int x = 380;
    for (WORD id : kIcons) {
        if (HICON icon = static_cast<HICON>(
                LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, 0))) {
            DrawIconEx(dc, x, 320, icon, 32, 32, 0, nullptr, DI_NORMAL);
            DestroyIcon(icon);
        }
        x += 45;
    }
    ReleaseDC(window, dc);

    WORD controlId = 100;
    for (const Place& p : kPlaces) {
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, p.x, p.y, 10, 10, window,
                        HMENU(UINT_PTR(controlId)), nullptr, nullptr);
        if (p.framed)
            zd::DrawDibWithFrame(window, module, p.bitmap, controlId);
        else
            zd::DrawTransparentBitmap(window, module, controlId, p.bitmap);
        ++controlId;
    }
    bool ok = WriteBmp(argv[1], window);
    DestroyWindow(window);
    FreeLibrary(module);
    return ok ? 0 : 1;
}
