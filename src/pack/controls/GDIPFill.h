// A fill description that a control owns as a sub-object and paints with
// GDI+: a drop shadow, a body of one area or two mirror halves (solid,
// linear, angled, hatched, textured or radial), rounded corners, a
// background picture, a border, a glow, a dotted focus frame and a
// foreground picture. Every change fires OnChange unless an update is in
// progress. It saves to an INI section, a component stream and the
// clipboard format "GDI+ Fill".
#pragma once

#include "AdvGDIP.h"
#include "Classes.h"
#include "Graphics.h"
#include "IniFiles.h"
#include "System.h"
#include <memory>

// The grid's print positions use the same value names at global scope, and
// the program includes both units.
namespace GDIPFill {
enum TFillPicturePosition {
    ppTopLeft, ppTopCenter, ppTopRight, ppBottomLeft, ppBottomCenter, ppBottomRight, ppTiled, ppStretched,
    ppCenterLeft, ppCenterCenter, ppCenterRight, ppCustom
};
}
using GDIPFill::TFillPicturePosition;

enum TFillRoundingType { rtNone, rtTop, rtBottom, rtBoth, rtLeft, rtRight };
enum TFillPictureSize { psOriginal, psCustom };
enum TFillPictureMode { pmInsideFill, pmOutsideFill };
enum TPictureMode { pmStretch, pmNormal };
enum TShadowType { stRightBottom, stBottom, stSurround };
enum TGlowMode { gmNone, gmGradient, gmRadial, gmRadialGradient };

// Unit start-up: registers the clipboard format "GDI+ Fill" once.
void GDIPFill_Initialize();
void GDIPFill_Finalize();
// The registered format (0 before the start-up).
Word GDIPFillClipboardFormat();

class TGDIPFill : public TPersistent {
public:
    TGDIPFill();
    ~TGDIPFill() override;

    // Copies every published value from another fill, then notifies once;
    // any other source changes nothing.
    void Assign(TPersistent* Source) override;
    void BeginUpdate() { ++FUpdateCount; }
    // Lowers the update count; never notifies (the owner repaints itself).
    void EndUpdate();

    // Paints the whole fill into R. An opacity argument of 255 takes the
    // property; any other value replaces it for this call. Returns R less
    // the room the shadow took.
    TGPRectF Fill(TGPGraphics* Graphics, const TGPRectF& R, Byte ABorderOpacity = 255, Byte AOpacity = 255,
                  Byte AOpacityTo = 255, Byte AOpacityMirror = 255, Byte AOpacityMirrorTo = 255);
    // One half (or the single area) in the non-radial kinds.
    void DrawGradientBackGround(TGPGraphics* Graphics, const TGPRectF& R, bool Mirror, Byte oc, Byte octo,
                                Byte ocmr, Byte ocmrto);
    void DrawGlow(TGPGraphics* Graphics, const TGPRectF& R);

    // A closed figure traced clockwise from the top-left with the corners
    // of RoundingType rounded by Radius. A radius of 0 or less keeps every
    // corner square; an unknown type gives an empty figure.
    static std::unique_ptr<TGPGraphicsPath> CreateRoundedPath(const TGPRectF& R, int Radius,
                                                              TFillRoundingType RoundingType);
    // The size a w x h picture takes stretched into width x height keeping
    // its aspect; 0 x 0 when any of the four is 0 or less.
    static TSize FitPictureToRect(int w, int h, int width, int height, TPictureMode AspectMode);

