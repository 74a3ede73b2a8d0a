#include "Classes.h"
#include "ScopeExit.h"
#include <map>
#include <algorithm>

// ---------------------------------------------------------------------------
// TPersistent

void TPersistent::Assign(TPersistent* Source)
{
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    if (Dest)
        Dest->AssignError(this);
    AssignError(nullptr);
}

void TPersistent::AssignError(TPersistent* Source)
{
    String sourceName = Source ? Source->ClassName() : String(L"nil");
    throw EConvertError(L"Cannot assign a " + sourceName + L" to a " + ClassName());
}

String TPersistent::GetNamePath() const
{
    return ClassName();
}

// ---------------------------------------------------------------------------
// TList

void TList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
}

void* TList::Get(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)];
}

void TList::Put(int index, void* item)
{
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)] = item;
}

int TList::Add(void* item)
{
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > Count())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index)
{
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item)
{
    int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

void* TList::Extract(void* item)
{
    return Remove(item) >= 0 ? item : nullptr;
}

int TList::IndexOf(void* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int a, int b)
{
    CheckIndex(a);
    CheckIndex(b);
    std::swap(items_[static_cast<std::size_t>(a)], items_[static_cast<std::size_t>(b)]);
}

void TList::Move(int from, int to)
{
    if (from == to)
        return;
    CheckIndex(to);
    void* item = Get(from);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, item);
}

void TList::Sort(int (*compare)(void* a, void* b))
{
    std::stable_sort(items_.begin(), items_.end(),
                     [compare](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::SetCount(int count)
{
    if (count < 0)
        throw EListError(L"List count out of bounds (" + IntToStr(count) + L")");
    items_.resize(static_cast<std::size_t>(count), nullptr);
}

void TList::Pack()
{
    items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

// ---------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) {
        // Components created while their owner is being built from its
        // description are part of that load.
        if (AOwner->state_.Contains(csLoading))
            state_ << csLoading << csReading;
        if (AOwner->state_.Contains(csDesigning))
            state_ << csDesigning;
        AOwner->InsertComponent(this);
    }
}

TComponent::~TComponent()
{
    state_ << csDestroying;
    RemoveFreeNotifications();
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction()
{
    // Owned components go while this object is still whole, so that their
    // destructors may still talk to it.
    Destroying();
    RemoveFreeNotifications();
    DestroyComponents();
}

void TComponent::Destroying()
{
    if (state_.Contains(csDestroying))
        return;
    state_ << csDestroying;
    for (TComponent* c : components_)
        c->Destroying();
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* c = components_.back();
        Remove(c);
        c->Free();
    }
}

int TComponent::ComponentIndex() const
{
    if (!owner_)
        return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const String& name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name))
            return c;
    return nullptr;
}

void TComponent::SetName(const String& name)
{
    if (name == name_)
        return;
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw EComponentError(L"A component named " + name + L" already exists");
    }
    name_ = name;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (AComponent->owner_)
        AComponent->owner_->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    components_.push_back(AComponent);
    AComponent->owner_ = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    auto it = std::find(components_.begin(), components_.end(), AComponent);
    if (it != components_.end())
        components_.erase(it);
    AComponent->owner_ = nullptr;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    // Everything this component owns hears about it too; copy first, since a
    // handler may free components.
    std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned)
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(AComponent, Operation);
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end())
        freeNotifies_.push_back(AComponent);
    if (std::find(AComponent->freeNotifies_.begin(), AComponent->freeNotifies_.end(), this) ==
        AComponent->freeNotifies_.end())
        AComponent->freeNotifies_.push_back(this);
    state_ << csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    RemoveNotification(AComponent);
    if (AComponent)
        AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent)
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), AComponent),
                        freeNotifies_.end());
}

void TComponent::RemoveFreeNotifications()
{
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, opRemove);
    }
}

void TComponent::SetState(TComponentStateItem item, bool on)
{
    if (on)
        state_.Include(item);
    else
        state_.Exclude(item);
}

void TComponent::SetDesigning(bool value)
{
    SetState(csDesigning, value);
    for (TComponent* c : components_)
        c->SetDesigning(value);
}

void TComponent::BeginLoading()
{
    state_ << csLoading << csReading;
    for (TComponent* c : components_)
        c->BeginLoading();
}

void TComponent::CollectLoaded(std::vector<TComponent*>& into)
{
    into.push_back(this);
    for (TComponent* c : components_)
        c->CollectLoaded(into);
}

void TComponent::EndLoading()
{
    std::vector<TComponent*> loaded;
    CollectLoaded(loaded);
    for (TComponent* c : loaded)
        c->state_.Exclude(csReading);
    for (TComponent* c : loaded)
        c->Loaded();
}

