#include "finishing/sheet_picture.h"

#include <algorithm>

namespace zd {

namespace {

using i64 = long long;

constexpr int kMargin = 8;        // between the control's edge and the page
constexpr int kMaxExtent = 32767; // controls are never larger

struct Marks {
    int band;   // width of the binding band
    int inset;  // distance of the staples from the edge
    int length; // of a staple
    int thick;  // of a staple
    int hole;   // diameter of a hole
};

Marks MarksFor(const PictureRect& page) {
    const int shorter = std::min(page.right - page.left, page.bottom - page.top);
    Marks m;
    m.band = std::max(2, shorter / 20);
    m.inset = std::max(3, shorter / 12);
    m.length = std::max(4, shorter / 6);
    m.thick = std::max(2, shorter / 40);
    m.hole = std::max(3, shorter / 12);
    return m;
}

bool VerticalEdge(uint32_t b) {
    return b == binding::Left || b == binding::Right || b == binding::Centre;
}

// Position along the edge of the i-th of n marks: a single staple sits at
// the corner where the edge starts, a group spreads evenly.
int AlongEdge(int start, int length, int i, int n) {
    return start + int(i64(length) * (i + 1) / (n + 1));
}

void AddStaples(SheetPicture& pic, const Marks& m, uint32_t b, uint32_t count) {
    const PictureRect& p = pic.page;
    const int centreX = (p.left + p.right) / 2;
    // Distance from the page's left or top edge to the staple's outer side.
    int across = 0;
    switch (b) {
    case binding::Left:
        across = p.left + m.inset;
        break;
    case binding::Right:
        across = p.right - m.inset - m.thick;
        break;
    case binding::Top:
        across = p.top + m.inset;
        break;
    case binding::Bottom:
        across = p.bottom - m.inset - m.thick;
        break;
    default:
        across = centreX - m.thick / 2;
        break;
    }
    const bool vertical = VerticalEdge(b);
    const int edgeStart = vertical ? p.top : p.left;
    const int edgeLength = vertical ? p.bottom - p.top : p.right - p.left;
    for (uint32_t i = 0; i < count; ++i) {
        int along = 0;
        if (count == 1 && b != binding::Centre)
            along = edgeStart + m.inset;
        else
            along = AlongEdge(edgeStart, edgeLength, int(i), int(count)) - m.length / 2;
        if (vertical)
            pic.staples[pic.stapleCount++] = {across, along, across + m.thick, along + m.length};
        else
            pic.staples[pic.stapleCount++] = {along, across, along + m.length, across + m.thick};
    }
}

void AddHoles(SheetPicture& pic, const Marks& m, uint32_t b, uint32_t count) {
    if (b == binding::Centre)
        return; // no edge to punch
    const PictureRect& p = pic.page;
    // The holes' centres lie past the staples, further in from the edge.
    const int depth = m.inset + m.thick + m.hole;
    int centre = 0;
    switch (b) {
    case binding::Left:
        centre = p.left + depth;
        break;
    case binding::Right:
        centre = p.right - 1 - depth;
        break;
    case binding::Top:
        centre = p.top + depth;
        break;
    default:
        centre = p.bottom - 1 - depth;
        break;
    }
    const bool vertical = VerticalEdge(b);
    const int edgeStart = vertical ? p.top : p.left;
    const int edgeLength = vertical ? p.bottom - p.top : p.right - p.left;
    const int r = m.hole / 2;
    for (uint32_t i = 0; i < count; ++i) {
        const int along = AlongEdge(edgeStart, edgeLength, int(i), int(count));
        if (vertical)
            pic.holes[pic.holeCount++] = {centre - r, along - r, centre - r + m.hole,
                                          along - r + m.hole};
        else
            pic.holes[pic.holeCount++] = {along - r, centre - r, along - r + m.hole,
                                          centre - r + m.hole};
    }
}

} // namespace

SheetPicture LayOutSheetPicture(const SheetPictureInput& in) {
    SheetPicture pic;
    const int cw = std::min(in.clientWidth, kMaxExtent);
    const int ch = std::min(in.clientHeight, kMaxExtent);
    const i64 availW = i64(cw) - 2 * kMargin;
    const i64 availH = i64(ch) - 2 * kMargin;
    const i64 w = in.paper.width, h = in.paper.height;
    if (availW < 16 || availH < 16 || w <= 0 || h <= 0)
        return pic;
    // The page as large as fits, in its own proportions.
    i64 pw = 0, ph = 0;
    if (w * availH >= h * availW) {
        pw = availW;
        ph = std::max<i64>(1, h * availW / w);
    } else {
        ph = availH;
        pw = std::max<i64>(1, w * availH / h);
    }
    const int left = int((cw - pw) / 2), top = int((ch - ph) / 2);
    pic.page = {left, top, left + int(pw), top + int(ph)};
    if (pw < 16 || ph < 16)
        return pic; // too thin for marks: the outline alone, still invalid
    pic.valid = true;

    const Marks m = MarksFor(pic.page);
    const PictureRect& p = pic.page;
    const uint32_t b = in.binding <= binding::Centre ? in.binding : binding::Top;
    switch (b) {
    case binding::Left:
        pic.bindingEdge = {p.left, p.top, p.left + m.band, p.bottom};
        break;
    case binding::Right:
        pic.bindingEdge = {p.right - m.band, p.top, p.right, p.bottom};
        break;
    case binding::Top:
        pic.bindingEdge = {p.left, p.top, p.right, p.top + m.band};
        break;
    case binding::Bottom:
        pic.bindingEdge = {p.left, p.bottom - m.band, p.right, p.bottom};
        break;
    default: {
        const int x = (p.left + p.right) / 2 - m.band / 2;
        pic.bindingEdge = {x, p.top, x + m.band, p.bottom};
        break;
    }
    }
    AddStaples(pic, m, b, std::min(in.staple, kMaxPictureStaples));
    const uint32_t holes = in.punch == 0                  ? 0
                           : in.punch >= kMaxPictureHoles ? kMaxPictureHoles
                                                          : in.punch + 1;
    AddHoles(pic, m, b, holes);
    return pic;
}

} // namespace zd
