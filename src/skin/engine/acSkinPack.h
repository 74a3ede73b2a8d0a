// Packed skin files (".asz"), the skins stored in a form (internal skins)
// and the preview picture a packed skin may carry.
//
// A packed file: the signature "ASzf", the 32-bit entry count N, then N
// entries of a 32-bit name length L, the name, the 32-bit inflated length S
// and one zlib stream. A preview block ("previewimg", a 32-bit length and
// that many bytes of PNG) may stand anywhere; the first counts.
#pragma once

#include "Classes.h"
#include "Graphics.h"
#include <vector>

class TsSkinManager;

enum TacFileType { ftBmp, ftFont, ftOther };
enum TacSkinMode { smInternal, smExtPacked, smExtUnpacked };

// ".BMP" gives ftBmp, ".TTF" and ".OTF" ftFont, anything else ftOther.
TacFileType FileTypeOfName(const String& Name);

struct TacFileItem {
    String Name;
    TacFileType FileType = ftOther;
    TOwned<TMemoryStream> Stream;
};

// The unpacked entries of a packed skin.
class TacSkinConvertor : public TObject {
public:
    ~TacSkinConvertor() override;
    // The inflated "Options.dat"; null when the package has none.
    TOwned<TMemoryStream> Options;
    // The packed bytes being read; not owned (a file's bytes are held by
    // LoadPackedFile, a stored skin keeps its own stream).
    TMemoryStream* PackedData = nullptr;
    Integer FileCount = 0;
    std::vector<TacFileItem> Files;

    void Clear();
    // The entry whose upper-cased name equals UpperName; null when none.
    TacFileItem* FindFile(const String& UpperName);
    String OptionsText() const;
};

// The error text of a file that is not a packed skin.
extern const wchar_t* const NotPackedSkinText;

// Reads Package->PackedData from offset 0 into Options and Files. Every
// length is checked against the bytes left and every entry must inflate to
// exactly its length; false (after the error box) for a file of another
// kind or a damaged one, with nothing kept.
bool ReadPackedSkin(TacSkinConvertor* Package, TsSkinManager* Manager);
// False when the file does not exist or does not read.
bool LoadPackedFile(const String& FileName, TacSkinConvertor* Package, TsSkinManager* Manager);
// Copies the first preview block of Source into Target (sized to the block,
// positioned at 0); false when there is none or it is cut short.
bool ReadSkinPreview(TStream* Target, TStream* Source);
bool ReadSkinPreview(TStream* Target, const String& FileName);

// One skin stored in a form.
class TsStoredSkin : public TCollectionItem {
public:
    explicit TsStoredSkin(TCollection* Collection);
    void AfterConstruction() override;
    void Assign(TPersistent* Source) override;

    String Name;
    TOwned<TBitmap> MasterBitmap;
    TColor Shadow1Color = 0;
    Integer Shadow1Offset = 0;
    Integer Shadow1Blur = -1;
    Integer Shadow1Transparency = 0;
    TColor BorderColor = 0xFF00FF;
    double Version = 0;
    String Author;
    String Description;
    String OrigName;
    // The skin in the packed file format.
    TOwned<TMemoryStream> PackedData;

    // The streamed form: the published values, then "Data" and "OriginName".
    void WriteData(TWriter& Writer);
    // Reads the property Name; false for a name the item does not have.
    bool ReadProperty(TReader& Reader, const String& Name);
};

class TsStoredSkins : public TCollection {
public:
    explicit TsStoredSkins(TsSkinManager* Owner);
    TsStoredSkin* Items(int Index) const { return static_cast<TsStoredSkin*>(GetItem(Index)); }
    TsStoredSkin* AddSkin() { return static_cast<TsStoredSkin*>(Add()); }
    // The first skin of that name (case-sensitive); -1 when none.
    int IndexOf(const String& SkinName) const;
    // Assigning the property leaves the collection as it is.
    void Assign(TPersistent* Source) override;
    TsSkinManager* Manager() const { return FManager; }

    // The collection as the component image holds it.
    void WriteCollection(TWriter& Writer);
    void ReadCollection(TReader& Reader);

protected:
    void Update(TCollectionItem* Item) override;

private:
    TsSkinManager* FManager;
};
