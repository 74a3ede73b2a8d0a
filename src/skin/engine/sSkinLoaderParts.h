// What the loader's files share: the image entry parser and the file
// access of a load (folder or package).
#pragma once

#include "acEngineServices.h"
#include "sSkinLoader.h"

class TMemoryStream;

namespace skinload {

// Characters From..To (1-based, inclusive) of Value as an integer. A value
// shorter than the columns fails like a bad number (EConvertError).
Integer Columns(const String& Value, int From, int To);
// The "!"-separated fields of Value.
std::vector<String> Fields(const String& Value, wchar_t Separator);
// An image kind field: missing or not a number 0, above 4 4, negative 0.
TacImgType ImgTypeField(const std::vector<String>& Fields, std::size_t Index);

// The fields of a "^" entry into Image (R, margins, ImageCount, MaskType,
// DrawMode, BorderWidth, ImgType); counts below 0 and mask types below -1
// fail like bad numbers.
void ParseBorderEntry(const String& Value, TsMaskData& Image);
void CheckCounts(const TsMaskData& Image);
// Margins of an entry that gives none: BorderWidth when set, else a third
// of a frame's width and of its colour rows (none for MaskType -1).
void DefaultMargins(TsMaskData& Image);
// 0 or 1 from the key colour in a frame corner; 0 without a source.
Integer ScanCornerType(const TsMaskData& Image, TBitmap* Source);

// The bytes of a skin file: the package's entry (upper-case comparison),
// read in place, or the file Path + Name (Name as is when it holds ":"),
// read into Holder; null when missing.
TMemoryStream* OpenSkinFile(const TacSkinSource& Source, const String& Name, TOwned<TMemoryStream>& Holder);

// Decodes an image file by its name (".BMP", ".JPG"/".JPEG", ".PNG") into a
// new 32-bit bitmap; a bitmap that was not 32-bit gets alpha 255 except on
// 0xFF00FF. Raises for data that does not decode.
TOwned<TBitmap> DecodeSkinImage(const String& Name, TMemoryStream* Data, bool& WasPng);

} // namespace skinload
