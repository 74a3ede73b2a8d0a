// The panel's caption settings, the panel's plain painting and child area,
// and the panel group's arrangement.
#include "AdvPanel.h"
#include "ScopeExit.h"
#include "AdvStyleIF.h"
#include "HTMLUtils.h"
#include "System.h"
#include <algorithm>

TPanelCaption::TPanelCaption()
{
    FFont.reset(New<TFont>());
    FFont->SetColor(clHighlightText);
    FFont->OnChange = [this](TObject*) { Changed(); };
}

TPanelCaption::~TPanelCaption() = default;

void TPanelCaption::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TPanelCaption*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(src->FColor);
    SetFont(src->FFont.get());
    SetHeight(src->FHeight);
    SetIndent(src->FIndent);
}

void TPanelCaption::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPanelCaption::SetText(const String& Value)
{
    FText = Value;
    Changed();
}

void TPanelCaption::SetVisible(bool Value)
{
    FVisible = Value;
    Changed();
    if (OnStateChange)
        OnStateChange(this);
}

void TPanelCaption::SetHeight(int Value)
{
    if (StoreChanged(FHeight, Value))
        Changed();
}

void TPanelCaption::SetColor(TColor Value)
{
    if (StoreChanged(FColor, Value))
        Changed();
}

void TPanelCaption::SetIndent(int Value)
{
    if (StoreChanged(FIndent, Value))
        Changed();
}

void TPanelCaption::SetTopIndent(int Value)
{
    if (StoreChanged(FTop, Value))
        Changed();
}

// ---------------------------------------------------------------------------
TCustomAdvPanel::TCustomAdvPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    ControlStyle >> csSetCaption;
    FCaption.reset(New<TPanelCaption>());
    FCaption->OnChange = [this](TObject* Sender) { CaptionChanged(Sender); };
    FCaption->OnStateChange = [this](TObject*) { PanelStateChanged(); };
    SetWidth(300);
    SetHeight(200);
    SetDoubleBuffered(true);
}

TCustomAdvPanel::~TCustomAdvPanel() = default;

void TCustomAdvPanel::CaptionChanged(TObject*)
{
    if (ControlCount() > 0)
        Realign();
    Invalidate();
}

void TCustomAdvPanel::SetText(const String& Value)
{
    FText = Value;
    Invalidate();
}

String TCustomAdvPanel::GetRawText() const
{
    return PanelHTMLToText(FText);
}

void TCustomAdvPanel::SetIndent(int Value)
{
    FIndent = Value;
    Invalidate();
}

void TCustomAdvPanel::SetTopIndent(int Value)
{
    FTopIndent = Value;
    Invalidate();
}

void TCustomAdvPanel::SetHeight(int Value)
{
    TCustomPanel::SetHeight(Value);
    FFullHeight = GetHeight();
}

void TCustomAdvPanel::AlignControls(TControl* AControl, RECT& Rect)
{
    // A visible caption keeps its band free of aligned children.
    if (FCaption->GetVisible() && Rect.top < FCaption->GetHeight())
        Rect.top = FCaption->GetHeight() - 2;
    TCustomPanel::AlignControls(AControl, Rect);
}

void TCustomAdvPanel::DrawPlainText(TCanvas* Canvas, const String& Text, const TRect& R)
{
    Canvas->GetBrush()->SetStyle(bsClear);
    const int lineHeight = Canvas->TextHeight(L"gh");
    int y = R.top;
    std::size_t from = 0;
    while (from <= Text.size() && y < R.bottom) {
        std::size_t end = Text.find(L"\r\n", from);
        const String line = Text.substr(from, end == String::npos ? String::npos : end - from);
        Canvas->TextRect(R, R.left, y, line);
        if (end == String::npos)
            break;
        from = end + 2;
        y += lineHeight;
    }
    Canvas->GetBrush()->SetStyle(bsSolid);
}

