// The fill's stored forms: an INI section with the pictures as hexadecimal
// text, the component stream of a TSaver holding the fill, and that stream
// on the clipboard under "GDI+ Fill".
#include "Clipbrd.h"
#include "GdiHandles.h"
#include "GDIPFill.h"
#include "ScopeExit.h"
#include <cstring>
#include <span>

using namespace GDIPFill;

namespace {

Word clipboardFormat = 0;

const wchar_t* const GradientTypeNames[] = {L"gtSolid",           L"gtRadial",           L"gtVertical",
                                            L"gtHorizontal",      L"gtForwardDiagonal",  L"gtBackwardDiagonal",
                                            L"gtAngle",           L"gtHatch",            L"gtPath",
                                            L"gtTexture",         L"gtNone"};
const wchar_t* const HatchStyleNames[] = {
    L"HatchStyleHorizontal", L"HatchStyleVertical", L"HatchStyleForwardDiagonal", L"HatchStyleBackwardDiagonal",
    L"HatchStyleCross", L"HatchStyleDiagonalCross", L"HatchStyle05Percent", L"HatchStyle10Percent",
    L"HatchStyle20Percent", L"HatchStyle25Percent", L"HatchStyle30Percent", L"HatchStyle40Percent",
    L"HatchStyle50Percent", L"HatchStyle60Percent", L"HatchStyle70Percent", L"HatchStyle75Percent",
    L"HatchStyle80Percent", L"HatchStyle90Percent", L"HatchStyleLightDownwardDiagonal",
    L"HatchStyleLightUpwardDiagonal", L"HatchStyleDarkDownwardDiagonal", L"HatchStyleDarkUpwardDiagonal",
    L"HatchStyleWideDownwardDiagonal", L"HatchStyleWideUpwardDiagonal", L"HatchStyleLightVertical",
    L"HatchStyleLightHorizontal", L"HatchStyleNarrowVertical", L"HatchStyleNarrowHorizontal",
    L"HatchStyleDarkVertical", L"HatchStyleDarkHorizontal", L"HatchStyleDashedDownwardDiagonal",
    L"HatchStyleDashedUpwardDiagonal", L"HatchStyleDashedHorizontal", L"HatchStyleDashedVertical",
    L"HatchStyleSmallConfetti", L"HatchStyleLargeConfetti", L"HatchStyleZigZag", L"HatchStyleWave",
    L"HatchStyleDiagonalBrick", L"HatchStyleHorizontalBrick", L"HatchStyleWeave", L"HatchStylePlaid",
    L"HatchStyleDivot", L"HatchStyleDottedGrid", L"HatchStyleDottedDiamond", L"HatchStyleShingle",
    L"HatchStyleTrellis", L"HatchStyleSphere", L"HatchStyleSmallGrid", L"HatchStyleSmallCheckerBoard",
    L"HatchStyleLargeCheckerBoard", L"HatchStyleOutlinedDiamond", L"HatchStyleSolidDiamond", L"HatchStyleTotal"};
const wchar_t* const PicturePositionNames[] = {
    L"ppTopLeft", L"ppTopCenter", L"ppTopRight", L"ppBottomLeft", L"ppBottomCenter", L"ppBottomRight",
    L"ppTiled", L"ppStretched", L"ppCenterLeft", L"ppCenterCenter", L"ppCenterRight", L"ppCustom"};
const wchar_t* const RoundingTypeNames[] = {L"rtNone", L"rtTop", L"rtBottom", L"rtBoth", L"rtLeft", L"rtRight"};
const wchar_t* const PictureSizeNames[] = {L"psOriginal", L"psCustom"};
const wchar_t* const PictureModeNames[] = {L"pmInsideFill", L"pmOutsideFill"};
const wchar_t* const AspectModeNames[] = {L"pmStretch", L"pmNormal"};
const wchar_t* const ShadowTypeNames[] = {L"stRightBottom", L"stBottom", L"stSurround"};
const wchar_t* const GlowModeNames[] = {L"gmNone", L"gmGradient", L"gmRadial", L"gmRadialGradient"};
static_assert(std::size(GradientTypeNames) == gtNone + 1);
static_assert(std::size(HatchStyleNames) == HatchStyleTotal + 1);
static_assert(std::size(PicturePositionNames) == ppCustom + 1);

using Names = std::span<const wchar_t* const>;

} // namespace

