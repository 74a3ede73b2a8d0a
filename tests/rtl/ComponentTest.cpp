// Ownership, notification and loading of components; collections.
#include <gtest/gtest.h>
#include "Classes.h"
#include <vector>

namespace {

std::vector<String> journal;

class TProbe : public TComponent {
public:
    using TComponent::TComponent;
    ~TProbe() override { journal.push_back(L"destroy " + GetName()); }
    TComponent* watched = nullptr;
    int removedNotifications = 0;

protected:
    void Loaded() override
    {
        TComponent::Loaded();
        journal.push_back(L"loaded " + GetName());
    }
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == watched) {
            watched = nullptr;
            ++removedNotifications;
        }
    }
};

TEST(Component, OwnerFreesWhatItOwnsAndNamesAreItsOwn)
{
    journal.clear();
    auto* owner = New<TProbe>(nullptr);
    owner->SetName(L"Owner");
    auto* a = New<TProbe>(owner);
    a->SetName(L"A");
    auto* b = New<TProbe>(owner);
    b->SetName(L"B");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent(L"b"), b);
    EXPECT_THROW(b->SetName(L"a"), EComponentError);
    EXPECT_EQ(b->ClassName(), L"TProbe");
    EXPECT_TRUE(b->InheritsFrom(L"TComponent"));
    EXPECT_FALSE(b->InheritsFrom(L"TCollection"));

    a->Free();
    EXPECT_EQ(owner->ComponentCount(), 1);
    owner->Free();
    EXPECT_EQ(journal, (std::vector<String>{L"destroy A", L"destroy B", L"destroy Owner"}));
}

TEST(Component, FreeNotificationTellsTheWatcherAndOwnerSiblingsHear)
{
    auto* form = New<TProbe>(nullptr);
    auto* watcher = New<TProbe>(nullptr);
    auto* target = New<TProbe>(form);
    auto* sibling = New<TProbe>(form);
    watcher->watched = target;
    watcher->FreeNotification(target);
    sibling->watched = target;

    target->Free();
    EXPECT_EQ(watcher->watched, nullptr);
    EXPECT_EQ(watcher->removedNotifications, 1);
    EXPECT_EQ(sibling->removedNotifications, 1) << "an owner passes removals on to what it owns";

    // The link is gone both ways: freeing the watcher later tells nobody.
    watcher->Free();
    form->Free();
}

TEST(Component, LoadingMarksEverythingAndLoadedRunsOwnerFirst)
{
    journal.clear();
    auto* form = New<TProbe>(nullptr);
    form->SetName(L"Form");
    form->BeginLoading();
    auto* panel = New<TProbe>(form);
    panel->SetName(L"Panel");
    EXPECT_TRUE(panel->ComponentState().Contains(csLoading));
    form->EndLoading();
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));
    EXPECT_FALSE(panel->ComponentState().Contains(csLoading));
    EXPECT_EQ(journal, (std::vector<String>{L"loaded Form", L"loaded Panel"}));
    form->Free();
}

class TNumberItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int value = 0;
    void SetValue(int v)
    {
        value = v;
        Changed(false);
    }
    void Assign(TPersistent* Source) override
    {
        if (auto* other = dynamic_cast<TNumberItem*>(Source))
            value = other->value;
        else
            TCollectionItem::Assign(Source);
    }
};

class TNumbers : public TCollection {
public:
    TNumbers() : TCollection(ItemClass<TNumberItem>()) {}
    std::vector<TCollectionItem*> updates;

protected:
    void Update(TCollectionItem* Item) override { updates.push_back(Item); }
};

TEST(Collection, ChangesReachTheCollectionUnlessUpdating)
{
    TOwned<TNumbers> numbers(New<TNumbers>());
    auto* first = static_cast<TNumberItem*>(numbers->Add());
    numbers->Add();
    EXPECT_EQ(numbers->Count(), 2);
    EXPECT_EQ(numbers->updates, (std::vector<TCollectionItem*>{nullptr, nullptr}));

    numbers->updates.clear();
    first->SetValue(5);
    EXPECT_EQ(numbers->updates, std::vector<TCollectionItem*>{first});

    numbers->updates.clear();
    numbers->BeginUpdate();
    first->SetValue(6);
    numbers->Delete(1);
    EXPECT_TRUE(numbers->updates.empty());
    numbers->EndUpdate();
    EXPECT_EQ(numbers->updates, std::vector<TCollectionItem*>{nullptr});

    first->SetIndex(0);
    TOwned<TNumbers> copy(New<TNumbers>());
    copy->Assign(numbers.get());
    ASSERT_EQ(copy->Count(), 1);
    EXPECT_EQ(static_cast<TNumberItem*>(copy->GetItem(0))->value, 6);
    EXPECT_THROW(copy->GetItem(1), EListError);
    copy->Assign(copy.get());
    ASSERT_EQ(copy->Count(), 1) << "assigning a collection to itself keeps its items";
    TStringList notAnItemList;
    EXPECT_THROW(copy->Assign(&notAnItemList), EConvertError);
}

} // namespace
