// Hint info: what counts as empty, and a copy that takes the picture's bytes
// into the target's own picture.
#include "AdvHintInfo.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

namespace {

void LoadFixturePicture(TGDIPPicture* picture)
{
    picture->LoadFromFile(testing_support::SourceDir() + L"\\tests\\fixtures\\vcl\\alpha.png");
    ASSERT_FALSE(picture->GetEmpty());
}

std::string Bytes(TGDIPPicture* picture)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    picture->SaveToStream(stream.get());
    return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->GetSize()));
}

TEST(AdvHintInfo, OnlyTitleAndNotesMakeItNonEmpty)
{
    struct Case {
        const char* name;
        std::function<void(TAdvHintInfo&)> set;
        bool empty;
    } cases[] = {
        {"new", [](TAdvHintInfo&) {}, true},
        {"picture only", [](TAdvHintInfo& h) { LoadFixturePicture(h.GetPicture()); }, true},
        {"help and wide texts only",
         [](TAdvHintInfo& h) {
             h.SetShowHelp(true);
             h.SetWideTitle(L"wide");
             h.SetWideNotes(L"wide notes");
         },
         true},
        {"one note line", [](TAdvHintInfo& h) { h.GetNotes()->Add(L"line"); }, false},
        {"one empty note line", [](TAdvHintInfo& h) { h.GetNotes()->Add(L""); }, false},
        {"title", [](TAdvHintInfo& h) { h.SetTitle(L"Title"); }, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TOwned<TAdvHintInfo> hint(New<TAdvHintInfo>());
        EXPECT_FALSE(hint->GetShowHelp());
        k.set(*hint);
        EXPECT_EQ(hint->IsEmpty(), k.empty);
    }
}

TEST(AdvHintInfo, AssignCopiesEverythingIntoItsOwnObjects)
{
    TOwned<TAdvHintInfo> source(New<TAdvHintInfo>());
    source->SetTitle(L"Title");
    source->GetNotes()->Add(L"first");
    source->GetNotes()->Add(L"second");
    source->SetShowHelp(true);
    source->SetWideTitle(L"Заголовок");
    source->SetWideNotes(L"Примечания");
    LoadFixturePicture(source->GetPicture());

    TOwned<TAdvHintInfo> target(New<TAdvHintInfo>());
    TGDIPPicture* ownPicture = target->GetPicture();
    TStringList* ownNotes = target->GetNotes();
    target->Assign(source.get());

    EXPECT_EQ(target->GetTitle(), L"Title");
    EXPECT_EQ(target->GetNotes()->GetText(), source->GetNotes()->GetText());
    EXPECT_TRUE(target->GetShowHelp());
    EXPECT_EQ(target->GetWideTitle(), L"Заголовок");
    EXPECT_EQ(target->GetWideNotes(), L"Примечания");
    EXPECT_EQ(target->GetPicture(), ownPicture);
    EXPECT_EQ(target->GetNotes(), ownNotes);
    EXPECT_EQ(Bytes(target->GetPicture()), Bytes(source->GetPicture()));
    EXPECT_FALSE(target->GetPicture()->GetEmpty());
    EXPECT_EQ(target->GetPicture()->GetWidth(), source->GetPicture()->GetWidth());

    // The copy stands alone.
    source->GetNotes()->Clear();
    source->GetPicture()->Assign(nullptr);
    EXPECT_EQ(target->GetNotes()->Count(), 2);
    EXPECT_FALSE(target->GetPicture()->GetEmpty());

    // Anything else is ignored.
    TOwned<TStringList> other(New<TStringList>());
    target->Assign(other.get());
    EXPECT_EQ(target->GetTitle(), L"Title");
}

} // namespace
