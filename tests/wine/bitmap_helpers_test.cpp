// The two drawing helpers on a real window, read back pixel by pixel; and
// the library's own pictures: sizes, depths and transparent backgrounds.
#include "core/byte_view.h"
#include "core/process_state.h"
#include "resources/resource.h"
#include "ui/bitmap_helpers.h"
#include "ui/dib_layout.h"

#include "test_pixels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace zd;

namespace {

constexpr WORD kMagentaBitmap = 100;
constexpr WORD kShapeBitmap = 101;
constexpr WORD kFourBitBitmap = 102;
constexpr WORD kEightBitBitmap = 103;
constexpr WORD kRgbBitmap = 104;
constexpr WORD kPictureControl = 1501;
constexpr int kWidth = 320, kHeight = 220;

COLORREF Background(int x, int y) {
    return RGB((x * 7) & 0xFF, (y * 5) & 0xFF, ((x + y) * 3) & 0xFF);
}

// The raw bytes of a bitmap resource of the test program.
struct Resource {
    const uint8_t* data = nullptr;
    size_t size = 0;
};
Resource BitmapResource(WORD id) {
    HMODULE m = GetModuleHandleW(nullptr);
    Resource r;
    if (HRSRC res = FindResourceW(m, MAKEINTRESOURCEW(id), RT_BITMAP)) {
        r.data = static_cast<const uint8_t*>(LockResource(LoadResource(m, res)));
        r.size = SizeofResource(m, res);
    }
    return r;
}

// Colour of pixel (x, y), top row 0, of an uncompressed resource DIB.
COLORREF DibPixel(const Resource& r, int x, int y) {
    DibLayout l = ReadDibLayout(r.data, r.size);
    ByteView v(const_cast<uint8_t*>(r.data), r.size);
    size_t stride = (size_t(l.width) * l.bitsPerPixel + 31) / 32 * 4;
    size_t row = l.pixelOffset + stride * size_t(l.height - 1 - y);
    size_t index;
    switch (l.bitsPerPixel) {
    case 24:
        return RGB(v.u8(row + 3 * x + 2), v.u8(row + 3 * x + 1), v.u8(row + 3 * x));
    case 8:
        index = v.u8(row + x);
        break;
    case 4:
        index = (v.u8(row + x / 2) >> (x % 2 ? 0 : 4)) & 0xF;
        break;
    default:
        return CLR_INVALID;
    }
    size_t e = 40 + 4 * index;
    return RGB(v.u8(e + 2), v.u8(e + 1), v.u8(e));
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND)
        return 1; // the test paints the background itself
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

class BitmapHelpersTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        Process().moduleInstance = GetModuleHandleW(nullptr);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZdBitmapHelpersTest";
        RegisterClassW(&wc);
    }

    void SetUp() override {
        window_ =
            CreateWindowExW(0, L"ZdBitmapHelpersTest", L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                            kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        UpdateWindow(window_);
        // A hidden control: it never paints over what the helpers draw.
        control_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 10, 20, 50, 40, window_,
                                   HMENU(UINT_PTR(kPictureControl)), nullptr, nullptr);
        ASSERT_NE(control_, nullptr);
        PaintBackground();
        before_ = Capture();
        ASSERT_EQ(before_[5 * kWidth + 9], Background(9, 5)) << "the surface keeps pixels";
    }
    void TearDown() override { DestroyWindow(window_); }

    void MoveControl(int x, int y) { SetWindowPos(control_, nullptr, x, y, 0, 0, SWP_NOSIZE); }

    void PaintBackground() {
        std::vector<uint32_t> px(kWidth * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                COLORREF c = Background(x, y);
                px[y * kWidth + x] = GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16;
            }
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = kWidth;
        bi.bmiHeader.biHeight = -kHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        HDC dc = GetDC(window_);
        SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, px.data(), &bi,
                          DIB_RGB_COLORS);
        ReleaseDC(window_, dc);
    }

    // The window's client area as COLORREFs, row by row.
    std::vector<COLORREF> Capture() {
        std::vector<COLORREF> out = zdtest::ScreenPixels(window_, 0, 0, kWidth, kHeight);
        for (COLORREF& c : out)
            c = RGB(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF); // DIB order to COLORREF
        return out;
    }

    // Pixels that changed, as a count, outside the given rectangle (inclusive).
    int ChangedOutside(const std::vector<COLORREF>& after, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if ((x < x0 || x > x1 || y < y0 || y > y1) &&
                    after[y * kWidth + x] != before_[y * kWidth + x])
                    ++n;
        return n;
    }

    HWND window_ = nullptr;
    HWND control_ = nullptr;
    std::vector<COLORREF> before_;
};

