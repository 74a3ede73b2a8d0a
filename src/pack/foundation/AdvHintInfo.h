// The content of an Office-style hint: a title, note lines and a picture,
// with a flag for the help line. Controls publish one as OfficeHint.
#pragma once

#include "GDIPicture.h"

class TAdvHintInfo : public TPersistent {
public:
    TAdvHintInfo();
    ~TAdvHintInfo() override;
    // Copies another hint info, picture bytes included; any other source is ignored.
    void Assign(TPersistent* Source) override;
    // No title and no note text; the picture and the flags do not count.
    bool IsEmpty() const;

    const String& GetTitle() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    TStringList* GetNotes() const { return FNotes.get(); }
    // Copies the lines.
    void SetNotes(TStrings* Value) { FNotes->Assign(Value); }
    TGDIPPicture* GetPicture() const { return FPicture.get(); }
    // Copies the picture.
    void SetPicture(TGDIPPicture* Value) { FPicture->Assign(Value); }
    bool GetShowHelp() const { return FShowHelp; }
    void SetShowHelp(bool Value) { FShowHelp = Value; }
    const String& GetWideTitle() const { return FWideTitle; }
    void SetWideTitle(const String& Value) { FWideTitle = Value; }
    const String& GetWideNotes() const { return FWideNotes; }
    void SetWideNotes(const String& Value) { FWideNotes = Value; }

private:
    String FTitle;
    TOwned<TStringList> FNotes;
    TOwned<TGDIPPicture> FPicture;
    bool FShowHelp = false;
    String FWideTitle;
    String FWideNotes;
};
