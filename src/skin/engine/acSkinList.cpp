// The available skins with their previews, and the manager's name lists.
#include "acSkinList.h"
#include "acMessageBox.h"
#include "acntTypes.h"
#include "sGraphUtils.h"
#include "sMessages.h"
#include "sSkinManager.h"
#include "sSkinText.h"
#include "sVclUtils.h"
#include <random>

int TacSkinPreviewList::AddPng(TStream* Data)
{
    TOwned<TBitmap> picture(New<TBitmap>());
    try {
        Data->SetPosition(0);
        LoadPngStreamToBitmap(picture.get(), Data);
    } catch (const Exception&) {
        return -1;
    }
    if (picture->GetWidth() <= 0 || picture->GetHeight() <= 0)
        return -1;
    picture->SetPixelFormat(pf32bit);
    TOwned<TBitmap> image(MakeBitmap32(Width, Height));
    if (picture->GetWidth() == Width && picture->GetHeight() == Height)
        DuplicateBitmap(image.get(), picture.get());
    else
        ResampleBitmap(picture.get(), image.get(), Width, Height, 6);
    FImages.push_back(std::move(image));
    return Count() - 1;
}

int TacSkinPreviewList::AddCopy(TBitmap* Bmp)
{
    TOwned<TBitmap> image(MakeBitmap32(Width, Height));
    DuplicateBitmap(image.get(), Bmp);
    FImages.push_back(std::move(image));
    return Count() - 1;
}

// ---------------------------------------------------------------------------
TacSkinListController::TacSkinListController(TsSkinManager* AOwner) : SkinManager(AOwner) {}

void TacSkinListController::AddControl(TControl* Ctrl)
{
    if (CtrlIndex(Ctrl) >= 0)
        return;
    bool wasEmpty = SkinList.empty();
    for (TControl* c : Controls)
        wasEmpty = wasEmpty && !c;
    Controls.push_back(Ctrl);
    if (wasEmpty)
        ResetList(true);
}

void TacSkinListController::DelControl(TControl* Ctrl)
{
    const int index = CtrlIndex(Ctrl);
    if (index >= 0)
        Controls[index] = nullptr;
}

int TacSkinListController::CtrlIndex(TControl* Ctrl) const
{
    for (std::size_t i = 0; i < Controls.size(); ++i)
        if (Controls[i] && Controls[i] == Ctrl)
            return static_cast<int>(i);
    return -1;
}

void TacSkinListController::SendListChanged()
{
    for (TControl* c : std::vector<TControl*>(Controls))
        if (c)
            SendControlCommand(c, SKC_SKIN_LIST_CHANGED, 0);
}

void TacSkinListController::SendSkinChanged()
{
    for (TControl* c : std::vector<TControl*>(Controls)) {
        if (!c)
            continue;
        auto* windowed = dynamic_cast<TWinControl*>(c);
        if (windowed && windowed->HandleAllocated())
            PostMessageW(windowed->GetHandle(), SkinCommandMessage, SkinCommandWParam(SKC_SKIN_CHANGED_NOTIFY), 0);
        else
            SendControlCommand(c, SKC_SKIN_CHANGED_NOTIFY, 0);
    }
}

void TacSkinListController::ResetList(bool Notify)
{
    SkinList.clear();
    ImgList.Clear();
    if (Notify) {
        UpdateNeeded = true;
        SendListChanged();
    }
}

void TacSkinListController::UpdateIfNeeded()
{
    if (UpdateNeeded) {
        UpdateNeeded = false;
        UpdateData(true);
    }
}

