#include "ProgramUnits.h"
#include "ACXPVS.h"
#include "AdvGDIP.h"
#include "APXPVS.h"
#include "ATXPVS.h"
#include "AdvGrid.h"
#include "AdvTBXPVS.h"
#include "AdvXPVS.h"
#include "Clipbrd.h"
#include "ComObj.h"
#include "Forms.h"
#include "GDIPFill.h"
#include "GridHTML.h"
#include "HintControlMessage.h"
#include "Jpeg.h"
#include "LayeredWindowFunctions.h"
#include "MenuAnimationSetting.h"
#include "PngImage.h"
#include "SysUtils.h"
#include "ToolBarMessages.h"
#include "Unit1.h"
#include "acComponentsStartup.h"
#include "acGraphicsStartup.h"
#include "acHandlersStartup.h"
#include "sSkinManagerStartup.h"

void InitializeProgramUnits()
{
    // Run time, then the class library; the picture formats register with
    // the graphics unit.
    SysUtils_Initialize();
    ComObj_Initialize();
    Graphics_Initialize();
    Jpeg_Initialize();
    PngImage_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    // Skin library.
    SkinGraphics_Initialize();
    sSkinManager_Initialize();
    acSBUtils_Initialize();
    acFontStore_Initialize();
    acAlphaImageList_Initialize();
    acGlow_Initialize();
    sLabel_Initialize();
    acAlphaHints_Initialize();
    acShellCtrls_Initialize();
    acPopupController_Initialize();
    // Component pack: GDI+ for its pictures and anti-aliased controls, its
    // settings units, the visual-styles loaders, then the grid's HTML engine,
    // which notes whether visual styles can be drawn.
    AdvGDIP_Initialize();
    GDIPFill_Initialize();
    ToolBarMessages_Initialize();
    MenuAnimationSetting_Initialize();
    LayeredWindowFunctions_Initialize();
    HintControlMessage_Initialize();
    AdvXPVS_Initialize();
    ATXPVS_Initialize();
    APXPVS_Initialize();
    AdvTBXPVS_Initialize();
    ACXPVS_Initialize();
    GridHTML_Initialize();
    AdvGrid_Initialize();
    // Application.
    Unit1_Initialize();
}

void FinalizeProgramUnits()
{
    Unit1_Finalize();
    AdvGrid_Finalize();
    GridHTML_Finalize();
    ACXPVS_Finalize();
    AdvTBXPVS_Finalize();
    APXPVS_Finalize();
    ATXPVS_Finalize();
    AdvXPVS_Finalize();
    HintControlMessage_Finalize();
    LayeredWindowFunctions_Finalize();
    MenuAnimationSetting_Finalize();
    ToolBarMessages_Finalize();
    GDIPFill_Finalize();
    // GDI+ goes last of the pack: the pictures of the units above need it.
    AdvGDIP_Finalize();
    acPopupController_Finalize();
    acShellCtrls_Finalize();
    acAlphaHints_Finalize();
    sLabel_Finalize();
    acGlow_Finalize();
    acAlphaImageList_Finalize();
    acFontStore_Finalize();
    acSBUtils_Finalize();
    sSkinManager_Finalize();
    SkinGraphics_Finalize();
    Clipbrd_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    PngImage_Finalize();
    Jpeg_Finalize();
    Graphics_Finalize();
    ComObj_Finalize();
    SysUtils_Finalize();
}
