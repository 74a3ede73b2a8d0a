#include "acntTypes.h"
#include "sConst.h"

void TacGlowForm::AfterConstruction()
{
    TCustomForm::AfterConstruction();
    SetTag(NoSkinTag);
    SetBorderStyle(bsNone);
    TransparentMouse = true;
}

void TacGlowForm::CreateWnd()
{
    TCustomForm::CreateWnd();
    HWND wnd = GetHandle();
    SetWindowLongPtrW(wnd, GWL_EXSTYLE,
                      GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    // The glow is the shadow: the system's own would double it.
    ULONG_PTR classStyle = GetClassLongPtrW(wnd, GCL_STYLE);
    if (classStyle & CS_DROPSHADOW)
        SetClassLongPtrW(wnd, GCL_STYLE, static_cast<LONG_PTR>(classStyle & ~CS_DROPSHADOW));
}

void TacGlowForm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SHOWWINDOW:
    case CM_VISIBLECHANGED:
        // Hidden at once, without activating another window or repainting.
        if (Message.WParam == 0 && HandleAllocated() && IsWindowVisible(handle_))
            SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_HIDEWINDOW |
                             SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
        break;
    case WM_NCHITTEST:
        if (TransparentMouse) {
            // The inherited procedure still sees the message, but this answer stands.
            TCustomForm::WndProc(Message);
            Message.Result = HTTRANSPARENT;
            return;
        }
        break;
    }
    TCustomForm::WndProc(Message);
}
