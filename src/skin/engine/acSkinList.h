// The list of the skins a manager can load: its internal skins and the
// packed files of its skin directory, each with its preview picture, and
// the controls that show the list.
#pragma once

#include "Controls.h"
#include "acSkinPack.h"
#include <vector>

class TsSkinManager;

struct TacSkinListData {
    String skName;
    TacSkinMode skSkinMode = smInternal;
    Integer skImageIndex = -1;
};

// The previews: 32-bit images of one size (140 x 100), indexed.
class TacSkinPreviewList {
public:
    static constexpr int Width = 140;
    static constexpr int Height = 100;
    int Count() const { return static_cast<int>(FImages.size()); }
    TBitmap* Image(int Index) const { return FImages[Index].get(); }
    // The PNG picture of Data resized to the list's size; -1 when it does
    // not decode.
    int AddPng(TStream* Data);
    // A copy of Bmp.
    int AddCopy(TBitmap* Bmp);
    void Clear() { FImages.clear(); }

private:
    std::vector<TOwned<TBitmap>> FImages;
};

class TacSkinListController : public TObject {
public:
    explicit TacSkinListController(TsSkinManager* AOwner);

    TacSkinPreviewList ImgList;
    bool UpdateNeeded = true;
    TsSkinManager* SkinManager;
    // A removed control leaves an empty slot.
    std::vector<TControl*> Controls;
    std::vector<TacSkinListData> SkinList;

    void AddControl(TControl* Ctrl);
    void DelControl(TControl* Ctrl);
    int CtrlIndex(TControl* Ctrl) const;
    void SendListChanged();
    void SendSkinChanged();
    void UpdateData(bool UpdateNow);
    void UpdateIfNeeded();
    void ResetList(bool Notify);
};
