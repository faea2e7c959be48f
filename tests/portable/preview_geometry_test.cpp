#include "watermark/preview_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

using namespace zd;

namespace {

// The list dialog's preview control and entry 0's defaults.
PreviewInput DefaultInput() {
    PreviewInput in;
    in.clientWidth = 158;
    in.clientHeight = 196;
    in.formName = u"A4";
    in.orientation = 1;
    in.size = 72;
    in.angle = 45;
    in.color = 0x00C0C0C0;
    in.position = 3;
    in.frame = 0;
    in.text = u"ZED";
    in.faceName = u"Arial";
    return in;
}

PreviewMeasure FixedExtent(int cx, int cy) {
    return [cx, cy](const PreviewFont&, std::u16string_view) { return PreviewExtent{cx, cy}; };
}

PreviewLayout LayoutOf(const PreviewInput& in, int cx, int cy) {
    PreviewPage page =
        ComputePreviewPage(in.clientWidth, in.clientHeight, in.formName, in.orientation);
    return ComputePreviewLayout(in, page, PreviewExtent{cx, cy});
}

std::vector<PreviewOpKind> Kinds(const std::vector<PreviewOp>& ops) {
    std::vector<PreviewOpKind> k;
    for (const PreviewOp& op : ops)
        k.push_back(op.kind);
    return k;
}

const PreviewOp* Find(const std::vector<PreviewOp>& ops, PreviewOpKind kind, int nth = 0) {
    for (const PreviewOp& op : ops)
        if (op.kind == kind && nth-- == 0)
            return &op;
    return nullptr;
}

std::vector<PreviewPoint> Closed(std::vector<PreviewPoint> p) {
    p.push_back(p.front());
    return p;
}

} // namespace

TEST(PreviewSinTable, IsRoundedSineOfEveryDegree) {
    for (int k = 0; k <= 90; ++k) {
        double expected = std::floor(10000.0 * std::sin(k * 3.14159265358979323846 / 180.0) + 0.5);
        EXPECT_EQ(kSinTable[k], int(expected)) << k;
    }
}

TEST(PreviewPageSize, EveryRowOfTheFormTable) {
    struct Row {
        std::u16string name;
        int w, h;
    };
    const Row rows[] = {
        {u"A4", 2100, 2970},
        {u"A5", 1480, 2100},
        {u"A6", 1050, 1480},
        {u"B5 (JIS)", 1820, 2570},
        {u"C5 Envelope", 1620, 2290},
        {u"Com 10 Envelope", 1050, 2410},
        {u"Com 9 Envelope", 980, 2250},
        {u"DL Envelope", 970, 2200},
        {u"Executive", 1840, 2660},
        {u"Monarch Envelope", 856, 1905},
        {u"Letter", 1620, 2290},
        {u"Legal13 in", 2030, 3300},
        {u"Legal14 in", 2030, 3550},
        {u"Postcard", 2100, 2970},
        {u"\u306F\u304C\u304D", 1000, 1480},
        {u"\uFF74\uFF78\uFF7E", 1840, 2660},
        {u"\uFF98\uFF70\uFF76\uFF9E\uFF99 13", 2030, 3300},
        {u"\uFF98\uFF70\uFF76\uFF9E\uFF99 14", 2030, 3550},
        {u"\u30EC\u30BF\u30FC", 2150, 2790},
        {u"\u5F80\u5FA9\u306F", 2000, 1480},
        {u"\u5C01\u7B52\uFF11", 2349, 1199},
        {u"\u5C01\u7B52\uFF12", 2049, 899},
        {u"\u5C01\u7B52\uFF13", 2349, 1051},
        {u"\u5C01\u7B52\uFF14", 2970, 2159},
    };
    for (const Row& r : rows) {
        PageSize p = PageSizeFromFormName(r.name, 1);
        EXPECT_EQ(p.width, r.w) << std::string(r.name.begin(), r.name.end());
        EXPECT_EQ(p.height, r.h) << std::string(r.name.begin(), r.name.end());
    }
}