// The fill's fields by their stored names, for the stream and the INI form.
struct TGDIPFillStore {
    enum TKind { kColor, kEnum, kInteger, kByte, kBoolean };
    struct TProp {
        const wchar_t* Name;
        TKind Kind;
        // Written even when equal to the constructor's value.
        bool Always;
        Names ValueNames;
        std::function<Int64(const TGDIPFill&)> Get;
        std::function<void(TGDIPFill&, Int64)> Set;
    };

    template <class V>
    static TProp Field(const wchar_t* Name, TKind Kind, bool Always, V TGDIPFill::*F, void (TGDIPFill::*Setter)(V),
                       Names ValueNames = {})
    {
        return {Name, Kind, Always, ValueNames, [F](const TGDIPFill& f) { return static_cast<Int64>(f.*F); },
                [Setter](TGDIPFill& f, Int64 v) { (f.*Setter)(static_cast<V>(v)); }};
    }

    // The published values in declaration order, pictures left out.
    static const std::vector<TProp>& Props()
    {
        using F = TGDIPFill;
        static const std::vector<TProp> props = {
            Field(L"Color", kColor, false, &F::FColor, &F::SetColor),
            Field(L"ColorTo", kColor, false, &F::FColorTo, &F::SetColorTo),
            Field(L"ColorMirror", kColor, true, &F::FColorMirror, &F::SetColorMirror),
            Field(L"ColorMirrorTo", kColor, true, &F::FColorMirrorTo, &F::SetColorMirrorTo),
            Field(L"GradientType", kEnum, true, &F::FGradientType, &F::SetGradientType, GradientTypeNames),
            Field(L"GradientMirrorType", kEnum, true, &F::FGradientMirrorType, &F::SetGradientMirrorType,
                  GradientTypeNames),
            Field(L"HatchStyle", kEnum, false, &F::FHatchStyle, &F::SetHatchStyle, HatchStyleNames),
            Field(L"HatchStyleMirror", kEnum, false, &F::FHatchStyleMirror, &F::SetHatchStyleMirror, HatchStyleNames),
            Field(L"BackGroundPictureAspectRatio", kBoolean, false, &F::FBackGroundPictureAspectRatio,
                  &F::SetBackGroundPictureAspectRatio),
            Field(L"BackGroundPictureMode", kEnum, false, &F::FBackGroundPictureMode, &F::SetBackGroundPictureMode,
                  PictureModeNames),
            // "BackGroundPicture" goes here.
            Field(L"BackGroundPicturePosition", kEnum, false, &F::FBackGroundPicturePosition,
                  &F::SetBackGroundPicturePosition, PicturePositionNames),
            Field(L"BackGroundPictureLeft", kInteger, false, &F::FBackGroundPictureLeft, &F::SetBackGroundPictureLeft),
            Field(L"BackGroundPictureTop", kInteger, false, &F::FBackGroundPictureTop, &F::SetBackGroundPictureTop),
            Field(L"BackGroundPictureAspectMode", kEnum, false, &F::FBackGroundPictureAspectMode,
                  &F::SetBackGroundPictureAspectMode, AspectModeNames),
            // "Picture" goes here.
            Field(L"PicturePosition", kEnum, false, &F::FPicturePosition, &F::SetPicturePosition,
                  PicturePositionNames),
            Field(L"PictureLeft", kInteger, false, &F::FPictureLeft, &F::SetPictureLeft),
            Field(L"PictureTop", kInteger, false, &F::FPictureTop, &F::SetPictureTop),
            Field(L"PictureSize", kEnum, false, &F::FPictureSize, &F::SetPictureSize, PictureSizeNames),
            Field(L"PictureWidth", kInteger, false, &F::FPictureWidth, &F::SetPictureWidth),
            Field(L"PictureHeight", kInteger, false, &F::FPictureHeight, &F::SetPictureHeight),
            Field(L"PictureAspectRatio", kBoolean, false, &F::FPictureAspectRatio, &F::SetPictureAspectRatio),
            Field(L"PictureAspectMode", kEnum, false, &F::FPictureAspectMode, &F::SetPictureAspectMode,
                  AspectModeNames),
            Field(L"Opacity", kByte, false, &F::FOpacity, &F::SetOpacity),
            Field(L"OpacityTo", kByte, false, &F::FOpacityTo, &F::SetOpacityTo),
            Field(L"OpacityMirror", kByte, false, &F::FOpacityMirror, &F::SetOpacityMirror),
            Field(L"OpacityMirrorTo", kByte, false, &F::FOpacityMirrorTo, &F::SetOpacityMirrorTo),
            Field(L"BorderColor", kColor, true, &F::FBorderColor, &F::SetBorderColor),
            Field(L"BorderOpacity", kByte, false, &F::FBorderOpacity, &F::SetBorderOpacity),
            Field(L"BorderWidth", kInteger, false, &F::FBorderWidth, &F::SetBorderWidth),
            Field(L"Rounding", kInteger, true, &F::FRounding, &F::SetRounding),
            Field(L"RoundingType", kEnum, false, &F::FRoundingType, &F::SetRoundingType, RoundingTypeNames),
            Field(L"ShadowColor", kColor, false, &F::FShadowColor, &F::SetShadowColor),
            Field(L"ShadowOffset", kInteger, true, &F::FShadowOffset, &F::SetShadowOffset),
            Field(L"ShadowType", kEnum, false, &F::FShadowType, &F::SetShadowType, ShadowTypeNames),
            Field(L"Angle", kInteger, false, &F::FAngle, &F::SetAngle),
            Field(L"Glow", kEnum, true, &F::FGlow, &F::SetGlow, GlowModeNames),
            Field(L"GlowGradientColor", kColor, false, &F::FGlowGradientColor, &F::SetGlowGradientColor),
            Field(L"GlowRadialColor", kColor, false, &F::FGlowRadialColor, &F::SetGlowRadialColor),
        };
        return props;
    }
    static const TProp* Find(const String& Name)
    {
        for (const TProp& p : Props())
            if (SameText(Name, p.Name))
                return &p;
        return nullptr;
    }

