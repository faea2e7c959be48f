// The proportions of the document's paper as the pictures of the pages
// draw it: a size chosen from the public DEVMODE's form name.
#pragma once

#include <string_view>

namespace zd {

// Page size in tenths of a millimetre.
struct PageSize {
    int width = 0;
    int height = 0;
};

// By testing characters of the public DEVMODE's form name; a non-portrait
// orientation (anything but 1) swaps width and height. A name that matches
// no row gives A4.
PageSize PageSizeFromFormName(std::u16string_view formName, int orientation);

} // namespace zd
