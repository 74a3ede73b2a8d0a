// TStrings and TStringList.
#include "Classes.h"
#include <algorithm>

// ---------------------------------------------------------------------------
// TStrings

void TStrings::Error(const String& text, int index) const
{
    throw EStringListError(text + L" (" + IntToStr(index) + L")");
}

void TStrings::Put(int index, const String& s)
{
    BeginUpdate();
    TObject* obj = GetObject(index);
    Delete(index);
    InsertObject(index, s, obj);
    EndUpdate();
}

TObject* TStrings::GetObject(int) const
{
    return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const String& s)
{
    int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const String& s, TObject* obj)
{
    int index = Add(s);
    PutObject(index, obj);
    return index;
}

void TStrings::InsertObject(int index, const String& s, TObject* obj)
{
    Insert(index, s);
    PutObject(index, obj);
}

void TStrings::AddStrings(TStrings* strings)
{
    BeginUpdate();
    for (int i = 0; i < strings->Count(); ++i)
        AddObject(strings->Get(i), strings->GetObject(i));
    EndUpdate();
}

int TStrings::CompareStrings(const String& a, const String& b) const
{
    return AnsiCompareText(a, b);
}

int TStrings::IndexOf(const String& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), s) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfName(const String& name) const
{
    for (int i = 0; i < Count(); ++i) {
        String line = Get(i);
        std::size_t pos = line.find(NameValueSeparator);
        if (pos != String::npos && CompareStrings(line.substr(0, pos), name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* obj) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == obj)
            return i;
    return -1;
}

void TStrings::Exchange(int a, int b)
{
    BeginUpdate();
    String sa = Get(a), sb = Get(b);
    TObject *oa = GetObject(a), *ob = GetObject(b);
    Put(a, sb);
    PutObject(a, ob);
    Put(b, sa);
    PutObject(b, oa);
    EndUpdate();
}

void TStrings::Move(int from, int to)
{
    if (from == to)
        return;
    BeginUpdate();
    String s = Get(from);
    TObject* obj = GetObject(from);
    Delete(from);
    InsertObject(to, s, obj);
    EndUpdate();
}

bool TStrings::Equals(TStrings* other) const
{
    if (other->Count() != Count())
        return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other->Get(i))
            return false;
    return true;
}

String TStrings::Names(int index) const
{
    String line = Get(index);
    std::size_t pos = line.find(NameValueSeparator);
    return pos == String::npos ? String() : line.substr(0, pos);
}

String TStrings::GetValue(const String& name) const
{
    int i = IndexOfName(name);
    return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValue(const String& name, const String& value)
{
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0)
            Delete(i);
        return;
    }
    String line = name + NameValueSeparator + value;
    if (i < 0)
        Add(line);
    else
        Put(i, line);
}

String TStrings::ValueFromIndex(int index) const
{
    String line = Get(index);
    std::size_t pos = line.find(NameValueSeparator);
    return pos == String::npos ? String() : line.substr(pos + 1);
}

String TStrings::GetText() const
{
    String text;
    for (int i = 0; i < Count(); ++i)
        text += Get(i) + LineBreak;
    return text;
}

void TStrings::SetText(const String& text)
{
    BeginUpdate();
    Clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == String::npos) {
            Add(text.substr(start));
            break;
        }
        Add(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == L'\r' && start < text.size() && text[start] == L'\n')
            ++start;
    }
    EndUpdate();
}

String TStrings::GetDelimitedText() const
{
    String result;
    for (int i = 0; i < Count(); ++i) {
        String s = Get(i);
        bool quote = s.empty() && Count() == 1;
        for (wchar_t c : s)
            if (c == QuoteChar || c == Delimiter || (!StrictDelimiter && c <= L' '))
                quote = true;
        if (quote) {
            String q(1, QuoteChar);
            for (wchar_t c : s) {
                q += c;
                if (c == QuoteChar)
                    q += c;
            }
            s = q + QuoteChar;
        }
        if (i > 0)
            result += Delimiter;
        result += s;
    }
    return result;
}

