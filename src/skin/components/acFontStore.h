// Font files carried inside component streams and skins, installed privately
// for this process (AddFontMemResourceEx), so that skin fonts and icon fonts
// work without being installed on the machine.
//
// Two collections share the item: the skin manager's fonts and a char image
// list's fonts. They are stored alike and differ in how they copy and load,
// so the owning collection says which behaviour its items follow.
#pragma once

#include "Classes.h"
#include "acComponentsStartup.h"

// Which collection a font belongs to.
enum TacEmbeddedFontsKind {
    efkSkinManager,   // fonts named by a skin
    efkCharImageList  // icon fonts of a char image list; always headed by the built-in font
};

// The family of the icon font installed at start-up from "AWFONT".
extern const wchar_t* const acBuiltInIconFontName;

class TacEmbeddedFonts;

class TacEmbeddedFont : public TCollectionItem {
public:
    explicit TacEmbeddedFont(TCollection* Collection);

    void Assign(TPersistent* Source) override;

    // Installs FontData for this process and sets Handle (0 when the data is
    // empty, is not a well-formed TrueType/OpenType file or the system refuses it).
    void LoadFont();
    // Removes the installed font; Handle becomes 0.
    void UnLoadFont();

    // Published: the file the data came from (informative) and the family
    // name under which glyph lists and skins ask for the font.
    const String& GetFileName() const { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    const String& GetFontName() const { return FFontName; }
    void SetFontName(const String& Value) { FFontName = Value; }

    // The item's "FontData" binary property in a component stream: the font
    // file's bytes exactly. Reading checks the length against the bytes the
    // stream still holds before anything is allocated; a bad value raises
    // EReadError and leaves the item as it was.
    void WriteProperties(TWriter& Writer) const;
    // Reads the value of the property Name; False for a name it does not know.
    bool ReadProperty(TReader& Reader, const String& Name);

    TacEmbeddedFontsKind Kind() const;

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    String FFileName;
    String FFontName;
    TOwned<TMemoryStream> fontData_{New<TMemoryStream>()};

public:
    // Handle returned by AddFontMemResourceEx; 0 while not installed.
    HANDLE Handle = nullptr;
    // The whole font file, owned by the item.
    TMemoryStream* const FontData = fontData_.get();
};

class TacEmbeddedFonts : public TCollection {
public:
    TacEmbeddedFonts(TPersistent* AOwner, TacEmbeddedFontsKind AKind);

    TacEmbeddedFont* Add() { return static_cast<TacEmbeddedFont*>(TCollection::Add()); }
    TacEmbeddedFont* Items(int Index) const { return static_cast<TacEmbeddedFont*>(GetItem(Index)); }
    void Assign(TPersistent* Source) override;
    // Only the char image list's collection names its owner, so that the
    // filer can name the property path.
    TPersistent* GetOwner() const override;
    TPersistent* Owner() const { return FOwner; }
    TacEmbeddedFontsKind Kind() const { return FKind; }

    // The collection as a component stream value: vaCollection, then each
    // item's properties as a list, then the end mark.
    void WriteItems(TWriter& Writer) const;
    // Replaces the items with those read.
    void ReadItems(TReader& Reader);

private:
    TPersistent* FOwner;
    TacEmbeddedFontsKind FKind;
};

// True when Data holds a TrueType or OpenType file (or collection) whose
// table directory lies inside the data and names the tables a font needs.
bool acIsWellFormedFont(const void* Data, Int64 Size);

// The start-up font's handle; 0 while not installed.
HANDLE acIconFontHandle();
