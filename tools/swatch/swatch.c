/* The demo model's colour swatch tool: a window of the printer's process
   colours and their two-colour mixes in five tints, the samples the maker's
   tool prints. The Color page starts it from the folder registered under the
   model's SwatchRegPath. "swatch.exe /snapshot FILE.bmp" draws the same
   picture into a bitmap file and ends, for the demo's pictures. */
#include <windows.h>
#include <shellapi.h>

#define ROWS 7
#define TINTS 5
#define CELL_W 56
#define CELL_H 30
#define LABEL_W 64
#define MARGIN 12
#define PICTURE_W (2 * MARGIN + LABEL_W + TINTS * CELL_W)
#define PICTURE_H (2 * MARGIN + (ROWS + 1) * CELL_H)

static const COLORREF kInks[ROWS] = {RGB(0, 174, 239), RGB(236, 0, 140), RGB(255, 242, 0),
                                     RGB(35, 31, 32),  RGB(237, 28, 36), RGB(0, 166, 81),
                                     RGB(46, 49, 146)};
static const wchar_t* const kInkNames[ROWS] = {L"C", L"M", L"Y", L"K", L"M+Y", L"C+Y", L"C+M"};
static const int kTints[TINTS] = {100, 80, 60, 40, 20};

/* A tint of an ink on white paper. */
static COLORREF Tint(COLORREF ink, int percent) {
    int r = 255 - (255 - GetRValue(ink)) * percent / 100;
    int g = 255 - (255 - GetGValue(ink)) * percent / 100;
    int b = 255 - (255 - GetBValue(ink)) * percent / 100;
    return RGB(r, g, b);
}

static void DrawSwatches(HDC dc) {
    RECT all = {0, 0, PICTURE_W, PICTURE_H};
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ oldFont = SelectObject(dc, font);
    int row, t;
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    for (t = 0; t < TINTS; ++t) {
        wchar_t text[8];
        RECT r = {MARGIN + LABEL_W + t * CELL_W, MARGIN, 0, MARGIN + CELL_H};
        r.right = r.left + CELL_W;
        wsprintfW(text, L"%d%%", kTints[t]);
        DrawTextW(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    for (row = 0; row < ROWS; ++row) {
        int top = MARGIN + (row + 1) * CELL_H;
        RECT label = {MARGIN, top, MARGIN + LABEL_W, top + CELL_H};
        DrawTextW(dc, kInkNames[row], -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        for (t = 0; t < TINTS; ++t) {
            RECT cell = {MARGIN + LABEL_W + t * CELL_W + 2, top + 2, 0, top + CELL_H - 2};
            HBRUSH brush = CreateSolidBrush(Tint(kInks[row], kTints[t]));
            cell.right = cell.left + CELL_W - 4;
            FillRect(dc, &cell, brush);
            FrameRect(dc, &cell, (HBRUSH)GetStockObject(GRAY_BRUSH));
            DeleteObject(brush);
        }
    }
    SelectObject(dc, oldFont);
}

static int WriteSnapshot(const wchar_t* path) {
    BITMAPINFOHEADER info = {0};
    BITMAPFILEHEADER file = {0};
    DWORD stride = ((PICTURE_W * 3 + 3) & ~3u), bytes = stride * PICTURE_H, written = 0;
    HDC screen = GetDC(NULL), dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, PICTURE_W, PICTURE_H);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BYTE* pixels = (BYTE*)HeapAlloc(GetProcessHeap(), 0, bytes);
    HANDLE out;
    int ok = 0;
    info.biSize = sizeof info;
    info.biWidth = PICTURE_W;
    info.biHeight = PICTURE_H;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    file.bfType = 0x4D42; /* "BM" */
    DrawSwatches(dc);
    SelectObject(dc, old);
    if (pixels && GetDIBits(dc, bitmap, 0, PICTURE_H, pixels, (BITMAPINFO*)&info, DIB_RGB_COLORS)) {
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + bytes;
        out = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        if (out != INVALID_HANDLE_VALUE) {
            ok = WriteFile(out, &file, sizeof file, &written, NULL) &&
                 WriteFile(out, &info, sizeof info, &written, NULL) &&
                 WriteFile(out, pixels, bytes, &written, NULL);
            CloseHandle(out);
        }
    }
    if (pixels)
        HeapFree(GetProcessHeap(), 0, pixels);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
    return ok ? 0 : 1;
}

static LRESULT CALLBACK SwatchProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        DrawSwatches(BeginPaint(window, &ps));
        EndPaint(window, &ps);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR cmdLine, int show) {
    WNDCLASSW wc = {0};
    RECT frame = {0, 0, PICTURE_W, PICTURE_H};
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    HWND window;
    MSG msg;
    (void)previous;
    (void)cmdLine;
    if (argv && argc == 3 && lstrcmpiW(argv[1], L"/snapshot") == 0)
        return WriteSnapshot(argv[2]);
    wc.lpfnWndProc = SwatchProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = L"ZedColorSwatch";
    RegisterClassW(&wc);
    AdjustWindowRect(&frame, style, FALSE);
    /* "Zed 颜色样本": Zed colour samples. */
    window = CreateWindowW(wc.lpszClassName, L"Zed \x989C\x8272\x6837\x672C", style, CW_USEDEFAULT,
                           CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, NULL,
                           NULL, instance, NULL);
    ShowWindow(window, show);
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
