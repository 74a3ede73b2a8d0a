// Start-up and shut-down of the skinned components' units, for the program
// entry, which does not need (and must not clash with) their declarations.
#pragma once

// Installs the icon font of the resource "AWFONT" for the process (once; a
// missing resource raises EResNotFound). Shut-down removes it.
void acFontStore_Initialize();
void acFontStore_Finalize();
// The register of image lists and the default glyph list; needs the icon
// font installed first.
void acAlphaImageList_Initialize();
void acAlphaImageList_Finalize();
// The glow list; shut-down frees every glow left.
void acGlow_Initialize();
void acGlow_Finalize();
// The default hint template around the picture in the resource "ACHINT".
void acAlphaHints_Initialize();
void acAlphaHints_Finalize();
// Registers TsEditLabel with the streaming system.
void sLabel_Initialize();
void sLabel_Finalize();
// The desktop's shell item, OLE on the main thread and the small system
// image list; shut-down frees change threads left running.
void acShellCtrls_Initialize();
void acShellCtrls_Finalize();
// The popup controller's default shadow picture.
void acPopupController_Initialize();
void acPopupController_Finalize();