void TCustomAdvPanel::Paint()
{
    // Bevels and the background.
    TCustomPanel::Paint();
    TCanvas* canvas = GetCanvas();
    const int bevel = GetBevelOuter() != bvNone || GetBevelInner() != bvNone ? GetBevelWidth() : 0;
    const int border = GetBorderWidth();
    const bool captionShown = FCaption->GetVisible();

    TRect body(0, 0, GetClientWidth(), GetClientHeight());
    if (captionShown)
        body.top += FCaption->GetHeight() - 2 * bevel;
    body.left += border + 1 + FIndent;
    body.top += border + 1 + FTopIndent;
    body.right -= border + 1;
    body.bottom -= border + 1;
    canvas->GetFont()->Assign(GetFont());
    DrawPlainText(canvas, PanelHTMLToText(FText), body);

    if (!captionShown)
        return;
    TRect strip(bevel, bevel, GetClientWidth() - bevel, bevel + FCaption->GetHeight() - 2 * bevel);
    TBrush* brush = canvas->GetBrush();
    brush->SetColor(FCaption->GetColor());
    brush->SetStyle(bsSolid);
    canvas->FillRect(strip);
    canvas->GetFont()->Assign(FCaption->GetFont());
    strip.left += FCaption->GetIndent() + 2;
    strip.top += FCaption->GetTopIndent();
    DrawPlainText(canvas, PanelHTMLToText(FCaption->GetText()), strip);
}

// ---------------------------------------------------------------------------
TAdvPanelGroup::TAdvPanelGroup(TComponent* AOwner) : TAdvPanel(AOwner)
{
    ControlStyle << csAcceptsControls;
    ControlStyle >> csSetCaption;
    // Composition makes double buffering unnecessary from Vista on.
    SetDoubleBuffered(!IsWindowsVistaOrLater());
}

void TAdvPanelGroup::SetColumns(int Value)
{
    if (Value <= 0)
        return;
    FColumns = Value;
    Arrange();
}

void TAdvPanelGroup::SetGroupStyle(TGroupStyle Value)
{
    if (StoreChanged(FGroupStyle, Value))
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
    Arrange();
}

void TAdvPanelGroup::PanelStateChanged()
{
    Arrange();
}

void TAdvPanelGroup::DoArrangedControls()
{
    if (OnArrangedControls)
        OnArrangedControls(this);
}

void TAdvPanelGroup::ArrangePanels()
{
    FCode = true;
    Arrange();
    FCode = false;
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
    Arrange();
}

std::vector<TCustomAdvPanel*> TAdvPanelGroup::ChildPanels() const
{
    std::vector<TCustomAdvPanel*> panels;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* panel = dynamic_cast<TCustomAdvPanel*>(Controls(i)))
            panels.push_back(panel);
    return panels;
}

void TAdvPanelGroup::Arrange()
{
    if (ComponentState().Contains(csLoading) || FIsArranging || FUpdateCount > 0)
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
    ++FUpdateCount;
    std::vector<TCustomAdvPanel*> panels = ChildPanels();
    // Stable, so that equal keys keep the child order.
    std::stable_sort(panels.begin(), panels.end(), [this](TCustomAdvPanel* a, TCustomAdvPanel* b) {
        return FCode ? a->GetIndex() < b->GetIndex() : a->GetTop() < b->GetTop();
    });
    int y = FVertPadding + (FCaption->GetVisible() ? FCaption->GetHeight() : 0);
    const int column = (GetWidth() - FHorzPadding) / FColumns;
    const int width = (GetWidth() - (FColumns + 1) * FHorzPadding) / FColumns;
    for (std::size_t i = 0; i < panels.size(); ++i) {
        TCustomAdvPanel* p = panels[i];
        p->SetBounds(column * static_cast<int>(i % FColumns) + FHorzPadding, y, width, p->GetHeight());
        // A row is as high as the panel that ends it; a hidden panel keeps its slot.
        if (p->GetVisible() && (i + 1) % FColumns == 0)
            y += p->GetHeight() + FVertPadding;
    }
    for (TCustomAdvPanel* p : panels)
        p->Invalidate();
    --FUpdateCount;
    Invalidate();
}

void TAdvPanelGroup::ArrangeHorizontal()
{
    std::vector<TCustomAdvPanel*> panels = ChildPanels();
    std::stable_sort(panels.begin(), panels.end(),
                     [](TCustomAdvPanel* a, TCustomAdvPanel* b) { return a->GetLeft() < b->GetLeft(); });
    int x = FHorzPadding;
    for (TCustomAdvPanel* p : panels) {
        p->SetBounds(x, FVertPadding, p->GetWidth(), GetHeight() - 2 * FVertPadding);
        if (p->GetVisible())
            x += p->GetWidth() + FHorzPadding;
    }
}
