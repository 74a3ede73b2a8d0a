// The second load pass: the skin's fonts, installed for this process. The
// fonts go into a fresh collection; the previous skin's are removed when
// the load has succeeded (sSkinLoader.cpp).
#include "sSkinLoaderParts.h"
#include "acFontStore.h"
#include "acSkinPack.h"
#include "sSkinManager.h"

namespace {

const String GlobalInfo = L"GLOBALINFO";

void AddFont(TacEmbeddedFonts* Fonts, const String& FileName, const String& FontName, TMemoryStream* Data)
{
    TacEmbeddedFont* font = Fonts->Add();
    font->SetFileName(FileName);
    font->SetFontName(FontName);
    if (!Data)
        return;
    font->FontData->Clear();
    if (Data->GetSize() > 0)
        font->FontData->WriteBuffer(Data->Memory(), Data->GetSize());
    font->LoadFont();
}

} // namespace

void TsSkinManager::LoadFonts(const TacSkinSource& Source)
{
    FEmbeddedFonts.reset(New<TacEmbeddedFonts>(this, efkSkinManager));
    if (!Source.Ini)
        return;
    const TacSkinIni& ini = *Source.Ini;
    const int global = ini.FindSection(GlobalInfo);
    // Never more fonts than the section has keys to name them.
    const Integer keys = global < 0 ? 0 : static_cast<Integer>(ini.Section(global).Keys.size());
    if (Source.Package) {
        for (TacFileItem& item : Source.Package->Files) {
            if (item.FileType != ftFont)
                continue;
            String fontName;
            for (Integer i = 0; i < keys; ++i) {
                String file;
                if (ini.Find(global, L"FontFile" + IntToStr(i), file) && file == item.Name) {
                    fontName = ini.ReadString(GlobalInfo, L"FontName" + IntToStr(i), String());
                    break;
                }
            }
            AddFont(FEmbeddedFonts.get(), ExtractFileName(item.Name), fontName, item.Stream.get());
        }
        return;
    }
    const Integer count = std::clamp<Integer>(ini.ReadInteger(GlobalInfo, L"FontCount", 0), 0, keys);
    for (Integer i = 0; i < count; ++i) {
        const String file = ini.ReadString(GlobalInfo, L"FontFile" + IntToStr(i), String());
        TOwned<TMemoryStream> holder;
        TMemoryStream* data = file.empty() ? nullptr : skinload::OpenSkinFile(Source, file, holder);
        if (!data) {
            FEmbeddedFonts->Add();
            continue;
        }
        AddFont(FEmbeddedFonts.get(), file, ini.ReadString(GlobalInfo, L"FontName" + IntToStr(i), String()), data);
    }
}

void UnloadFonts(TacEmbeddedFonts* Fonts)
{
    if (Fonts)
        for (int i = 0; i < Fonts->Count(); ++i)
            Fonts->Items(i)->UnLoadFont();
}
