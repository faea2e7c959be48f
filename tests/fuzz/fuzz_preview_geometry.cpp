// The preview over random records, client sizes, forms and measured extents.
// Layout: i32 cw, i32 ch, i16 orientation, i32 size, i16 angle, i32 x, i32 y,
// u32 color, u16 position, u16 frame, i32 cx, i32 cy, u8 japanese, then the
// form name as UTF-16.
#include "fuzz_input.h"
#include "watermark/preview_geometry.h"

#include <algorithm>

using namespace zd;

namespace {

bool SameOps(const std::vector<PreviewOp>& a, const std::vector<PreviewOp>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].kind != b[i].kind || !(a[i].points == b[i].points) || !(a[i].rect == b[i].rect) ||
            !(a[i].font == b[i].font) || a[i].penWidth != b[i].penWidth)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zdfuzz::Input f(data, size);
    PreviewInput in;
    in.clientWidth = f.take<int32_t>();
    in.clientHeight = f.take<int32_t>();
    in.orientation = f.take<int16_t>();
    in.size = f.take<int32_t>();
    in.angle = f.take<int16_t>();
    in.x = f.take<int32_t>();
    in.y = f.take<int32_t>();
    in.color = f.take<uint32_t>();
    in.position = f.take<uint16_t>();
    in.frame = f.take<uint16_t>();
    const int32_t cx = f.take<int32_t>(), cy = f.take<int32_t>();
    in.japaneseFont = f.take<uint8_t>() & 1;
    in.formName = f.rest16();
    in.text = u"W";
    in.faceName = u"Face";

    int measured = 0;
    PreviewFont measuredFont;
    auto measure = [&](const PreviewFont& font, std::u16string_view) {
        ++measured;
        measuredFont = font;
        return PreviewExtent{cx, cy};
    };
    const std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, measure);

    // The border always comes first.
    ZD_FUZZ_CHECK(ops.size() >= 2);
    ZD_FUZZ_CHECK(ops[0].kind == PreviewOpKind::Polyline && ops[0].pen == PreviewPen::ButtonShadow);
    ZD_FUZZ_CHECK(ops[1].kind == PreviewOpKind::Polyline &&
                  ops[1].pen == PreviewPen::ButtonHighlight);
    const int64_t m = int64_t(std::min(in.clientWidth, in.clientHeight)) - 16;
    const PreviewPage page =
        ComputePreviewPage(in.clientWidth, in.clientHeight, in.formName, in.orientation);
    if (m <= 0 || !page.valid) {
        ZD_FUZZ_CHECK(ops.size() == 2);
        ZD_FUZZ_CHECK(measured == 0);
        return 0;
    }
    ZD_FUZZ_CHECK(page.scale > 0);
    ZD_FUZZ_CHECK(measured == 1);

    // Page, surface and font in their fixed order; the copy comes last.
    ZD_FUZZ_CHECK(ops.size() >= 7 && ops.size() <= 10);
    ZD_FUZZ_CHECK(ops[2].kind == PreviewOpKind::Rectangle);
    ZD_FUZZ_CHECK(ops[3].kind == PreviewOpKind::Polyline);
    ZD_FUZZ_CHECK(ops[4].kind == PreviewOpKind::FillWhite);
    ZD_FUZZ_CHECK(ops[5].kind == PreviewOpKind::SelectFont);
    ZD_FUZZ_CHECK(ops[5].font == measuredFont);
    ZD_FUZZ_CHECK(ops[5].font.height != 0);
    ZD_FUZZ_CHECK(ops[5].font.escapement >= -1800 && ops[5].font.escapement <= 1800);
    const PreviewOp& copy = ops.back();
    ZD_FUZZ_CHECK(copy.kind == PreviewOpKind::CopyToControl);
    ZD_FUZZ_CHECK(copy.rect.right - copy.rect.left == page.width);
    ZD_FUZZ_CHECK(copy.rect.bottom - copy.rect.top == page.height);

    // Frames: as many as the frame style asks for, polygons closed.
    size_t ellipses = 0, polygons = 0, texts = 0;
    for (size_t i = 6; i + 1 < ops.size(); ++i) {
        const PreviewOp& op = ops[i];
        if (op.kind == PreviewOpKind::Ellipse) {
            ++ellipses;
            ZD_FUZZ_CHECK(op.rect.right >= op.rect.left && op.rect.bottom >= op.rect.top);
        } else if (op.kind == PreviewOpKind::Polygon) {
            ++polygons;
            ZD_FUZZ_CHECK(op.points.size() == 5 && op.points.front() == op.points.back());
        } else {
            ZD_FUZZ_CHECK(op.kind == PreviewOpKind::Text);
            ZD_FUZZ_CHECK(i + 2 == ops.size()); // the text is drawn last
            ZD_FUZZ_CHECK(op.rect == copy.rect);
            ++texts;
        }
        ZD_FUZZ_CHECK(op.target == PreviewTarget::Surface);
    }
    const bool hasText = cx > 0;
    ZD_FUZZ_CHECK(ellipses == ((in.frame == 1 && hasText) ? 1u : 0u));
    ZD_FUZZ_CHECK(polygons == (!hasText ? 0u : in.frame == 2 ? 1u : in.frame == 3 ? 2u : 0u));
    ZD_FUZZ_CHECK(texts == (in.size >= 1 ? 1u : 0u));

    // Controls of up to 600 pixels hold the whole page.
    if (m + 16 <= 600) {
        ZD_FUZZ_CHECK(copy.rect.left >= 0 && copy.rect.top >= 0);
        ZD_FUZZ_CHECK(copy.rect.right <= in.clientWidth && copy.rect.bottom <= in.clientHeight);
    }

    // A stored angle out of range draws as the same angle brought into range.
    PreviewInput same = in;
    same.angle = int16_t(NormalizePreviewAngle(in.angle));
    ZD_FUZZ_CHECK(SameOps(ops, ComposeWatermarkPreview(same, measure)));
    return 0;
}