TEST(PreviewPageSize, MissesGiveA4AndLandscapeSwaps) {
    for (std::u16string name :
         {u"", u"A", u"A3", u"Co", u"Com", u"Com 7", u"Com9 Envelope", u"L", u"Lxgal 15",
          u"Legal 13", u"Tabloid", u"\u5C01", u"\uFF98 short", u"a4"}) {
        PageSize p = PageSizeFromFormName(name, 1);
        EXPECT_EQ(p.width, 2100);
        EXPECT_EQ(p.height, 2970);
    }
    PageSize land = PageSizeFromFormName(u"A4", 2);
    EXPECT_EQ(land.width, 2970);
    EXPECT_EQ(land.height, 2100);
    PageSize env = PageSizeFromFormName(u"\u5C01\u7B52\uFF14", 0); // anything but 1 swaps
    EXPECT_EQ(env.width, 2159);
    EXPECT_EQ(env.height, 2970);
}

TEST(PreviewWorkedExample, A4At45DegreesPutsTheTextAt64And125) {
    PreviewInput in = DefaultInput();
    PreviewPage page = ComputePreviewPage(158, 196, u"A4", 1);
    ASSERT_TRUE(page.valid);
    EXPECT_EQ(page.scale, 585);
    EXPECT_EQ(page.width, 100);
    EXPECT_EQ(page.height, 142);
    EXPECT_EQ(page.left, 29);
    EXPECT_EQ(page.top, 27);
    EXPECT_EQ(PreviewFontFor(in, page.scale).height, 12);

    PreviewLayout l = ComputePreviewLayout(in, page, PreviewExtent{60, 16});
    EXPECT_EQ(l.k, 45);
    EXPECT_EQ(l.bw, 53);
    EXPECT_EQ(l.bh, 53);
    EXPECT_EQ(l.dx, 11);
    EXPECT_EQ(l.dy, 53);
    EXPECT_EQ(l.px, 22);
    EXPECT_EQ(l.py, 43);
    EXPECT_EQ(l.fx, 53);
    EXPECT_EQ(l.fy, 72);

    std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, FixedExtent(60, 16));
    const PreviewOp* text = Find(ops, PreviewOpKind::Text);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->points.at(0), (PreviewPoint{64, 125}));
    EXPECT_EQ(text->rect, (PreviewRect{29, 27, 129, 169}));
    EXPECT_EQ(text->color, 0x00C0C0C0u);
    EXPECT_EQ(text->text, u"ZED");
    EXPECT_EQ(Find(ops, PreviewOpKind::Polygon), nullptr); // frame 0: no frame
    EXPECT_EQ(Find(ops, PreviewOpKind::Ellipse), nullptr);
}

TEST(PreviewWorkedExample, DoubleBoxAt30DegreesWithItsPolygons) {
    PreviewInput in = DefaultInput();
    in.angle = 30;
    in.frame = 3;
    PreviewLayout l = LayoutOf(in, 60, 16);
    EXPECT_EQ(l.k, 30);
    EXPECT_EQ(l.bw, 59);
    EXPECT_EQ(l.bh, 43);
    EXPECT_EQ(l.dx, 8);
    EXPECT_EQ(l.dy, 43);
    EXPECT_EQ(l.h1, 23);
    EXPECT_EQ(l.w1, 70);
    EXPECT_EQ(l.h2, 29);
    EXPECT_EQ(l.w2, 76);
    EXPECT_EQ(l.bw1, 72);
    EXPECT_EQ(l.bh1, 54);
    EXPECT_EQ(l.bw2, 80);
    EXPECT_EQ(l.bh2, 63);
    EXPECT_EQ(l.boxWidth, 80);
    EXPECT_EQ(l.boxHeight, 63);
    EXPECT_EQ(l.px, 8);
    EXPECT_EQ(l.py, 38);
    EXPECT_EQ(l.fx, 39);
    EXPECT_EQ(l.fy, 67);
    EXPECT_EQ(l.k2, 30);
    EXPECT_EQ(l.flag, 1);
    EXPECT_EQ(l.tx, 50);
    EXPECT_EQ(l.ty, 77);

    std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, FixedExtent(60, 16));
    const PreviewOp* outer = Find(ops, PreviewOpKind::Polygon, 0);
    const PreviewOp* inner = Find(ops, PreviewOpKind::Polygon, 1);
    ASSERT_NE(outer, nullptr);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(outer->points, Closed({{53, 130}, {119, 92}, {104, 67}, {39, 105}}));
    EXPECT_EQ(inner->points, Closed({{54, 125}, {115, 90}, {103, 71}, {43, 106}}));
    EXPECT_EQ(outer->penWidth, 1);
    EXPECT_EQ(inner->penWidth, 1);
    EXPECT_EQ(outer->pen, PreviewPen::Watermark);
    EXPECT_EQ(outer->color, 0x00C0C0C0u);
    EXPECT_EQ(Find(ops, PreviewOpKind::Polygon, 2), nullptr);
    EXPECT_EQ(Find(ops, PreviewOpKind::Text)->points.at(0), (PreviewPoint{58, 120}));
}

