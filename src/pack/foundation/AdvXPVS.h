// Visual-styles functions of the grid and its auxiliary objects, the grid's
// HTML renderer and the shared glyph drawing.
#pragma once

#include "XPVSLoader.h"

XPVS_UNIT_DECLARATIONS(AdvXPVS)

namespace AdvXPVS {

// Visual-styles data of one class for one window, through this loader; none
// when Themed is false, the loader is unbound or no visual style is active.
class TThemeData {
public:
    TThemeData(bool Themed, HWND Window, const wchar_t* ClassName)
        : theme_(Themed && OpenThemeData ? OpenThemeData(Window, ClassName) : nullptr)
    {
    }
    ~TThemeData()
    {
        if (theme_ && CloseThemeData)
            CloseThemeData(theme_);
    }
    TThemeData(const TThemeData&) = delete;
    TThemeData& operator=(const TThemeData&) = delete;

    explicit operator bool() const { return theme_ != nullptr; }
    // False when there is no theme to draw with; the caller draws the classic look.
    bool Draw(HDC DC, int Part, int State, const RECT& R) const
    {
        return theme_ && DrawThemeBackground(theme_, DC, Part, State, &R, nullptr) == S_OK;
    }

private:
    HTHEME theme_;
};

} // namespace AdvXPVS
