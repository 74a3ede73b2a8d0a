// Small types shared across the skin library, and the borderless window
// that glow effects, shadows, border windows and animations are built on.
#pragma once

#include "Classes.h"
#include "Forms.h"
#include "Graphics.h"
#include <vector>

struct TacColoring {
    TColor ColorToneBG = clNone;
    TColor ColorGlyph = clNone;
    TColor ColorText = clNone;
};

// The lists are owned by whoever fills the array.
using TStringLists = std::vector<TStringList*>;
using TRects = std::vector<TRect>;

class TacItemDrawData : public TObject {
public:
    Integer ImageIndex = 0;
};

// A borderless window that never takes activation and never shows in the
// task bar. Its owner creates it with New<TacGlowForm>(Owner) and frees it.
class TacGlowForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    void AfterConstruction() override;

    // Mouse input falls through to what lies below.
    bool TransparentMouse = false;

protected:
    void WndProc(TMessage& Message) override;
    void CreateWnd() override;
};
