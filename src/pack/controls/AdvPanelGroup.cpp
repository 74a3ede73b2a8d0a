// The panel group: arranging its child panels, its scroll bar, and making,
// moving and removing panels.
//
// The group's own list (FPanels) may hold panels that others own; a freed
// panel leaves the list through its free notification, so that nothing
// touches it again.
#include "AdvPanel.h"
#include "ScopeExit.h"
#include <algorithm>

TAdvPanelGroup::TAdvPanelGroup(TComponent* AOwner) : TAdvPanel(AOwner), FDefaultPanel(New<TAdvPanelSettings>())
{
    ControlStyle << csAcceptsControls;
    ControlStyle >> csSetCaption;
    // Composition makes double buffering unnecessary from Vista on.
    SetDoubleBuffered(!IsWindowsVistaOrLater());
    FScrollBar = New<TScrollBar>(nullptr);
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetVisible(false);
    FScrollBar->SetAlign(alRight);
    FScrollBar->SetPosition(0);
    FScrollBar->SetLargeChange(20);
    FScrollBar->SetSmallChange(2);
    FScrollBar->SetTabStop(false);
    FScrollBar->OnScroll = [this](TObject*, TScrollCode code, int& pos) { ScrollBarScroll(code, pos); };
    FScrollBar->SetParent(this);
}

TAdvPanelGroup::~TAdvPanelGroup() = default;

void TAdvPanelGroup::BeforeDestruction()
{
    // The group's panels go first, while the free notifications that keep
    // the list right still reach it (the inherited teardown drops them).
    std::vector<TCustomAdvPanel*> panels = std::move(FPanels);
    FPanels.clear();
    for (TCustomAdvPanel* panel : panels)
        panel->Free();
    TAdvPanel::BeforeDestruction();
}

bool TAdvPanelGroup::Gone() const
{
    return ComponentState().Contains(csDestroying);
}

void TAdvPanelGroup::Notification(TComponent* AComponent, TOperation Operation)
{
    TAdvPanel::Notification(AComponent, Operation);
    if (Operation == opRemove)
        FPanels.erase(std::remove(FPanels.begin(), FPanels.end(), AComponent), FPanels.end());
}

void TAdvPanelGroup::SetColumns(int Value)
{
    if (Value <= 0)
        return;
    FColumns = Value;
    UpdateScrollBar();
    Arrange();
    UpdateScrollBar();
}

void TAdvPanelGroup::SetGroupStyle(TGroupStyle Value)
{
    if (!StoreChanged(FGroupStyle, Value))
        return;
    UpdateScrollBar();
    Arrange();
}

void TAdvPanelGroup::SetHorzPadding(int Value)
{
    if (StoreChanged(FHorzPadding, Value))
        Arrange();
}

void TAdvPanelGroup::SetVertPadding(int Value)
{
    if (StoreChanged(FVertPadding, Value))
        Arrange();
}

void TAdvPanelGroup::SetMouseWheelDelta(int Value)
{
    if (StoreChanged(FMouseWheelDelta, Value))
        FScrollBar->SetSmallChange(Value);
}

void TAdvPanelGroup::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TAdvPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (GetWidth() != FOldWidth || GetHeight() != FOldHeight) {
        FOldWidth = GetWidth();
        FOldHeight = GetHeight();
        Arrange();
    }
}

void TAdvPanelGroup::Loaded()
{
    TAdvPanel::Loaded();
    TControl::SetWidth(GetWidth() + 1);
    TControl::SetWidth(GetWidth() - 1);
    UpdateScrollBar();
    Arrange();
    InitPanels();
}

void TAdvPanelGroup::AlignControls(TControl* AControl, RECT& Rect)
{
    TAdvPanel::AlignControls(AControl, Rect);
    UpdateScrollBar();
}

void TAdvPanelGroup::Dispatch(TMessage& Message)
{
    TAdvPanel::Dispatch(Message);
    if (Message.Msg == WM_SIZE)
        UpdateScrollBar();
}

void TAdvPanelGroup::PanelStateChanged()
{
    Arrange();
    UpdateScrollBar();
}

void TAdvPanelGroup::DoArrangedControls()
{
    if (OnArrangedControls)
        OnArrangedControls(this);
}

void TAdvPanelGroup::ArrangePanels()
{
    FCode = true;
    const TScopeExit byPosition([this] { FCode = false; });
    Arrange();
}

void TAdvPanelGroup::UpdateGroup()
{
    Arrange();
    UpdateScrollBar();
    TControl::SetHeight(GetHeight() + 1);
    TControl::SetHeight(GetHeight() - 1);
}

