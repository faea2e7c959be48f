#include "watermark/preview_geometry.h"

#include <algorithm>
#include <climits>

namespace zd {

const int16_t kSinTable[91] = {
    0,    175,  349,  523,  698,  872,  1045, 1219, 1392, 1564, 1736,  1908, 2079, 2250, 2419, 2588,
    2756, 2924, 3090, 3256, 3420, 3584, 3746, 3907, 4067, 4226, 4384,  4540, 4695, 4848, 5000, 5150,
    5299, 5446, 5592, 5736, 5878, 6018, 6157, 6293, 6428, 6561, 6691,  6820, 6947, 7071, 7193, 7314,
    7431, 7547, 7660, 7771, 7880, 7986, 8090, 8192, 8290, 8387, 8480,  8572, 8660, 8746, 8829, 8910,
    8988, 9063, 9135, 9205, 9272, 9336, 9397, 9455, 9511, 9563, 9613,  9659, 9703, 9744, 9781, 9816,
    9848, 9877, 9903, 9925, 9945, 9962, 9976, 9986, 9994, 9998, 10000,
};

namespace {

using i64 = long long;

int Sat32(i64 v) {
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
}

// The values the drawing keeps in 16 bits: saturated rather than wrapped.
i64 Sat16(i64 v) {
    return v > 32767 ? 32767 : v < -32768 ? -32768 : v;
}

i64 Half(i64 v) {
    return v / 2;
}

i64 Sin(int k) {
    return kSinTable[k];
}

i64 Cos(int k) {
    return kSinTable[90 - k];
}

i64 ISqrt(i64 n) {
    if (n <= 0)
        return 0;
    i64 r = 0;
    i64 bit = i64(1) << 62;
    while (bit > n)
        bit >>= 2;
    while (bit != 0) {
        if (n >= r + bit) {
            n -= r + bit;
            r = (r >> 1) + bit;
        } else {
            r >>= 1;
        }
        bit >>= 2;
    }
    return r;
}

// GDI's coordinate space is 27 bits; larger extents are nonsense anyway and
// would make the products below overflow.
i64 ClampExtent(int v) {
    return v < 0 ? 0 : v > 0x7FFFFFF ? 0x7FFFFFF : v;
}

PreviewPoint Pt(i64 x, i64 y) {
    return PreviewPoint{Sat32(x), Sat32(y)};
}

PreviewRect Rc(i64 l, i64 t, i64 r, i64 b) {
    return PreviewRect{Sat32(l), Sat32(t), Sat32(r), Sat32(b)};
}

// Closed outline of a frame box of w x h, rotated, whose bounding box is
// bw x bh at (fx, fy).
std::vector<PreviewPoint> BoxPolygon(const PreviewLayout& l, i64 w, i64 h, i64 bw, i64 bh, i64 fx,
                                     i64 fy) {
    i64 s = Sin(l.k2), c = Cos(l.k2);
    std::vector<PreviewPoint> p;
    if (l.flag == 1) {
        p = {Pt(fx + s * h / 10000, fy + bh), Pt(fx + bw, fy + c * h / 10000),
             Pt(fx + c * w / 10000, fy), Pt(fx, fy + s * w / 10000)};
    } else {
        p = {Pt(fx + c * h / 10000, fy), Pt(fx + bw, fy + c * w / 10000),
             Pt(fx + s * w / 10000, fy + bh), Pt(fx, fy + s * h / 10000)};
    }
    p.push_back(p.front());
    return p;
}

} // namespace

int NormalizePreviewAngle(int angle) {
    if (angle >= -180 && angle <= 180)
        return angle;
    i64 a = ((i64(angle) + 180) % 360 + 360) % 360 - 180;
    return int(a);
}

PreviewPage ComputePreviewPage(int clientWidth, int clientHeight, std::u16string_view formName,
                               int orientation) {
    PreviewPage page;
    PageSize paper = PageSizeFromFormName(formName, orientation);
    i64 m = i64(std::min(clientWidth, clientHeight)) - 16;
    if (m <= 0)
        return page;
    i64 s = i64(std::max(paper.width, paper.height)) * 28 / m;
    if (s <= 0)
        return page;
    page.valid = true;
    page.scale = s;
    page.width = i64(paper.width) * 28 / s;
    page.height = i64(paper.height) * 28 / s;
    page.left = Half(clientWidth - page.width);
    page.top = Half(clientHeight - page.height);
    return page;
}

PreviewFont PreviewFontFor(const PreviewInput& in, long long scale) {
    PreviewFont f;
    if (scale > 0) {
        i64 h = Sat16((i64(in.size) * 200 + scale) / (2 * scale));
        f.height = h == 0 ? 1 : int(h);
    }
    f.escapement = NormalizePreviewAngle(in.angle) * 10;
    f.weight = in.weight;
    f.italic = in.italic;
    f.charSet = in.japaneseFont ? 128 : in.charSet;
    f.faceName = in.faceName;
    return f;
}

PreviewLayout ComputePreviewLayout(const PreviewInput& in, const PreviewPage& page,
                                   PreviewExtent extent) {
    PreviewLayout l;
    const int a = NormalizePreviewAngle(in.angle);
    l.angle = a;
    const i64 cx = ClampExtent(extent.cx), cy = ClampExtent(extent.cy);
    l.cx = cx;
    l.cy = cy;

    // Bounding box of the rotated text and the text's origin inside it.
    if (a < -90) {
        l.k = a + 180;
        l.flag = 1;
    } else if (a < 0) {
        l.k = -a;
        l.flag = 0;
    } else if (a < 90) {
        l.k = a;
        l.flag = 1;
    } else {
        l.k = 180 - a;
        l.flag = 0;
    }
    const i64 sk = Sin(l.k), ck = Cos(l.k);
    l.bw = (cx * ck + cy * sk) / 10000;
    l.bh = (cx * sk + cy * ck) / 10000;
    if (a < -90) {
        l.dx = cx * ck / 10000;
        l.dy = 0;
    } else if (a < 0) {
        l.dx = 0;
        l.dy = cy * ck / 10000;
    } else if (a < 90) {
        l.dx = cy * sk / 10000;
        l.dy = l.bh;
    } else {
        l.dx = l.bw;
        l.dy = cx * sk / 10000;
    }

    // Frame sizes; they also position the text when there is no frame.
    l.h1 = cy * 120 / 100 + 4;
    l.w1 = cx + 2 * (l.h1 - cy) - 4;
    l.big = uint32_t(in.size) >= 222;
    const i64 margin = l.big ? 8 : 6;
    l.w2 = l.w1 + margin;
    l.h2 = l.h1 + margin;
    l.bw1 = (l.w1 * ck + l.h1 * sk) / 10000;
    l.bh1 = (l.w1 * sk + l.h1 * ck) / 10000;
    l.bw2 = (l.w2 * ck + l.h2 * sk) / 10000;
    l.bh2 = (l.w2 * sk + l.h2 * ck) / 10000;
    l.diameter = ISqrt(cx * cx + cy * cy) * 11 / 10;

    switch (in.frame) {
    case 1:
        l.boxWidth = l.boxHeight = l.diameter;
        break;
    case 2:
        l.boxWidth = l.bw1;
        l.boxHeight = l.bh1;
        break;
    case 3:
        l.boxWidth = l.bw2;
        l.boxHeight = l.bh2;
        break;
    default:
        l.boxWidth = l.bw;
        l.boxHeight = l.bh;
        break;
    }

    const i64 s = page.scale > 0 ? page.scale : 1;
    const i64 ox = Sat16(i64(in.x) * 100 / s), oy = Sat16(i64(in.y) * 100 / s);
    const i64 tx0 = ox + page.left + 2, ty0 = oy + page.top + 2;
    const i64 aw = page.width - 4, ah = page.height - 4;
    const i64 centreX = Half(aw) - Half(l.boxWidth), centreY = Half(ah) - Half(l.boxHeight);
    switch (in.position) {
    case 0:
        l.px = 0, l.py = 0;
        break;
    case 1:
        l.px = centreX, l.py = 0;
        break;
    case 2:
        l.px = aw - l.boxWidth, l.py = 0;
        break;
    case 4:
        l.px = 0, l.py = ah - l.boxHeight;
        break;
    case 5:
        l.px = centreX, l.py = ah - l.boxHeight;
        break;
    case 6:
        l.px = aw - l.boxWidth, l.py = ah - l.boxHeight;
        break;
    default:
        l.px = centreX, l.py = centreY;
        break;
    }
    l.fx = l.px + tx0;
    l.fy = l.py + ty0;
    l.tx = Half(l.boxWidth) - Half(l.bw) + l.fx;
    l.ty = Half(l.boxHeight) - Half(l.bh) + l.fy;
    l.textX = l.tx + l.dx;
    l.textY = l.ty + l.dy;

    if (a == 180)
        l.k2 = 90;
    else if (a < -90)
        l.k2 = a + 180;
    else
        l.k2 = (a + 180) % 90;
    return l;
}

std::vector<PreviewOp> ComposeWatermarkPreview(const PreviewInput& in,
                                               const PreviewMeasure& measure) {
    std::vector<PreviewOp> ops;
    const i64 cw = in.clientWidth, ch = in.clientHeight;

    // Sunken border of the control.
    PreviewOp shadow;
    shadow.kind = PreviewOpKind::Polyline;
    shadow.pen = PreviewPen::ButtonShadow;
    shadow.penWidth = 1;
    shadow.points = {Pt(0, ch - 1), Pt(0, 0), Pt(cw - 1, 0)};
    ops.push_back(shadow);
    PreviewOp light = shadow;
    light.pen = PreviewPen::ButtonHighlight;
    light.points = {Pt(cw - 1, 0), Pt(cw - 1, ch - 1), Pt(0, ch - 1)};
    ops.push_back(light);

    const PreviewPage page =
        ComputePreviewPage(in.clientWidth, in.clientHeight, in.formName, in.orientation);
    if (!page.valid)
        return ops; // no room for a page: the border is all there is
    const i64 left = page.left, top = page.top, pw = page.width, ph = page.height;

    PreviewOp outline;
    outline.kind = PreviewOpKind::Rectangle;
    outline.pen = PreviewPen::Black;
    outline.penWidth = 1;
    outline.rect = Rc(left - 1, top - 1, left + pw + 1, top + ph + 1);
    ops.push_back(outline);
    PreviewOp pageShadow;
    pageShadow.kind = PreviewOpKind::Polyline;
    pageShadow.pen = PreviewPen::Black;
    pageShadow.penWidth = 1;
    pageShadow.points = {Pt(left + pw + 1, top), Pt(left + pw + 1, top + ph + 1),
                         Pt(left, top + ph + 1)};
    ops.push_back(pageShadow);

    PreviewOp fill;
    fill.kind = PreviewOpKind::FillWhite;
    fill.target = PreviewTarget::Surface;
    fill.rect = Rc(0, 0, cw, ch);
    ops.push_back(fill);

    PreviewOp font;
    font.kind = PreviewOpKind::SelectFont;
    font.target = PreviewTarget::Surface;
    font.font = PreviewFontFor(in, page.scale);
    ops.push_back(font);

    PreviewExtent extent = measure ? measure(font.font, in.text) : PreviewExtent{};
    const PreviewLayout l = ComputePreviewLayout(in, page, extent);

    if (l.cx != 0) {
        PreviewOp frame;
        frame.target = PreviewTarget::Surface;
        frame.pen = PreviewPen::Watermark;
        frame.color = in.color;
        switch (in.frame) {
        case 1:
            frame.kind = PreviewOpKind::Ellipse;
            frame.penWidth = l.big ? 3 : 2;
            frame.rect = Rc(l.fx - 2, l.fy - 2, l.fx + l.diameter + 2, l.fy + l.diameter + 2);
            ops.push_back(frame);
            break;
        case 2:
            frame.kind = PreviewOpKind::Polygon;
            frame.penWidth = l.big ? 3 : 2;
            frame.points = BoxPolygon(l, l.w1, l.h1, l.bw1, l.bh1, l.fx, l.fy);
            ops.push_back(frame);
            break;
        case 3: {
            frame.kind = PreviewOpKind::Polygon;
            frame.penWidth = l.big ? 2 : 1;
            frame.points = BoxPolygon(l, l.w2, l.h2, l.bw2, l.bh2, l.fx, l.fy);
            ops.push_back(frame);
            i64 ix = l.fx + Half(l.bw2) - Half(l.bw1);
            i64 iy = l.fy + Half(l.bh2) - Half(l.bh1);
            frame.points = BoxPolygon(l, l.w1, l.h1, l.bw1, l.bh1, ix, iy);
            ops.push_back(frame);
            break;
        }
        default:
            break;
        }
    }

    if (in.size >= 1 && !in.text.empty()) {
        PreviewOp text;
        text.kind = PreviewOpKind::Text;
        text.target = PreviewTarget::Surface;
        text.color = in.color;
        text.points = {Pt(l.textX, l.textY)};
        text.rect = Rc(left, top, left + pw, top + ph);
        text.text = in.text;
        ops.push_back(text);
    }

    PreviewOp copy;
    copy.kind = PreviewOpKind::CopyToControl;
    copy.rect = Rc(left, top, left + pw, top + ph);
    ops.push_back(copy);
    return ops;
}

} // namespace zd