TEST_F(BitmapHelpersTest, AnAllMagentaBitmapLeavesTheSurfaceUnchanged) {
    EXPECT_EQ(
        DrawTransparentBitmap(window_, GetModuleHandleW(nullptr), kPictureControl, kMagentaBitmap),
        1);
    std::vector<COLORREF> after = Capture();
    EXPECT_EQ(ChangedOutside(after, -1, -1, -1, -1), 0);
}

TEST_F(BitmapHelpersTest, TransparentDrawingKeepsTheBackgroundUnderMagenta) {
    MoveControl(33, 41);
    Resource shape = BitmapResource(kShapeBitmap);
    ASSERT_NE(shape.data, nullptr);
    EXPECT_EQ(
        DrawTransparentBitmap(window_, GetModuleHandleW(nullptr), kPictureControl, kShapeBitmap),
        1);
    std::vector<COLORREF> after = Capture();
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) {
            COLORREF src = DibPixel(shape, x, y);
            COLORREF got = after[(41 + y) * kWidth + 33 + x];
            if (src == RGB(255, 0, 255)) {
                ASSERT_EQ(got, Background(33 + x, 41 + y)) << x << "," << y;
            } else {
                ++opaque;
                ASSERT_EQ(got, src) << x << "," << y;
            }
        }
    EXPECT_EQ(opaque, 10 * 8 + 16 - 7); // the block and the diagonal, shared pixels once
    EXPECT_EQ(ChangedOutside(after, 33, 41, 52, 56), 0);
}

TEST_F(BitmapHelpersTest, MissingResourcesDrawNothingAndKeepTheirResults) {
    EXPECT_EQ(DrawTransparentBitmap(window_, GetModuleHandleW(nullptr), kPictureControl, 4321), 1);
    EXPECT_EQ(ChangedOutside(Capture(), -1, -1, -1, -1), 0);
    // The framed helper still draws its frame, around an empty picture.
    EXPECT_NE(DrawDibWithFrame(window_, GetModuleHandleW(nullptr), 4321, kPictureControl), FALSE);
    EXPECT_EQ(ChangedOutside(Capture(), 10, 20, 13, 23), 0);
}

TEST_F(BitmapHelpersTest, FramedQualityPictureCoversItsPlaceAndFrame) {
    Resource q = BitmapResource(IDB_QUALITY_0);
    ASSERT_NE(q.data, nullptr);
    DibLayout l = ReadDibLayout(q.data, q.size);
    ASSERT_EQ(l.width, 180);
    ASSERT_EQ(l.height, 117);
    EXPECT_NE(DrawDibWithFrame(window_, GetModuleHandleW(nullptr), IDB_QUALITY_0, kPictureControl),
              FALSE);
    std::vector<COLORREF> a = Capture();
    auto at = [&a](int x, int y) { return a[y * kWidth + x]; };
    for (int y = 0; y < 117; ++y)
        for (int x = 0; x < 180; ++x)
            ASSERT_EQ(at(12 + x, 22 + y), DibPixel(q, x, y)) << x << "," << y;

    const COLORREF black = RGB(0, 0, 0);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (int y = 22; y <= 138; ++y)
        ASSERT_EQ(at(11, y), black) << y; // inner left
    for (int x = 11; x <= 191; ++x)
        ASSERT_EQ(at(x, 21), black) << x; // inner top
    for (int y = 21; y <= 139; ++y)
        ASSERT_EQ(at(10, y), shadow) << y; // outer left
    for (int x = 10; x <= 192; ++x)
        ASSERT_EQ(at(x, 20), shadow) << x; // outer top
    for (int y = 20; y <= 139; ++y)
        ASSERT_EQ(at(193, y), light) << y; // right, at x = 193
    for (int x = 11; x <= 193; ++x)
        ASSERT_EQ(at(x, 140), light) << x; // bottom, at y = 140
    // The column x = 192 and the row y = 139 inside the frame stay as they were.
    for (int y = 21; y <= 139; ++y)
        ASSERT_EQ(at(192, y), Background(192, y)) << y;
    for (int x = 11; x <= 192; ++x)
        ASSERT_EQ(at(x, 139), Background(x, 139)) << x;
    EXPECT_EQ(ChangedOutside(a, 10, 20, 193, 140), 0);
}

