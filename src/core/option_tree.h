// The driver's common-UI option tree: CommonUIProp in document and printer mode.
#pragma once

#include "abi/oemui_abi.h"
#include "core/ui_context.h"

namespace zd {

class OemUiPlugin;

HRESULT RunCommonUIProp(OemUiPlugin& plugin, DWORD mode, OEMCUIPPARAM* param);

} // namespace zd
