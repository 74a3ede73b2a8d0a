// Form controls of the CONTROL tag in the grid variant: their place in the
// line, their hit test and their look.
#include "GridHTMLEngine.h"

#include "AdvXPVS.h"
#include "HTMLMarkup.h"
#include "SysUtils.h"
#include <algorithm>
#include <vsstyle.h>

namespace gridhtml {

namespace {

using AdvXPVS::TThemeData;

bool IsType(const THTMLControlTag& control, const wchar_t* type) { return control.Type == type; }

} // namespace

bool TEngine::Control(TLinePass& pass, const String& tag, TLineMetrics& m)
{
    TDrawCall& c = call_;
    const THTMLControlTag control = ParseHTMLControlTag(tag);
    // A control without a width takes no room and is never hit.
    if (control.Width.empty())
        return true;

    const bool box = IsType(control, L"CHECK") || IsType(control, L"RADIO");
    int width = HTMLLeadingInteger(control.Width);
    int height = TextHeight() + 10;
    Integer declaredHeight = 25;
    if (!HTMLValidNumber(control.Height, declaredHeight))
        declaredHeight = 25;
    int lineHeight = box ? 16 : 23;
    if (declaredHeight > 25)
        lineHeight = declaredHeight - 2;
    if (IsType(control, L"BUTTON") || IsType(control, L"COMBO")) {
        height = 25;
    } else if (box) {
        width = static_cast<int>(Round(16 * c.ResFactor));
        height = 16;
    }

    if (width < pass.Width && pass.X + width > pass.Width) {
        pass.Full = true;
        return false;
    }
    m.Height = lineHeight;

    const int hx = c.HitX - pass.LineLeft;
    const bool pointed = pass.X < hx && hx < pass.X + width && pass.Line.top < c.HitY &&
                         c.HitY < pass.Line.top + height;
    if (pointed || (c.CheckHotSpot && c.ControlID == control.ID)) {
        pass.ItemHit = true;
        c.AnchorVal = L"ctrl";
        c.ControlRect = TRect(pass.LineLeft + pass.X, pass.Line.top, pass.LineLeft + pass.X + width,
                              pass.Line.top + height);
        c.ControlValue = control.Value;
        c.ControlID = control.ID;
        c.ControlType = control.Type;
    }

    if (Drawing(pass))
        DrawControl(pass, control, lineHeight);
    pass.X += width;
    pass.Line.left += width;
    m.Height = std::max(m.Height, height);
    pass.HasContent = true;
    return true;
}

void TEngine::DrawControl(const TLinePass& pass, const THTMLControlTag& control, int lineHeight)
{
    TDrawCall& c = call_;
    const int b = pass.Line.bottom;
    const int h = lineHeight;
    const int left = pass.Line.left;
    const int width = HTMLLeadingInteger(control.Width);
    const TColor textColor = canvas_->GetFont()->GetColor();
    const bool checked = SameText(control.Value, L"TRUE");
    HDC dc = canvas_->GetHandle();

    auto frameBox = [&](const TRect& rect) {
        canvas_->GetPen()->SetColor(themed_ ? TColor(0xB99D7F) : TColor(0x808080));
        canvas_->GetBrush()->SetColor(clWhite);
        canvas_->GetBrush()->SetStyle(bsSolid);
        canvas_->Rectangle(rect);
        canvas_->GetBrush()->SetStyle(bsClear);
    };

    if (IsType(control, L"EDIT") || IsType(control, L"PASSWORD") || IsType(control, L"MASK")) {
        frameBox(TRect(left, b - h + 4, left + width, b + 2));
        const String shown = IsType(control, L"PASSWORD") ? String(control.Value.size(), L'*') : control.Value;
        DrawText(shown, TRect(left + 2, b - h + 4, left + width, b), textColor, clNone,
                 DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    } else if (IsType(control, L"COMBO")) {
        frameBox(TRect(left, b - h + 4, left + width, b + 2));
        DrawText(control.Value, TRect(left + 4, b - h + 4, left + width - 18, b), textColor, clNone,
                 DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        const TRect button(left + width - 18, b - h + 5, left + width - 1, b + 1);
        const bool hot = left - 2 < c.HitX && c.HitX < left + width - 2 &&
                         b - (TextHeight() + 10) - 2 < c.HitY && c.HitY < b - 2;
        TThemeData theme(themed_, c.OwnerWindow, L"combobox");
        if (!theme.Draw(dc, CP_DROPDOWNBUTTON, hot ? CBXS_HOT : CBXS_NORMAL, button)) {
            RECT r = button;
            DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
        }
    } else if (IsType(control, L"CHECK")) {
        const int s = static_cast<int>(Round(16 * c.ResFactor));
        const TRect rect(left + 2, b - s + 1, left + s - 1, b);
        TThemeData theme(themed_, c.OwnerWindow, L"button");
        if (!theme.Draw(dc, BP_CHECKBOX, checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL, rect)) {
            RECT r = rect;
            DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        }
    } else if (IsType(control, L"RADIO")) {
        const TRect rect(left + 2, b - 14, left + 14, b);
        TThemeData theme(themed_, c.OwnerWindow, L"button");
        if (!theme.Draw(dc, BP_RADIOBUTTON, checked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL, rect)) {
            RECT r = rect;
            DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        }
    } else if (IsType(control, L"BUTTON")) {
        Integer declaredHeight = 25;
        if (!HTMLValidNumber(control.Height, declaredHeight))
            declaredHeight = 25;
        const TRect rect(left + 2, b - declaredHeight, left + width - 2, b);
        const bool hot = left - 2 < c.HitX && c.HitX < left + width - 2 && b - 26 < c.HitY && c.HitY < b - 2;
        const bool down = c.CtrlDown && c.CtrlDownID == control.ID;
        TThemeData theme(themed_, c.OwnerWindow, L"button");
        if (!theme.Draw(dc, BP_PUSHBUTTON, down ? PBS_PRESSED : hot ? PBS_HOT : PBS_NORMAL, rect)) {
            RECT r = rect;
            DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (hot && down ? DFCS_PUSHED : 0));
        }
        TRect caption = rect;
        InflateRect(&caption, -2, -2);
        DrawText(control.Value, caption, textColor, clNone, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    }
}

} // namespace gridhtml