TEST_F(BitmapHelpersTest, PaletteSizesPlaceThePixelsOfEveryDepth) {
    struct Case {
        WORD id;
        int w, h;
        uint16_t bits;
        uint32_t entries;
    } cases[] = {{kFourBitBitmap, 12, 10, 4, 16},
                 {kEightBitBitmap, 9, 5, 8, 256},
                 {kRgbBitmap, 10, 7, 24, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        PaintBackground();
        Resource r = BitmapResource(c.id);
        DibLayout l = ReadDibLayout(r.data, r.size);
        ASSERT_TRUE(l.valid && l.pixelsFit);
        EXPECT_EQ(l.bitsPerPixel, c.bits);
        EXPECT_EQ(l.paletteEntries, c.entries);
        EXPECT_EQ(l.pixelOffset, 40u + 4 * c.entries);
        MoveControl(100, 60);
        DrawDibWithFrame(window_, GetModuleHandleW(nullptr), c.id, kPictureControl);
        std::vector<COLORREF> a = Capture();
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                ASSERT_EQ(a[(62 + y) * kWidth + 102 + x], DibPixel(r, x, y)) << x << "," << y;
        // The colours are the ones the generator chose, not read through the helper.
        if (c.id == kRgbBitmap) {
            EXPECT_EQ(a[(62 + 6) * kWidth + 102 + 9], RGB(180, 180, 115));
        }
        if (c.id == kFourBitBitmap) {
            EXPECT_EQ(a[(62 + 1) * kWidth + 102 + 3], RGB(80, 180, 195)); // index 5
        }
        EXPECT_EQ(ChangedOutside(a, 100, 60, 100 + c.w + 3, 60 + c.h + 3), 0);
    }
}

TEST(LibraryPictures, SizesDepthsAndTransparentBackgrounds) {
    struct Pic {
        WORD id;
        int w, h;
        uint16_t bits;
        bool transparent; // drawn with magenta as the transparent colour
    } pics[] = {
        {IDB_OFFICE_PHOTO, 190, 155, 8, false},   {IDB_OFFICE_PHOTO_GRAY, 190, 155, 8, false},
        {IDB_LINK_LOGO, 140, 32, 4, true},        {IDB_QUALITY_0, 180, 117, 8, false},
        {IDB_QUALITY_1, 180, 117, 8, false},      {IDB_QUALITY_2, 180, 117, 8, false},
        {IDB_COLOR_AUTO, 48, 44, 8, true},        {IDB_COLOR_GRAYSCALE, 48, 44, 8, true},
        {IDB_COLOR_NO_MATCHING, 48, 44, 8, true}, {IDB_COLOR_PHOTO, 48, 44, 8, true},
        {IDB_COLOR_OFFICE, 48, 44, 8, true},      {IDB_ARROW_RIGHT, 34, 34, 4, true},
        {IDB_ARROW_DOWN, 34, 34, 4, true},        {IDB_ARROW_LONG, 212, 32, 4, true},
    };
    for (const Pic& p : pics) {
        SCOPED_TRACE(p.id);
        Resource r = BitmapResource(p.id);
        ASSERT_NE(r.data, nullptr);
        DibLayout l = ReadDibLayout(r.data, r.size);
        ASSERT_TRUE(l.valid && l.pixelsFit);
        EXPECT_EQ(l.width, p.w);
        EXPECT_EQ(l.height, p.h);
        EXPECT_EQ(l.bitsPerPixel, p.bits);
        EXPECT_EQ(l.paletteEntries, p.bits == 8 ? 256u : 16u);
        int magenta = 0;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x)
                magenta += DibPixel(r, x, y) == RGB(255, 0, 255);
        if (p.transparent) {
            EXPECT_EQ(DibPixel(r, 0, 0), RGB(255, 0, 255));
            EXPECT_LT(magenta, p.w * p.h); // something is drawn on it
        } else {
            EXPECT_EQ(magenta, 0);
        }
    }
    Resource about = BitmapResource(IDB_ABOUT);
    ASSERT_NE(about.data, nullptr);
    EXPECT_TRUE(ReadDibLayout(about.data, about.size).pixelsFit);
    for (WORD id :
         {IDI_PRINT_NORMAL, IDI_PRINT_MIRROR, IDI_PRINT_NEGATIVE, IDI_PRINT_MIRROR_NEGATIVE}) {
        HICON icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, 0));
        EXPECT_NE(icon, nullptr) << id;
        if (icon)
            DestroyIcon(icon);
    }
}

} // namespace
