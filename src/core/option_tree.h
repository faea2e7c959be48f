// The driver's common-UI option tree: CommonUIProp in document and printer
// mode, and the writing of working selections back into the driver's items.
#pragma once

#include "abi/oemui_abi.h"
#include "core/option_detection.h"
#include "core/ui_context.h"

namespace zd {

class PluginSession;

HRESULT RunCommonUIProp(PluginSession& plugin, DWORD mode, OEMCUIPPARAM* param);

// Sets driver item `index` to `*selection` through DrvUpdateUISetting. A
// refused change writes the previous selection back into `*selection`.
// Index 0xFFFF (absent) does nothing and answers 0.
BOOL SetDriverItemSelection(OEMCUIPPARAM* tree, uint32_t index, uint32_t* selection, DWORD mode);

// Hands every working selection of the sheet to the driver in the fixed
// order; returns the answer of the last driver call.
BOOL ApplyWorkingSelections(UiContext* ctx);

// Writes detected option selections into the device items.
void ApplyDetectedOptions(OEMCUIPPARAM* deviceTree, const DetectedOptions& detected);

// The item callbacks installed in the call blocks.
LONG APIENTRY DocumentItemCallback(PCPSUICBPARAM cb, POEMCUIPPARAM param);
LONG APIENTRY DeviceItemCallback(PCPSUICBPARAM cb, POEMCUIPPARAM param);

// String identifiers of the driver's own items that the plug-in matches.
constexpr ULONG_PTR kMirrorItemName = 423;
constexpr ULONG_PTR kNegativeItemName = 424;
constexpr ULONG_PTR kCollapsedDeviceItemName = 64798;
constexpr ULONG_PTR kPsOutputOptionItemId = 25;
constexpr BYTE kAutoDetectItemId = 2;

} // namespace zd