    // INI section (keys written in a fixed order, pictures as hex text).
    void SaveToFile(const String& FileName, const String& Section);
    void LoadFromFile(const String& FileName, const String& Section);
    void SaveToFile(TCustomIniFile* ini, const String& Section);
    void LoadFromFile(TCustomIniFile* ini, const String& Section);
    // The component stream under "GDI+ Fill". Loading reads into a new fill
    // first: a malformed block raises and changes nothing.
    void SaveToClipBoard();
    void LoadFromClipBoard();

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value) { Set(FColor, Value); }
    TColor GetColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { Set(FColorTo, Value); }
    TColor GetColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor Value) { Set(FColorMirror, Value); }
    TColor GetColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor Value) { Set(FColorMirrorTo, Value); }
    TAdvGradientType GetGradientType() const { return FGradientType; }
    void SetGradientType(TAdvGradientType Value) { Set(FGradientType, Value); }
    TAdvGradientType GetGradientMirrorType() const { return FGradientMirrorType; }
    void SetGradientMirrorType(TAdvGradientType Value) { Set(FGradientMirrorType, Value); }
    ::HatchStyle GetHatchStyle() const { return FHatchStyle; }
    void SetHatchStyle(::HatchStyle Value) { Set(FHatchStyle, Value); }
    ::HatchStyle GetHatchStyleMirror() const { return FHatchStyleMirror; }
    void SetHatchStyleMirror(::HatchStyle Value) { Set(FHatchStyleMirror, Value); }
    bool GetBackGroundPictureAspectRatio() const { return FBackGroundPictureAspectRatio; }
    void SetBackGroundPictureAspectRatio(bool Value) { Set(FBackGroundPictureAspectRatio, Value); }
    TFillPictureMode GetBackGroundPictureMode() const { return FBackGroundPictureMode; }
    void SetBackGroundPictureMode(TFillPictureMode Value) { Set(FBackGroundPictureMode, Value); }
    TAdvGDIPPicture* GetBackGroundPicture() const { return FBackGroundPicture.get(); }
    void SetBackGroundPicture(TAdvGDIPPicture* Value);
    TFillPicturePosition GetBackGroundPicturePosition() const { return FBackGroundPicturePosition; }
    void SetBackGroundPicturePosition(TFillPicturePosition Value) { Set(FBackGroundPicturePosition, Value); }
    int GetBackGroundPictureLeft() const { return FBackGroundPictureLeft; }
    void SetBackGroundPictureLeft(int Value) { Set(FBackGroundPictureLeft, Value); }
    int GetBackGroundPictureTop() const { return FBackGroundPictureTop; }
    void SetBackGroundPictureTop(int Value) { Set(FBackGroundPictureTop, Value); }
    TPictureMode GetBackGroundPictureAspectMode() const { return FBackGroundPictureAspectMode; }
    void SetBackGroundPictureAspectMode(TPictureMode Value) { Set(FBackGroundPictureAspectMode, Value); }
    TAdvGDIPPicture* GetPicture() const { return FPicture.get(); }
    void SetPicture(TAdvGDIPPicture* Value);
    TFillPicturePosition GetPicturePosition() const { return FPicturePosition; }
    void SetPicturePosition(TFillPicturePosition Value) { Set(FPicturePosition, Value); }
    int GetPictureLeft() const { return FPictureLeft; }
    void SetPictureLeft(int Value) { Set(FPictureLeft, Value); }
    int GetPictureTop() const { return FPictureTop; }
    void SetPictureTop(int Value) { Set(FPictureTop, Value); }
    TFillPictureSize GetPictureSize() const { return FPictureSize; }
    void SetPictureSize(TFillPictureSize Value) { Set(FPictureSize, Value); }
    int GetPictureWidth() const { return FPictureWidth; }
    void SetPictureWidth(int Value) { Set(FPictureWidth, Value); }
    int GetPictureHeight() const { return FPictureHeight; }
    void SetPictureHeight(int Value) { Set(FPictureHeight, Value); }
    bool GetPictureAspectRatio() const { return FPictureAspectRatio; }
    void SetPictureAspectRatio(bool Value) { Set(FPictureAspectRatio, Value); }
    TPictureMode GetPictureAspectMode() const { return FPictureAspectMode; }
    void SetPictureAspectMode(TPictureMode Value) { Set(FPictureAspectMode, Value); }
    Byte GetOpacity() const { return FOpacity; }
    void SetOpacity(Byte Value) { Set(FOpacity, Value); }
    Byte GetOpacityTo() const { return FOpacityTo; }
    void SetOpacityTo(Byte Value) { Set(FOpacityTo, Value); }
    Byte GetOpacityMirror() const { return FOpacityMirror; }
    void SetOpacityMirror(Byte Value) { Set(FOpacityMirror, Value); }
    Byte GetOpacityMirrorTo() const { return FOpacityMirrorTo; }
    void SetOpacityMirrorTo(Byte Value) { Set(FOpacityMirrorTo, Value); }
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { Set(FBorderColor, Value); }
    Byte GetBorderOpacity() const { return FBorderOpacity; }
    void SetBorderOpacity(Byte Value) { Set(FBorderOpacity, Value); }
    int GetBorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { Set(FBorderWidth, Value); }
    int GetRounding() const { return FRounding; }
    void SetRounding(int Value) { Set(FRounding, Value); }
    TFillRoundingType GetRoundingType() const { return FRoundingType; }
    void SetRoundingType(TFillRoundingType Value) { Set(FRoundingType, Value); }
    TColor GetShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value) { Set(FShadowColor, Value); }
    int GetShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int Value) { Set(FShadowOffset, Value); }
    TShadowType GetShadowType() const { return FShadowType; }
    void SetShadowType(TShadowType Value) { Set(FShadowType, Value); }
    int GetAngle() const { return FAngle; }
    void SetAngle(int Value) { Set(FAngle, Value); }
    TGlowMode GetGlow() const { return FGlow; }
    void SetGlow(TGlowMode Value) { Set(FGlow, Value); }
    TColor GetGlowGradientColor() const { return FGlowGradientColor; }
    void SetGlowGradientColor(TColor Value) { Set(FGlowGradientColor, Value); }
    TColor GetGlowRadialColor() const { return FGlowRadialColor; }
    void SetGlowRadialColor(TColor Value) { Set(FGlowRadialColor, Value); }

    // Public, not published: the dotted focus frame.
    bool GetFocus() const { return FFocus; }
    void SetFocus(bool Value) { Set(FFocus, Value); }
    TColor GetFocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor Value) { Set(FFocusColor, Value); }
    // The rectangle inside the border that the last Fill computed.
    TGPRectF GetFocusRect() const { return FFocusRect; }

    TNotifyEvent OnChange;

