// What the grid's plain-text formats share: whole texts read from files
// and streams in one pass, lines split the way string lists split them,
// texts written in an encoding, and the one-line form of multi-line cells.
// Files come from outside: every reader here ends in time proportional to
// its input, and sizes the platform cannot decode fail before anything is
// allocated for them.
#pragma once

#include "Classes.h"
#include "Controls.h"
#include <vector>

namespace advgrid_text {

// The text of a stream from its position to its end. Without an encoding a
// byte-order mark chooses UTF-8 or UTF-16 and its absence the system code
// page; a mark of the given encoding is skipped. More than 2 GiB raises
// EEncodingError before anything is read.
String ReadStreamText(TStream* Stream, TEncoding* Encoding);
// The same for a file opened shared for reading; Empty tells a file of no
// bytes at all.
String ReadFileText(const String& FileName, TEncoding* Encoding, bool* Empty = nullptr);

// One line of a text: where it starts and how long it is, its line break
// not counted.
struct TLineSpan {
    std::size_t start = 0;
    std::size_t length = 0;
};
// Lines end at CR LF, LF or CR; a break at the very end opens no line.
std::vector<TLineSpan> SplitLines(const String& Text);
inline String LineAt(const String& Text, const TLineSpan& Line) { return Text.substr(Line.start, Line.length); }

// Writes the text (with the encoding's byte-order mark when WriteBOM) into
// a new file; the platform's file errors propagate.
void WriteFileText(const String& FileName, const String& Text, TEncoding* Encoding, bool WriteBOM);
// A new file; one that cannot be created raises EAdvGridError "Cannot
// Create file " + FileName.
TOwned<TFileStream> CreateTextFile(const String& FileName);
void WriteStreamText(TStream* Stream, const String& Text, TEncoding* Encoding, bool WriteBOM);

// The one-line form of the cell list: a text holding a line break keeps CR
// as character 9, LF as character 8 and character 0 as character 1.
String EncodeLineBreakChars(const String& S);
// The reverse, for a text holding character 8; without MultiLine only its
// first line.
String DecodeLineBreakChars(const String& S, bool MultiLine);

// A whole decimal number, optionally signed, with nothing around it.
bool ReadInteger(const String& S, Int64& Value);
// The text before the first Delimiter, taken off S with the delimiter;
// empty, and S unchanged, when there is none.
String ExtractToken(String& S, wchar_t Delimiter);

// The OEM code page's bytes of a text as characters of the system code
// page, as OEM files hold them, and back.
String StringToOEM(const String& S);
String OEMToString(const String& S);

// Puts back the screen cursor of before, however the work ends.
class THourGlass {
public:
    THourGlass();
    ~THourGlass();
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor saved_ = crDefault;
};

} // namespace advgrid_text
