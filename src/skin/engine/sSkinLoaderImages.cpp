// The first load pass: the master bitmap, every image entry of the option
// text, the external image files they name, and the images of the common
// sections.
//
// Entry values are untrusted text: every fixed column is checked to exist
// before it is read, and the margin and corner rules never divide by a
// count of 0 or read a pixel outside their source.
#include "sSkinLoaderParts.h"
#include "Jpeg.h"
#include "acSkinPack.h"
#include "sAlphaGraph.h"
#include "sGraphUtils.h"
#include "sGraphUtilsRows.h"
#include "sSkinManager.h"
#include "sSkinText.h"

namespace skinload {

Integer Columns(const String& Value, int From, int To)
{
    if (static_cast<int>(Value.size()) < To)
        throw EConvertError(L"'" + Value + L"' is too short for an image entry");
    return StrToInt(Value.substr(From - 1, To - From + 1));
}

std::vector<String> Fields(const String& Value, wchar_t Separator)
{
    std::vector<String> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = Value.find(Separator, start);
        fields.push_back(Value.substr(start, end == String::npos ? String::npos : end - start));
        if (end == String::npos)
            return fields;
        start = end + 1;
    }
}

TacImgType ImgTypeField(const std::vector<String>& Fields, std::size_t Index)
{
    Integer value = 0;
    if (Index >= Fields.size() || !TryStrToInt(Fields[Index], value) || value < 0)
        return itisaBorder;
    return static_cast<TacImgType>(std::min<Integer>(value, itisaPngGlyph));
}

void CheckCounts(const TsMaskData& Image)
{
    if (Image.ImageCount < 0 || Image.MaskType < -1)
        throw EConvertError(L"'" + Image.PropertyName + L"' has a count outside the image format");
}

namespace {

TRect EntryRect(const String& Value)
{
    return TRect(Columns(Value, 2, 5), Columns(Value, 7, 10), Columns(Value, 12, 15), Columns(Value, 17, 20));
}

std::int16_t Short(Integer Value)
{
    return static_cast<std::int16_t>(std::clamp<Integer>(Value, -32768, 32767));
}

} // namespace

void ParseBorderEntry(const String& Value, TsMaskData& Image)
{
    Image.R = EntryRect(Value);
    Image.WL = Short(Columns(Value, 22, 25));
    Image.WT = Short(Columns(Value, 27, 30));
    Image.WR = Short(Columns(Value, 32, 35));
    Image.WB = Short(Columns(Value, 37, 40));
    Image.ImageCount = Short(Columns(Value, 42, 42));
    Image.MaskType = Short(Columns(Value, 44, 44));
    Image.DrawMode = Short(Columns(Value, 46, 46));
    Image.BorderWidth = Short(Columns(Value, 48, 48));
    Image.ImgType = ImgTypeField(Fields(Value, L'!'), 3);
    CheckCounts(Image);
}

void DefaultMargins(TsMaskData& Image)
{
    if (Image.BorderWidth != 0) {
        Image.WL = Image.WT = Image.WR = Image.WB = Image.BorderWidth;
        return;
    }
    // A count of 0 stands for 1, as InitMaskIndexes later makes it; mask
    // type -1 has no rows.
    const int count = std::max<int>(Image.ImageCount, 1);
    Image.WL = Image.WR = Short(Image.R.Width() / (count * 3));
    Image.WT = Image.WB = Image.MaskType < 0 ? 0 : Short(Image.R.Height() / (Image.MaskType * 3 + 3));
}

Integer ScanCornerType(const TsMaskData& Image, TBitmap* Source)
{
    TPixelRows rows = PixelRows32(Source);
    if (!rows || Image.R.Height() <= 0 || Image.MaskType < 0)
        return 0;
    const int count = std::max<int>(Image.ImageCount, 1);
    const int F = Image.R.Width() / count;
    const int H = Image.R.Height() / (Image.MaskType + 1);
    auto keyIn = [&](int x0, int x1, int y0, int y1) {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, rows.Width);
        y1 = std::min(y1, rows.Height);
        for (int y = y0; y < y1; ++y) {
            const Cardinal* row = rows.Row(y);
            for (int x = x0; x < x1; ++x)
                if ((row[x] & 0xFFFFFF) == 0xFF00FF)
                    return true;
        }
        return false;
    };
    const int top = Image.R.top;
    for (int i = 0; i < count; ++i) {
        const int L = Image.R.left + i * F;
        if (keyIn(L, L + Image.WL, top, top + Image.WT) || keyIn(L + F - Image.WR, L + F, top, top + Image.WT) ||
            keyIn(L, L + Image.WL, top + H - Image.WB, top + H) ||
            keyIn(L + F - Image.WR, L + F, top + H - Image.WB, top + H))
            return 1;
    }
    return 0;
}