void TStrings::SetDelimitedText(const String& text)
{
    BeginUpdate();
    Clear();
    std::size_t i = 0, n = text.size();
    auto isSpace = [this](wchar_t c) { return !StrictDelimiter && c > 0 && c <= L' '; };
    while (i < n && isSpace(text[i]))
        ++i;
    while (i < n) {
        String item;
        if (text[i] == QuoteChar) {
            ++i;
            while (i < n) {
                if (text[i] == QuoteChar) {
                    if (i + 1 < n && text[i + 1] == QuoteChar) {
                        item += QuoteChar;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < n && text[i] != Delimiter && !isSpace(text[i]))
                item += text[i++];
        }
        Add(item);
        while (i < n && isSpace(text[i]))
            ++i;
        if (i < n && text[i] == Delimiter) {
            ++i;
            // A delimiter at the very end stands for one more empty item.
            if (i == n)
                Add(String());
            while (i < n && isSpace(text[i]))
                ++i;
        }
    }
    EndUpdate();
}

String TStrings::GetCommaText() const
{
    TStringList copy;
    copy.Assign(const_cast<TStrings*>(this));
    copy.Delimiter = L',';
    copy.QuoteChar = L'"';
    copy.StrictDelimiter = false;
    return copy.GetDelimitedText();
}

void TStrings::SetCommaText(const String& text)
{
    wchar_t d = Delimiter, q = QuoteChar;
    bool strict = StrictDelimiter;
    Delimiter = L',';
    QuoteChar = L'"';
    StrictDelimiter = false;
    SetDelimitedText(text);
    Delimiter = d;
    QuoteChar = q;
    StrictDelimiter = strict;
}

void TStrings::BeginUpdate()
{
    if (updateCount_++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        SetUpdateState(false);
}

void TStrings::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TStrings*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    Clear();
    NameValueSeparator = other->NameValueSeparator;
    Delimiter = other->Delimiter;
    QuoteChar = other->QuoteChar;
    StrictDelimiter = other->StrictDelimiter;
    LineBreak = other->LineBreak;
    AddStrings(other);
    EndUpdate();
}

// ---------------------------------------------------------------------------
// TStringList

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (OwnsObjects)
        for (Item& item : items_)
            if (item.object)
                item.object->Free();
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        Error(L"List index out of bounds", index);
}

String TStringList::Get(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].text;
}

void TStringList::Put(int index, const String& s)
{
    if (sorted_)
        throw EStringListError(L"Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].text = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* obj)
{
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].object = obj;
    Changed();
}

int TStringList::Add(const String& s)
{
    return AddObject(s, nullptr);
}

int TStringList::AddObject(const String& s, TObject* obj)
{
    int index = Count();
    if (sorted_ && Find(s, index)) {
        switch (Duplicates) {
        case dupIgnore:
            return index;
        case dupError:
            throw EStringListError(L"String list does not allow duplicates");
        case dupAccept:
            break;
        }
    }
    InsertItem(index, s, obj);
    return index;
}

int TStringList::AddObjectTaking(String&& s, TObject* obj)
{
    if (sorted_)
        return AddObject(s, obj);
    Changing();
    items_.push_back(Item{std::move(s), obj});
    Changed();
    return Count() - 1;
}

String TStringList::TakeString(int index)
{
    CheckIndex(index);
    Changing();
    String s = std::move(items_[static_cast<std::size_t>(index)].text);
    items_[static_cast<std::size_t>(index)].text.clear();
    Changed();
    return s;
}

void TStringList::Insert(int index, const String& s)
{
    if (sorted_)
        throw EStringListError(L"Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        Error(L"List index out of bounds", index);
    InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int index, const String& s, TObject* obj)
{
    Changing();
    items_.insert(items_.begin() + index, Item{s, obj});
    Changed();
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    TObject* obj = items_[static_cast<std::size_t>(index)].object;
    items_.erase(items_.begin() + index);
    if (OwnsObjects && obj)
        obj->Free();
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty())
        return;
    Changing();
    std::vector<Item> old;
    old.swap(items_);
    if (OwnsObjects)
        for (Item& item : old)
            if (item.object)
                item.object->Free();
    Changed();
}

void TStringList::Exchange(int a, int b)
{
    CheckIndex(a);
    CheckIndex(b);
    Changing();
    std::swap(items_[static_cast<std::size_t>(a)], items_[static_cast<std::size_t>(b)]);
    Changed();
}

int TStringList::IndexOf(const String& s) const
{
    if (!sorted_)
        return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const String& s, int& index) const
{
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareStrings(items_[static_cast<std::size_t>(mid)].text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (Duplicates != dupAccept)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int TStringList::CompareStrings(const String& a, const String& b) const
{
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::Sort()
{
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->items_[static_cast<std::size_t>(a)].text,
                                    list->items_[static_cast<std::size_t>(b)].text);
    });
}

void TStringList::CustomSort(TStringListSortCompare compare)
{
    if (Count() < 2)
        return;
    Changing();
    QuickSort(0, Count() - 1, compare);
    Changed();
}

// The comparison gets indexes into the live list, so the sort must move the
// items themselves (as the class library's quick sort does).
void TStringList::QuickSort(int lo, int hi, const TStringListSortCompare& compare)
{
    while (lo < hi) {
        int i = lo, j = hi, p = (lo + hi) / 2;
        do {
            while (compare(this, i, p) < 0)
                ++i;
            while (compare(this, j, p) > 0)
                --j;
            if (i <= j) {
                if (i != j)
                    std::swap(items_[static_cast<std::size_t>(i)], items_[static_cast<std::size_t>(j)]);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (lo < j)
            QuickSort(lo, j, compare);
        lo = i;
    }
}

void TStringList::SetSorted(bool value)
{
    if (value == sorted_)
        return;
    if (value)
        Sort();
    sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value)
{
    if (value == caseSensitive_)
        return;
    caseSensitive_ = value;
    if (sorted_)
        Sort();
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}
