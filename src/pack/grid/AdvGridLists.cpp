// The grid's bookkeeping lists and the picture kept by file name.
#include "AdvGridLists.h"
#include <vector>

namespace {

constexpr Cardinal DescendingBit = 0x80000000u;

void* ToItem(Integer Value)
{
    return reinterpret_cast<void*>(static_cast<intptr_t>(Value));
}

Integer FromItem(void* Item)
{
    return static_cast<Integer>(reinterpret_cast<intptr_t>(Item));
}

} // namespace

// ---------------------------------------------------------------------------
// TIntList

Integer TIntList::GetItem(int Index) const
{
    return FromItem(Get(Index));
}

void TIntList::SetItem(int Index, Integer Value)
{
    Put(Index, ToItem(Value));
    Changed();
}

int TIntList::Add(Integer Value)
{
    int index = TList::Add(ToItem(Value));
    Changed();
    return index;
}

void TIntList::Delete(int Index)
{
    TList::Delete(Index);
    Changed();
}

void TIntList::Insert(int Index, Integer Value)
{
    TList::Insert(Index, ToItem(Value));
}

void TIntList::Insert(Integer Value)
{
    if (Count() == 0)
        Add(Value);
    else
        TList::Insert(SortedPosOf(Value), ToItem(Value));
}

void TIntList::DeleteValue(Integer Value)
{
    for (int i = 0; i < Count(); ++i) {
        if (GetItem(i) == Value) {
            Delete(i);
            return;
        }
    }
}

bool TIntList::HasValue(Integer Value) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetItem(i) == Value)
            return true;
    return false;
}

int TIntList::Search(Integer Value, int& LastProbe) const
{
    int lo = 0, hi = Count() - 1;
    LastProbe = 0;
    while (lo <= hi) {
        LastProbe = lo + (hi - lo) / 2;
        Integer item = GetItem(LastProbe);
        if (item == Value)
            return LastProbe;
        if (item < Value)
            lo = LastProbe + 1;
        else
            hi = LastProbe - 1;
    }
    return -1;
}

int TIntList::SortedIndexOf(Integer Value) const
{
    int probe = 0;
    return Search(Value, probe);
}

int TIntList::SortedPosOf(Integer Value) const
{
    if (Count() == 0)
        return 0;
    int probe = 0;
    int found = Search(Value, probe);
    if (found >= 0)
        return found;
    return GetItem(probe) < Value ? probe + 1 : probe;
}

String TIntList::GetStrValue() const
{
    String text;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            text += L',';
        text += IntToStr(GetItem(i));
    }
    return text;
}

void TIntList::SetStrValue(const String& Value)
{
    TOwned<TStringList> parts(New<TStringList>());
    parts->SetCommaText(Value);
    // Every item is converted before the list changes, so a bad one loses nothing.
    std::vector<Integer> values;
    values.reserve(static_cast<std::size_t>(parts->Count()));
    for (int i = 0; i < parts->Count(); ++i)
        values.push_back(StrToInt(parts->Get(i)));
    TList::Clear();
    for (Integer v : values)
        Add(v);
}

void TIntList::Changed()
{
    if (OnChange)
        OnChange(this, col_, row_);
}

// ---------------------------------------------------------------------------
// TSortIndexList

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending)
{
    Cardinal item = static_cast<Cardinal>(ColumnIndex);
    if (!Ascending)
        item |= DescendingBit;
    Add(static_cast<Integer>(item));
}

int TSortIndexList::FindIndex(int ColumnIndex) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetColumn(i) == ColumnIndex)
            return i;
    return -1;
}

int TSortIndexList::GetColumn(int Index) const
{
    return static_cast<int>(static_cast<Cardinal>(GetItem(Index)) & ~DescendingBit);
}

bool TSortIndexList::GetAscending(int Index) const
{
    return (static_cast<Cardinal>(GetItem(Index)) & DescendingBit) == 0;
}

void TSortIndexList::ToggleIndex(int ColumnIndex)
{
    int i = FindIndex(ColumnIndex);
    if (i >= 0)
        SetItem(i, static_cast<Integer>(static_cast<Cardinal>(GetItem(i)) ^ DescendingBit));
}

String TSortIndexList::SaveToString() const
{
    String text;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            text += L';';
        Cardinal item = static_cast<Cardinal>(GetItem(i));
        text += (item & DescendingBit) ? L'd' : L'u';
        text += IntToStr(static_cast<Integer>(item & 0xFFFFu));
    }
    return text;
}

void TSortIndexList::LoadFromString(const String& s)
{
    TList::Clear();
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find(L';', start);
        if (end == String::npos)
            end = s.size();
        String item = s.substr(start, end - start);
        if (item.size() >= 2)
            AddIndex(StrToIntDef(item.substr(1), 0), item[0] == L'u');
        start = end + 1;
    }
}

// ---------------------------------------------------------------------------
// TControlList

TControlList::~TControlList()
{
    while (Count() > 0)
        RemoveControl(0);
}

void TControlList::AddControl(int X, int Y, TControl* AObject)
{
    Add(New<TControlItem>(X, Y, AObject));
}

int TControlList::ControlIndex(int X, int Y) const
{
    for (int i = 0; i < Count(); ++i) {
        TControlItem* item = GetItem(i);
        if (item->GetX() == X && item->GetY() == Y)
            return i;
    }
    return -1;
}

bool TControlList::HasHandle(HWND Handle) const
{
    for (int i = 0; i < Count(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(GetItem(i)->GetControl());
        if (control && control->HandleAllocated() && control->GetHandle() == Handle)
            return true;
    }
    return false;
}

void TControlList::RemoveControl(int i)
{
    TControlItem* item = GetItem(i);
    Delete(i);
    item->Free();
}

// ---------------------------------------------------------------------------
// TFileStringList

void TFileStringList::Reset()
{
    fp_ = 0;
    cache_.clear();
}

void TFileStringList::ReadLn(String& s)
{
    s = Get(fp_);
    ++fp_;
}

void TFileStringList::Write(const String& s)
{
    cache_ += s;
}

void TFileStringList::WriteLn(const String& s)
{
    Add(cache_ + s);
    cache_.clear();
}

// ---------------------------------------------------------------------------
// TFilePicture

void TFilePicture::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TFilePicture*>(Source);
    if (!source)
        return;
    filename_ = source->filename_;
    width_ = source->width_;
    height_ = source->height_;
}

void TFilePicture::SetFilename(const String& Value)
{
    filename_ = Value;
    if (!FileExists(Value))
        return;
    try {
        TOwned<TPicture> picture(New<TPicture>());
        picture->LoadFromFile(Value);
        width_ = picture->GetWidth();
        height_ = picture->GetHeight();
    } catch (const std::exception&) {
        // An unreadable file keeps the size it had.
    }
}

void TFilePicture::DrawPicture(TCanvas* Canvas, const TRect& r)
{
    if (filename_.empty() || !FileExists(filename_))
        return;
    try {
        TOwned<TPicture> picture(New<TPicture>());
        picture->LoadFromFile(filename_);
        Canvas->StretchDraw(r, picture->GetGraphic());
    } catch (const std::exception&) {
        // A file that cannot be read draws nothing.
    }
}
