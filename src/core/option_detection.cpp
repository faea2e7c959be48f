#include "core/option_detection.h"

namespace zd {

// The extension libraries are not consulted yet: every way in reports that
// nothing was detected, which leaves the device items as they are.
bool DetectOptionsDirect(OEMCUIPPARAM*, DetectedOptions*) {
    return false;
}

bool DetectOptionsFromPort(OEMCUIPPARAM*, DetectedOptions*) {
    return false;
}

bool IsPortValidForNetwork(OEMCUIPPARAM*) {
    return false;
}

} // namespace zd