void TComponent::Loaded()
{
    state_.Exclude(csLoading);
}

String TComponent::GetNamePath() const
{
    return name_;
}

// ---------------------------------------------------------------------------
// Collections

TCollectionItem::TCollectionItem(TCollection* Collection) : pendingCollection_(Collection) {}

TCollectionItem::~TCollectionItem()
{
    if (collection_)
        collection_->RemoveItem(this);
}

void TCollectionItem::AfterConstruction()
{
    TPersistent::AfterConstruction();
    if (pendingCollection_) {
        TCollection* c = pendingCollection_;
        pendingCollection_ = nullptr;
        SetCollection(c);
    }
}

void TCollectionItem::SetCollection(TCollection* value)
{
    if (value == collection_)
        return;
    if (collection_)
        collection_->RemoveItem(this);
    if (value)
        value->InsertItem(this);
}

int TCollectionItem::GetIndex() const
{
    if (!collection_)
        return -1;
    auto& items = collection_->items_;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int value)
{
    int current = GetIndex();
    if (current >= 0 && current != value) {
        collection_->MoveItem(this, value);
        Changed(true);
    }
}

String TCollectionItem::GetDisplayName() const
{
    return ClassName();
}

TPersistent* TCollectionItem::GetOwner() const
{
    return collection_;
}

String TCollectionItem::GetNamePath() const
{
    if (collection_)
        return collection_->GetNamePath() + L"[" + IntToStr(GetIndex()) + L"]";
    return ClassName();
}

void TCollectionItem::Changed(bool AllItems)
{
    if (collection_ && collection_->updateCount_ == 0)
        collection_->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(ItemFactory Factory, TPersistent* Owner)
    : factory_(std::move(Factory)), owner_(Owner)
{
}

TCollection::~TCollection()
{
    updateCount_ = 1; // no Update calls while items go
    while (!items_.empty())
        items_.back()->Free();
}

TCollectionItem* TCollection::GetItem(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return items_[static_cast<std::size_t>(index)];
}

void TCollection::SetItem(int index, TCollectionItem* value)
{
    GetItem(index)->Assign(value);
}

TCollectionItem* TCollection::Add()
{
    return factory_(this);
}

TCollectionItem* TCollection::Insert(int index)
{
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    TCollectionItem* item = GetItem(index);
    Notify(item, cnDeleting);
    item->Free();
}

void TCollection::Clear()
{
    if (items_.empty())
        return;
    BeginUpdate();
    const TScopeExit endUpdate([this] { EndUpdate(); });
    while (!items_.empty())
        items_.back()->Free();
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (TCollectionItem* item : items_)
        if (item->id_ == id)
            return item;
    return nullptr;
}

void TCollection::Exchange(int a, int b)
{
    GetItem(a);
    GetItem(b);
    std::swap(items_[static_cast<std::size_t>(a)], items_[static_cast<std::size_t>(b)]);
    Changed();
}

void TCollection::BeginUpdate()
{
    ++updateCount_;
}

void TCollection::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

void TCollection::Changed()
{
    if (updateCount_ == 0)
        Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TCollection*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (other == this)
        return; // clearing first would lose the very items to copy
    BeginUpdate();
    const TScopeExit endUpdate([this] { EndUpdate(); });
    Clear();
    for (TCollectionItem* item : other->items_)
        Add()->Assign(item);
}

String TCollection::GetNamePath() const
{
    if (owner_) {
        String path = owner_->GetNamePath();
        if (!path.empty())
            return path + L".Items";
    }
    return ClassName();
}

void TCollection::InsertItem(TCollectionItem* item)
{
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    // From the back: Clear and the destructor free the last item first, and
    // a large collection would otherwise cost a full search per item.
    auto found = std::find(items_.rbegin(), items_.rend(), item);
    if (found == items_.rend())
        return;
    Notify(item, cnExtracting);
    items_.erase(std::next(found).base());
    item->collection_ = nullptr;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* item, int newIndex)
{
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    items_.erase(it);
    newIndex = std::clamp(newIndex, 0, Count());
    items_.insert(items_.begin() + newIndex, item);
}

// ---------------------------------------------------------------------------
namespace {

std::map<String, TComponentFactory>& StreamClasses()
{
    static std::map<String, TComponentFactory> classes;
    return classes;
}

} // namespace

void RegisterStreamClass(const String& ClassName, TComponentFactory Factory)
{
    StreamClasses()[ClassName] = std::move(Factory);
}

void UnRegisterStreamClass(const String& ClassName)
{
    StreamClasses().erase(ClassName);
}

TComponentFactory FindStreamClass(const String& ClassName)
{
    const auto found = StreamClasses().find(ClassName);
    return found == StreamClasses().end() ? TComponentFactory() : found->second;
}
