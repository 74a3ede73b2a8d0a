#include "PictureContainer.h"

#include "AdvGDIP.h"
#include "SysUtils.h"
#include <cstring>

namespace {

// Steps every picture of a list (all of them, not only up to the first
// that advances); True when any advanced.
template <class PictureAt>
bool StepPictures(int count, PictureAt pictureAt)
{
    bool advanced = false;
    for (int i = 0; i < count; ++i)
        if (THTMLPicture* picture = pictureAt(i))
            advanced = picture->Step() || advanced;
    return advanced;
}

Word WordAt(const std::vector<Byte>& data, std::size_t at)
{
    return at + 1 < data.size() ? static_cast<Word>(data[at] | (data[at + 1] << 8)) : 0;
}

} // namespace

// ---------------------------------------------------------------------------
THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::Reset()
{
    isEmpty_ = true;
    frameCount_ = -1;
    nextCount_ = -1;
    timerCount_ = -1;
    frame_ = 1;
}

void THTMLPicture::Assign(TPersistent* Source)
{
    Reset();
    if (!Source) {
        data_.clear();
        return;
    }
    if (auto* other = dynamic_cast<THTMLPicture*>(Source)) {
        stretched_ = other->stretched_;
        frame_ = other->frame_;
        id_ = other->id_;
        data_ = other->data_;
        isEmpty_ = other->isEmpty_;
        ReadImageInfo();
        Changed(this);
        return;
    }
    TGraphic* graphic = dynamic_cast<TGraphic*>(Source);
    if (auto* picture = dynamic_cast<TPicture*>(Source))
        graphic = picture->GetGraphic();
    else if (!graphic)
        return TGraphic::Assign(Source);
    if (!graphic)
        return;
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    graphic->SaveToStream(stream.get());
    stream->SetPosition(0);
    LoadFromStream(stream.get());
}

void THTMLPicture::StoreBytes(TStream* Stream)
{
    Stream->SetPosition(0);
    data_.resize(static_cast<std::size_t>(Stream->GetSize()));
    if (!data_.empty())
        Stream->ReadBuffer(data_.data(), static_cast<Int64>(data_.size()));
    isEmpty_ = false;
    // A new picture has its own frames.
    frameCount_ = -1;
}

void THTMLPicture::LoadFromStream(TStream* Stream)
{
    if (!Stream)
        return;
    StoreBytes(Stream);
    ReadImageInfo();
    Changed(this);
}

void THTMLPicture::SaveToStream(TStream* Stream)
{
    if (Stream && !data_.empty())
        Stream->WriteBuffer(data_.data(), static_cast<Int64>(data_.size()));
}

void THTMLPicture::ReadData(TStream* Stream)
{
    if (!Stream)
        return;
    StoreBytes(Stream);
    ReadImageInfo();
}

void THTMLPicture::WriteData(TStream* Stream)
{
    SaveToStream(Stream);
}

