// The four detail groups of the main window as they paint: button face
// inside a raised bevel, no caption bar, and each title from the language
// file in bold at the top left, exactly as the group's font draws it in
// bold at (1, 6), and not as it draws it plain.
#include <gtest/gtest.h>
#include "GdiHandles.h"
#include "StartedWindow.h"
#include <memory>

using testing_support::PumpMessages;
using testing_support::TempDir;

namespace {

// A 32-bit DIB with a canvas on it.
class TPicture {
public:
    TPicture(int Width, int Height) : width_(Width), height_(Height)
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(bi.bmiHeader), Width, -Height, 1, 32, BI_RGB};
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const DWORD*>(bits);
        select_ = std::make_unique<TSelectObject>(dc_.Get(), bitmap_.Get());
    }
    HDC DC() const { return dc_.Get(); }
    TColor Pixel(int X, int Y) const
    {
        GdiFlush();
        const DWORD p = bits_[Y * width_ + X];
        return static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    const DWORD* bits_ = nullptr;
    std::unique_ptr<TSelectObject> select_;
};

// The title as TextOut draws it at (1, 6) on button face in the group's font.
std::unique_ptr<TPicture> TitleDrawn(TAdvPanelGroup* Group, bool Bold, int& FirstWordRight)
{
    auto picture = std::make_unique<TPicture>(Group->GetWidth(), Group->GetHeight());
    TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(picture->DC());
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->FillRect(TRect(0, 0, Group->GetWidth(), Group->GetHeight()));
    canvas->GetFont()->Assign(Group->GetFont());
    if (Bold)
        canvas->GetFont()->SetStyle(TFontStyles() << fsBold);
    canvas->GetBrush()->SetStyle(bsClear);
    const String title = Group->GetRawText();
    canvas->TextOut(1, 6, title);
    // The renderer places each word itself; the blank between words is its
    // own, so the comparison ends with the first word.
    const std::size_t firstBlank = title.find(L' ', title.find_first_not_of(L' '));
    FirstWordRight = 1 + canvas->TextWidth(title.substr(0, firstBlank));
    canvas->SetHandle(nullptr);
    return picture;
}

int Differing(const TPicture& A, const TPicture& B, int Right, int Bottom)
{
    int n = 0;
    for (int y = 1; y < Bottom; ++y)
        for (int x = 1; x < Right; ++x)
            n += A.Pixel(x, y) != B.Pixel(x, y);
    return n;
}

TEST(MainWindowDetailGroups, ShowTheirBoldTitlesOnButtonFace)
{
    // The shipped language file, in its first language and in English.
    for (const char* settings : {"", "[options]\r\nlanguage=english\r\n"}) {
        SCOPED_TRACE(*settings ? "english" : "first language");
        TempDir folder;
        ASSERT_TRUE(CopyFileW((testing_support::SourceDir() + L"\\resources\\languages.lng").c_str(),
                              folder.File(L"languages.lng").c_str(), FALSE));
        if (*settings)
            WriteBytes(folder.File(L"settings.ini"), settings);
        TStartedWindow window(folder.Path());
        TForm1* form = window.Form();
        PumpMessages();

        for (TAdvPanelGroup* group :
             {form->AdvPanelGroupShares, form->AdvPanelGroupAdmins, form->AdvPanelGroupLAN, form->AdvPanelGroupHDD}) {
            const String name = group->GetName();
            SCOPED_TRACE(std::string(name.begin(), name.end()));
            ASSERT_FALSE(group->GetRawText().empty());
            EXPECT_FALSE(group->GetCaption()->GetVisible());
            TPicture painted(group->GetWidth(), group->GetHeight());
            group->PaintTo(painted.DC(), 0, 0);
            // Above the list box, which covers the group's lower part.
            int listTop = group->GetHeight();
            for (int i = 0; i < group->ControlCount(); ++i)
                if (dynamic_cast<TListBox*>(group->Controls(i)))
                    listTop = group->Controls(i)->GetTop();
            ASSERT_GT(listTop, 19);

            int boldRight = 0, plainRight = 0;
            const auto bold = TitleDrawn(group, true, boldRight);
            const auto plain = TitleDrawn(group, false, plainRight);
            EXPECT_EQ(Differing(*bold, painted, boldRight, listTop), 0) << "the title drawn bold";
            EXPECT_GT(Differing(*plain, painted, boldRight, listTop), 10) << "not plain";
            // Inked at all, and nothing of a caption bar: button face beside the title.
            EXPECT_GT(Differing(*plain, *bold, boldRight, listTop), 10);
            EXPECT_EQ(painted.Pixel(group->GetWidth() - 10, 3), static_cast<TColor>(ColorToRGB(clBtnFace)));
            EXPECT_EQ(painted.Pixel(0, 10), static_cast<TColor>(ColorToRGB(clBtnHighlight))) << "raised bevel";
            EXPECT_EQ(painted.Pixel(group->GetWidth() - 1, 10), static_cast<TColor>(ColorToRGB(clBtnShadow)));
            EXPECT_EQ(group->GetText().rfind(L"<B>", 0), 0u) << "the title is marked bold";
        }
    }
}

} // namespace
