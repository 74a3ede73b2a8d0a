// The char image list: glyphs of (icon) fonts rendered at any size and in
// any colour, and the default glyph list built at start-up.
#include "acAlphaImageList.h"
#include "ScopeExit.h"
#include "sGraphUtils.h"
#include "sSkinText.h"
#include "sWindowHelpers.h"
#include <cmath>

TsCharImageList* DefaultCharImageList = nullptr;
const wchar_t* const acStatePictureNames[5] = {L"SF", L"SR", L"SD", L"SE", L"SC"};

namespace {

int ScaleBy(int Value, int Step)
{
    switch (Step) {
    case 1: return Value + Value / 4;
    case 2: return Value + Value / 2;
    case 3: return Value * 2;
    default: return Value;
    }
}

int RoundScaled(int Value, double Factor)
{
    return static_cast<int>(std::lround(Value * Factor));
}

} // namespace

// ---------------------------------------------------------------------------
TacCharListItem::TacCharListItem(TCollection* Collection) : TCollectionItem(Collection) {}

TsCharImageList* TacCharListItem::List() const
{
    auto* items = GetCollection();
    return items ? dynamic_cast<TsCharImageList*>(items->GetOwner()) : nullptr;
}

void TacCharListItem::Invalidate()
{
    CacheBmp.reset();
    if (TsCharImageList* list = List())
        list->Change();
}

template <class T>
void TacCharListItem::Change(T& Field, const T& Value)
{
    if (Field == Value)
        return;
    Field = Value;
    Invalidate();
}

void TacCharListItem::SetChar(Word Value) { Change(FChar, Value); }
void TacCharListItem::SetPitch(TFontPitch Value) { Change(FPitch, Value); }
void TacCharListItem::SetColor(TColor Value) { Change(FColor, Value); }
void TacCharListItem::SetCharset(TFontCharset Value) { Change(FCharset, Value); }
void TacCharListItem::SetFontName(const String& Value) { Change(FFontName, Value); }
void TacCharListItem::SetStyle(TFontStyles Value) { Change(FStyle, Value); }
void TacCharListItem::SetOrientation(int Value) { Change(FOrientation, Value); }
void TacCharListItem::SetScalingFactor(double Value) { Change(FScalingFactor, Value); }
void TacCharListItem::SetOffsetY(int Value) { Change(FOffsetY, Value); }

void TacCharListItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TacCharListItem*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    if (source == this)
        return;
    FChar = source->FChar;
    FImageName = source->FImageName;
    FPitch = source->FPitch;
    FColor = source->FColor;
    FCharset = source->FCharset;
    FFontName = source->FFontName;
    FStyle = source->FStyle;
    FOrientation = source->FOrientation;
    FScalingFactor = source->FScalingFactor;
    FOffsetY = source->FOffsetY;
    Invalidate();
}

TBitmap* TacCharListItem::Image()
{
    TsCharImageList* list = List();
    if (!list)
        return nullptr;
    const TSize size = list->GlyphSize(GetIndex());
    const TColor wanted = list->ForeColor != clNone ? list->ForeColor : FColor;
    if (CacheBmp && CacheBmp->GetWidth() == size.cx && CacheBmp->GetHeight() == size.cy && cacheColor_ == wanted)
        return CacheBmp.get();
    CacheBmp.reset(MakeBitmap32(size.cx, size.cy));
    cacheColor_ = wanted;
    list->RenderCharGlyph(CacheBmp.get(), GetIndex(), FOffsetY, list->TCustomImageList::GetHeight());
    return CacheBmp.get();
}

TacCharListItems::TacCharListItems(TsCharImageList* AOwner) : TCollection(ItemClass<TacCharListItem>(), AOwner) {}

// ---------------------------------------------------------------------------
TsCharImageList::TsCharImageList(TComponent* AOwner)
    : TacImageList(AOwner), FItems(New<TacCharListItems>(this)),
      FEmbeddedFonts(New<TacEmbeddedFonts>(this, efkCharImageList))
{
    SetColorDepth(cd32Bit);
    TCustomImageList::SetSize(24, 24);
}