void THTMLPicture::LoadFromFile(const String& FileName)
{
    try {
        TOwned<TFileStream> stream(New<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
        LoadFromStream(stream.get());
    } catch (const std::exception&) {
        Reset();
        data_.clear();
    }
}

void THTMLPicture::LoadFromResourceName(HINSTANCE Instance, const String& Name)
{
    if (!FindResourceW(Instance, Name.c_str(), RT_RCDATA))
        return;
    TOwned<TResourceStream> stream(New<TResourceStream>(Instance, Name, RT_RCDATA));
    LoadFromStream(stream.get());
}

void THTMLPicture::LoadFromResourceID(HINSTANCE Instance, int ResID)
{
    TOwned<TResourceStream> stream(New<TResourceStream>(Instance, ResID, RT_RCDATA));
    LoadFromStream(stream.get());
}

void THTMLPicture::LoadFromURL(const String& URL)
{
    const String upper = UpperCase(URL);
    if (upper.compare(0, 6, L"RES://") == 0) {
        id_ = URL;
        if (URL.size() > 6)
            LoadFromResourceName(HInstance(), URL.substr(6));
    } else if (upper.compare(0, 7, L"FILE://") == 0) {
        id_ = URL;
        if (URL.size() > 7)
            LoadFromFile(URL.substr(7));
    } else if (!asynch_) {
        url_ = URL;
        id_ = URL;
    } else if (!threadBusy_) {
        url_ = URL;
        threadBusy_ = true;
        New<TDownLoadThread>(this);
    }
}

void THTMLPicture::SetFrame(int Value)
{
    frame_ = Value;
    if (data_.empty())
        return;
    ReadImageInfo();
    if (OnFrameChange)
        OnFrameChange(this);
}

void THTMLPicture::FrameNext()
{
    frame_ = frame_ < FrameCount() ? frame_ + 1 : 1;
}

void THTMLPicture::FramePrev()
{
    frame_ = frame_ < 2 ? FrameCount() : frame_ - 1;
}

bool THTMLPicture::Step()
{
    if (FrameCount() < 2 || isEmpty_)
        return false;
    if (nextCount_ < 0)
        nextCount_ = GetFrameDelay(frame_);
    bool advanced = false;
    if (timerCount_ * 10 >= nextCount_) {
        FrameNext();
        ReadImageInfo();
        nextCount_ += GetFrameDelay(frame_);
        advanced = true;
    }
    ++timerCount_;
    return advanced;
}

bool THTMLPicture::IsGIF() const
{
    return data_.size() >= 5 && std::memcmp(data_.data(), "GIF8", 4) == 0;
}

std::vector<std::size_t> THTMLPicture::FrameRecords() const
{
    // A graphic control extension followed by an image descriptor.
    std::vector<std::size_t> records;
    for (std::size_t i = 0; i + 9 < data_.size(); ++i)
        if (data_[i] == 0x21 && data_[i + 1] == 0xF9 && data_[i + 2] == 0x04 && data_[i + 8] == 0x2C)
            records.push_back(i);
    return records;
}

int THTMLPicture::FrameCount()
{
    if (!IsGIF())
        return -1;
    if (frameCount_ < 0)
        frameCount_ = static_cast<int>(FrameRecords().size());
    return frameCount_;
}

int THTMLPicture::GetFrameDelay(int N) const
{
    if (!IsGIF())
        return -1;
    const auto records = FrameRecords();
    if (N < 1 || N > static_cast<int>(records.size()))
        return -1;
    return WordAt(data_, records[N - 1] + 4);
}

void THTMLPicture::ReadImageInfo()
{
    if (data_.empty())
        return;
    width_ = height_ = 0;
    if (IsGIF()) {
        const auto records = FrameRecords();
        if (!records.empty()) {
            animMaxX_ = WordAt(data_, 6);
            animMaxY_ = WordAt(data_, 8);
        }
        if (frame_ >= 1 && frame_ <= static_cast<int>(records.size())) {
            const std::size_t descriptor = records[frame_ - 1] + 9;
            frameXPos_ = WordAt(data_, descriptor);
            frameYPos_ = WordAt(data_, descriptor + 2);
            frameXSize_ = WordAt(data_, descriptor + 4);
            frameYSize_ = WordAt(data_, descriptor + 6);
        }
    }
    const TGPDecodedImage image(data_.data(), data_.size());
    if (!image.Image())
        return;
    width_ = static_cast<int>(image.Image()->GetWidth());
    height_ = static_cast<int>(image.Image()->GetHeight());
}

void THTMLPicture::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (isEmpty_ || data_.empty())
        return;
    const TGPDecodedImage image(data_.data(), data_.size());
    if (!image.Image())
        return;
    if (data_.size() >= 2 && data_[0] == 'B' && data_[1] == 'M') {
        // Bitmaps show through where they have the colour of their bottom-left pixel.
        TOwned<TMemoryStream> bytes(New<TMemoryStream>());
        bytes->WriteBuffer(data_.data(), static_cast<Int64>(data_.size()));
        bytes->SetPosition(0);
        TOwned<TBitmap> bitmap(New<TBitmap>());
        bitmap->LoadFromStream(bytes.get());
        bitmap->SetTransparentMode(tmAuto);
        bitmap->SetTransparent(true);
        ACanvas->StretchDraw(Rect, bitmap.get());
        return;
    }
    TGPGraphics graphics(ACanvas->GetHandle());
    graphics.DrawImageRect(image.Image(), Rect.left, Rect.top, Rect.Width(), Rect.Height());
}

