// Image lists over comctl32, and the change links through which controls
// hear that a list they show has changed.
#pragma once

#include "Graphics.h"

class TCustomImageList;

// Registered with an image list; fires OnChange whenever the list changes.
class TChangeLink : public TObject {
public:
    ~TChangeLink() override;
    virtual void Change();

    TCustomImageList* GetSender() const { return sender_; }
    void SetSender(TCustomImageList* Value) { sender_ = Value; }

    TNotifyEvent OnChange;

private:
    TCustomImageList* sender_ = nullptr;
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };
enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    TCustomImageList(TComponent* AOwner, int AWidth, int AHeight); // CreateSize
    ~TCustomImageList() override;
    void Assign(TPersistent* Source) override;

    // The native list, created when first needed.
    HIMAGELIST GetHandle();
    // Takes Value over; it is destroyed with the list unless ShareImages.
    void SetHandle(HIMAGELIST Value);
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    int Count();
    // Each returns the index of the (first) new image, or -1.
    int Add(TBitmap* Image, TBitmap* Mask);
    // Pixels of MaskColor become transparent (clDefault: the bitmap's transparent colour).
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Image);
    // Copies image Index of Value (or all of them) to the end.
    int AddImage(TCustomImageList* Value, int Index);
    void AddImages(TCustomImageList* Value);
    void Insert(int Index, TBitmap* Image, TBitmap* Mask);
    void InsertMasked(int Index, TBitmap* Image, TColor MaskColor);
    void InsertIcon(int Index, TIcon* Image);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor);
    void ReplaceIcon(int Index, TIcon* Image);
    void Delete(int Index);
    void Clear();
    void Move(int CurIndex, int NewIndex);

    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle, TImageType AImageType,
              bool Enabled = true);
    // Images Index as a bitmap of the list's size, or as an icon; false for a bad index.
    bool GetBitmap(int Index, TBitmap* Image);
    bool GetIcon(int Index, TIcon* Image);

    int GetWidth() const { return width_; }
    // A new size empties the list.
    void SetWidth(int Value) { SetSize(Value, height_); }
    int GetHeight() const { return height_; }
    void SetHeight(int Value) { SetSize(width_, Value); }
    void SetSize(int AWidth, int AHeight);
    TColor GetBkColor() const { return bkColor_; }
    void SetBkColor(TColor Value);
    TColor GetBlendColor() const { return blendColor_; }
    void SetBlendColor(TColor Value) { blendColor_ = Value; }
    TDrawingStyle GetDrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle Value);
    TImageType GetImageType() const { return imageType_; }
    void SetImageType(TImageType Value);
    // These shape the native list and take effect when it is next created.
    bool GetMasked() const { return masked_; }
    void SetMasked(bool Value);
    TColorDepth GetColorDepth() const { return colorDepth_; }
    void SetColorDepth(TColorDepth Value);
    int GetAllocBy() const { return allocBy_; }
    void SetAllocBy(int Value) { allocBy_ = Value; }
    bool GetShareImages() const { return shareImages_; }
    void SetShareImages(bool Value) { shareImages_ = Value; }

    void RegisterChanges(TChangeLink* Value);
    void UnRegisterChanges(TChangeLink* Value);
    void BeginUpdate();
    void EndUpdate();
    // Updates in progress (BeginUpdate calls not yet ended).
    int GetUpdateCount() const { return updateCount_; }

    TNotifyEvent OnChange;

protected:
    // Makes the native list from the list's settings.
    virtual void CreateImageList();
    // Destroys (or, with ShareImages, lets go of) the native list.
    void FreeImageList();
    // Every change of the images goes through here.
    virtual void Change();
    virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);

private:
    int CheckedIndex(int index, const wchar_t* what);
    void RecreateImageList();
    // Runs work inside BeginUpdate/EndUpdate.
    void Updating(const std::function<void()>& work);
    void InsertAt(int Index, const std::function<int()>& add);
    void DrawDisabled(int Index, TCanvas* Canvas, int X, int Y);

    TImageListHandle handle_;
    int width_ = 16;
    int height_ = 16;
    TColor bkColor_ = clNone;
    TColor blendColor_ = clNone;
    TDrawingStyle drawingStyle_ = dsNormal;
    TImageType imageType_ = itImage;
    bool masked_ = true;
    TColorDepth colorDepth_ = cdDeviceDependent;
    int allocBy_ = 4;
    bool shareImages_ = false;
    int updateCount_ = 0;
    bool changed_ = false;
    std::vector<TChangeLink*> links_;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};
