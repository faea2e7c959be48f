#include "watermark/watermark_preview.h"

#include "core/ui_context.h"
#include "core/win_util.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"
#include "ui/gdi_handles.h"
#include "watermark/watermark_dialog_rules.h"
#include "watermark/watermark_store.h"

#include <vector>

namespace zd {

namespace {

GdiObject<HFONT> MakeFont(const PreviewFont& f) {
    LOGFONTW lf = {};
    lf.lfHeight = f.height;
    lf.lfEscapement = f.escapement;
    lf.lfWeight = f.weight;
    lf.lfItalic = f.italic;
    lf.lfCharSet = f.charSet;
    CopyText(lf.lfFaceName, LF_FACESIZE, W(f.faceName));
    return GdiObject<HFONT>(CreateFontIndirectW(&lf));
}

COLORREF PenColor(PreviewPen pen, uint32_t color) {
    switch (pen) {
    case PreviewPen::ButtonShadow:
        return GetSysColor(COLOR_BTNSHADOW);
    case PreviewPen::ButtonHighlight:
        return GetSysColor(COLOR_BTNHIGHLIGHT);
    case PreviewPen::Watermark:
        return COLORREF(color);
    default:
        return RGB(0, 0, 0);
    }
}

std::vector<POINT> Points(const std::vector<PreviewPoint>& in) {
    std::vector<POINT> out;
    out.reserve(in.size());
    for (const PreviewPoint& p : in)
        out.push_back({p.x, p.y});
    return out;
}

// On a palette device a colour the device cannot show is put into a copy
// of the system palette at its middle entry; null elsewhere.
GdiObject<HPALETTE> WatermarkPalette(HDC dc, COLORREF color, int* index) {
    if (!(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) || GetNearestColor(dc, color) == color)
        return nullptr;
    const int n = GetDeviceCaps(dc, SIZEPALETTE);
    if (n <= 0 || n > 256)
        return nullptr;
    std::vector<BYTE> buf(sizeof(LOGPALETTE) + size_t(n) * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = WORD(GetSystemPaletteEntries(dc, 0, UINT(n), lp->palPalEntry));
    if (lp->palNumEntries == 0)
        return nullptr;
    *index = lp->palNumEntries / 2;
    lp->palPalEntry[*index] = {GetRValue(color), GetGValue(color), GetBValue(color), PC_RESERVED};
    return GdiObject<HPALETTE>(CreatePalette(lp));
}

// The palette selected and realised for one drawing step.
class PaletteInUse {
  public:
    PaletteInUse(HDC dc, HPALETTE palette)
        : dc_(dc), old_(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {
        if (old_)
            RealizePalette(dc_);
    }
    ~PaletteInUse() {
        if (old_) {
            SelectPalette(dc_, old_, FALSE);
            RealizePalette(dc_);
        }
    }
    PaletteInUse(const PaletteInUse&) = delete;
    PaletteInUse& operator=(const PaletteInUse&) = delete;

  private:
    HDC dc_;
    HPALETTE old_;
};

// Carries out the composed operations on the control and the surface.
class PreviewPainter {
  public:
    PreviewPainter(HDC control, HDC surface) : control_(control), surface_(surface) {}

    void Run(const PreviewOp& op) {
        HDC dc = op.target == PreviewTarget::Surface ? surface_ : control_;
        switch (op.kind) {
        case PreviewOpKind::Polyline:
        case PreviewOpKind::Polygon:
        case PreviewOpKind::Rectangle:
        case PreviewOpKind::Ellipse:
            Shape(dc, op);
            break;
        case PreviewOpKind::FillWhite:
            PatBlt(dc, op.rect.left, op.rect.top, op.rect.right - op.rect.left,
                   op.rect.bottom - op.rect.top, WHITENESS);
            break;
        case PreviewOpKind::SelectFont:
            font_ = MakeFont(op.font);
            if (font_)
                SelectObject(surface_, font_.get());
            break;
        case PreviewOpKind::Text:
            Text(op);
            break;
        case PreviewOpKind::CopyToControl: {
            PaletteInUse inUse(control_, palette_.get());
            BitBlt(control_, op.rect.left, op.rect.top, op.rect.right - op.rect.left,
                   op.rect.bottom - op.rect.top, surface_, op.rect.left, op.rect.top, SRCCOPY);
            break;
        }
        }
    }

    HFONT font() const { return font_.get(); }

  private:
    void Shape(HDC dc, const PreviewOp& op) {
        GdiObject<HPEN> own;
        HGDIOBJ pen = GetStockObject(BLACK_PEN);
        if (op.pen != PreviewPen::Black) {
            own.reset(CreatePen(PS_SOLID, op.penWidth, PenColor(op.pen, op.color)));
            pen = own.get();
        }
        Selected usePen(dc, pen);
        const bool filled = op.kind == PreviewOpKind::Ellipse;
        Selected useBrush(dc, GetStockObject(filled ? WHITE_BRUSH : NULL_BRUSH));
        const PreviewRect& r = op.rect;
        std::vector<POINT> pts = Points(op.points);
        switch (op.kind) {
        case PreviewOpKind::Rectangle:
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
            break;
        case PreviewOpKind::Ellipse:
            Ellipse(dc, r.left, r.top, r.right, r.bottom);
            break;
        default:
            if (!pts.empty())
                Polyline(dc, pts.data(), int(pts.size()));
            break;
        }
    }

    void Text(const PreviewOp& op) {
        if (op.points.empty())
            return;
        int index = 0;
        palette_ = WatermarkPalette(control_, COLORREF(op.color), &index);
        PaletteInUse inUse(surface_, palette_.get());
        int oldMode = SetBkMode(surface_, TRANSPARENT);
        COLORREF oldColor =
            SetTextColor(surface_, palette_ ? PALETTEINDEX(index) : COLORREF(op.color));
        UINT oldAlign = SetTextAlign(surface_, TA_LEFT | TA_BOTTOM);
        RECT clip = {op.rect.left, op.rect.top, op.rect.right, op.rect.bottom};
        const std::wstring text = W(op.text);
        ExtTextOutW(surface_, op.points[0].x, op.points[0].y, ETO_CLIPPED, &clip, text.c_str(),
                    UINT(text.size()), nullptr);
        SetTextAlign(surface_, oldAlign);
        SetTextColor(surface_, oldColor);
        SetBkMode(surface_, oldMode);
    }

    HDC control_;
    HDC surface_;
    GdiObject<HFONT> font_;
    GdiObject<HPALETTE> palette_;
};

} // namespace

PreviewInput WatermarkPreviewInput(const UiContext& ctx) {
    PreviewInput in;
    if (const DEVMODEW* pub = PublicDevModeOf(&ctx)) {
        in.formName = U16(std::wstring(pub->dmFormName, wcsnlen(pub->dmFormName, CCHFORMNAME)));
        in.orientation = pub->dmOrientation;
    }
    const WatermarkRecord* r = ctx.workingWatermark;
    if (!r)
        return in;
    in.size = r->size;
    in.angle = r->angle;
    in.x = r->x;
    in.y = r->y;
    in.color = r->color;
    in.weight = r->weight;
    in.italic = r->italic;
    in.charSet = r->charSet;
    in.position = r->position;
    in.frame = r->frame;
    in.text = FieldText(r->text, kWatermarkTextUnits);
    const PreviewFace face = PreviewFaceFor(U16(ReadFontEntry(r->fontNumber)), LF_FACESIZE);
    in.faceName = face.face;
    in.japaneseFont = face.japanese;
    return in;
}

void DrawWatermarkPreview(HWND dialog, const UiContext* ctx) {
    HWND control = GetDlgItem(dialog, IDC_WM_PREVIEW);
    RECT client = {};
    if (!ctx || !control || !GetClientRect(control, &client))
        return;
    PreviewInput in = WatermarkPreviewInput(*ctx);
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;

    WindowDc dc(control);
    if (!dc.get())
        return;
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc.get(), client.right, client.bottom));
    MemoryDc surface(dc.get(), bitmap.get());
    if (!bitmap || !surface.get())
        return;
    // Whatever the painter selects into the surface is put back before the
    // painter's objects go.
    HGDIOBJ oldFont = GetCurrentObject(surface.get(), OBJ_FONT);
    PreviewPainter painter(dc.get(), surface.get());
    const PreviewMeasure measure = [&](const PreviewFont& f, std::u16string_view text) {
        PreviewExtent e;
        GdiObject<HFONT> font = MakeFont(f);
        Selected use(surface.get(), font.get());
        SIZE size = {};
        const std::wstring w = W(text);
        if (font && GetTextExtentPoint32W(surface.get(), w.c_str(), int(w.size()), &size)) {
            e.cx = size.cx;
            e.cy = size.cy;
        }
        return e;
    };
    for (const PreviewOp& op : ComposeWatermarkPreview(in, measure))
        painter.Run(op);
    SelectObject(surface.get(), oldFont);
}

} // namespace zd