void TAdvPanelGroup::ChildPanelChanged(TCustomAdvPanel*)
{
    UpdateScrollBar();
    Arrange();
}

void TAdvPanelGroup::BeginUpdate()
{
    if (HandleAllocated())
        SendMessageW(GetHandle(), WM_SETREDRAW, FALSE, 0);
    ++FUpdateCount;
}

void TAdvPanelGroup::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount > 0)
        return;
    if (HandleAllocated())
        SendMessageW(GetHandle(), WM_SETREDRAW, TRUE, 0);
    UpdateScrollBar();
    Arrange();
    UpdateScrollBar();
}

void TAdvPanelGroup::CollapseAll(bool Collapsed)
{
    // An animated collapse lets messages run, and a panel closed meanwhile
    // may be freed: each panel is looked up again before it is used.
    const std::vector<TCustomAdvPanel*> panels = ChildPanels();
    for (TCustomAdvPanel* panel : panels) {
        const std::vector<TCustomAdvPanel*> current = ChildPanels();
        if (std::find(current.begin(), current.end(), panel) != current.end())
            panel->SetCollaps(Collapsed);
    }
}

void TAdvPanelGroup::OpenAllPanels()
{
    BeginUpdate();
    CollapseAll(false);
    EndUpdate();
}

void TAdvPanelGroup::CloseAllPanels()
{
    BeginUpdate();
    CollapseAll(true);
    EndUpdate();
    Invalidate();
}

void TAdvPanelGroup::Clear()
{
    for (TCustomAdvPanel* panel : ChildPanels())
        panel->Free();
    FPanels.clear();
    UpdateScrollBar();
}

void TAdvPanelGroup::InitPanels()
{
    FPanels = ChildPanels();
    for (TCustomAdvPanel* panel : FPanels)
        panel->FreeNotification(this);
    Renumber(false);
}

void TAdvPanelGroup::Renumber(bool Reversed)
{
    const int count = PanelCount();
    for (int i = 0; i < count; ++i)
        FPanels[i]->SetIndex(Reversed ? count - i : i);
}

TCustomAdvPanel* TAdvPanelGroup::NewPanel()
{
    auto* panel = New<TCustomAdvPanel>(this);
    // Owned panels freed with the group are not otherwise reported to it.
    panel->FreeNotification(this);
    panel->SetParent(this);
    panel->AssignSettings(FDefaultPanel.get());
    TPanelCaption* caption = FDefaultPanel->GetCaption();
    panel->GetCaption()->SetVisible(caption->GetVisible());
    panel->GetCaption()->SetMinMaxButton(caption->GetMinMaxButton());
    panel->GetCaption()->SetCloseButton(caption->GetCloseButton());
    return panel;
}

TCustomAdvPanel* TAdvPanelGroup::AddPanel()
{
    TCustomAdvPanel* panel = NewPanel();
    panel->SetIndex(PanelCount());
    FPanels.push_back(panel);
    UpdateScrollBar();
    Arrange();
    UpdateScrollBar();
    return panel;
}

TCustomAdvPanel* TAdvPanelGroup::AppendPanel()
{
    TCustomAdvPanel* panel = AddPanel();
    if (PanelCount() > 1) {
        FPanels.pop_back();
        FPanels.insert(FPanels.begin(), panel);
        Renumber(true);
        ArrangePanels();
    }
    return panel;
}

TCustomAdvPanel* TAdvPanelGroup::InsertPanel(int Index)
{
    // Checked before a panel exists, so that a bad index leaves nothing behind.
    if (Index < 0 || Index > PanelCount())
        return nullptr;
    TCustomAdvPanel* panel = NewPanel();
    panel->SetIndex(Index);
    FPanels.insert(FPanels.begin() + Index, panel);
    Renumber(false);
    UpdateScrollBar();
    Arrange();
    UpdateScrollBar();
    return panel;
}

void TAdvPanelGroup::RemovePanel(int Index)
{
    if (Index < 0 || Index >= PanelCount())
        return;
    TCustomAdvPanel* panel = FPanels[Index];
    FPanels.erase(FPanels.begin() + Index);
    panel->Free();
    Renumber(false);
    Arrange();
}