TsCharImageList::~TsCharImageList()
{
    AcChanging = true;
    FItems.reset();
}

int TsCharImageList::Count()
{
    return FItems ? FItems->Count() : 0;
}

TSize TsCharImageList::GlyphSize(int Index)
{
    const int width = TCustomImageList::GetWidth(), height = TCustomImageList::GetHeight();
    if (!ValidIndex(Index))
        return {width, height};
    const double factor = FItems->Items(Index)->GetScalingFactor();
    return {RoundScaled(width, factor), RoundScaled(height, factor)};
}

void TsCharImageList::TakeFontColor(TFont* Font, int Index)
{
    SetCharColor(Font->GetColor(), Index, Font->GetSize() == 0);
}

void TsCharImageList::RenderCharGlyph(TBitmap* Bmp, int Index, int Offset, int BaseHeight)
{
    if (!Bmp || !ValidIndex(Index) || Bmp->GetWidth() <= 0 || Bmp->GetHeight() <= 0)
        return;
    TacCharListItem* item = FItems->Items(Index);
    Bmp->SetPixelFormat(pf32bit);
    // White with alpha 0: what stays white is transparent.
    for (int y = 0; y < Bmp->GetHeight(); ++y) {
        auto* row = static_cast<Cardinal*>(Bmp->GetScanLine(y));
        std::fill(row, row + Bmp->GetWidth(), 0x00FFFFFFu);
    }
    const int fontHeight = RoundScaled(BaseHeight, item->GetScalingFactor());
    // A glyph of no size (a factor of 0 not yet worked out) draws nothing.
    if (fontHeight <= 0)
        return;
    TCanvas* canvas = Bmp->GetCanvas();
    TFont* font = canvas->GetFont();
    font->SetPitch(item->GetPitch());
    font->SetStyle(item->GetStyle());
    font->SetCharset(item->GetCharset());
    font->SetName(item->GetFontName());
    font->SetColor(clBlack);
    font->SetHeight(fontHeight);
    const wchar_t character = static_cast<wchar_t>(item->GetChar());
    HDC dc = canvas->GetHandle();
    TRect text(0, 0, 0, 0);
    DrawTextW(dc, &character, 1, &text, DT_CALCRECT | DT_NOPREFIX | DT_EXTERNALLEADING | DT_NOCLIP);
    const int width = text.Width(), height = text.Height();
    text.left = (Bmp->GetWidth() - width) / 2;
    text.top = (Bmp->GetHeight() - height) / 2;
    if (Offset != 0)
        text.top += RoundScaled(Offset, item->GetScalingFactor());
    text.right = text.left + width;
    text.bottom = text.top + height;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, &character, 1, &text, DT_VCENTER | DT_NOCLIP | DT_EXTERNALLEADING | DT_NOPREFIX);
    GdiFlush();

    const TColor colour = ForeColor != clNone ? ForeColor : item->GetColor() != clNone ? item->GetColor() : clBlack;
    const Cardinal pixel = SwapRedBlue(static_cast<Cardinal>(ColorToRGB(ColorToSkinColor(colour, nullptr)))) & 0xFFFFFF;
    for (int y = 0; y < Bmp->GetHeight(); ++y) {
        auto* row = static_cast<Cardinal*>(Bmp->GetScanLine(y));
        for (int x = 0; x < Bmp->GetWidth(); ++x) {
            const Cardinal c = row[x];
            const Cardinal grey = (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF)) / 3;
            row[x] = pixel | ((255 - grey) << 24);
        }
    }
    font->SetColor(colour);
}

TBitmap* TsCharImageList::CreateBitmap32Color(int Index, int aWidth, int aHeight, TColor CharColor)
{
    if (!HandleAllocated() || !ValidIndex(Index) || aWidth <= 0 || aHeight <= 0)
        return nullptr;
    ForeColor = CharColor;
    TOwned<TBitmap> bmp(MakeBitmap32(aWidth, aHeight));
    const int offset = FItems->Items(Index)->GetOffsetY();
    const int step = std::clamp(FSavedScale, 0, 3);
    RenderCharGlyph(bmp.get(), Index, step ? offset * ScalePercents[step] / 100 : offset,
                    TCustomImageList::GetHeight());
    return bmp.release();
}

