// Hint templates and the alpha hints component. A template is a font and up
// to four PNG pictures with alpha (one per corner at which the pointer
// sits), each sliced into corners, edges and centre by border widths, with
// shadow sizes and client margins. One template travels in the "AShh"
// stream; DefaultHintTemplate is built at start-up around the picture in
// the resource "ACHINT".
//
// The stream reader takes untrusted files: it reads into a template of its
// own and adds it to Templates only when the whole stream was good, checking
// every count against the bytes left before it allocates anything.
#pragma once

#include "Graphics.h"
#include "acPNG.h"
#include "acProviderServices.h"

enum TacBorderDrawMode { dmRepeat, dmStretch };
enum TacHintAlign { haHorzCenter, haVertCenter };
enum TacMousePosition { mpLeftTop, mpLeftBottom, mpRightTop, mpRightBottom };

class TacHintImage;
class TacHintTemplate;
class TacHintTemplates;
namespace acAlphaHints {
class TsAlphaHints;
}

// Sizes in a template stream beyond this (a screen rectangle's reach) make
// the stream corrupt; negative sizes read as 0.
constexpr Integer MaxHintImageSize = 32767;
// The longest font name a stream carries, in bytes.
constexpr Integer MaxHintFontNameBytes = 63;

class TacBordersSizes : public TPersistent {
public:
    explicit TacBordersSizes(TacHintImage* AOwner) : FOwner(AOwner) {}
    Integer GetTop() const { return FTop < 0 ? 0 : FTop; }
    Integer GetLeft() const { return FLeft < 0 ? 0 : FLeft; }
    Integer GetRight() const { return FRight < 0 ? 0 : FRight; }
    Integer GetBottom() const { return FBottom < 0 ? 0 : FBottom; }
    void SetTop(Integer Value) { SetField(FTop, Value); }
    void SetLeft(Integer Value) { SetField(FLeft, Value); }
    void SetRight(Integer Value) { SetField(FRight, Value); }
    void SetBottom(Integer Value) { SetField(FBottom, Value); }
    void SetValues(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);
    TRect AsRect() const { return TRect(GetLeft(), GetTop(), GetRight(), GetBottom()); }

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    void SetField(Integer& Field, Integer Value);
    Integer FTop = 0, FLeft = 0, FRight = 0, FBottom = 0;
    TacHintImage* FOwner = nullptr;
};

class TacBorderDrawModes : public TPersistent {
public:
    explicit TacBorderDrawModes(TacHintImage* AOwner) : FOwner(AOwner) {}
    TacBorderDrawMode GetTop() const { return FTop; }
    TacBorderDrawMode GetLeft() const { return FLeft; }
    TacBorderDrawMode GetRight() const { return FRight; }
    TacBorderDrawMode GetCenter() const { return FCenter; }
    TacBorderDrawMode GetBottom() const { return FBottom; }
    void SetTop(TacBorderDrawMode Value) { SetField(FTop, Value); }
    void SetLeft(TacBorderDrawMode Value) { SetField(FLeft, Value); }
    void SetRight(TacBorderDrawMode Value) { SetField(FRight, Value); }
    void SetCenter(TacBorderDrawMode Value) { SetField(FCenter, Value); }
    void SetBottom(TacBorderDrawMode Value) { SetField(FBottom, Value); }

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    void SetField(TacBorderDrawMode& Field, TacBorderDrawMode Value);
    TacBorderDrawMode FTop = dmStretch, FLeft = dmStretch, FRight = dmStretch, FCenter = dmStretch,
                      FBottom = dmStretch;
    TacHintImage* FOwner = nullptr;
};

class TacHintImage : public TPersistent {
public:
    explicit TacHintImage(TacHintTemplate* AOwner);
    ~TacHintImage() override;

    Integer GetOffsetHorz() const { return FOffsetHorz; }
    void SetOffsetHorz(Integer Value);
    Integer GetOffsetVert() const { return FOffsetVert; }
    void SetOffsetVert(Integer Value);
    Integer GetImageHeight() const { return FImage->GetEmpty() ? 0 : FImage->GetHeight(); }
    Integer GetImageWidth() const { return FImage->GetEmpty() ? 0 : FImage->GetWidth(); }
    TPNGGraphic* GetImage() const { return FImage.get(); }
    // Takes the picture and derives the borders from its size.
    void SetImage(TBitmap* Value);
    TacBorderDrawModes* GetBorderDrawModes() const { return FBorderDrawModes.get(); }
    TacBordersSizes* GetClientMargins() const { return FClientMargins.get(); }
    TacBordersSizes* GetBordersWidths() const { return FBordersWidths.get(); }
    TacBordersSizes* GetShadowSizes() const { return FShadowSizes.get(); }
    // The PNG file bytes the picture was loaded from (empty for an assigned picture).
    TMemoryStream* GetImageData() const { return FImageData.get(); }