TMemoryStream* OpenSkinFile(const TacSkinSource& Source, const String& Name, TOwned<TMemoryStream>& Holder)
{
    if (Source.Package) {
        TacFileItem* item = Source.Package->FindFile(UpperCase(Name));
        return item ? item->Stream.get() : nullptr;
    }
    const String path = Name.find(L':') != String::npos ? Name : Source.Path + Name;
    if (Name.empty() || !FileExists(path))
        return nullptr;
    Holder.reset(New<TMemoryStream>());
    Holder->LoadFromFile(path);
    return Holder.get();
}

TOwned<TBitmap> DecodeSkinImage(const String& Name, TMemoryStream* Data, bool& WasPng)
{
    const String upper = UpperCase(Name);
    TOwned<TBitmap> bmp(New<TBitmap>());
    WasPng = false;
    Data->SetPosition(0);
    if (upper.find(L".BMP") != String::npos)
        bmp->LoadFromStream(Data);
    else if (upper.find(L".JPG") != String::npos || upper.find(L".JPEG") != String::npos) {
        TOwned<TJPEGImage> jpeg(New<TJPEGImage>());
        jpeg->LoadFromStream(Data);
        bmp->SetPixelFormat(pf24bit);
        bmp->SetSize(jpeg->GetWidth(), jpeg->GetHeight());
        bmp->GetCanvas()->Draw(0, 0, jpeg.get());
    } else if (upper.find(L".PNG") != String::npos) {
        LoadPngStreamToBitmap(bmp.get(), Data);
        WasPng = true;
    }
    if (bmp->GetWidth() > 0 && bmp->GetPixelFormat() != pf32bit) {
        TacExtFileData data;
        data.Bmp = bmp.get();
        SetFileDataBitmap32(data);
        SetBitmap32Alpha(bmp.get(), TRect(0, 0, bmp->GetWidth(), bmp->GetHeight()), 255, 0xFF00FF);
    }
    return bmp;
}

} // namespace skinload

using namespace skinload;

namespace {

const String GlobalInfo = L"GLOBALINFO";

// The external file's bitmap, loaded once per load; null when the file is
// missing or holds no pixels.
TBitmap* ExternalBitmap(TsSkinManager& m, const TacSkinSource& Source, const String& FileName, Integer MaskType)
{
    for (const TacExtFileData& ext : m.ExtArray)
        if (ext.FileName == FileName)
            return ext.Bmp;
    TOwned<TMemoryStream> holder;
    TMemoryStream* data = OpenSkinFile(Source, FileName, holder);
    if (!data)
        return nullptr;
    bool png = false;
    TOwned<TBitmap> bmp = DecodeSkinImage(FileName, data, png);
    if (bmp->GetWidth() == 0)
        return nullptr;
    // PNG pixels arrive unpremultiplied; a positive brightness premultiplies
    // them after its change instead.
    if (png && m.GetBrightness() < 1 && m.CommonSkinData.Version > 7.45)
        PremultiplyBitmap32Rect(bmp.get(), TRect(0, 0, bmp->GetWidth(), bmp->GetHeight()));
    m.ExtArray.push_back({bmp.release(), FileName, MaskType});
    return m.ExtArray.back().Bmp;
}

bool IsFileNameValue(const String& Value)
{
    return Value.find(L".JPG") != String::npos || Value.find(L".BMP") != String::npos;
}

} // namespace