void TAdvPanelGroup::MovePanel(int FromIndex, int ToIndex)
{
    const int count = PanelCount();
    const int from = count - FromIndex - 1;
    const int to = count - ToIndex - 1;
    if (from < 0 || from >= count || to < 0 || to >= count)
        return;
    TCustomAdvPanel* panel = FPanels[from];
    FPanels.erase(FPanels.begin() + from);
    FPanels.insert(FPanels.begin() + to, panel);
    Renumber(true);
    const int saved = FUpdateCount;
    FUpdateCount = 0;
    const TScopeExit restore([this, saved] { FUpdateCount = saved; });
    ArrangePanels();
}

void TAdvPanelGroup::LoadPanelPositions()
{
    for (TCustomAdvPanel* panel : ChildPanels()) {
        TOwned<TPanelPosition> own(New<TPanelPosition>(panel));
        own->Assign(panel->GetPosition());
        const TScopeExit restore([&] { panel->GetPosition()->Assign(own.get()); });
        panel->GetPosition()->SetKey(FPosition->GetKey());
        panel->GetPosition()->SetLocation(FPosition->GetLocation());
        panel->GetPosition()->SetSection(panel->GetName());
        panel->LoadPosition();
    }
}

void TAdvPanelGroup::SavePanelPositions()
{
    for (TCustomAdvPanel* panel : ChildPanels()) {
        TOwned<TPanelPosition> own(New<TPanelPosition>(panel));
        own->Assign(panel->GetPosition());
        const TScopeExit restore([&] { panel->GetPosition()->Assign(own.get()); });
        panel->GetPosition()->SetKey(FPosition->GetKey());
        panel->GetPosition()->SetLocation(FPosition->GetLocation());
        panel->GetPosition()->SetSection(panel->GetName());
        panel->SavePosition();
    }
}

void TAdvPanelGroup::SetScrollPosition(int Value)
{
    FScrollBar->SetPosition(Value);
    int pos = FScrollBar->GetPosition();
    ScrollBarScroll(scEndScroll, pos);
}

void TAdvPanelGroup::ScrollBarScroll(TScrollCode ScrollCode, int&)
{
    // The bar reports its end of scrolling also while it is being freed with the group.
    if (ScrollCode != scEndScroll || Gone())
        return;
    const int limit = FScrollBar->GetMax() - FScrollBar->GetPageSize();
    if (FScrollBar->GetPosition() > limit)
        FScrollBar->SetPosition(limit);
    Arrange();
}

bool TAdvPanelGroup::Wheel(int Direction)
{
    if (!FScrollBar->GetVisible())
        return false;
    FScrollBar->SetPosition(FScrollBar->GetPosition() + Direction * 2 * FScrollBar->GetSmallChange());
    // The layout pass runs at once, past the arrangement guard.
    if (FGroupStyle == gsVertical)
        ArrangeVertical();
    else
        ArrangeHorizontal();
    return true;
}

bool TAdvPanelGroup::DoMouseWheelDown(TShiftState Shift, POINT MousePos)
{
    return Wheel(1) || TAdvPanel::DoMouseWheelDown(Shift, MousePos);
}

bool TAdvPanelGroup::DoMouseWheelUp(TShiftState Shift, POINT MousePos)
{
    return Wheel(-1) || TAdvPanel::DoMouseWheelUp(Shift, MousePos);
}

std::vector<TCustomAdvPanel*> TAdvPanelGroup::ChildPanels() const
{
    std::vector<TCustomAdvPanel*> panels;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* panel = dynamic_cast<TCustomAdvPanel*>(Controls(i)))
            panels.push_back(panel);
    return panels;
}

int TAdvPanelGroup::ContentExtent() const
{
    const std::vector<TCustomAdvPanel*> panels = ChildPanels();
    if (FGroupStyle == gsVertical) {
        int extent = FVertPadding;
        for (std::size_t i = 0; i < panels.size(); ++i)
            if (panels[i]->GetVisible() && (i + 1) % FColumns == 0)
                extent += panels[i]->GetHeight() + FVertPadding;
        return extent;
    }
    int extent = FHorzPadding;
    for (TCustomAdvPanel* panel : panels)
        if (panel->GetVisible())
            extent += panel->GetWidth() + FHorzPadding;
    return extent;
}

