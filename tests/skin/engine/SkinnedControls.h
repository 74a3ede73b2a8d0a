// Small skinned controls of the tests' own over real windows: each carries a
// skin state, paints its section's state colour into its cache on
// SKC_BUILD_CACHE (the window handlers are not ours to use here) and sends
// everything else through the common skin handling. The scene loads the
// test skin "Controls" from its generated folder into a real manager.
#pragma once

#include <gtest/gtest.h>
#include <sstream>
#include "Forms.h"
#include "GdiHandles.h"
#include "SkinWriter.h"
#include "StdCtrls.h"
#include "TestSupport.h"
#include "sCommonData.h"
#include "sGraphUtils.h"
#include "sSkinManager.h"
#include "sVclUtils.h"

namespace skinned_controls {

// Fills the cache with the colour a child would see: the state's colour, or
// the parent's for a transparent section.
inline void BuildSectionCache(TsCommonData& Data, TControl* Owner, int State)
{
    Data.EnsureCacheBmp();
    if (Data.FCacheBmp->GetWidth() == 0 || Data.FCacheBmp->GetHeight() == 0) {
        Data.BGChanged = false;
        return;
    }
    const TColor color = ColorToRGB(Data.BackgroundColor(State, nullptr));
    TBrushHandle brush(CreateSolidBrush(color));
    RECT r{0, 0, Owner->GetWidth(), Owner->GetHeight()};
    FillRect(Data.FCacheBmp->GetCanvas()->GetHandle(), &r, brush.Get());
    Data.BGChanged = false;
}

class TSkinnedBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void AfterConstruction() override
    {
        TCustomControl::AfterConstruction();
        Data.reset(New<TsCommonData>(this, true));
        ControlStyle.Include(csOpaque);
    }
    ~TSkinnedBox() override { Data.reset(); }

    TOwned<TsCommonData> Data;
    int ParentMoves = 0;
    int Paints = 0;
    int Builds = 0;
    bool Building = true;
    std::vector<int> Commands;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == SkinCommandMessage) {
            Commands.push_back(HIWORD(Message.WParam));
            if (HIWORD(Message.WParam) == SKC_PARENT_MOVED)
                ++ParentMoves;
            if (HIWORD(Message.WParam) == SKC_BUILD_CACHE) {
                ++Builds;
                if (Building)
                    BuildSectionCache(*Data, this, Data->FFocused || Data->FMouseAbove ? 1 : 0);
                return;
            }
        }
        if (Data && HandleSkinMessage(Message, Data.get()))
            return;
        if (Message.Msg == SkinCommandMessage)
            return;
        TCustomControl::WndProc(Message);
    }
    void Paint() override
    {
        ++Paints;
        if (Data->BGChanged)
            BuildSectionCache(*Data, this, 0);
        BitBlt(GetCanvas()->GetHandle(), 0, 0, GetWidth(), GetHeight(), Data->FCacheBmp->GetCanvas()->GetHandle(), 0,
               0, SRCCOPY);
    }
};

// A real edit window whose colours the skin state switches.
class TSkinnedEdit : public TEdit {
public:
    using TEdit::TEdit;
    void AfterConstruction() override
    {
        TEdit::AfterConstruction();
        Data.reset(New<TsCommonData>(this, true));
        Data->COC = 2;
    }
    ~TSkinnedEdit() override { Data.reset(); }
    TOwned<TsCommonData> Data;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Data && HandleSkinMessage(Message, Data.get()))
            return;
        TEdit::WndProc(Message);
    }
};

// The manager with the "Controls" test skin and a shown form.
struct TControlsScene {
    testing_support::TempDir dir;
    TOwned<TsSkinManager> manager;
    TOwned<TForm> form;

    explicit TControlsScene(const char* SkinName = "Controls")
    {
        std::istringstream in(testing_support::FileBytes(testing_support::SourceDir() +
                                                         L"\\tests\\fixtures\\skins\\" +
                                                         std::wstring(SkinName, SkinName + strlen(SkinName)) +
                                                         L".skin"));
        const skindesc::Skin skin = skindesc::Parse(in);
        const std::wstring name(skin.Name.begin(), skin.Name.end());
        CreateDirectoryW(dir.File(name).c_str(), nullptr);
        for (const auto& [file, bytes] : skinwriter::SkinFiles(skin))
            testing_support::WriteBytes(dir.File(name + L"\\" + std::wstring(file.begin(), file.end())), bytes);
        manager.reset(New<TsSkinManager>(nullptr));
        manager->SetSkinDirectory(dir.Path());
        manager->SetSkinName(name);
        form.reset(New<TForm>(nullptr));
        form->SetBounds(100, 100, 320, 240);
        form->SetColor(0x00102030);
        form->Show();
    }

    template <class T>
    T* Add(TWinControl* Parent, const wchar_t* Section, int X, int Y, int W, int H)
    {
        auto* c = New<T>(form.get());
        c->SetParent(Parent);
        c->SetBounds(X, Y, W, H);
        c->HandleNeeded();
        c->Data->FSkinManager = manager.get();
        c->Data->SetSkinSection(Section);
        c->Data->Loaded(false);
        testing_support::PumpMessages();
        return c;
    }
    int Section(const wchar_t* Name) const { return manager->GetSkinIndex(Name); }
};

// A 32-bit picture of the window as PrintWindow draws it.
inline TOwned<TBitmap> Printed(HWND Wnd)
{
    RECT r{};
    GetWindowRect(Wnd, &r);
    TOwned<TBitmap> bmp(MakeBitmap32(r.right - r.left, r.bottom - r.top));
    PrintWindow(Wnd, bmp->GetCanvas()->GetHandle(), 0);
    return bmp;
}

inline COLORREF PixelAt(TBitmap* Bmp, int X, int Y)
{
    return GetPixel(Bmp->GetCanvas()->GetHandle(), X, Y);
}

} // namespace skinned_controls
