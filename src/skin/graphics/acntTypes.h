// Small types shared across the skin library.
#pragma once

#include "Classes.h"
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
