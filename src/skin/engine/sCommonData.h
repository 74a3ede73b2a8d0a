// The skin state of skinned controls and forms (TsCommonData, declared with
// the tables in acEngineServices.h), its scroll-bar and outer-effect
// companions, the free routines that work on skin states, and the common
// handling of the library command and of shared window messages.
//
// Split by topic: sCommonData.cpp (sections, indexes, updating, hot state),
// sCommonDataColors.cpp (colours, background answers, parent sections,
// cache painting), sCommonDataMessages.cpp (commands, messages, glow and
// outer effects).
#pragma once

#include "Controls.h"
#include "acEngineServices.h"
#include "acntTypes.h"
#include "sMessages.h"

// ---------------------------------------------------------------------------
// Control-kind codes (TsCommonData::COC) by what they share.
namespace kind_codes {
constexpr bool InRanges(Byte Code, std::initializer_list<std::pair<int, int>> Ranges)
{
    for (const auto& range : Ranges)
        if (Code >= range.first && Code <= range.second)
            return true;
    return false;
}
} // namespace kind_codes

constexpr bool IsEditKind(Byte Code)
{
    return kind_codes::InRanges(Code, {{2, 18}, {76, 84}, {132, 140}, {231, 231}});
}
constexpr bool IsHoverEditKind(Byte Code) { return IsEditKind(Code) || Code == 85; }
constexpr bool IsNoHoverKind(Byte Code)
{
    return kind_codes::InRanges(Code, {{19, 19}, {51, 74}, {110, 110}, {141, 161}});
}
constexpr bool IsFrameRepaintKind(Byte Code)
{
    return kind_codes::InRanges(Code, {{7, 8}, {10, 10}, {14, 14}, {78, 78}, {83, 83}, {85, 85}, {231, 231}});
}
constexpr bool IsNoGlowKind(Byte Code)
{
    return kind_codes::InRanges(Code, {{51, 51}, {54, 54}, {56, 59}, {74, 74}, {110, 110}, {141, 141},
                                       {143, 143}, {151, 151}, {161, 161}, {226, 226}});
}
constexpr bool IsOwnGlowKind(Byte Code) { return Code >= 92 && Code <= 94; }

// ---------------------------------------------------------------------------
class TsScrollWndData;

// Scroll-bar sizes of a window with skinned scroll bars; -1 takes the skin's.
class TacScrollData : public TPersistent {
public:
    explicit TacScrollData(TsCommonData* AOwner) : FOwner(AOwner) {}
    Integer GetScrollWidth() const { return FScrollWidth; }
    Integer GetButtonsSize() const { return FButtonsSize; }
    // Index 0 ScrollWidth, 1 ButtonsSize: a new value repaints the frame.
    void SetIntProp(int Index, Integer Value);
    void Invalidate() {}

    Integer FScrollWidth = -1;
    Integer FButtonsSize = -1;
    TsCommonData* FOwner;
};

// The skin state of windows with skinned scroll bars, and of forms.
class TsScrollWndData : public TsCommonData {
public:
    explicit TsScrollWndData(TObject* AOwner, bool CreateCacheBmp = false);
    ~TsScrollWndData() override;
    TacScrollData* HorzScrollData() const { return FHorzScrollData; }
    TacScrollData* VertScrollData() const { return FVertScrollData; }

    TacScrollData* FHorzScrollData = nullptr;
    TacScrollData* FVertScrollData = nullptr;
};

// The argument of command 66: the asker's state and section, its bounds in
// each receiver's coordinates on the way up, and the manager.
struct TacStateSectionRequest {
    Integer State = 0;
    Integer SkinIndex = 0;
    TRect R;
    TsSkinManager* SkinManager = nullptr;
};

// ---------------------------------------------------------------------------
// Free routines.
bool ContentShiftsOnClick(Integer SkinIndex, TsSkinManager* Manager);
bool IsStateSeeThrough(TsSkinManager* Manager, Integer SkinIndex, Integer State, TControl* Control);
Integer EngineResolveParentSkinIndex(TControl* Control, Integer SkinIndex, TsSkinManager* Manager, Integer State);
Integer QueryParentSkinIndex(TControl* Control, TacStateSectionRequest& Request);
Integer QueryWndParentSkinIndex(HWND Wnd, TacStateSectionRequest& Request);
TColor GetSkinFontColor(TControl* Control, Integer SkinIndex, TsSkinManager* Manager, TsCommonData* SkinData,
                        Integer State);
TColor GetWndSkinFontColor(HWND Wnd, Integer SkinIndex, TsSkinManager* Manager, Integer State);
void GetParentWndCacheInfo(HWND Wnd, TCacheInfo& Info);
void ApplyColorAdjustments(TBitmap* Bmp, TsCommonData* SkinData, TColor Tone, Integer State);
void ClearTransparentCorners(Integer SkinIndex, TBitmap* Bmp, TsSkinManager* Manager);
void FinishAnimTimer(TacThreadedTimer* Timer);
// Copies the cache of SkinData into DC's ClipRect except where opaque
// children lie (their bounds moved by DX, DY).
void PaintCacheExceptChildren(TWinControl* Control, TsCommonData* SkinData, const TRect& SrcRect, int DY, int DX,
                              bool RepaintCorners, HDC DC, const TRect& ClipRect);
// The same for a bare window: group boxes are left out by their frame only.
void PaintCacheExceptChildWnds(HWND Wnd, TsCommonData* SkinData, const TRect& SrcRect, int DY, int DX,
                               bool RepaintCorners, HDC DC, const TRect& ClipRect);

// ---------------------------------------------------------------------------
// The common handling. HandleSkinCommand: True when the command was handled
// (also for a null state or another message). HandleSkinMessage: True when
// the message must not reach the window's own procedure.
bool HandleSkinCommand(TMessage& Message, TsCommonData* SkinData);
bool HandleSkinMessage(TMessage& Message, TsCommonData* SkinData);

// The engine's routines put in place of the graphics foundation's defaults.
void sCommonData_Initialize();
void sCommonData_Finalize();