TEST(PreviewOperations, AreInDrawingOrderWithBorderAndPage) {
    PreviewInput in = DefaultInput();
    in.frame = 3;
    std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, FixedExtent(60, 16));
    using K = PreviewOpKind;
    std::vector<K> expected = {K::Polyline,  K::Polyline,     K::Rectangle, K::Polyline,
                               K::FillWhite, K::SelectFont,   K::Polygon,   K::Polygon,
                               K::Text,      K::CopyToControl};
    EXPECT_EQ(Kinds(ops), expected);

    // Border: shadow up and right, highlight down and left.
    EXPECT_EQ(ops[0].pen, PreviewPen::ButtonShadow);
    EXPECT_EQ(ops[0].points, (std::vector<PreviewPoint>{{0, 195}, {0, 0}, {157, 0}}));
    EXPECT_EQ(ops[1].pen, PreviewPen::ButtonHighlight);
    EXPECT_EQ(ops[1].points, (std::vector<PreviewPoint>{{157, 0}, {157, 195}, {0, 195}}));
    EXPECT_EQ(ops[0].target, PreviewTarget::Control);
    // Page outline and its shadow, on the control.
    EXPECT_EQ(ops[2].rect, (PreviewRect{28, 26, 130, 170}));
    EXPECT_EQ(ops[2].pen, PreviewPen::Black);
    EXPECT_EQ(ops[3].points, (std::vector<PreviewPoint>{{130, 27}, {130, 170}, {29, 170}}));
    EXPECT_EQ(ops[3].target, PreviewTarget::Control);
    // Surface work, then the copy of the page back to the control.
    EXPECT_EQ(ops[4].rect, (PreviewRect{0, 0, 158, 196}));
    EXPECT_EQ(ops[4].target, PreviewTarget::Surface);
    EXPECT_EQ(ops[8].target, PreviewTarget::Surface);
    EXPECT_EQ(ops[9].rect, (PreviewRect{29, 27, 129, 169}));
}

TEST(PreviewFont, CarriesTheRecordsFieldsAndTheJapaneseSet) {
    PreviewInput in = DefaultInput();
    in.weight = 700;
    in.italic = 1;
    in.charSet = 0;
    in.faceName = u"MS Mincho";
    PreviewFont seen;
    auto measure = [&](const PreviewFont& f, std::u16string_view text) {
        seen = f;
        EXPECT_EQ(text, u"ZED");
        return PreviewExtent{60, 16};
    };
    std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, measure);
    const PreviewOp* font = Find(ops, PreviewOpKind::SelectFont);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->font, seen); // measured in the font that is selected
    EXPECT_EQ(seen.height, 12);
    EXPECT_EQ(seen.escapement, 450);
    EXPECT_EQ(seen.weight, 700);
    EXPECT_EQ(seen.italic, 1);
    EXPECT_EQ(seen.charSet, 0);
    EXPECT_EQ(seen.faceName, u"MS Mincho");

    in.japaneseFont = true;
    in.charSet = 1;
    EXPECT_EQ(PreviewFontFor(in, 585).charSet, 128);
    in.japaneseFont = false;
    EXPECT_EQ(PreviewFontFor(in, 585).charSet, 1);
    in.size = 0; // rounds to 0: height 1
    EXPECT_EQ(PreviewFontFor(in, 585).height, 1);
    in.size = 600; // (120000 + 585) / 1170 = 103
    EXPECT_EQ(PreviewFontFor(in, 585).height, 103);
    in.size = 3; // 600 + 585 = 1185 / 1170 = 1: rounds half up
    EXPECT_EQ(PreviewFontFor(in, 585).height, 1);
}