void TsSkinManager::LoadAllMasks(const TacSkinSource& Source)
{
    FreeSkinTables();
    CommonSkinData.SkinPath = Source.Path;
    if (!Source.Ini) {
        CommonSkinData.Version = 0;
        return;
    }
    const TacSkinIni& ini = *Source.Ini;
    const Integer scale = GetScale();
    const String suffix = ScaleSuffixes[scale];
    {
        double version = 0;
        TryStrToFloat(ini.ReadString(GlobalInfo, L"VERSION", L"0"), version, TFormatSettings::Invariant());
        CommonSkinData.Version = version;
    }

    const String masterName = ini.ReadString(GlobalInfo, L"MASTERBITMAP", String());
    if (!masterName.empty()) {
        TOwned<TMemoryStream> holder;
        if (TMemoryStream* data = OpenSkinFile(Source, masterName, holder)) {
            bool png = false;
            TOwned<TBitmap> master = DecodeSkinImage(masterName, data, png);
            if (master->GetWidth() > 0) {
                master->SetTransparentColor(0xFF00FF);
                master->SetHandleType(bmDIB);
                MasterBitmap = master.release();
            }
        }
    }

    for (int s = 0; s < ini.SectionCount(); ++s) {
        const TacSkinIni::TSection& section = ini.Section(s);
        for (const TacSkinIni::TKey& key : section.Keys) {
            if (s == ini.FindSection(GlobalInfo) && key.Name == L"MASTERBITMAP")
                continue;
            String value = UpperCase(key.Value);
            if (value.empty())
                continue;
            const bool scaledKey = key.Name.find(L'*') != String::npos;
            const wchar_t kind = value[0];
            const bool external = kind == L'!' || (kind != L'^' && kind != L'@' && kind != L'~' && IsFileNameValue(value));
            if ((kind == L'^' || external) && scaledKey)
                continue;
            if (kind != L'^' && kind != L'@' && kind != L'~' && !external)
                continue;
            String propertyName = key.Name;
            if (scale > 0 && (kind == L'^' || external)) {
                String scaledValue;
                if (ini.Find(s, key.Name + suffix, scaledValue) && !scaledValue.empty()) {
                    value = UpperCase(scaledValue);
                    if (external)
                        propertyName += suffix;
                }
            }

            TsMaskData image;
            image.PropertyName = propertyName;
            image.ClassName = section.Name;
            image.SkinIndex = s;
            image.Manager = this;
            TBitmap* source = MasterBitmap;
            bool border = false;
            switch (value[0]) {
            case L'^':
                ParseBorderEntry(value, image);
                if (image.WL + image.WT + image.WR + image.WB == 0)
                    DefaultMargins(image);
                border = true;
                break;
            case L'@':
                image.R = EntryRect(value);
                image.ImageCount = Short(Columns(value, 22, 22));
                image.MaskType = Short(Columns(value, 24, 24));
                image.ImgType = itisaGlyph;
                CheckCounts(image);
                break;
            case L'~': {
                image.R = EntryRect(value);
                image.DrawMode = Short(Columns(value, 22, 23));
                image.MaskType = value.size() >= 25 ? Short(Columns(value, 25, 25)) : 0;
                image.ImgType = itisaTexture;
                image.ImageCount = 1;
                CheckCounts(image);
                if (value.size() > 26) {
                    const std::vector<String> fields = Fields(value, L'~');
                    if (fields.size() > 6 && !fields[6].empty()) {
                        source = ExternalBitmap(*this, Source, fields[6], image.MaskType);
                        if (!source)
                            continue;
                        image.Bmp = source;
                    }
                }
                break;
            }
            default: {
                String fileName;
                if (value[0] == L'!') {
                    const std::vector<String> fields = Fields(value.substr(1), L'!');
                    fileName = fields[0];
                    image.ImageCount = fields.size() > 1 ? Short(StrToInt(fields[1])) : 1;
                    image.MaskType = fields.size() > 2 ? Short(StrToInt(fields[2])) : 0;
                    image.ImgType = ImgTypeField(fields, 3);
                    CheckCounts(image);
                    if (fields.size() >= 5) {
                        std::int16_t* margins[] = {&image.WL, &image.WT, &image.WR, &image.WB};
                        for (std::size_t i = 0; i < 4; ++i)
                            *margins[i] = 4 + i < fields.size() ? Short(StrToInt(fields[4 + i])) : 0;
                    }
                    image.DrawMode = fields.size() >= 9 ? Short(StrToInt(fields[8])) : 0;
                    border = image.ImgType == itisaBorder;
                    source = ExternalBitmap(*this, Source, fileName, image.MaskType);
                    if (!source)
                        continue;
                    image.R = TRect(0, 0, source->GetWidth(), source->GetHeight());
                    if (fields.size() < 5)
                        DefaultMargins(image);
                } else {
                    fileName = value;
                    image.ImgType = itisaTexture;
                    image.ImageCount = 1;
                    source = ExternalBitmap(*this, Source, fileName, 0);
                    if (!source)
                        continue;
                    image.R = TRect(0, 0, source->GetWidth(), source->GetHeight());
                }
                image.Bmp = source;
                break;
            }
            }
            if (border) {
                if (section.Name == L"BUTTON_HUGE" && key.Name == L"BORDERSMASK")
                    image.CornerType = 2;
                else
                    image.CornerType = ScanCornerType(image, source);
            }
            ma.push_back(std::move(image));
        }
    }

    // Images of the common sections: ".BMP" files named in their GLOBALINFO.
    if (FCommonSections->Count() > 0) {
        const TacSkinIni common(FCommonSections->GetText());
        for (int s = 0; s < common.SectionCount(); ++s) {
            if (UpperCase(common.Section(s).Name) != GlobalInfo)
                continue;
            for (const TacSkinIni::TKey& key : common.Section(s).Keys) {
                if (UpperCase(key.Value).find(L".BMP") == String::npos)
                    continue;
                const String path = key.Value.find(L':') != String::npos ? key.Value : CommonSkinData.SkinPath + key.Value;
                if (!FileExists(path))
                    continue;
                TOwned<TMemoryStream> data(New<TMemoryStream>());
                data->LoadFromFile(path);
                bool png = false;
                TOwned<TBitmap> bmp = DecodeSkinImage(path, data.get(), png);
                if (bmp->GetWidth() == 0)
                    continue;
                const Integer index = MakeNewItem(GetSkinIndex(GlobalInfo), UpperCase(key.Name), GlobalInfo,
                                                  itisaTexture, TRect(0, 0, bmp->GetWidth(), bmp->GetHeight()), 1, 0, 0);
                ma[index].SkinIndex = ini.FindSection(GlobalInfo);
                ma[index].Bmp = bmp.release();
            }
        }
    }
}