    // --- INI section ----------------------------------------------------------------

    // Keys 1 to 32 in the order they are written; the same names as above.
    static constexpr const wchar_t* IniKeys[] = {
        L"Color", L"ColorTo", L"ColorMirror", L"ColorMirrorTo", L"GradientType", L"GradientMirrorType",
        L"HatchStyle", L"HatchStyleMirror", L"BackGroundPictureMode", L"BackGroundPicturePosition",
        L"BackGroundPictureLeft", L"BackGroundPictureTop", L"PicturePosition", L"PictureLeft", L"PictureTop",
        L"PictureWidth", L"PictureHeight", L"Opacity", L"OpacityTo", L"OpacityMirror", L"OpacityMirrorTo",
        L"BorderColor", L"BorderOpacity", L"BorderWidth", L"Rounding", L"RoundingType", L"ShadowOffset",
        L"ShadowColor", L"Angle", L"Glow", L"GlowGradientColor", L"GlowRadialColor"};

    static void Save(TGDIPFill& Fill, TCustomIniFile* Ini, const String& Section)
    {
        for (const wchar_t* key : IniKeys)
            Ini->WriteInteger(Section, key, static_cast<Integer>(Find(key)->Get(Fill)));
        auto picture = [&](const wchar_t* Key, const wchar_t* SizeKey, TAdvGDIPPicture* Picture) {
            TOwned<TMemoryStream> bytes(New<TMemoryStream>());
            if (!Picture->GetEmpty())
                Picture->SaveToStream(bytes.get());
            const String text = StreamToHexText(bytes.get());
            Ini->WriteString(Section, Key, text);
            Ini->WriteInteger(Section, SizeKey, static_cast<Integer>(text.size()));
        };
        picture(L"Picture", L"PictureSize", Fill.FPicture.get());
        picture(L"BackgroundPicture", L"BackgroundPictureSize", Fill.FBackGroundPicture.get());
    }

    static void Load(TGDIPFill& Fill, TCustomIniFile* Ini, const String& Section)
    {
        {
            // Straight into the fill: one notification at the end.
            Fill.BeginUpdate();
            const TScopeExit end([&] { Fill.EndUpdate(); });
            for (const wchar_t* key : IniKeys) {
                const TProp* p = Find(key);
                const Int64 value = Ini->ReadInteger(Section, key, static_cast<Integer>(p->Get(Fill)));
                // A value the field cannot hold is treated like a missing key.
                bool fits = true;
                if (p->Kind == kEnum)
                    fits = value >= 0 && value < static_cast<Int64>(p->ValueNames.size());
                else if (p->Kind == kByte)
                    fits = value >= 0 && value <= 255;
                if (fits)
                    p->Set(Fill, value);
            }
        }
        // The length says only whether there is a picture; the text is read
        // whole, so a wrong length can neither over-read nor under-read.
        auto picture = [&](const wchar_t* Key, const wchar_t* SizeKey, TAdvGDIPPicture* Picture) {
            if (Ini->ReadInteger(Section, SizeKey, 0) <= 0)
                return;
            const String text = Ini->ReadString(Section, Key, String());
            TOwned<TMemoryStream> bytes(New<TMemoryStream>());
            HexTextToStream(text, bytes.get());
            bytes->SetPosition(0);
            Picture->LoadFromStream(bytes.get());
        };
        picture(L"Picture", L"PictureSize", Fill.FPicture.get());
        picture(L"BackgroundPicture", L"BackgroundPictureSize", Fill.FBackGroundPicture.get());
        Fill.Changed();
    }

