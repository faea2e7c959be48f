#include "core/process_state.h"

namespace zd {

ProcessState& Process() {
    static ProcessState state;
    return state;
}

} // namespace zd
