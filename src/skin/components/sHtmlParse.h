// A small subset of HTML laid out and drawn on a bitmap's canvas: B, I, U,
// FONT (SIZE, COLOR, FACE), A HREF, BR, P and character entities, wrapped
// word by word inside an area. Measuring and drawing walk the text the same
// way; every link's rectangle is recorded. Malformed markup never fails:
// unknown tags and entities show as text, a "<" without ">" is dropped.
#pragma once

#include "Graphics.h"
#include <vector>

class TsSkinManager;

struct TacLink {
    TRect Bounds;
    String URL;
};
using TacLinks = std::vector<TacLink>;

// When set, a carriage return in the text ends the row (nothing sets it).
extern bool BreakOnCarriageReturn;

class TsHtml : public TObject {
public:
    TsHtml();
    ~TsHtml() override;

    void Init(TBitmap* Bmp, const String& Text, Integer APressedLink, Integer AHotLink, const TRect& aRect);
    // Measures (CalcOnly) or draws; answers (0, 0, width, height) of what the
    // text needs and hands back the links found.
    TRect HTMLText(TacLinks& ALinks, bool CalcOnly);

    // s is the upper-cased tag with its brackets; CurPos its place in Origin
    // (negative: s itself stands for the tag as written).
    bool ExecTag(const String& s, Integer CurPos);
    void NewFont(const String& s, bool IsLink, Integer State);
    void BackFont();
    void NewRow();
    // Shows Origin between the two positions (CR and LF left out).
    void ShowCut(Integer inCurPos, Integer inLastPos);
    // The entity at inPos ("&name;") as written after showing its character,
    // or empty when there is none.
    String GetSpecialCharacter(const String& inString, Integer inPos);

    bool Calculating = false;
    String Origin;
    String UppedText;
    Integer Len = 0;
    Integer CurX = 0;
    Integer CurY = 0;
    Integer HotLink = -1;
    Integer WrapWidth = 0;
    Integer PressedLink = -1;
    Integer MaxBmpWidth = 0;
    Integer MaxBmpHeight = 0;
    Integer CurWidthValue = 0;
    Integer CurrentRowHeight = 0;
    TRect Area;
    TacLinks Links;
    TBitmap* Bitmap = nullptr;
    bool AlphaChannel = false;
    std::vector<TOwned<TFont>> aFonts;
    TsSkinManager* SkinManager = nullptr;

private:
    void DrawPiece(Integer X, Integer Y, const String& Text, const TSize& Size);
    void WrapWords(const String& Text);
    void RowBreak();
    // The link an "A" opened and no "/A" closed yet, or -1.
    Integer openLink_ = -1;
};

// The colour of a COLOR attribute's value, as FONT reads it.
TColor HtmlColorValue(const String& UpperValue);