TEST(PreviewAngles, ZeroNinetyOneEightyAndMinusNinety) {
    PreviewInput in = DefaultInput();
    in.frame = 2;
    const int cx = 60, cy = 16;

    in.angle = 0;
    PreviewLayout l = LayoutOf(in, cx, cy);
    EXPECT_EQ(l.k, 0);
    EXPECT_EQ(l.bw, cx);
    EXPECT_EQ(l.bh, cy);
    EXPECT_EQ(l.dx, 0);
    EXPECT_EQ(l.dy, cy);
    std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, FixedExtent(cx, cy));
    int fx = int(l.fx), fy = int(l.fy), w1 = int(l.w1), h1 = int(l.h1);
    EXPECT_EQ(Find(ops, PreviewOpKind::Polygon)->points,
              Closed({{fx, fy + h1}, {fx + w1, fy + h1}, {fx + w1, fy}, {fx, fy}}));

    in.angle = 90;
    l = LayoutOf(in, cx, cy);
    EXPECT_EQ(l.k, 90);
    EXPECT_EQ(l.bw, cy);
    EXPECT_EQ(l.bh, cx);
    EXPECT_EQ(l.dx, cy);
    EXPECT_EQ(l.dy, cx);
    EXPECT_EQ(l.flag, 0);
    EXPECT_EQ(l.k2, 0);
    ops = ComposeWatermarkPreview(in, FixedExtent(cx, cy));
    fx = int(l.fx), fy = int(l.fy);
    EXPECT_EQ(Find(ops, PreviewOpKind::Polygon)->points,
              Closed({{fx + h1, fy}, {fx + h1, fy + w1}, {fx, fy + w1}, {fx, fy}}));

    in.angle = 180;
    l = LayoutOf(in, cx, cy);
    EXPECT_EQ(l.k, 0);
    EXPECT_EQ(l.dx, cx);
    EXPECT_EQ(l.dy, 0);
    EXPECT_EQ(l.k2, 90);
    ops = ComposeWatermarkPreview(in, FixedExtent(cx, cy));
    fx = int(l.fx), fy = int(l.fy);
    EXPECT_EQ(Find(ops, PreviewOpKind::Polygon)->points,
              Closed({{fx, fy}, {fx + w1, fy}, {fx + w1, fy + h1}, {fx, fy + h1}}));

    in.angle = -90;
    l = LayoutOf(in, cx, cy);
    EXPECT_EQ(l.k, 90);
    EXPECT_EQ(l.dx, 0);
    EXPECT_EQ(l.dy, 0);

    in.angle = -135; // first row: k = 45, origin (cx cos k, 0)
    l = LayoutOf(in, cx, cy);
    EXPECT_EQ(l.k, 45);
    EXPECT_EQ(l.flag, 1);
    EXPECT_EQ(l.dx, 60 * 7071 / 10000);
    EXPECT_EQ(l.dy, 0);
    EXPECT_EQ(l.k2, 45);
}