    // --- component stream -----------------------------------------------------------

    static void WriteProp(TWriter& w, const TProp& p, Int64 value)
    {
        w.WritePropName(String(L"SaveObject.") + p.Name);
        switch (p.Kind) {
        case kColor: {
            String ident;
            if (ColorToIdent(static_cast<TColor>(value), ident))
                w.WriteIdent(ident);
            else
                w.WriteInteger(static_cast<Integer>(value));
            break;
        }
        case kEnum:
            w.WriteIdent(p.ValueNames[static_cast<std::size_t>(value)]);
            break;
        case kBoolean:
            w.WriteBoolean(value != 0);
            break;
        case kInteger:
        case kByte:
            w.WriteInteger(value);
            break;
        }
    }

    static void WritePicture(TWriter& w, const wchar_t* Name, TAdvGDIPPicture* Picture)
    {
        if (Picture->GetEmpty())
            return;
        TOwned<TMemoryStream> bytes(New<TMemoryStream>());
        Picture->SaveToStream(bytes.get());
        w.WritePropName(String(L"SaveObject.") + Name + L".Data");
        w.WriteBinary(bytes->Memory(), bytes->GetSize());
    }

    static void Write(TStream* Stream, TGDIPFill& Fill)
    {
        TOwned<TGDIPFill> defaults(New<TGDIPFill>());
        TWriter w(Stream);
        w.WriteSignature();
        w.WriteStr(L"TSaver");
        w.WriteStr(String());
        for (const TProp& p : Props()) {
            const Int64 value = p.Get(Fill);
            if (p.Always || value != p.Get(*defaults))
                WriteProp(w, p, value);
            if (SameText(p.Name, L"BackGroundPictureMode"))
                WritePicture(w, L"BackGroundPicture", Fill.FBackGroundPicture.get());
            else if (SameText(p.Name, L"BackGroundPictureAspectMode"))
                WritePicture(w, L"Picture", Fill.FPicture.get());
        }
        w.WriteListEnd(); // the properties
        w.WriteListEnd(); // the (absent) children
    }

    static Int64 ReadValue(TReader& r, const TProp& p)
    {
        switch (p.Kind) {
        case kColor:
            if (r.NextValue() == vaIdent) {
                const String ident = r.ReadIdent();
                TColor colour = 0;
                if (!IdentToColor(ident, colour))
                    throw EReadError(L"Invalid property value " + ident);
                return colour;
            }
            return r.ReadInteger();
        case kEnum: {
            const String ident = r.ReadIdent();
            for (std::size_t i = 0; i < p.ValueNames.size(); ++i)
                if (ident == p.ValueNames[i])
                    return static_cast<Int64>(i);
            throw EReadError(L"Invalid property value " + ident);
        }
        case kBoolean:
            return r.ReadBoolean() ? 1 : 0;
        case kByte: {
            const Integer v = r.ReadInteger();
            if (v < 0 || v > 255)
                throw EReadError(L"Invalid property value " + IntToStr(v));
            return v;
        }
        case kInteger:
            return r.ReadInteger();
        }
        return 0;
    }

    static void Read(TStream* Stream, TGDIPFill& Fill)
    {
        TReader r(Stream);
        r.ReadSignature();
        const String className = r.ReadStr();
        if (className != L"TSaver")
            throw EReadError(L"Invalid stream format: " + className + L" where TSaver belongs");
        r.ReadStr(); // the component name
        const String prefix = L"SaveObject.";
        while (!r.EndOfList()) {
            const String name = r.ReadPropName();
            try {
                if (!SameText(name.substr(0, prefix.size()), prefix))
                    throw EReadError(L"Property does not exist");
                const String rest = name.substr(prefix.size());
                TAdvGDIPPicture* picture = nullptr;
                if (SameText(rest, L"Picture.Data"))
                    picture = Fill.FPicture.get();
                else if (SameText(rest, L"BackGroundPicture.Data"))
                    picture = Fill.FBackGroundPicture.get();
                if (picture) {
                    const std::vector<Byte> data = r.ReadBinary();
                    TOwned<TMemoryStream> bytes(New<TMemoryStream>());
                    if (!data.empty())
                        bytes->WriteBuffer(data.data(), static_cast<Int64>(data.size()));
                    bytes->SetPosition(0);
                    picture->LoadFromStream(bytes.get());
                    continue;
                }
                const TProp* p = Find(rest);
                if (!p)
                    throw EReadError(L"Property does not exist");
                p->Set(Fill, ReadValue(r, *p));
            } catch (const EReadError& e) {
                throw EReadError(L"Error reading TSaver." + name + L": " + e.Message());
            }
        }
        r.ReadListEnd();
        if (!r.EndOfList())
            throw EReadError(L"Invalid stream format: TSaver has children");
        r.ReadListEnd();
    }
};

