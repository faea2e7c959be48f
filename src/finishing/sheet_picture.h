// The picture of the sheet on the Finishing page: the page in its
// orientation, the binding edge, the staples and the punched holes, as
// rectangles in the picture control's client pixels, so that the page only
// has to fill them with GDI.
#pragma once

#include "core/page_size.h"

#include <cstdint>

namespace zd {

// Binding positions, as the driver's options run.
namespace binding {
constexpr uint32_t Left = 0;
constexpr uint32_t Right = 1;
constexpr uint32_t Top = 2;
constexpr uint32_t Bottom = 3;
constexpr uint32_t Centre = 4;
} // namespace binding

constexpr uint32_t kMaxPictureStaples = 2;
constexpr uint32_t kMaxPictureHoles = 4;

struct SheetPictureInput {
    int clientWidth = 0;
    int clientHeight = 0;
    PageSize paper; // already turned to the document's orientation
    uint32_t binding = binding::Top;
    uint32_t staple = 0; // staple option: that many staples (two at most)
    uint32_t punch = 0;  // punch option: none, or one hole more than the option (four at most)
};

// Right and bottom edges are exclusive.
struct PictureRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Fixed room for the marks: a picture never holds more.
struct SheetPicture {
    bool valid = false; // false: the control is too small, only its background is drawn
    PictureRect page;
    PictureRect bindingEdge; // band along the binding edge (the fold for centre binding)
    PictureRect staples[kMaxPictureStaples];
    uint32_t stapleCount = 0;
    PictureRect holes[kMaxPictureHoles]; // bounding boxes of round holes
    uint32_t holeCount = 0;
};

SheetPicture LayOutSheetPicture(const SheetPictureInput& in);

} // namespace zd