TEST(PreviewAngles, OutOfRangeAnglesAreBroughtIntoRange) {
    EXPECT_EQ(NormalizePreviewAngle(180), 180);
    EXPECT_EQ(NormalizePreviewAngle(-180), -180);
    EXPECT_EQ(NormalizePreviewAngle(181), -179);
    EXPECT_EQ(NormalizePreviewAngle(405), 45);
    EXPECT_EQ(NormalizePreviewAngle(-181), 179);
    EXPECT_EQ(NormalizePreviewAngle(-32768), 352 - 360);
    EXPECT_EQ(NormalizePreviewAngle(32767), 7);

    for (int16_t far : {int16_t(405), int16_t(-315), int16_t(32767), int16_t(-32768)}) {
        PreviewInput a = DefaultInput(), b = DefaultInput();
        a.frame = b.frame = 3;
        a.angle = far;
        b.angle = int16_t(NormalizePreviewAngle(far));
        std::vector<PreviewOp> oa = ComposeWatermarkPreview(a, FixedExtent(60, 16));
        std::vector<PreviewOp> ob = ComposeWatermarkPreview(b, FixedExtent(60, 16));
        ASSERT_EQ(oa.size(), ob.size());
        for (size_t i = 0; i < oa.size(); ++i) {
            EXPECT_EQ(oa[i].points, ob[i].points) << far << " op " << i;
            EXPECT_EQ(oa[i].rect, ob[i].rect) << far << " op " << i;
            EXPECT_EQ(oa[i].font, ob[i].font) << far << " op " << i;
        }
    }
}

TEST(PreviewFrames, Size222UsesWiderPensAndMarginThan221) {
    PreviewInput in = DefaultInput();
    in.angle = 0;
    for (int32_t size : {221, 222}) {
        in.size = size;
        const bool big = size == 222;
        PreviewLayout l = LayoutOf(in, 60, 16);
        EXPECT_EQ(l.big, big);
        EXPECT_EQ(l.w2 - l.w1, big ? 8 : 6);
        EXPECT_EQ(l.h2 - l.h1, big ? 8 : 6);

        in.frame = 1;
        std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, FixedExtent(60, 16));
        const PreviewOp* circle = Find(ops, PreviewOpKind::Ellipse);
        ASSERT_NE(circle, nullptr);
        EXPECT_EQ(circle->penWidth, big ? 3 : 2);
        const int d = 62 * 11 / 10; // trunc(sqrt(60^2 + 16^2)) = 62
        EXPECT_EQ(circle->rect.right - circle->rect.left, d + 4);
        EXPECT_EQ(circle->rect.bottom - circle->rect.top, d + 4);

        in.frame = 2;
        ops = ComposeWatermarkPreview(in, FixedExtent(60, 16));
        EXPECT_EQ(Find(ops, PreviewOpKind::Polygon)->penWidth, big ? 3 : 2);

        in.frame = 3;
        ops = ComposeWatermarkPreview(in, FixedExtent(60, 16));
        EXPECT_EQ(Find(ops, PreviewOpKind::Polygon, 0)->penWidth, big ? 2 : 1);
        EXPECT_EQ(Find(ops, PreviewOpKind::Polygon, 1)->penWidth, big ? 2 : 1);
        in.frame = 0;
    }
    in.size = -1; // compared unsigned: big, but no text is drawn
    EXPECT_TRUE(LayoutOf(in, 60, 16).big);
    EXPECT_EQ(Find(ComposeWatermarkPreview(in, FixedExtent(60, 16)), PreviewOpKind::Text), nullptr);
}

TEST(PreviewPages, LandscapeA4AndLetter) {
    PreviewPage land = ComputePreviewPage(158, 196, u"A4", 2);
    ASSERT_TRUE(land.valid);
    EXPECT_GT(land.width, land.height);
    EXPECT_EQ(land.scale, 585);
    EXPECT_EQ(land.width, 142);
    EXPECT_EQ(land.height, 100);
    EXPECT_EQ(land.left, 8);
    EXPECT_EQ(land.top, 48);

    PreviewPage letter = ComputePreviewPage(158, 196, u"Letter", 1);
    ASSERT_TRUE(letter.valid);
    EXPECT_EQ(letter.scale, 2290 * 28 / 142);
    EXPECT_EQ(letter.width, 1620 * 28 / letter.scale);
    EXPECT_EQ(letter.height, 2290 * 28 / letter.scale);
}