// ---------------------------------------------------------------------------
TDownLoadThread::TDownLoadThread(THTMLPicture* Picture) : TThread(false), HTMLPicture(Picture)
{
    SetFreeOnTerminate(true);
}

// ---------------------------------------------------------------------------
THTMLPictureCache::~THTMLPictureCache()
{
    ClearPictures();
}

THTMLPicture* THTMLPictureCache::AddPicture()
{
    auto* picture = New<THTMLPicture>();
    Add(picture);
    return picture;
}

TGraphic* THTMLPictureCache::FindPicture(const String& ID) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetPicture(i)->GetID() == ID)
            return GetPicture(i);
    return nullptr;
}

void THTMLPictureCache::ClearPictures()
{
    for (int i = 0; i < Count(); ++i)
        GetPicture(i)->Free();
    Clear();
}

bool THTMLPictureCache::Animate()
{
    return StepPictures(Count(), [this](int i) { return GetPicture(i); });
}

// ---------------------------------------------------------------------------
TPictureItem::TPictureItem(TCollection* Collection) : TCollectionItem(Collection) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::AfterConstruction()
{
    picture_.reset(CreatePicture());
    TCollectionItem::AfterConstruction();
}

TGraphic* TPictureItem::CreatePicture()
{
    return New<THTMLPicture>();
}

void TPictureItem::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TPictureItem*>(Source);
    if (!other)
        return TCollectionItem::Assign(Source);
    name_ = other->name_;
    tag_ = other->tag_;
    picture_->Assign(other->picture_.get());
}

TPictureCollection::TPictureCollection(TComponent* AOwner)
    : TCollection(ItemClass<TPictureItem>(), AOwner)
{
}

bool TPictureCollection::Animate()
{
    return StepPictures(Count(), [this](int i) { return dynamic_cast<THTMLPicture*>(GetItem(i)->GetPicture()); });
}

// ---------------------------------------------------------------------------
TPictureContainer::TPictureContainer(TComponent* AOwner) : TComponent(AOwner) {}

TPictureContainer::~TPictureContainer() = default;

void TPictureContainer::AfterConstruction()
{
    TComponent::AfterConstruction();
    items_.reset(CreateItems());
}

TPictureCollection* TPictureContainer::CreateItems()
{
    return New<TPictureCollection>(this);
}

TGraphic* TPictureContainer::FindPicture(const String& Name) const
{
    for (int i = 0; i < items_->Count(); ++i)
        if (SameText(items_->GetItem(i)->GetName(), Name))
            return items_->GetItem(i)->GetPicture();
    return nullptr;
}

Cardinal TPictureContainer::GetVersionNr() const
{
    constexpr Cardinal major = 2, minor = 0, release = 0, build = 0;
    return MAKELONG(MAKEWORD(build, release), MAKEWORD(minor, major));
}

String TPictureContainer::GetVersion() const
{
    const Cardinal nr = GetVersionNr();
    return Format(L"%d.%d.%d.%d", static_cast<int>(HIBYTE(HIWORD(nr))), static_cast<int>(LOBYTE(HIWORD(nr))),
                  static_cast<int>(HIBYTE(LOWORD(nr))), static_cast<int>(LOBYTE(LOWORD(nr))));
}
