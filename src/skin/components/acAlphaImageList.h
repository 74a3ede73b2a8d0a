// Image lists for images with a full alpha channel. Each image is kept as its
// source file (PNG, icon or 32-bit bitmap) in an item, and as a 32-bit icon
// in the native list; the native list is rebuilt from the items whenever the
// size or the scale changes, so images are always rendered from their data
// at the size in use. Also the glyph drawing routines that skinned controls
// use for any image list.
#pragma once

#include "ImgList.h"
#include "acFontStore.h"

enum TsImageFormat { ifPNG, ifICO, ifBMP32 };

class TsAlphaImageList;

class TsImgListItem : public TCollectionItem {
public:
    explicit TsImgListItem(TCollection* Collection);
    // Copies format, name, pixel format, text and data; not the cache.
    void Assign(TPersistent* Source) override;

    const String& GetText() const { return FText; }
    void SetText(const String& Value) { FText = Value; }
    const String& GetImageName() const { return FImageName; }
    void SetImageName(const String& Value) { FImageName = Value; }
    TsImageFormat GetImageFormat() const { return FImageFormat; }
    void SetImageFormat(TsImageFormat Value) { FImageFormat = Value; }
    TPixelFormat GetPixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value) { FPixelFormat = Value; }

    // The item's properties in a component stream, "ImgData" holding the
    // file's bytes exactly. A bad "ImgData" length raises EReadError and
    // leaves the item as it was.
    void WriteProperties(TWriter& Writer) const;
    bool ReadProperty(TReader& Reader, const String& Name);

    // Natural size of the stored image, set whenever it is decoded.
    int OrigWidth = 0;
    int OrigHeight = 0;
    // The rendering at the last size asked for.
    TOwned<TBitmap> CacheBmp;

private:
    String FText;
    String FImageName;
    TsImageFormat FImageFormat = ifPNG;
    TPixelFormat FPixelFormat = pf32bit;
    TOwned<TMemoryStream> imgData_{New<TMemoryStream>()};

public:
    // The image file's bytes, owned by the item.
    TMemoryStream* const ImgData = imgData_.get();
};

class TsImgListItems : public TCollection {
public:
    explicit TsImgListItems(TsAlphaImageList* AOwner);
    TsImgListItem* Add() { return static_cast<TsImgListItem*>(TCollection::Add()); }
    TsImgListItem* Items(int Index) const { return static_cast<TsImgListItem*>(GetItem(Index)); }
    void WriteItems(TWriter& Writer) const;
    void ReadItems(TReader& Reader);
};

// The common base of the alpha and char image lists.
class TacImageList : public TImageList {
public:
    explicit TacImageList(TComponent* AOwner);
    ~TacImageList() override;

    virtual int Count() = 0;
    // A new 32-bit rendering of image Index (the caller frees it), or null.
    virtual TBitmap* CreateBitmap32(int Index, int aWidth, int aHeight) = 0;
    virtual bool GetBitmap32(int Index, TBitmap* Image, int GlyphHeight = 0) = 0;
    // The size image Index is drawn at: the list size unless a list says otherwise.
    virtual TSize GlyphSize(int Index);
    // Glyph drawing gives the list the target's font before it renders image
    // Index: glyph-type images take its colour.
    virtual void TakeFontColor(TFont* Font, int Index);

    // What a stored list keeps in its image-list property: an empty 1 x 1
    // list, whatever the images; the images live in the items.
    void WriteData(TStream* Stream);
    void ReadData(TStream*) {}

    // Colour that glyph-type images take when drawn next (clNone: their own).
    TColor ForeColor = clNone;
    // Glyph drawing copies the pixels without blending them.
    bool IgnoreTransparency = false;

    // Puts Bmp into the native list at Index (appended when negative),
    // centred on the list size and cropped.
    int AddBitmap32ToList(TBitmap* Bmp, int Index);
    // The native list's own image count.
    int NativeCount() { return TCustomImageList::Count(); }

