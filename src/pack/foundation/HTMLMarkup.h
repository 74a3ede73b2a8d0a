// The mini-HTML markup that captions, cells, hints and panel texts carry:
// pre-processing, tag attributes, numbers, colours and entities. Both
// drawing engines and the text utilities read the language through here.
#pragma once

#include "Graphics.h"
#include <array>

// A named character of the markup ("&eacute;" and its kin).
struct THTMLEntity {
    const wchar_t* Name; // with "&" and ";"
    wchar_t Char;
};

// The 51 named characters that the grid engine draws and the entity
// encoder and decoder convert, in their fixed order.
extern const std::array<THTMLEntity, 51> HTMLCharEntities;

// Done once per draw or measure call before layout: the document entities
// ("&amp;", "&quot;", "&euro;" ...), "<#...>" unwrapped, carriage returns
// turned into "<BR>" and line feeds dropped.
String PreprocessHTML(const String& Text);

// The entities replaced inside one text run after it has been cut into
// words: "&nbsp;", "&lt;", "&gt;", and with CharEntities the 51 named
// characters (each name with exactly its letter case).
String DecodeRunEntities(const String& Run, bool CharEntities);

// The value of an attribute of a tag: Name is searched as a plain
// substring of the upper-cased tag (its first occurrence anywhere), and the
// value is the text between the next two double quotes, taken from the tag
// as written. False (and Value empty) when the name or the quotes are missing.
bool HTMLTagAttribute(const String& Tag, const String& Name, String& Value);
String HTMLTagAttribute(const String& Tag, const String& Name);

// The leading integer of an attribute value: blanks skipped, an optional
// sign, "$", "x" or "0x" for hexadecimal; reading stops at the first other
// character (0 when there are no digits).
Integer HTMLLeadingInteger(const String& Value);
// True when the whole value is such a number.
bool HTMLValidNumber(const String& Value, Integer& Number);

// A colour value: "#RRGGBB", or a colour name of the table ("clRed",
// "clBtnFace" ... any letter case); anything else is black.
TColor HTMLColor(const String& Value);
// "#RRGGBB" only; False for any other form.
bool HTMLHexColor(const String& Value, TColor& Color);
// A colour name of the table; False when the name is not in it.
bool HTMLNamedColor(const String& Value, TColor& Color);

// Upper case of each UTF-16 unit on its own, so that positions in the
// result match positions in the source.
String HTMLUpperCase(const String& S);
// Position (0-based) of Sub in S ignoring letter case, from From on; npos when absent.
std::size_t HTMLFindNoCase(const String& S, const String& Sub, std::size_t From = 0);
