// The working record shared by all pages and dialogs of one document
// property sheet. Zero-filled in the driver's heap by CommonUIProp.
#pragma once

#include "abi/oemui_abi.h"

#include <cstdint>

namespace zd {

struct WatermarkRecord;
struct WatermarksAsRead;
struct OverlayList;
struct OverlayDefinition;

constexpr uint32_t kNoSlot = 0xFFFF;
constexpr int kSlotCount = 80;
constexpr int kMaxWatermarkEntries = 32;
constexpr int kMaxOverlayDefinitions = 32;

// Indexes into UiContext::slots and UiContext::selections.
namespace slot {
constexpr int Color = 10;        // public id 6, index only
constexpr int ColorControl = 11; // "ZDControl"; selection: colour mode
constexpr int SeparationOrder = 12;
constexpr int OverPrint = 13;
constexpr int ProcessMode = 14;
constexpr int BlackSubstitution = 16;
constexpr int AlwaysPrintHalftone = 17;
constexpr int RenderStyle = 18;
constexpr int RenderDict = 19;
constexpr int Reserved20 = 20;
constexpr int TargetColor = 21;
constexpr int CustomCalibration = 22;
constexpr int Reserved23 = 23;
constexpr int HalftoneMode = 24;
constexpr int OutputMode = 25;
constexpr int Orientation = 26; // public id 1, index only
constexpr int JobType = 28;
constexpr int Copies = 29; // public id 3
constexpr int Collate = 30;
constexpr int OutputBin = 31;
constexpr int Staple = 32;
constexpr int Scale = 33; // public id 2
constexpr int DrumClean = 34;
constexpr int HddSpool = 35;
constexpr int Mirror = 36;   // pName string id 423
constexpr int Negative = 37; // pName string id 424
constexpr int Overlay = 38;
constexpr int OverlayStoreState = 39; // selection only: 0 initial, 1 working, 2 committed
constexpr int PagesPerSheet = 40;     // public id 16, index only
constexpr int Punch = 41;
constexpr int BindPosition = 42;
constexpr int Duplex = 43;           // public id 7, index only
constexpr int PsOutputOption = 45;   // item id 25, index only
constexpr int ColorSettingWord = 50; // selection only
constexpr int ColorWord = 51;        // selection only
constexpr int SelectedWatermark = 52;
constexpr int WatermarkLoaded = 53;
constexpr int WatermarkCount = 54;
constexpr int Compression = 55; // slot: 0 offered, else 0xFFFF; selection: level
constexpr int ColorIcms = 56;
constexpr int CmykProfile = 57;
constexpr int RgbProfile = 58;
constexpr int CmykInputProfile = 59;
constexpr int CmykLinkProfile = 60;
constexpr int OutProfile = 61;
constexpr int SimProfile = 62;
constexpr int PureBlack = 63;
constexpr int PreserveBlack = 64;
constexpr int ColorMatch = 65;
constexpr int Resolution = 67; // public id 5 or "ZDResolution"
constexpr int ImageSmoothing = 68;
constexpr int BlackSubGray = 69;
constexpr int CommittedFirstPage = 70;  // selection only
constexpr int CommittedBackground = 71; // selection only
constexpr int ScreenObo = 72;
constexpr int HairLine = 73;
constexpr int Trapping = 76;
} // namespace slot

struct UiContext {
    HANDLE sheet;
    HANDLE jobOptionsPage;
    HANDLE colorPage;
    HANDLE sparePage;
    OEMUIPSPARAM* pageParam;
    OEMCUIPPARAM* treeParam;
    PFNCOMPROPSHEET sheetService;
    uint32_t slots[kSlotCount];
    uint32_t selections[kSlotCount];
    OverlayList* overlayList;
    OverlayDefinition* overlayDefinitions[kMaxOverlayDefinitions];
    WatermarkRecord* watermarks[kMaxWatermarkEntries];
    WatermarkRecord* watermarkSnapshot[kMaxWatermarkEntries];
    uint32_t snapshotCount;
    uint32_t snapshotSelection;
    WCHAR numberText[12];
    WatermarkRecord* workingWatermark;
    WCHAR* configFilePath;
    HANDLE extensionPage;
    WatermarksAsRead* watermarksAsRead; // the stored list when this sheet read it
    HANDLE finishingPage;
};

// The printer sheet's counterpart.
struct DeviceUiContext {
    HANDLE sheet;
    LPARAM lParamInit;
    PFNCOMPROPSHEET sheetService;
    OEMCUIPPARAM* treeParam;
};

} // namespace zd
