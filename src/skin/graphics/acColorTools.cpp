#include "acColorTools.h"
#include "Forms.h"

TStringList* CustomColorSlots = nullptr;

void acColorTools_Initialize()
{
    // A private copy, not the shared resource cursor: the screen destroys
    // the cursors it is given.
    if (Screen)
        Screen->SetCursors(crPipette, static_cast<HCURSOR>(LoadImageW(HInstance(), L"CRASPIPETTE", IMAGE_CURSOR,
                                                                      0, 0, LR_DEFAULTSIZE)));
    if (!CustomColorSlots)
        CustomColorSlots = New<TStringList>();
    CustomColorSlots->Clear();
    for (int i = 0; i < CustomColorSlotCount; ++i)
        CustomColorSlots->Add(L"FFFFFF");
}

void acColorTools_Finalize()
{
    FreeAndNil(CustomColorSlots);
}
