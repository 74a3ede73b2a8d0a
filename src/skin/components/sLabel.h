// Skinned labels: TsCustomLabel paints its skin section under the text and
// takes the skin's font name and text colour; TsLabel the text colour of
// its place in the skin; TsHTMLLabel draws its caption as HTML with links
// that follow the mouse and open when clicked; TsEditLabel is the label an
// edit control binds to itself.
#pragma once

#include "StdCtrls.h"
#include "sConst.h"
#include "sHtmlParse.h"

class TsSkinManager;

enum TEllipsisPosition { epNone, epPathEllipsis, epEndEllipsis, epWordEllipsis };

class TsCustomLabel : public TCustomLabel {
public:
    explicit TsCustomLabel(TComponent* AOwner);

    virtual TFont* GetTextFont() { return GetFont(); }
    virtual TColor GetTextColor();

    // The label's manager, or the default manager without one.
    TsSkinManager* GetSkinManager() const;
    void SetSkinManager(TsSkinManager* Value);
    const String& GetSkinSection() const { return FSkinSection; }
    void SetSkinSection(const String& Value);
    TEllipsisPosition GetEllipsisPosition() const { return FEllipsisPosition; }
    void SetEllipsisPosition(TEllipsisPosition Value);
    // -1 without an active manager or section.
    Integer SkinIndex();

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void Loaded() override;
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void DoDrawText(TRect& Rect, UINT Flags) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool Destroying() const { return ComponentState().Contains(csDestroying); }

    String FSkinSection;
    Integer FSkinIndex = -1;
    TsSkinManager* FSkinManager = nullptr;
    bool FSavedParentFont = false;
    Integer DefFontHeight = 0;
    TEllipsisPosition FEllipsisPosition = epNone;

private:
    bool fontChanging_ = false;
};

class TsLabel : public TsCustomLabel {
public:
    using TsCustomLabel::TsCustomLabel;
    TColor GetTextColor() override;
    bool GetUseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool Value);

private:
    bool FUseSkinColor = true;
};

using TLinkClickEvent = std::function<void(TObject* Sender, String& ALink, bool& DefaultAction)>;

class TsHTMLLabel : public TsLabel {
public:
    explicit TsHTMLLabel(TComponent* AOwner);

    bool GetUseHTML() const { return FUseHTML; }
    void SetUseHTML(bool Value);
    TsWindowShowMode GetShowMode() const { return FShowMode; }
    void SetShowMode(TsWindowShowMode Value) { FShowMode = Value; }
    // The caption without its tags.
    String PlainCaption() const;
    const TacLinks& GetLinks() const { return Links; }
    Integer GetHotLink() const { return HotLink; }
    Integer GetPressedLink() const { return PressedLink; }

    TLinkClickEvent OnLinkClick;

protected:
    void DoDrawText(TRect& Rect, UINT Flags) override;
    void WndProc(TMessage& Message) override;
    virtual void DoClick(Integer LinkIndex);

    Integer HotLink = -1;
    Integer PressedLink = -1;
    bool FUseHTML = true;
    bool LinkClicking = false;
    TacLinks Links;
    TsWindowShowMode FShowMode = soDefault;

private:
    Integer LinkAt(const TPoint& P) const;
};

// The label that a skinned edit control keeps beside itself.
class TsEditLabel : public TsHTMLLabel {
public:
    // BoundStruct's reference to the label is cleared when the label goes.
    static TsEditLabel* InternalCreate(TComponent* AOwner, TsEditLabel** BoundStruct);
    explicit TsEditLabel(TComponent* AOwner) : TsHTMLLabel(AOwner) {}
    ~TsEditLabel() override;
    TsEditLabel** BoundLabel = nullptr;
};

// Registers TsEditLabel with the streaming system.
void sLabel_Initialize();
void sLabel_Finalize();