private:
    friend struct TGDIPFillStore;
    template <class T>
    void Set(T& field, T value)
    {
        if (StoreChanged(field, value))
            Changed();
    }
    void Changed();
    void FillRadialArea(TGPGraphics* Graphics, const TGPRectF& R, TColor Color, TColor ColorTo, Byte AlphaColor,
                        Byte AlphaColorTo, bool AtTop, int Radius, TFillRoundingType RoundingType);
    void DrawFillPicture(TGPGraphics* Graphics, bool AspectRatio, TPictureMode AspectMode, TAdvGDIPPicture* Picture,
                         TFillPicturePosition Position, int w, int h, const TGPRectF& R, int X, int Y);

    TColor FColor = 0xC0C0C0;
    TColor FColorTo = 0x808080;
    TColor FColorMirror = clNone;
    TColor FColorMirrorTo = clNone;
    TAdvGradientType FGradientType = gtVertical;
    TAdvGradientType FGradientMirrorType = gtSolid;
    ::HatchStyle FHatchStyle = HatchStyleHorizontal;
    ::HatchStyle FHatchStyleMirror = HatchStyleHorizontal;
    bool FBackGroundPictureAspectRatio = false;
    TFillPictureMode FBackGroundPictureMode = pmOutsideFill;
    TOwned<TAdvGDIPPicture> FBackGroundPicture;
    TFillPicturePosition FBackGroundPicturePosition = GDIPFill::ppTopLeft;
    int FBackGroundPictureLeft = 0;
    int FBackGroundPictureTop = 0;
    TPictureMode FBackGroundPictureAspectMode = pmStretch;
    TOwned<TAdvGDIPPicture> FPicture;
    TFillPicturePosition FPicturePosition = GDIPFill::ppTopLeft;
    int FPictureLeft = 0;
    int FPictureTop = 0;
    TFillPictureSize FPictureSize = psOriginal;
    int FPictureWidth = 50;
    int FPictureHeight = 50;
    bool FPictureAspectRatio = false;
    TPictureMode FPictureAspectMode = pmStretch;
    Byte FOpacity = 255;
    Byte FOpacityTo = 255;
    Byte FOpacityMirror = 255;
    Byte FOpacityMirrorTo = 255;
    TColor FBorderColor = clNone;
    Byte FBorderOpacity = 255;
    int FBorderWidth = 1;
    int FRounding = 0;
    TFillRoundingType FRoundingType = rtBoth;
    TColor FShadowColor = 0x808080;
    int FShadowOffset = 0;
    TShadowType FShadowType = stRightBottom;
    int FAngle = 0;
    TGlowMode FGlow = gmNone;
    TColor FGlowGradientColor = 0xFFFFFF;
    TColor FGlowRadialColor = 0xFFFFFF;
    bool FFocus = false;
    TColor FFocusColor = 0;
    TGPRectF FFocusRect;
    int FUpdateCount = 0;
};

// The component stream of a fill: one component of class TSaver whose
// SaveObject is the fill, its values under "SaveObject.". Reading sets the
// streamed values on Fill. A nil fill fails an assertion.
void SaveFillToStream(TStream* Stream, TGDIPFill* Fill);
void LoadFillFromStream(TStream* Stream, TGDIPFill* Fill);

// Picture bytes as upper-case hexadecimal text and back; a character that
// is not a hexadecimal digit raises EConvertError "No Hex-Number", and a
// trailing odd character is ignored.
String StreamToHexText(TStream* Stream);
void HexTextToStream(const String& Text, TMemoryStream* Stream);