// --- unit start-up ----------------------------------------------------------------------

void GDIPFill_Initialize()
{
    if (clipboardFormat == 0)
        clipboardFormat = static_cast<Word>(RegisterClipboardFormatW(L"GDI+ Fill"));
}

void GDIPFill_Finalize() {}

Word GDIPFillClipboardFormat() { return clipboardFormat; }

// --- hexadecimal text -------------------------------------------------------------------

String StreamToHexText(TStream* Stream)
{
    static constexpr wchar_t digits[] = L"0123456789ABCDEF";
    String text;
    const Int64 size = Stream->GetSize();
    text.reserve(static_cast<std::size_t>(size) * 2);
    Stream->SetPosition(0);
    Byte b = 0;
    for (Int64 i = 0; i < size; ++i) {
        Stream->ReadBuffer(&b, 1);
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

void HexTextToStream(const String& Text, TMemoryStream* Stream)
{
    Stream->Clear();
    auto digit = [](wchar_t c) -> int {
        if (c >= L'0' && c <= L'9')
            return c - L'0';
        if (c >= L'a' && c <= L'f')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        if (c >= L'A' && c <= L'F')
            return c - L'A' + 10;
        throw EConvertError(L"No Hex-Number");
    };
    std::vector<Byte> bytes;
    bytes.reserve(Text.size() / 2);
    for (std::size_t i = 0; i + 1 < Text.size(); i += 2)
        bytes.push_back(static_cast<Byte>(16 * digit(Text[i]) + digit(Text[i + 1])));
    if (!bytes.empty())
        Stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

// --- the fill's operations --------------------------------------------------------------

void TGDIPFill::SaveToFile(const String& FileName, const String& Section)
{
    TOwned<TIniFile> ini(New<TIniFile>(FileName));
    SaveToFile(ini.get(), Section);
}

void TGDIPFill::LoadFromFile(const String& FileName, const String& Section)
{
    TOwned<TIniFile> ini(New<TIniFile>(FileName));
    LoadFromFile(ini.get(), Section);
}

void TGDIPFill::SaveToFile(TCustomIniFile* ini, const String& Section) { TGDIPFillStore::Save(*this, ini, Section); }

void TGDIPFill::LoadFromFile(TCustomIniFile* ini, const String& Section) { TGDIPFillStore::Load(*this, ini, Section); }

void SaveFillToStream(TStream* Stream, TGDIPFill* Fill)
{
    if (!Fill)
        throw EAssertionFailed(L"No fill to write (GDIPFill)");
    TGDIPFillStore::Write(Stream, *Fill);
}

void LoadFillFromStream(TStream* Stream, TGDIPFill* Fill)
{
    if (!Fill)
        throw EAssertionFailed(L"No fill to read into (GDIPFill)");
    TGDIPFillStore::Read(Stream, *Fill);
}

void TGDIPFill::SaveToClipBoard()
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    SaveFillToStream(stream.get(), this);
    Clipboard()->SetBuffer(clipboardFormat, stream->Memory(), static_cast<int>(stream->GetSize()));
}

void TGDIPFill::LoadFromClipBoard()
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    {
        TClipboard* clipboard = Clipboard();
        clipboard->Open();
        const TScopeExit close([clipboard] { clipboard->Close(); });
        HANDLE data = clipboardFormat ? clipboard->GetAsHandle(clipboardFormat) : nullptr;
        if (!data)
            return;
        const TGlobalLock lock(data);
        if (lock.Data() && lock.Size() > 0)
            stream->WriteBuffer(lock.Data(), static_cast<Int64>(lock.Size()));
    }
    stream->SetPosition(0);
    // Into a fresh fill first: a block that does not read changes nothing
    // here, and what the copy left out comes back as its default.
    TOwned<TGDIPFill> pasted(New<TGDIPFill>());
    LoadFillFromStream(stream.get(), pasted.get());
    Assign(pasted.get());
}
