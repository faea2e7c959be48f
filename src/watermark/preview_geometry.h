// Geometry of the watermark preview: the miniature page with the rotated
// text and its frame, computed as a list of drawing operations so that the
// dialogs only have to execute them with GDI.
#pragma once

#include "core/page_size.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zd {

// round(10000 x sin(k degrees)) for k = 0..90; the preview takes every sine
// and cosine from here (cos k = kSinTable[90 - k]).
extern const int16_t kSinTable[91];

// Brings a stored angle into -180..180 (whole turns removed); angles already
// in range are returned as they are.
int NormalizePreviewAngle(int angle);

// Everything one preview needs: the control's client size, the document's
// paper and the working watermark's fields.
struct PreviewInput {
    int clientWidth = 0;
    int clientHeight = 0;
    std::u16string formName;
    int orientation = 1; // public DEVMODE: 1 portrait

    int32_t size = 0; // points
    int16_t angle = 0;
    int32_t x = 0; // points
    int32_t y = 0;
    uint32_t color = 0; // 0x00BBGGRR
    int32_t weight = 0;
    uint8_t italic = 0;
    uint8_t charSet = 0;
    uint16_t position = 3;
    uint16_t frame = 0;
    std::u16string text;
    std::u16string faceName;   // preview face of the chosen font entry
    bool japaneseFont = false; // such faces are drawn with the Shift-JIS set
};

// Scale and page rectangle of the miniature. `valid` is false when the
// client area is too small for a page (only the border is drawn then).
struct PreviewPage {
    bool valid = false;
    long long scale = 0; // hundredths of a point per pixel
    long long width = 0; // page in pixels
    long long height = 0;
    long long left = 0;
    long long top = 0;
};

PreviewPage ComputePreviewPage(int clientWidth, int clientHeight, std::u16string_view formName,
                               int orientation);

// The logical font of the preview text; every field not named is 0.
struct PreviewFont {
    int height = 1;
    int escapement = 0; // tenths of a degree
    int weight = 0;
    uint8_t italic = 0;
    uint8_t charSet = 0;
    std::u16string faceName;
    bool operator==(const PreviewFont& o) const {
        return height == o.height && escapement == o.escapement && weight == o.weight &&
               italic == o.italic && charSet == o.charSet && faceName == o.faceName;
    }
};

PreviewFont PreviewFontFor(const PreviewInput& in, long long scale);

// Text extent measured in the preview font, in pixels.
struct PreviewExtent {
    int cx = 0;
    int cy = 0;
};

// Placement of the text and its frame on the page.
struct PreviewLayout {
    int angle = 0; // normalised
    int k = 0;     // table angle of the bounding box, 0..90
    int flag = 0;  // corner order of the frame polygons
    int k2 = 0;    // table angle of the frame polygons
    bool big = false;
    long long cx = 0, cy = 0;
    long long bw = 0, bh = 0; // rotated text box
    long long dx = 0, dy = 0; // text origin inside that box
    long long w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    long long bw1 = 0, bh1 = 0, bw2 = 0, bh2 = 0;
    long long diameter = 0;
    long long boxWidth = 0, boxHeight = 0; // the box that is positioned
    long long px = 0, py = 0;
    long long fx = 0, fy = 0; // frame box corner
    long long tx = 0, ty = 0; // text box corner
    long long textX = 0, textY = 0;
};

PreviewLayout ComputePreviewLayout(const PreviewInput& in, const PreviewPage& page,
                                   PreviewExtent extent);

struct PreviewPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PreviewPoint& o) const { return x == o.x && y == o.y; }
};

struct PreviewRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PreviewRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

enum class PreviewOpKind : uint8_t {
    Polyline,      // points, pen
    Rectangle,     // rect (right and bottom exclusive), pen, no fill
    FillWhite,     // rect
    SelectFont,    // font
    Ellipse,       // rect, pen, white fill
    Polygon,       // points (closed: the last equals the first), pen
    Text,          // points[0] = bottom-left reference, rect = clip, color, text
    CopyToControl, // rect of the surface copied to the same place on the control
};

enum class PreviewTarget : uint8_t { Control, Surface };

enum class PreviewPen : uint8_t { None, ButtonShadow, ButtonHighlight, Black, Watermark };

struct PreviewOp {
    PreviewOpKind kind = PreviewOpKind::Polyline;
    PreviewTarget target = PreviewTarget::Control;
    PreviewPen pen = PreviewPen::None;
    int penWidth = 0;
    uint32_t color = 0;
    std::vector<PreviewPoint> points;
    PreviewRect rect;
    PreviewFont font;
    std::u16string text;
};

// Measures a text in a font; the Windows side does it with the real font.
using PreviewMeasure = std::function<PreviewExtent(const PreviewFont&, std::u16string_view)>;

// The drawing operations of one preview, in the order they are to be done:
// border, page outline and shadow, white surface, font, frame, text, copy.
std::vector<PreviewOp> ComposeWatermarkPreview(const PreviewInput& in,
                                               const PreviewMeasure& measure);

} // namespace zd
