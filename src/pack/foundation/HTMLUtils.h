// Text routines around the mini-HTML markup that need no canvas: plain
// text of a marked-up text, entity encoding and decoding, blank
// protection, and the search highlight tags of the grid.
#pragma once

#include "System.h"

// Plain text: "<BR>" and "<HR>" (any case) become CR LF, every other tag
// is removed; a "<" without a ">" after it stays with the rest of the text.
// Entities are not decoded.
String GridHTMLToText(const String& Text);
// As GridHTMLToText, and hidden text between "<z>" and "</z>" (or "<Z>"
// and "</Z>") is dropped with its markers.
String PanelHTMLToText(const String& Text);
// Tags removed, nothing else; removal stops at a ">" before the next "<".
String StripHTMLTags(const String& Text);

// "&lt;", "&gt;", "&amp;", "&quot;", and with AllEntities the 51 named characters.
String DecodeHTMLEntities(const String& Text, bool AllEntities);
// "&", double quote, "<", ">", and with AllEntities the 51 named characters.
String EncodeHTMLEntities(const String& Text, bool AllEntities);
// Every blank becomes "&nbsp;".
String SpacesToNbsp(const String& Text);

// Wraps every occurrence of Search in the visible text in <Tag> and </Tag>
// (the tag name upper-cased); with FullText only a text equal to Search as
// a whole. Highlights already present are removed first.
String HighlightHTMLText(const String& Text, const String& Search, const String& Tag, bool DoCase,
                         bool FullText);
// Removes every <Tag> and </Tag> (any case).
String UnhighlightHTMLText(const String& Text, const String& Tag);
