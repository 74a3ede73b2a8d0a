// TClipboard on the real clipboard of the Wine session.
#include <gtest/gtest.h>
#include "Clipbrd.h"
#include "GraphicsTestSupport.h"

namespace {

using ClipboardTest = graphics_test::GdiLeakTest;

// A clipboard block as 8-bit text up to its first zero byte.
String ReadBlock(HANDLE block)
{
    TGlobalLock lock(block);
    auto* chars = static_cast<const char*>(lock.Data());
    return chars ? String(chars, std::find(chars, chars + lock.Size(), '\0')) : String();
}

TEST_F(ClipboardTest, TextGoesThroughAsUnicode)
{
    const String text = L"Inventory \x0418\x043D\x0432\x0435\x043D\x0442\x0430\x0440\x044C\r\nline two";
    Clipboard()->SetAsText(text);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard()->GetAsText(), text);

    wchar_t buffer[10];
    EXPECT_EQ(Clipboard()->GetTextBuf(buffer, 10), 9);
    EXPECT_STREQ(buffer, L"Inventory");

    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard()->GetAsText(), L"");
    EXPECT_EQ(Clipboard()->GetFormatCount(), 0);
}

TEST_F(ClipboardTest, AnOpenClipboardCollectsSeveralFormats)
{
    const Word cells = static_cast<Word>(RegisterClipboardFormatW(L"Tavelin Test Cells"));
    ASSERT_NE(cells, 0);
    const char payload[] = "binary cells";

    Clipboard()->Open();
    Clipboard()->Open(); // nests
    Clipboard()->SetAsText(L"a\tb");
    Clipboard()->SetBuffer(cells, payload, sizeof(payload));
    Clipboard()->Close();
    Clipboard()->Close();
    Clipboard()->Close(); // one too many is harmless

    EXPECT_TRUE(Clipboard()->HasFormat(cells));
    EXPECT_EQ(Clipboard()->GetAsText(), L"a\tb");
    EXPECT_EQ(ReadBlock(Clipboard()->GetAsHandle(cells)), L"binary cells");
    std::vector<Word> formats;
    for (int i = 0; i < Clipboard()->GetFormatCount(); ++i)
        formats.push_back(Clipboard()->GetFormats(i));
    EXPECT_NE(std::find(formats.begin(), formats.end(), cells), formats.end());
    EXPECT_THROW(Clipboard()->GetFormats(-1), EListError);

    // Outside an open block every put starts a fresh clipboard.
    Clipboard()->SetAsText(L"alone");
    EXPECT_FALSE(Clipboard()->HasFormat(cells));
    EXPECT_EQ(Clipboard()->GetAsHandle(cells), nullptr);
}

TEST_F(ClipboardTest, HandlesArePutAsTheyAre)
{
    const Word html = static_cast<Word>(RegisterClipboardFormatW(L"HTML Format"));
    const char fragment[] = "<b>x</b>";
    TGlobalMemory block(GMEM_MOVEABLE, sizeof(fragment));
    {
        TGlobalLock lock(block.Get());
        std::copy(fragment, fragment + sizeof(fragment), static_cast<char*>(lock.Data()));
    }
    Clipboard()->SetAsHandle(html, block.Get());
    block.Release();
    EXPECT_EQ(ReadBlock(Clipboard()->GetAsHandle(html)), L"<b>x</b>");
}

TEST_F(ClipboardTest, PicturesTravelAsDeviceIndependentBitmaps)
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_QUAD");
    Clipboard()->Assign(bitmap.get());
    EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP)) << "the system offers the other form too";

    TOwned<TPicture> picture(New<TPicture>());
    picture->Assign(Clipboard());
    ASSERT_NE(dynamic_cast<TBitmap*>(picture->GetGraphic()), nullptr);
    EXPECT_EQ(picture->GetWidth(), 4);
    EXPECT_EQ(picture->GetBitmap()->GetCanvas()->GetPixels(3, 1), clFuchsia);

    TOwned<TBitmap> pasted(New<TBitmap>());
    pasted->Assign(Clipboard());
    EXPECT_EQ(pasted->GetCanvas()->GetPixels(1, 1), clYellow);

    Clipboard()->SetAsText(L"no picture");
    EXPECT_THROW(pasted->Assign(Clipboard()), EInvalidGraphic);
    EXPECT_EQ(pasted->GetWidth(), 4);
    Clipboard()->Clear();
}

TEST_F(ClipboardTest, TheClipboardObjectCanBeReplaced)
{
    TClipboard* original = Clipboard();
    EXPECT_EQ(Clipboard(), original);
    TClipboard* mine = New<TClipboard>();
    EXPECT_EQ(SetClipboard(mine), original);
    EXPECT_EQ(Clipboard(), mine);
    mine->SetAsText(L"through mine");
    EXPECT_EQ(original->GetAsText(), L"through mine");
    TOwned<TClipboard> returned(SetClipboard(original));
    EXPECT_EQ(returned.get(), mine);
}

} // namespace
