// Fills a skin manager's tables from one of the project's test skin
// descriptions (tests/fixtures/skins), through AddNewSection and
// MakeNewItem, the way a loader would: sections in order, images in the
// master bitmap or in bitmaps of their own, palette, brushes, indexes.
#pragma once
#include "SkinDescription.h"
#include "sSkinManager.h"

// The description of tests/fixtures/skins/<Name>.skin.
skindesc::Skin DescribedSkin(const std::string& Name);
// Replaces the manager's tables by the skin's; GlowFrames sizes the glow
// lists of the large title glyphs before the indexes are built.
void FillManager(TsSkinManager& Manager, const skindesc::Skin& Skin, int GlowFrames = 0);
// The 32-bit pixel of a described image's colour part, as the tables hold it.
DWORD DescribedPixel(const skindesc::Image& Image, int X, int Y);