    void AfterConstruction() override;
    // Rebuilds the native list from the items.
    virtual void GenerateStdList() = 0;
    // Takes the size of native list Value, when it has one.
    void SetNewDimensions(HIMAGELIST Value);
    void AcBeginUpdate() { AcChanging = true; }
    void AcEndUpdate(bool DoChange = true);
    // Record the unscaled size and re-apply the scale.
    void SetWidth(int Value);
    void SetHeight(int Value);
    TColor GetBkColor() const { return FBkColor == clNone ? TImageList::GetBkColor() : FBkColor; }
    void SetBkColor(TColor Value);
    int GetScaleValue() const { return FSavedScale; }
    bool AllowScale = true;

protected:
    // Scaling applies: AllowScale, loaded, a skin manager, not designing, items.
    bool ScalingApplies(bool AllowScale, bool Loaded);
    bool IsScaling() { return ScalingApplies(AllowScale, FLoaded); }
    // Makes the native list at the unscaled size times the current scale.
    void CreateImageList() override;
    virtual void SetListSize(int AWidth, int AHeight) = 0;
    // Takes Source's masking, type, style, sharing, size, scale and colours,
    // leaving this list's native list empty at the new size.
    void AssignListSettings(TacImageList* Source);

    bool FLoaded = false;
    bool AcChanging = false;
    bool StdListIsGenerated = false;
    TColor FBkColor = clNone;
    int FSavedScale = 0;
    int SavedHeight = 0;
    int SavedWidth = 0;
};

using TacImageListProc = void (*)(TacImageList* List, void* Data);
// Calls Proc for every image list alive, in creation order.
void ForEachImageList(TacImageListProc Proc, void* Data);

class TsAlphaImageList : public TacImageList {
public:
    explicit TsAlphaImageList(TComponent* AOwner);
    ~TsAlphaImageList() override;
    void Assign(TPersistent* Source) override;

    int Count() override;
    TBitmap* CreateBitmap32(int Index, int aWidth, int aHeight) override;
    bool GetBitmap32(int Index, TBitmap* Image, int GlyphHeight = 0) override;

    // A new 32-bit bitmap item; the new native index, or -1.
    int Add(TBitmap* Image, TBitmap* Mask);
    int AddImage(TCustomImageList* Value, int Index);
    void Replace(int AIndex, TBitmap* ABmp32);
    void MoveItem(int CurIndex, int NewIndex);
    void Clear();
    void CopyImages(TsAlphaImageList* ImgList);

    // PNG, icon (".ico") or bitmap files; False, with nothing added, for anything else.
    bool TryLoadFromFile(const String& FileName);
    void LoadFromFile(const String& FileName);
    bool TryLoadFromPngStream(TStream* Stream);
    void LoadFromPngStream(TStream* Stream);

    void GenerateStdList() override;
    void UpdateFromStd();

    // Reading adapts the list to the manager's current scale first.
    int GetWidth();
    int GetHeight();
    TsImgListItems* GetItems() const { return FItems.get(); }
    void SetItems(TsImgListItems* Value) { FItems->Assign(Value); }
    bool GetUseCache() const { return FUseCache; }
    void SetUseCache(bool Value);
    void SetScaleValue(int Value);

protected:
    void Loaded() override;
    void Change() override;
    void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override;

private:
    void SetListSize(int AWidth, int AHeight) override;
    void FreeNativeList();
    // The item's image at its natural size, or null when its data does not decode.
    TOwned<TBitmap> Decode(TsImgListItem* Item, TBitmap* Like = nullptr);
    TOwned<TBitmap> NativeColorBitmap(int Index, bool UseMask);
    void AppendNative(TsImgListItem* Item);

    bool FUseCache = true;
    TOwned<TsImgListItems> FItems;
};

// ---------------------------------------------------------------------------
// Char image lists: images that are characters of (icon) fonts, rendered on
// demand at any size and in any colour.
class TsCharImageList;

class TacCharListItem : public TCollectionItem {
public:
    explicit TacCharListItem(TCollection* Collection);
    // Copies every property, not the cache.
    void Assign(TPersistent* Source) override;
    // Frees the cache and tells the list.
    void Invalidate();

    Word GetChar() const { return FChar; }
    void SetChar(Word Value);
    const String& GetImageName() const { return FImageName; }
    void SetImageName(const String& Value) { FImageName = Value; }
    TFontPitch GetPitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TFontCharset GetCharset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    const String& GetFontName() const { return FFontName; }
    void SetFontName(const String& Value);
    TFontStyles GetStyle() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    // Stored; the rendering does not rotate.
    int GetOrientation() const { return FOrientation; }
    void SetOrientation(int Value);
    double GetScalingFactor() const { return FScalingFactor; }
    void SetScalingFactor(double Value);
    int GetOffsetY() const { return FOffsetY; }
    void SetOffsetY(int Value);

    // The rendering at the glyph size (the cache, made on demand).
    TBitmap* Image();
    TsCharImageList* List() const;