void TacSkinListController::UpdateData(bool)
{
    TsSkinManager* m = SkinManager;
    if (m->ManagerState.Contains(msSkinLoading) || m->ComponentState().Contains(csDestroying))
        return;
    TsSkinManager* def = DefaultManager;
    if (def && def != m && def->GetSkinDirectory() == m->GetSkinDirectory() && def->SkinListController()) {
        TacSkinListController* other = def->SkinListController();
        other->UpdateIfNeeded();
        ResetList(false);
        SkinList = other->SkinList;
        for (int i = 0; i < other->ImgList.Count(); ++i)
            ImgList.AddCopy(other->ImgList.Image(i));
        SendListChanged();
        return;
    }
    ResetList(false);
    if (m->GetSkinsFilter().Contains(sfiInternal))
        for (int i = 0; i < m->InternalSkins()->Count(); ++i) {
            TsStoredSkin* skin = m->InternalSkins()->Items(i);
            TacSkinListData data{skin->Name, smInternal, -1};
            TOwned<TMemoryStream> preview(New<TMemoryStream>());
            if (ReadSkinPreview(preview.get(), skin->PackedData.get()))
                data.skImageIndex = ImgList.AddPng(preview.get());
            SkinList.push_back(data);
        }
    if (m->GetSkinsFilter().Contains(sfiExternal)) {
        const String dir = m->GetFullSkinDirectory();
        TSearchRec found;
        if (FindFirst(dir + L"*", faAnyFile, found) == 0) {
            do {
                const String& name = found.Name;
                if (name.empty() || name[0] == L'.' || (found.Attr & faDirectory))
                    continue;
                // The extension is compared with case: "Blue.ASZ" is not listed.
                if (ExtractFileExt(name) != L".asz")
                    continue;
                // Only the final extension goes: "Two.asz.asz" is "Two.asz".
                TacSkinListData data{name.substr(0, name.size() - 4), smExtPacked, -1};
                TOwned<TMemoryStream> preview(New<TMemoryStream>());
                if (ReadSkinPreview(preview.get(), dir + name))
                    data.skImageIndex = ImgList.AddPng(preview.get());
                SkinList.push_back(data);
            } while (FindNext(found) == 0);
            FindClose(found);
        }
    }
    SendListChanged();
}

// ---------------------------------------------------------------------------
String TsSkinManager::GetSkinNames(TStrings* sl, bool CreateDataObject, int SkinType)
{
    sl->Clear();
    FSkinListController->UpdateIfNeeded();
    TOwned<TStringList> names(New<TStringList>());
    for (const TacSkinListData& data : FSkinListController->SkinList) {
        const bool internal = data.skSkinMode == smInternal;
        if ((SkinType == 0 && internal) || (SkinType == 1 && !internal))
            continue;
        TObject* item = nullptr;
        if (CreateDataObject) {
            auto* drawData = New<TacItemDrawData>();
            drawData->ImageIndex = data.skImageIndex;
            item = drawData;
        }
        names->AddObject(data.skName, item);
    }
    names->Sort();
    for (int i = 0; i < names->Count(); ++i)
        sl->AddObject((*names)[i], names->GetObject(i));
    return names->Count() > 0 ? (*names)[0] : String();
}

String TsSkinManager::GetExternalSkinNames(TStrings* sl, bool CreateDataObject, int)
{
    return GetSkinNames(sl, CreateDataObject, 0);
}

String TsSkinManager::GetRandomSkin()
{
    TOwned<TStringList> names(New<TStringList>());
    GetSkinNames(names.get(), false, 2);
    if (names->Count() == 0)
        return String();
    static std::mt19937 generator;
    generator.seed(std::random_device{}());
    return (*names)[static_cast<int>(generator() % static_cast<unsigned>(names->Count()))];
}

void TsSkinManager::ExtractByIndex(Integer Index, const String& DestDir)
{
    if (Index < 0 || Index >= FInternalSkins->Count())
        return;
    TsStoredSkin* skin = FInternalSkins->Items(Index);
    // The name becomes a file name: no path of its own.
    if (skin->Name.find_first_of(L"\\/:") != String::npos || skin->Name.find(L"..") != String::npos)
        return;
    const String dir = IncludeTrailingPathDelimiter(DestDir);
    if (!DirectoryExists(dir) && !ForceDirectories(dir)) {
        ShowErrorMessage(dir + L" directory creation error.");
        return;
    }
    if (skin->PackedData && skin->PackedData->GetSize() > 0)
        skin->PackedData->SaveToFile(dir + skin->Name + L" extracted.asz");
}

void TsSkinManager::ExtractInternalSkin(const String& NameOfSkin, const String& DestDir)
{
    bool found = false;
    for (int i = 0; i < FInternalSkins->Count(); ++i) {
        if (FInternalSkins->Items(i)->Name != NameOfSkin)
            continue;
        found = true;
        if (DirectoryExists(DestDir))
            ExtractByIndex(i, DestDir);
        else
            ShowErrorMessage(L"Directory does not exists.");
    }
    if (!found)
        ShowErrorMessage(L"Skin does not exists.");
}