void TAdvPanelGroup::UpdateScrollBar()
{
    if (FUpdateCount > 0 || Gone() || !FScrollBar)
        return;
    const int e = ContentExtent();
    const bool vertical = FGroupStyle == gsVertical;
    if (vertical && FScrollBar->GetKind() != sbVertical) {
        FScrollBar->SetKind(sbVertical);
        FScrollBar->SetAlign(alRight);
        FScrollBar->SetWidth(16);
    } else if (!vertical && FScrollBar->GetKind() != sbHorizontal) {
        FScrollBar->SetKind(sbHorizontal);
        FScrollBar->SetAlign(alBottom);
        FScrollBar->SetHeight(16);
    }
    const int room = vertical ? GetHeight() : GetWidth();
    if (room < e && e > 0) {
        if (FScrollBar->GetPosition() > e)
            FScrollBar->SetPosition(e);
        FScrollBar->SetMax(e);
        FScrollBar->SetPageSize(room);
        FScrollBar->SetLargeChange(room / 3);
    }
    FScrollBar->SetVisible(room < e);
    FScrollBar->Invalidate();
}

void TAdvPanelGroup::Arrange()
{
    if (ComponentState().Contains(csLoading) || FIsArranging || FUpdateCount > 0 || Gone())
        return;
    {
        FIsArranging = true;
        const TScopeExit arranged([this] { FIsArranging = false; });
        if (FGroupStyle == gsVertical)
            ArrangeVertical();
        else
            ArrangeHorizontal();
    }
    DoArrangedControls();
}

void TAdvPanelGroup::ArrangeVertical()
{
    if (FUpdateCount > 0)
        return;
    ++FUpdateCount;
    const TScopeExit done([this] { --FUpdateCount; });
    std::vector<TCustomAdvPanel*> panels = ChildPanels();
    // Stable, so that equal keys keep the child order.
    std::stable_sort(panels.begin(), panels.end(), [this](TCustomAdvPanel* a, TCustomAdvPanel* b) {
        return FCode ? a->GetIndex() < b->GetIndex() : a->GetTop() < b->GetTop();
    });
    const bool scrolling = FScrollBar && FScrollBar->GetVisible();
    int y = FVertPadding - (scrolling ? FScrollBar->GetPosition() : 0) +
            (FCaption->GetVisible() ? FCaption->GetHeight() : 0);
    if (FScrollSmooth)
        for (TCustomAdvPanel* p : panels)
            if (p->GetVisible() && p->HandleAllocated())
                SendMessageW(p->GetHandle(), WM_SETREDRAW, FALSE, 0);
    const int s = scrolling ? FScrollBar->GetWidth() : 0;
    const int column = (GetWidth() - s - FHorzPadding) / FColumns;
    const int width = (GetWidth() - (FColumns + 1) * FHorzPadding - s) / FColumns;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        TCustomAdvPanel* p = panels[i];
        p->SetBounds(column * static_cast<int>(i % FColumns) + FHorzPadding, y, width, p->GetHeight());
        // A row is as high as the panel that ends it; a hidden panel keeps its slot.
        if (p->GetVisible() && (i + 1) % FColumns == 0)
            y += p->GetHeight() + FVertPadding;
    }
    for (TCustomAdvPanel* p : panels) {
        if (FScrollSmooth && p->GetVisible() && p->HandleAllocated()) {
            SendMessageW(p->GetHandle(), WM_SETREDRAW, TRUE, 0);
            p->Repaint();
        }
        p->Invalidate();
        for (int c = 0; c < p->ControlCount(); ++c) {
            TControl* child = p->Controls(c);
            auto* windowed = dynamic_cast<TWinControl*>(child);
            if (windowed && windowed->GetVisible() && windowed->ControlCount() == 0 && windowed->HandleAllocated()) {
                SendMessageW(windowed->GetHandle(), WM_SETREDRAW, FALSE, 0);
                SendMessageW(windowed->GetHandle(), WM_SETREDRAW, TRUE, 0);
            }
            // Makes the child lay itself out and repaint.
            child->SetWidth(child->GetWidth() + 1);
            child->SetWidth(child->GetWidth() - 1);
        }
    }
    Invalidate();
}

void TAdvPanelGroup::ArrangeHorizontal()
{
    std::vector<TCustomAdvPanel*> panels = ChildPanels();
    std::stable_sort(panels.begin(), panels.end(),
                     [](TCustomAdvPanel* a, TCustomAdvPanel* b) { return a->GetLeft() < b->GetLeft(); });
    const bool scrolling = FScrollBar && FScrollBar->GetVisible();
    int x = FHorzPadding - (scrolling ? FScrollBar->GetPosition() : 0);
    const int barHeight = scrolling ? FScrollBar->GetHeight() : 0;
    for (TCustomAdvPanel* p : panels) {
        p->SetBounds(x, FVertPadding, p->GetWidth(), GetHeight() - 2 * FVertPadding - barHeight);
        if (p->GetVisible())
            x += p->GetWidth() + FHorzPadding;
    }
}