    TOwned<TBitmap> CacheBmp;

private:
    template <class T>
    void Change(T& Field, const T& Value);

    Word FChar = 0;
    String FImageName;
    TFontPitch FPitch = fpDefault;
    TColor FColor = clNone;
    TFontCharset FCharset = DEFAULT_CHARSET;
    String FFontName = acBuiltInIconFontName;
    TFontStyles FStyle;
    int FOrientation = 0;
    double FScalingFactor = 1.0;
    int FOffsetY = 0;
    TColor cacheColor_ = clNone;
};

class TacCharListItems : public TCollection {
public:
    explicit TacCharListItems(TsCharImageList* AOwner);
    TacCharListItem* Add() { return static_cast<TacCharListItem*>(TCollection::Add()); }
    TacCharListItem* Items(int Index) const { return static_cast<TacCharListItem*>(GetItem(Index)); }
};

struct TacCharItemData {
    String FontName = acBuiltInIconFontName;
    TFontCharset Charset = DEFAULT_CHARSET;
    TColor Color = clNone;
    int Orientation = 0;
    HFONT Handle = nullptr;   // not used by AddItem
    TFontPitch Pitch = fpDefault;
    TFontStyles Style;
    Word Char = 0;
    double ScalingFactor = 1.0;
    int OffsetY = 0;
};

class TsCharImageList : public TacImageList {
public:
    explicit TsCharImageList(TComponent* AOwner);
    ~TsCharImageList() override;
    void Assign(TPersistent* Source) override;

    int Count() override;
    TBitmap* CreateBitmap32(int Index, int aWidth, int aHeight) override;
    TBitmap* CreateBitmap32Color(int Index, int aWidth, int aHeight, TColor CharColor);
    // True in every case; an invalid index draws nothing.
    bool GetBitmap32(int Index, TBitmap* Image, int GlyphHeight = 0) override;
    TSize GlyphSize(int Index) override;
    void TakeFontColor(TFont* Font, int Index) override;

    int AddItem(const TacCharItemData& ItemData);
    bool AddEmbeddedFont(const String& FileName, const String& FontName);
    int FontIndex(const String& aFontName) const;
    void SetCharColor(TColor AColor, int AIndex, bool IgnoreDefault);
    void Clear();
    void ClearCache();
    void CopyImages(TsCharImageList* ImgList);

    void GenerateStdList() override;
    void UpdateStd(int i);

    // Renders glyph Index black on white into Bmp and turns the coverage into
    // alpha of the glyph colour; Offset moves it down.
    void RenderCharGlyph(TBitmap* Bmp, int Index, int Offset, int BaseHeight);

    TacEmbeddedFonts* GetEmbeddedFonts() const { return FEmbeddedFonts.get(); }
    TacCharListItems* GetItems() const { return FItems.get(); }
    void SetItems(TacCharListItems* Value) { FItems->Assign(Value); }
    void SetScaleValue(int Value);

protected:
    void Loaded() override;
    void Change() override;
    void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override;

private:
    friend class TacCharListItem;
    void SetListSize(int AWidth, int AHeight) override;
    bool ValidIndex(int Index) const { return Index >= 0 && Index < FItems->Count(); }

    TOwned<TacCharListItems> FItems;
    TOwned<TacEmbeddedFonts> FEmbeddedFonts;
};

// A font's text height without leading, relative to its cell, from a 96-pixel font.
double CalcFontScalingFactor(TFontCharset Charset, const String& FontName);

// The library's 25 standard glyphs, built at start-up; skinned menus draw them.
extern TsCharImageList* DefaultCharImageList;
void BuildDefaultCharImageList();
// The five 48 x 24 state pictures carried in the resources; nothing loads them.
extern const wchar_t* const acStatePictureNames[5];

// Draws image Index of List into the 32-bit Bmp at (Left, Top): one state of
// StateCount side by side, with an optional fading reflection below, made
// Transparency percent transparent. Returns the size drawn.
TSize DrawImageListGlyph(TCustomImageList* List, TBitmap* Bmp, int Left, int Top, int Index, int StateCount,
                         int State, bool Reflection, int Transparency, TColor KeyColor);
// The same onto a device context at (X, Y).
TSize DrawImageListGlyphDC(TCustomImageList* List, HDC DC, int X, int Y, int Index, int StateCount, int State,
                           bool Reflection, int Transparency, TColor FontColor);