    // Half the picture's size (less one) as border widths and client margins.
    void ImageChanged();
    // Reloads the picture from the stored PNG bytes.
    void StreamChanged();
    // Stored bytes or a picture.
    bool HasPicture() const { return FImageData->GetSize() > 0 || !FImage->GetEmpty(); }
    // The component the template belongs to, or null.
    acAlphaHints::TsAlphaHints* Component() const;
    void Changed();

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    Integer FOffsetHorz = 0;
    Integer FOffsetVert = 0;
    TOwned<TacBordersSizes> FShadowSizes;
    TOwned<TacBordersSizes> FClientMargins;
    TOwned<TacBordersSizes> FBordersWidths;
    TOwned<TacBorderDrawModes> FBorderDrawModes;
    TacHintTemplate* FOwner = nullptr;
    TOwned<TPNGGraphic> FImage;
    TOwned<TMemoryStream> FImageData;
};

class TacHintTemplate : public TCollectionItem {
public:
    // Collection may be null: a template of its own (the default one, or
    // one being read).
    explicit TacHintTemplate(TCollection* Collection);
    ~TacHintTemplate() override;

    TacHintImage* GetImageDefault() const { return FImageDefault.get(); }
    TacHintImage* GetImg_LeftBottom() const { return FImageLeftBottom.get(); }
    TacHintImage* GetImg_RightBottom() const { return FImageRightBottom.get(); }
    TacHintImage* GetImg_RightTop() const { return FImageRightTop.get(); }
    // The picture for a pointer corner.
    TacHintImage* ImageFor(TacMousePosition Position) const;
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value);
    TacHintAlign GetHintAlign() const { return FHintAlign; }
    void SetHintAlign(TacHintAlign Value) { FHintAlign = Value; }
    const String& GetName() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    // True while Img_LeftBottom holds neither stored bytes nor a picture.
    bool SingleImageUsed() const { return !FImageLeftBottom->HasPicture(); }

    acAlphaHints::TsAlphaHints* Component() const;

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    TOwned<TacHintImage> FImageDefault;
    TOwned<TacHintImage> FImageRightTop;
    TOwned<TacHintImage> FImageLeftBottom;
    TOwned<TacHintImage> FImageRightBottom;
    TOwned<TFont> FFont;
    String FName;
    TacHintAlign FHintAlign = haHorzCenter;
};

class TacHintTemplates : public TCollection {
public:
    explicit TacHintTemplates(acAlphaHints::TsAlphaHints* AOwner);
    TacHintTemplate* Add() { return static_cast<TacHintTemplate*>(TCollection::Add()); }
    TacHintTemplate* Items(int Index) const { return static_cast<TacHintTemplate*>(GetItem(Index)); }
    acAlphaHints::TsAlphaHints* Hints() const { return FOwner; }

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    acAlphaHints::TsAlphaHints* FOwner = nullptr;
};

// Built at start-up around "ACHINT"; null before and after.
extern TacHintTemplate* DefaultHintTemplate;

// The template stream of one template, built in memory; nothing written
// for a null template.
void WriteHintTemplate(TacHintTemplate* Template, TStream* Stream);
// Reads a whole "AShh" stream (from position 0) into Template. A wrong
// magic answers False and leaves Template alone; a cut or corrupt stream
// raises EReadError, and Template may then hold part of it.
bool ReadHintTemplate(TStream* Stream, TacHintTemplate* Template);

namespace acAlphaHints {

// The alpha hints component: templates and their stream. It becomes the
// application's hint provider only once its hint windows exist.
class TsAlphaHints : public ::TsAlphaHints {
public:
    explicit TsAlphaHints(TComponent* AOwner);
    ~TsAlphaHints() override;

    bool Active() const override { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    THintWindow* HintWindow() const override { return nullptr; }
    void ShowHint(const TPoint& Position, const String& HintText, int HideTime) override;

    TacHintTemplates* GetTemplates() const { return FTemplates.get(); }
    Integer GetTemplateIndex() const { return FTemplateIndex; }
    void SetTemplateIndex(Integer Value) { FTemplateIndex = Value; }
    const String& GetTemplateName() const { return FTemplateName; }
    // Chooses the first template of that name, ignoring case (-1 when none).
    void SetTemplateName(const String& Value);
    // The template at TemplateIndex, else DefaultHintTemplate.
    TacHintTemplate* CurrentTemplate() const;

    // The template stream of CurrentTemplate (Stream is truncated first).
    void SaveToStream(TMemoryStream* AStream);
    // Adds the stream's template to Templates and answers it. A wrong magic
    // says "Unknown file format" and answers null; a cut or corrupt stream
    // raises EReadError. Either way Templates is then unchanged.
    TacHintTemplate* LoadFromStream(TStream* AStream);
    // Written to a temporary file beside FileName, which then replaces it:
    // a failed write leaves the old file as it was.
    void SaveToFile(const String& FileName);
    // The loaded template is named after the file, up to its first ".".
    TacHintTemplate* LoadFromFile(const String& FileName);

    void Changed();
    TNotifyEvent OnChange;

private:
    bool FActive = true;
    Integer FTemplateIndex = -1;
    String FTemplateName;
    TOwned<TacHintTemplates> FTemplates;
};

} // namespace acAlphaHints

void acAlphaHints_Initialize();
void acAlphaHints_Finalize();