TEST(PreviewPositions, EveryPresetAndTheBottomRightCorner) {
    PreviewInput in = DefaultInput();
    in.angle = 0;
    in.frame = 2;
    PreviewPage page = ComputePreviewPage(158, 196, u"A4", 1);
    for (uint16_t pos = 0; pos <= 8; ++pos) {
        in.position = pos;
        PreviewLayout l = ComputePreviewLayout(in, page, PreviewExtent{60, 16});
        const long long aw = page.width - 4, ah = page.height - 4;
        const long long midX = aw / 2 - l.boxWidth / 2, midY = ah / 2 - l.boxHeight / 2;
        const long long xs[] = {0, midX, aw - l.boxWidth, midX, 0, midX, aw - l.boxWidth};
        const long long ys[] = {
            0, 0, 0, midY, ah - l.boxHeight, ah - l.boxHeight, ah - l.boxHeight};
        const int row = pos <= 6 ? pos : 3; // outside 0..6: centre
        EXPECT_EQ(l.px, xs[row]) << pos;
        EXPECT_EQ(l.py, ys[row]) << pos;
    }
    in.position = 6;
    PreviewLayout l = ComputePreviewLayout(in, page, PreviewExtent{60, 16});
    EXPECT_EQ(l.fx + l.boxWidth, page.left + page.width - 2);
    EXPECT_EQ(l.fy + l.boxHeight, page.top + page.height - 2);

    // Offsets in points move the box by x * 100 / s pixels.
    in.x = 100;
    in.y = -100;
    PreviewLayout moved = ComputePreviewLayout(in, page, PreviewExtent{60, 16});
    EXPECT_EQ(moved.fx - l.fx, 100 * 100 / 585);
    EXPECT_EQ(moved.fy - l.fy, -100 * 100 / 585);
}

TEST(PreviewDegenerate, TinyControlDrawsOnlyTheBorder) {
    PreviewInput in = DefaultInput();
    for (auto [w, h] : {std::pair{16, 200}, std::pair{200, 16}, std::pair{0, 0}, std::pair{-5, 100},
                        std::pair{17, 17}}) {
        in.clientWidth = w;
        in.clientHeight = h;
        int calls = 0;
        auto measure = [&](const PreviewFont&, std::u16string_view) {
            ++calls;
            return PreviewExtent{60, 16};
        };
        std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, measure);
        if (std::min(w, h) <= 16) {
            EXPECT_EQ(ops.size(), 2u) << w << "x" << h;
            EXPECT_EQ(calls, 0);
            EXPECT_FALSE(ComputePreviewPage(w, h, u"A4", 1).valid);
        } else {
            EXPECT_GT(ops.size(), 2u); // m = 1: s = 83160, a page of 0 pixels but no fault
            EXPECT_EQ(calls, 1);
        }
    }
    // A client so large that the scale would be 0.
    EXPECT_FALSE(ComputePreviewPage(200000, 200000, u"A4", 1).valid);
}

TEST(PreviewDegenerate, EmptyTextAndSizeZeroDrawNoTextAndNoFrame) {
    PreviewInput in = DefaultInput();
    in.frame = 3;
    in.text.clear();
    using K = PreviewOpKind;
    std::vector<K> pageOnly = {K::Polyline,  K::Polyline,   K::Rectangle,    K::Polyline,
                               K::FillWhite, K::SelectFont, K::CopyToControl};
    EXPECT_EQ(Kinds(ComposeWatermarkPreview(in, FixedExtent(0, 16))), pageOnly);

    in.text = u"ZED";
    in.size = 0;
    std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, FixedExtent(60, 16));
    EXPECT_EQ(Find(ops, K::Text), nullptr);
    EXPECT_NE(Find(ops, K::Polygon), nullptr); // the frame still shows
    EXPECT_EQ(Find(ops, K::SelectFont)->font.height, 1);
}

TEST(PreviewDegenerate, ExtremeRecordValuesStayFinite) {
    PreviewInput in = DefaultInput();
    in.size = INT32_MAX;
    in.x = INT32_MIN;
    in.y = INT32_MAX;
    in.frame = 1;
    std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, FixedExtent(INT32_MAX, INT32_MAX));
    const PreviewOp* font = Find(ops, PreviewOpKind::SelectFont);
    EXPECT_EQ(font->font.height, 32767); // saturated, not wrapped
    PreviewInput unmoved = in;
    unmoved.x = 0;
    EXPECT_EQ(LayoutOf(in, 60, 16).fx - LayoutOf(unmoved, 60, 16).fx, -32768);
}
