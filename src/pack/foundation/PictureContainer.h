// Pictures that marked-up texts refer to: THTMLPicture keeps the encoded
// bytes of a picture in any format GDI+ reads and draws them; a picture
// container holds pictures under names, and a picture cache holds the
// pictures loaded from "RES://" and "FILE://" references.
#pragma once

#include "Classes.h"
#include "Graphics.h"

using TDownloadProgressEvent = std::function<void(TObject* Sender, Cardinal dwSize, Cardinal dwMaxSize)>;
using TDownloadCancelEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TDownloadCompleteEvent = std::function<void(TObject* Sender)>;
using TDownloadErrorEvent = std::function<void(TObject* Sender, const String& ErrorMsg)>;

class THTMLPicture : public TGraphic {
public:
    THTMLPicture();
    ~THTMLPicture() override;
    // Resets the picture, then copies another HTML picture (bytes, Stretch,
    // Frame, ID) or any graphic or picture holder through its file format.
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override { return isEmpty_; }
    int GetWidth() const override { return width_; }
    void SetWidth(int) override {}
    int GetHeight() const override { return height_; }
    void SetHeight(int) override {}

    // The stream's bytes replace the stored ones; nothing for null.
    void LoadFromStream(TStream* Stream) override;
    // Writes the stored bytes unchanged.
    void SaveToStream(TStream* Stream) override;
    // Any failure leaves the picture empty; nothing is raised.
    void LoadFromFile(const String& FileName);
    // An RT_RCDATA resource; nothing when the module has none of that name.
    void LoadFromResourceName(HINSTANCE Instance, const String& Name);
    // An RT_RCDATA resource by number; a missing one raises EResNotFound.
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    // "RES://name" from the program's resources, "FILE://path"; other
    // schemes are only recorded (an asynchronous load starts a download
    // that fetches nothing).
    void LoadFromURL(const String& URL);
    void LoadFromClipboardFormat(Word, HANDLE, HPALETTE) override {}
    void SaveToClipboardFormat(Word&, HANDLE&, HPALETTE&) override {}

    bool GetStretch() const { return stretched_; }
    void SetStretch(bool Value) { stretched_ = Value; }
    // The current frame of an animated GIF, from 1.
    int GetFrame() const { return frame_; }
    void SetFrame(int Value);
    void FrameNext();
    void FramePrev();
    // Advances an animated GIF when its frame's delay has passed, for a
    // caller that steps every 100 ms; True when the frame changed.
    bool Step();

    bool IsGIF() const;
    // Frame records of a GIF (counted once); -1 for any other picture.
    int FrameCount();
    int MaxWidth() const { return width_; }
    int MaxHeight() const { return height_; }
    int FrameXPos() const { return frameXPos_; }
    int FrameYPos() const { return frameYPos_; }
    const String& GetID() const { return id_; }
    void SetID(const String& Value) { id_ = Value; }
    const String& GetURL() const { return url_; }
    bool GetIsDB() const { return isDB_; }
    void SetIsDB(bool Value) { isDB_ = Value; }
    bool GetAsynch() const { return asynch_; }
    void SetAsynch(bool Value) { asynch_ = Value; }
    bool Busy() const { return threadBusy_; }

    TNotifyEvent OnFrameChange;
    TDownloadProgressEvent OnDownLoadProgress;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadErrorEvent OnDownLoadError;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    // Form streaming: the bytes without an OnChange.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

private:
    void Reset();
    void StoreBytes(TStream* Stream);
    void ReadImageInfo();
    // The delay of frame N in hundredths of a second; -1 when there is none.
    int GetFrameDelay(int N) const;
    // Offsets of the frame records of a GIF's bytes.
    std::vector<std::size_t> FrameRecords() const;

    std::vector<Byte> data_;
    bool isEmpty_ = true;
    bool stretched_ = false;
    String url_;
    String id_;
    int width_ = 0;
    int height_ = 0;
    bool isDB_ = false;
    bool asynch_ = true;
    bool threadBusy_ = false;
    int frame_ = 1;
    int frameCount_ = -1;
    Word frameXPos_ = 0, frameYPos_ = 0, frameXSize_ = 0, frameYSize_ = 0;
    Word animMaxX_ = 0, animMaxY_ = 0;
    int nextCount_ = -1;
    int timerCount_ = -1;
};

// A download of a picture from a URL scheme this system does not fetch:
// it runs and ends without doing anything.
class TDownLoadThread : public TThread {
public:
    explicit TDownLoadThread(THTMLPicture* Picture);
    THTMLPicture* HTMLPicture = nullptr;

protected:
    void Execute() override {}
};

// The pictures a control loaded from URL references; it owns them.
class THTMLPictureCache : public TList {
public:
    ~THTMLPictureCache() override;
    THTMLPicture* AddPicture();
    // The first picture whose ID is exactly ID; null when none.
    TGraphic* FindPicture(const String& ID) const;
    void ClearPictures();
    // Steps every picture; True when any advanced.
    bool Animate();
    THTMLPicture* GetPicture(int Index) const { return static_cast<THTMLPicture*>(Get(Index)); }
};

class TPictureItem : public TCollectionItem {
public:
    explicit TPictureItem(TCollection* Collection);
    ~TPictureItem() override;
    void AfterConstruction() override;
    void Assign(TPersistent* Source) override;

    TGraphic* GetPicture() const { return picture_.get(); }
    void SetPicture(TGraphic* Value) { picture_->Assign(Value); }
    const String& GetName() const { return name_; }
    void SetName(const String& Value) { name_ = Value; }
    Integer GetTag() const { return tag_; }
    void SetTag(Integer Value) { tag_ = Value; }

protected:
    virtual TGraphic* CreatePicture();

private:
    TOwned<TGraphic> picture_;
    String name_;
    Integer tag_ = 0;
};

class TPictureCollection : public TCollection {
public:
    explicit TPictureCollection(TComponent* AOwner);
    TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
    TPictureItem* Insert(int Index) { return static_cast<TPictureItem*>(TCollection::Insert(Index)); }
    TPictureItem* GetItem(int Index) const { return static_cast<TPictureItem*>(TCollection::GetItem(Index)); }
    // Steps every item's picture; True when any advanced.
    bool Animate();

protected:
    TPictureCollection(ItemFactory Factory, TComponent* AOwner) : TCollection(std::move(Factory), AOwner) {}
};

class TPictureContainer : public TComponent {
public:
    explicit TPictureContainer(TComponent* AOwner);
    ~TPictureContainer() override;
    void AfterConstruction() override;

    // The picture of the first item named Name, ignoring the case of ASCII letters.
    virtual TGraphic* FindPicture(const String& Name) const;

    TPictureCollection* GetItems() const { return items_.get(); }
    // Copies the items of Value.
    void SetItems(TPictureCollection* Value) { items_->Assign(Value); }
    String GetVersion() const;
    void SetVersion(const String&) {}

protected:
    virtual TPictureCollection* CreateItems();
    virtual Cardinal GetVersionNr() const;

private:
    TOwned<TPictureCollection> items_;
};
