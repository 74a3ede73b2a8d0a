// Form controls written in cell markup: «<CONTROL TYPE="…" ID="…"
// VALUE="…" WIDTH="…" HEIGHT="…" PROP="…" MAXLEN="…">». The grid's HTML
// engine draws and hit-tests them; these routines read and rewrite them.
#pragma once

#include "System.h"

// The attributes of one CONTROL tag, each empty when absent. Type is upper
// case; Value and Prop have their entities decoded.
struct THTMLControlTag {
    String Type;
    String ID;
    String Value;
    String Width;
    String Height;
    String Prop;
    String MaxLen;
};

// Reads a tag given from its "<" on; the attributes start after the word CONTROL.
THTMLControlTag ParseHTMLControlTag(const String& Tag);

// True when the text holds "<CONTROL" in any letter case.
bool HasHTMLControls(const String& Text);
// The ID of the first control after the one with ID (from the first control
// when ID is empty) that takes typed input: not a BUTTON, CHECK or RADIO.
// Empty when there is none.
String FindNextHTMLEditControlID(const String& Text, const String& ID);
// The text with the VALUE of every RADIO control set to "FALSE".
String ClearHTMLRadioControls(const String& Text);
// PROP of the first control with that ID; empty when none.
String GetHTMLControlProp(const String& Text, const String& ID);
// MAXLEN of the first control with that ID as a leading integer; 0 when none.
Integer GetHTMLControlMaxLen(const String& Text, const String& ID);
// Rewrites the first control with that ID with Value as its VALUE; False,
// with the text unchanged, when no control has the ID.
bool SetHTMLControlValue(String& Text, const String& ID, const String& Value);