TBitmap* TsCharImageList::CreateBitmap32(int Index, int aWidth, int aHeight)
{
    return CreateBitmap32Color(Index, aWidth, aHeight, ForeColor);
}

bool TsCharImageList::GetBitmap32(int Index, TBitmap* Image, int GlyphHeight)
{
    if (!HandleAllocated() || !Image || !ValidIndex(Index))
        return true;
    const TSize size = GlyphSize(Index);
    if (Image->GetWidth() == size.cx && Image->GetHeight() == size.cy) {
        Image->Assign(FItems->Items(Index)->Image());
        return true;
    }
    Image->SetPixelFormat(pf32bit);
    const int base = GlyphHeight ? GlyphHeight : Image->GetHeight();
    const int listHeight = TCustomImageList::GetHeight();
    // A list of no height gives no offset rather than a division by zero.
    const int offset = listHeight ? GlyphHeight * FItems->Items(Index)->GetOffsetY() / listHeight : 0;
    RenderCharGlyph(Image, Index, offset, base);
    return true;
}

void TsCharImageList::GenerateStdList()
{
    ForeColor = clNone;
    if (!SavedHeight && TCustomImageList::GetWidth() == 16 && TCustomImageList::GetHeight() == 16 &&
        GetUpdateCount() == 0) {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        FreeImageList();
        SavedWidth = SavedHeight = 16;
    }
    const bool changing = AcChanging;
    AcChanging = true;
    const TScopeExit restore([&] { AcChanging = changing; });
    ImageList_Remove(GetHandle(), -1);
    for (int i = 0; i < FItems->Count(); ++i) {
        const TSize size = GlyphSize(i);
        TOwned<TBitmap> bmp(CreateBitmap32(i, std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1)));
        AddBitmap32ToList(bmp.get(), -1);
    }
    if (FItems->Count() > 0)
        StdListIsGenerated = true;
}

void TsCharImageList::UpdateStd(int i)
{
    if (!ValidIndex(i) || !HandleAllocated() || i >= NativeCount())
        return;
    ForeColor = clNone;
    const bool changing = AcChanging;
    AcChanging = true;
    const TScopeExit restore([&] { AcChanging = changing; });
    AddBitmap32ToList(FItems->Items(i)->Image(), i);
}

void TsCharImageList::Change()
{
    if (AcChanging || !StdListIsGenerated || ComponentState().Contains(csLoading) || !HandleAllocated() || !FItems)
        return;
    const int items = FItems->Count(), native = NativeCount();
    if (items < native)
        return;
    if (items != native) {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        GenerateStdList();
    }
    TacImageList::Change();
}

void TsCharImageList::Loaded()
{
    TacImageList::Loaded();
    for (int i = 0; i < FEmbeddedFonts->Count(); ++i)
        FEmbeddedFonts->Items(i)->LoadFont();
    FLoaded = true;
    if (SavedWidth) {
        FreeImageList();
    } else if (TCustomImageList::GetWidth() == 16 && TCustomImageList::GetHeight() == 16) {
        FreeImageList();
        SavedWidth = SavedHeight = 16;
    }
    if (!SavedWidth)
        SavedWidth = TCustomImageList::GetWidth();
    if (!SavedHeight)
        SavedHeight = TCustomImageList::GetHeight();
    {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        for (int i = 0; i < FItems->Count(); ++i) {
            TacCharListItem* item = FItems->Items(i);
            if (item->GetScalingFactor() == 0) {
                item->SetScalingFactor(CalcFontScalingFactor(item->GetCharset(), item->GetFontName()));
                item->SetColor(clNone);
            }
        }
    }
    if (!StdListIsGenerated) {
        GenerateStdList();
        StdListIsGenerated = true;
        Change();
    }
}

double CalcFontScalingFactor(TFontCharset Charset, const String& FontName)
{
    LOGFONTW lf{};
    lf.lfHeight = -96;
    lf.lfCharSet = Charset;
    wcsncpy(lf.lfFaceName, FontName.c_str(), LF_FACESIZE - 1);
    TFontHandle font(CreateFontIndirectW(&lf));
    return font ? GetFontTextHeight(font.Get(), true) / 96.0 : 1.0;
}

void TsCharImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT, bool)
{
    if (!HandleAllocated() || !Canvas || !ValidIndex(Index))
        return;
    TacCharListItem* item = FItems->Items(Index);
    const int listWidth = TCustomImageList::GetWidth(), listHeight = TCustomImageList::GetHeight();
    TSize size(listWidth, listHeight);
    if (item->GetScalingFactor() != 1.0 || item->GetOffsetY() != 0)
        size = GlyphSize(Index);
    const int dx = (size.cx - listWidth) / 2, dy = (size.cy - listHeight) / 2;
    if (size.cx <= 0 || size.cy <= 0)
        return;
    TOwned<TBitmap> work(MakeBitmap32(size.cx, size.cy));
    HDC dc = Canvas->GetHandle();
    BitBlt(work->GetCanvas()->GetHandle(), 0, 0, size.cx, size.cy, dc, X - dx, Y - dy, SRCCOPY);
    const TColor colour = item->GetColor() != clNone ? item->GetColor() : Canvas->GetFont()->GetColor();
    PaintGlyphMask(work.get(), item->Image(), TPoint(0, 0), ColorToSkinColor(colour, nullptr), clNone);
    BitBlt(dc, X - dx, Y - dy, size.cx, size.cy, work->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
}

void TsCharImageList::SetCharColor(TColor AColor, int AIndex, bool IgnoreDefault)
{
    if (!IgnoreDefault && ValidIndex(AIndex) && FItems->Items(AIndex)->GetColor() != clNone)
        ForeColor = FItems->Items(AIndex)->GetColor();
    else
        ForeColor = AColor;
}

int TsCharImageList::AddItem(const TacCharItemData& ItemData)
{
    TacCharListItem* item;
    {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        item = FItems->Add();
        item->SetChar(ItemData.Char);
        item->SetFontName(ItemData.FontName);
        item->SetCharset(ItemData.Charset);
        item->SetColor(ItemData.Color);
        item->SetOrientation(ItemData.Orientation);
        item->SetPitch(ItemData.Pitch);
        item->SetStyle(ItemData.Style);
        item->SetScalingFactor(ItemData.ScalingFactor);
        item->SetOffsetY(ItemData.OffsetY);
        AddBitmap32ToList(item->Image(), -1);
    }
    StdListIsGenerated = true;
    return FItems->Count() - 1;
}

bool TsCharImageList::AddEmbeddedFont(const String& FileName, const String& FontName)
{
    if (!FileExists(FileName))
        return false;
    if (FontIndex(FontName) < 0) {
        TacEmbeddedFont* font = FEmbeddedFonts->Add();
        font->SetFontName(FontName);
        font->SetFileName(FileName);
        font->FontData->LoadFromFile(FileName);
        font->LoadFont();
    }
    return true;
}

int TsCharImageList::FontIndex(const String& aFontName) const
{
    for (int i = 0; i < FEmbeddedFonts->Count(); ++i)
        if (SameText(FEmbeddedFonts->Items(i)->GetFontName(), aFontName))
            return i;
    return -1;
}

void TsCharImageList::Clear()
{
    {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        FItems->Clear();
    }
    TacImageList::Clear();
}

void TsCharImageList::ClearCache()
{
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->Items(i)->CacheBmp.reset();
}

void TsCharImageList::CopyImages(TsCharImageList* ImgList)
{
    if (!HandleAllocated() || !ImgList || ImgList == this)
        return;
    if (ImgList->HandleAllocated())
        ImageList_SetBkColor(ImgList->GetHandle(), CLR_NONE);
    {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        FItems->Clear();
        for (int i = 0; i < ImgList->FItems->Count(); ++i)
            FItems->Add()->Assign(ImgList->FItems->Items(i));
    }
    GenerateStdList();
}

void TsCharImageList::Assign(TPersistent* Source)
{
    if (!Source) {
        FreeImageList();
        return;
    }
    auto* source = dynamic_cast<TsCharImageList*>(Source);
    if (!source) {
        TacImageList::Assign(Source);
        return;
    }
    if (source == this)
        return;
    AcBeginUpdate();
    const TScopeExit end([this] { AcEndUpdate(false); });
    AssignListSettings(source);
    FEmbeddedFonts->Assign(source->FEmbeddedFonts.get());
    CopyImages(source);
}

void TsCharImageList::SetListSize(int AWidth, int AHeight)
{
    if (FLoaded) {
        SavedWidth = AWidth;
        SavedHeight = AHeight;
        FSavedScale = IsScaling() ? DefaultManager->GetScale() : 0;
    }
    const int step = IsScaling() ? FSavedScale : 0;
    {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        TCustomImageList::SetSize(ScaleBy(AWidth, step), ScaleBy(AHeight, step));
    }
    if (FLoaded && !ComponentState().Contains(csLoading) && GetUpdateCount() == 0 &&
        FItems->Count() >= NativeCount()) {
        GenerateStdList();
        Change();
    }
}

void TsCharImageList::SetScaleValue(int Value)
{
    if (Value == FSavedScale || !IsScaling())
        return;
    const bool updating = GetUpdateCount() > 0;
    {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        FSavedScale = Value;
        if (HandleAllocated())
            ImageList_Remove(GetHandle(), -1);
        FreeImageList();
        ClearCache();
        GenerateStdList();
    }
    if (!updating)
        TacImageList::Change();
}

// ---------------------------------------------------------------------------
namespace {

struct TDefaultGlyph {
    const wchar_t* FontName;
    Word Char;
    double ScalingFactor;
    int OffsetY;
};

constexpr TDefaultGlyph DefaultGlyphs[] = {
    {L"FontAwesome", 0xF016, 1.0, 0},  {L"FontAwesome", 0xF115, 1.0, 0},  {L"FontAwesome", 0xF274, 1.0, 0},
    {L"FontAwesome", 0xF141, 1.0, 4},  {L"FontAwesome", 0xF1EC, 1.0, 0},  {L"FontAwesome", 0xF192, 1.25, 0},
    {L"FontAwesome", 0xF00C, 1.0, 0},  {L"FontAwesome", 0xF047, 0.9, 1},  {L"FontAwesome", 0xF1FB, 1.0, 0},
    {L"FontAwesome", 0xF00C, 1.1, 0},  {L"FontAwesome", 0xF00D, 1.1, 0},  {L"FontAwesome", 0xF067, 0.8, 2},
    {L"FontAwesome", 0xF0D8, 1.3, 0},  {L"FontAwesome", 0xF01E, 0.9, 1},  {L"FontAwesome", 0xF048, 0.8, 2},
    {L"FontAwesome", 0xF053, 0.8, 2},  {L"FontAwesome", 0xF054, 0.8, 2},  {L"FontAwesome", 0xF051, 0.8, 2},
    {L"FontAwesome", 0xF068, 0.8, 2},  {L"FontAwesome", 0xF00C, 0.8, 0},  {L"FontAwesome", 0xF00D, 0.8, 0},
    {L"Marlett", L'0', 1.0, 0},        {L"Marlett", L'1', 1.0, 0},        {L"Marlett", L'2', 1.0, 0},
    {L"Marlett", L'r', 1.0, 0},
};

} // namespace

void BuildDefaultCharImageList()
{
    if (DefaultCharImageList)
        return;
    TOwned<TsCharImageList> list(New<TsCharImageList>(nullptr));
    list->SetBkColor(0xFFFFFF);
    list->SetWidth(16);
    list->SetHeight(14);
    {
        list->AcBeginUpdate();
        for (const TDefaultGlyph& glyph : DefaultGlyphs) {
            TacCharListItem* item = list->GetItems()->Add();
            item->SetFontName(glyph.FontName);
            item->SetChar(glyph.Char);
            item->SetScalingFactor(glyph.ScalingFactor);
            item->SetOffsetY(glyph.OffsetY);
        }
        list->AcEndUpdate(false);
    }
    list->GenerateStdList();
    DefaultCharImageList = list.release();
}
