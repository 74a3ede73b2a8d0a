// Helpers shared by the control and form tests of this suite.
#pragma once
#include "Forms.h"
#include "TestSupport.h"
#include <vector>

namespace vcl_test {

// Windows of this thread, top-level and child, to prove that tests leave none.
inline int ThreadWindowCount()
{
    struct Counter {
        static BOOL CALLBACK Child(HWND, LPARAM n)
        {
            ++*reinterpret_cast<int*>(n);
            return TRUE;
        }
        static BOOL CALLBACK Top(HWND wnd, LPARAM n)
        {
            ++*reinterpret_cast<int*>(n);
            EnumChildWindows(wnd, Child, n);
            return TRUE;
        }
    };
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), Counter::Top, reinterpret_cast<LPARAM>(&n));
    return n;
}

// Runs the application's loop until the queue is empty.
inline void Pump()
{
    for (int i = 0; i < 3; ++i)
        Application->ProcessMessages();
}

// Reads and closes the next message box of this thread, the way a user
// would answer it: Arm before the call that shows the box.
struct MessageBoxReader {
    static inline String caption, text;
    static inline bool hasCancelOrNo = false;
    static void Arm()
    {
        caption.clear();
        text.clear();
        hasCancelOrNo = false;
        testing_support::AnswerNextMessageBox([](HWND box) {
            caption = testing_support::WindowText(box);
            text = testing_support::MessageBoxText(box);
            hasCancelOrNo = GetDlgItem(box, IDCANCEL) || GetDlgItem(box, IDNO);
            return IDOK;
        });
    }
};

// A painted container: the smallest windowed control that holds others.
class TBox : public TCustomControl {
public:
    explicit TBox(TComponent* AOwner) : TCustomControl(AOwner)
    {
        ControlStyle << csAcceptsControls;
        SetBounds(0, 0, 100, 50);
    }
};

// Places a new box on Parent with an alignment and a size.
inline TBox* NewBox(TWinControl* Parent, TAlign Align, int Width, int Height, const String& Name = {})
{
    auto* box = New<TBox>(Parent);
    if (!Name.empty())
        box->SetName(Name);
    box->SetBounds(0, 0, Width, Height);
    box->SetAlign(Align);
    box->SetParent(Parent);
    return box;
}

} // namespace vcl_test
