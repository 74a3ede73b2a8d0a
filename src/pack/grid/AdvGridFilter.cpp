// Filter conditions and filter levels: the condition items, the row test,
// applying, narrowing and removing filters, and the filter file.
//
// Rows are tested only while shown, so every application narrows what the
// levels before it left; removing a level shows its rows again.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "HTMLUtils.h"
#include "IniFiles.h"
#include <algorithm>
#include <cmath>
#include <set>

using enum AdvGrid::TFilterType;

// --- the condition items ---------------------------------------------------------------

void TFilterData::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFilterData*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    column_ = s->column_;
    condition_ = s->condition_;
    caseSensitive_ = s->caseSensitive_;
    data_ = s->data_;
    prefix_ = s->prefix_;
    suffix_ = s->suffix_;
    operation_ = s->operation_;
    removeAccented_ = s->removeAccented_;
    exactValues_ = s->exactValues_;
}

void TFilterData::BuildCondition(const String& s)
{
    const String text = s.find(L' ') != String::npos ? L"\"" + s + L"\"" : s;
    switch (filterType_) {
    case ftStartsWith:
        condition_ = text + L"*";
        break;
    case ftEndsWith:
        condition_ = L"*" + text;
        break;
    case ftContains:
        condition_ = L"*" + text + L"*";
        break;
    case ftNotContains:
        condition_ = L"!*" + text + L"*";
        break;
    case ftEqual:
        condition_ = text;
        break;
    case ftNotEqual:
        condition_ = L"!" + text;
        break;
    case ftLargerThan:
        condition_ = L">" + text;
        break;
    case ftSmallerThan:
        condition_ = L"<" + text;
        break;
    case ftClear:
    case ftNone:
        break;
    }
}

TFilter::TFilter(TAdvStringGrid* AOwner) : TCollection(ItemClass<TFilterData>(), AOwner), grid_(AOwner) {}

TFilterData* TFilter::Add()
{
    auto* item = static_cast<TFilterData*>(TCollection::Add());
    item->SetOperation(Count() == 1 ? foNONE : foAND);
    return item;
}

TFilterData* TFilter::Insert(int)
{
    return static_cast<TFilterData*>(TCollection::Add());
}

TFilterData* TFilter::ColumnItem(int Col)
{
    for (int i = 0; i < Count(); ++i)
        if (Item(i)->GetColumn() == Col)
            return Item(i);
    TFilterData* item = Add();
    item->SetColumn(Col);
    return item;
}

void TFilter::RemoveColumnFilter(int Col)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (Item(i)->GetColumn() == Col)
            Delete(i);
    if (grid_ && grid_->GetColCount() > 0 && grid_->GetRowCount() > 0)
        grid_->RepaintCell(std::clamp(Col, 0, grid_->GetColCount() - 1), 0);
}

bool TFilter::HasFilter(int Col) const
{
    for (int i = 0; i < Count(); ++i)
        if (Item(i)->GetColumn() == Col)
            return true;
    return false;
}

bool TFilter::HasOtherFilter(int Col) const
{
    for (int i = 0; i < Count(); ++i)
        if (Item(i)->GetColumn() != Col)
            return true;
    return false;
}

TFilterType TFilter::HasFilterType(int Col) const
{
    for (int i = 0; i < Count(); ++i)
        if (Item(i)->GetColumn() == Col)
            return Item(i)->GetFilterType();
    return ftContains;
}

void TFilter::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    if (grid_ && grid_->GetRowCount() > 0 && !grid_->ComponentState().Contains(csDestroying))
        grid_->RepaintRow(0);
}

// --- the look of the drop-down and the filter-edit row ---------------------------------

TFilterDropDown::TFilterDropDown() : font_(New<TFont>()), glyph_(New<TBitmap>()), glyphActive_(New<TBitmap>())
{
    auto changed = [this](TObject*) { FireEvent(OnChange, this); };
    font_->OnChange = changed;
    glyph_->OnChange = changed;
    glyphActive_->OnChange = changed;
}

void TFilterDropDown::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFilterDropDown*>(Source);
    if (!s)
        return;
    caseSensitive_ = s->caseSensitive_;
    color_ = s->color_;
    columnWidth_ = s->columnWidth_;
    font_->Assign(s->font_.get());
    height_ = s->height_;
    width_ = s->width_;
    glyph_->Assign(s->glyph_.get());
    glyphActive_->Assign(s->glyphActive_.get());
    textChecked_ = s->textChecked_;
    textUnChecked_ = s->textUnChecked_;
}

TFilterEdit::TFilterEdit(TAdvStringGrid* AOwner) : grid_(AOwner), typeNames_(New<TStringList>())
{
    for (const wchar_t* name : {L"Starts with", L"Ends with", L"Contains", L"Not contains", L"Equal", L"Not equal",
                                L"Larger than", L"Smaller than", L"Clear"})
        typeNames_->Add(name);
}

void TFilterEdit::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFilterEdit*>(Source);
    if (!s)
        return;
    enabled_ = s->enabled_;
    row_ = s->row_;
    color_ = s->color_;
    columns_ = s->columns_;
    typeNames_->Assign(s->typeNames_.get());
    caseSensitive_ = s->caseSensitive_;
}

void TFilterEdit::Invalidate()
{
    if (grid_)
        grid_->Invalidate();
}

void TFilterEdit::SetEnabled(bool Value)
{
    if (!StoreChanged(enabled_, Value) || !grid_)
        return;
    grid_->Invalidate();
    grid_->SetFilterActive(false);
    grid_->GetFilter()->Clear();
    if (row_ >= 0 && row_ < grid_->GetRowCount())
        for (int c = 0; c < grid_->TotalColCount(); ++c)
            grid_->SetCells(c, row_, {});
}

void TFilterEdit::SetRow(int Value)
{
    if (StoreChanged(row_, Value))
        Invalidate();
}

void TFilterEdit::SetColor(TColor Value)
{
    if (StoreChanged(color_, Value))
        Invalidate();
}

void TFilterEdit::SetColumns(TFilterDropDownColumns Value)
{
    if (StoreChanged(columns_, Value))
        Invalidate();
}

// --- the row test ----------------------------------------------------------------------

namespace {

String UpperAscii(String s)
{
    for (wchar_t& ch : s)
        if (ch >= L'a' && ch <= L'z')
            ch = static_cast<wchar_t>(ch - L'a' + L'A');
    return s;
}

bool SameExact(const String& a, const String& b, bool CaseSensitive)
{
    return CaseSensitive ? a == b : AnsiUpperCase(a) == AnsiUpperCase(b);
}

} // namespace

String TAdvStringGrid::FilterCellText(const TFilterData* Data, int ARow)
{
    const int col = Data->GetColumn();
    switch (Data->GetData()) {
    case fcVirtual: {
        String t = GetCellText(col, ARow);
        if (t.find(L"</") != String::npos)
            t = GridHTMLToText(t);
        if (t.empty()) {
            TSortStyle style = ssAutomatic;
            String prefix, suffix;
            DoGetFormat(col, style, prefix, suffix);
            if (style == ssImages) {
                int idx = -1;
                t = GetImageIdx(col, ARow, idx) ? IntToStr(idx) : String(L"-1");
            }
        }
        return t;
    }
    case fcNormal:
        return GetRawCell(col, ARow);
    case fcStripHTML:
        return GetStrippedCellText(col, ARow);
    case fcCalculated: {
        String t;
        GetCellTextForSave(col, ARow, t);
        return t;
    }
    case fcRow: {
        String t;
        for (int c = 0; c < TotalColCount(); ++c) {
            if (FIgnoreColumns->Count() == 0)
                t += GetRawCell(c, ARow) + L"\r\n";
            else if (!IsIgnoredColumn(c))
                t += L"," + GetRawCell(c, ARow);
        }
        return t;
    }
    }
    return {};
}

bool TAdvStringGrid::MatchFilterRow(int ARow)
{
    bool result = true;
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData* data = FFilter->Item(i);
        if (!data->GetEnabled())
            continue;
        bool outcome = false;
        try {
            String t = Trim(FilterCellText(data, ARow));
            String c = data->GetCondition();
            if (data->GetRemoveAccented()) {
                t = RemoveDiacritics(t);
                c = RemoveDiacritics(c);
            }
            if (t.find(L"|\\") != String::npos)
                t = UnpackWideText(t);
            if (data->GetData() == fcRow) {
                outcome = !c.empty() && UpperAscii(t).find(UpperAscii(c)) != String::npos;
            } else {
                const String& prefix = data->GetPrefix();
                const String& suffix = data->GetSuffix();
                if (!prefix.empty() && t.starts_with(prefix))
                    t.erase(0, prefix.size());
                if (const size_t at = suffix.empty() ? String::npos : t.find(suffix);
                    at != String::npos && at + suffix.size() == t.size())
                    t.erase(at);
                const std::vector<String>& exact = data->GetExactValues();
                const bool exactHit = std::any_of(exact.begin(), exact.end(), [&](const String& v) {
                    return SameExact(v, t, data->GetCaseSensitive());
                });
                if (exactHit)
                    outcome = true;
                else if (c.empty())
                    outcome = exact.empty();
                else if (data->GetMethod() == fmLiteral)
                    outcome = c == L"\"\"" ? t.empty() : c == t;
                else
                    outcome = MatchFilterExpression(c, t, data->GetCaseSensitive());
            }
        } catch (const Exception&) {
            outcome = false;
        }
        bool stop = false;
        switch (data->GetOperation()) {
        case foSHORT:
            result = outcome;
            stop = !outcome;
            break;
        case foNONE:
            result = outcome;
            break;
        case foAND:
            result = result && outcome;
            break;
        case foXOR:
            result = result != outcome;
            break;
        case foOR:
            result = result || outcome;
            break;
        }
        if (stop)
            break;
    }
    if (OnCustomFilter) {
        bool accept = result;
        OnCustomFilter(this, ARow, accept);
        result = accept;
    }
    return result;
}

// --- applying and removing ----------------------------------------------------------------

void TAdvStringGrid::ApplyFilter()
{
    if (GroupPumping())
        return;
    FFilterFixedRows = FFixedRowsMin;
    const int total = GetRowCount() - FFixedFooters - FFilterFixedRows;
    if (total <= 0)
        return;
    TOwned<TIntList> failing(New<TIntList>(0, 0));
    int tested = 0;
    short progress = 0;
    for (int r = GetFixedRows(), end = GetRowCount() - FFixedFooters; r < end; ++r) {
        if (FFilterNormalCellsOnly && (IsNode(r) || IsSummary(r)))
            continue;
        if (!MatchFilterRow(r))
            failing->Add(r);
        ++tested;
        if (OnFilterProgress) {
            // Halves go to the even neighbour, as the default rounding does.
            progress = static_cast<short>(std::nearbyint(static_cast<double>(tested) / total * 100));
            OnFilterProgress(this, progress);
        }
    }
    HideRowList(failing.get());
    if (OnFilterProgress)
        OnFilterProgress(this, progress);
}

void TAdvStringGrid::FilterRow(int ARow)
{
    if (!MatchFilterRow(ARow))
        HideRow(RealRowIndex(ARow));
}

void TAdvStringGrid::SetFilterActive(bool Value)
{
    if (GroupPumping())
        return;
    if (LoadingNow())
        return;
    if (Value != FFilterActive) {
        FFilterActive = Value;
        if (Value) {
            if ((GetRow() < GetRowCount() && GetCol() >= GetColCount()) || GetRow() >= GetRowCount())
                FocusCell(GetFixedCols(), GetFixedRows());
            {
                const auto lock = UpdateLock();
                ApplyFilter();
            }
            FSelHidden = false;
        } else {
            UnHideRowList();
            if (FFilterFixedRows >= 0)
                SetFixedRows(FFilterFixedRows);
            if (IsSelectionHidden())
                UnHideSelection();
        }
        if (GetFixedRows() < GetRowCount())
            SetTopRowEx(GetFixedRows());
    }
    CalcFooter(-1);
}

bool TAdvStringGrid::RemoveLastFilter()
{
    if (GroupPumping())
        return false;
    FNarrowDownActive = false;
    if (FFilterLevel <= 0)
        return false;
    UnHideRowList();
    if (FFilterFixedRows >= 0)
        SetFixedRows(FFilterFixedRows);
    if (IsSelectionHidden())
        UnHideSelection();
    CalcFooter(-1);
    --FFilterLevel;
    if (FFilter->Count() > 0)
        FFilter->Delete(FFilter->Count() - 1);
    return FFilterLevel > 1;
}

void TAdvStringGrid::RemoveAllFilters()
{
    if (GroupPumping())
        return;
    if (FFilterLevel > 0) {
        while (FFilterLevel > 0)
            RemoveLastFilter();
    } else {
        FFilter->Clear();
    }
    FNarrowDownActive = false;
}

void TAdvStringGrid::NarrowDown(const String& ACondition, int AColumn)
{
    NarrowDown(ACondition, false, AColumn);
}

void TAdvStringGrid::NarrowDown(const String& ACondition, bool DoRemoveAccented, int AColumn)
{
    if (GroupPumping())
        return;
    FNarrowDownActive = !ACondition.empty();
    SetFixedRowAlways(true);
    auto addItem = [&] {
        FFilter->Clear();
        TFilterData* item = FFilter->Add();
        if (AColumn == -1) {
            item->SetData(fcRow);
            item->SetCondition(ACondition);
        } else {
            String c = L"*" + ACondition + L"*";
            if (c.find(L' ') != String::npos)
                c = L"\"" + c + L"\"";
            item->SetData(fcNormal);
            item->SetCondition(c);
        }
        item->SetRemoveAccented(DoRemoveAccented);
        item->SetCaseSensitive(false);
        item->SetColumn(AColumn);
        ApplyFilter();
    };
    const String& previous = FNarrowDownText;
    if (!previous.empty() && ACondition.size() == previous.size() + 1 && ACondition.starts_with(previous)) {
        addItem();
    } else if (!ACondition.empty() && ACondition.size() + 1 == previous.size() && previous.starts_with(ACondition)) {
        RemoveLastFilter();
    } else {
        RemoveAllFilters();
        if (!ACondition.empty())
            addItem();
    }
    FNarrowDownText = ACondition;
}

// --- the filter file ----------------------------------------------------------------------

namespace {

// The profile functions drop the blanks around a value unless it is quoted.
String ProfileText(const String& Value)
{
    if (!Value.empty() && (Value.front() == L' ' || Value.back() == L' '))
        return L"\"" + Value + L"\"";
    return Value;
}

} // namespace

void TAdvStringGrid::SaveFilter(const String& FileName)
{
    try {
        TOwned<TIniFile> ini(New<TIniFile>(FileName));
        ini->WriteInteger(L"FILTER", L"COUNT", FFilter->Count());
        for (int i = 0; i < FFilter->Count(); ++i) {
            const TFilterData* data = FFilter->Item(i);
            const String section = L"ITEM" + IntToStr(i);
            ini->WriteString(section, L"CONDITION", ProfileText(data->GetCondition()));
            ini->WriteInteger(section, L"COLUMN", data->GetColumn());
            ini->WriteInteger(section, L"OPERATION", data->GetOperation());
            ini->WriteInteger(section, L"METHOD", data->GetMethod());
            ini->WriteBool(section, L"CASE", data->GetCaseSensitive());
            ini->WriteBool(section, L"ENABLED", data->GetEnabled());
            ini->WriteBool(section, L"REMOVEACCENTED", data->GetRemoveAccented());
            ini->WriteString(section, L"PREFIX", ProfileText(data->GetPrefix()));
            ini->WriteString(section, L"SUFFIX", ProfileText(data->GetSuffix()));
            ini->WriteString(section, L"FRIENDLYNAME", ProfileText(data->GetFriendlyName()));
        }
    } catch (const Exception&) {
    }
}

void TAdvStringGrid::LoadFilter(const String& FileName)
{
    try {
        TOwned<TIniFile> ini(New<TIniFile>(FileName));
        const int count = ini->ReadInteger(L"FILTER", L"COUNT", -1);
        if (count <= 0)
            return;
        // The count is only as good as the file: read no further than the
        // last ITEM section it holds.
        TOwned<TStringList> sections(New<TStringList>());
        ini->ReadSections(sections.get());
        int present = 0;
        for (int i = 0; i < sections->Count(); ++i) {
            const String name = UpperCase(sections->Get(i));
            Integer index = 0;
            if (name.starts_with(L"ITEM") && TryStrToInt(name.substr(4), index) && index >= 0 && index < count)
                present = std::max(present, static_cast<int>(index) + 1);
        }
        FFilter->Clear();
        for (int i = 0; i < present; ++i) {
            const String section = L"ITEM" + IntToStr(i);
            TFilterData* data = FFilter->Add();
            data->SetCondition(ini->ReadString(section, L"CONDITION", L""));
            data->SetColumn(ini->ReadInteger(section, L"COLUMN", 0));
            const int operation = ini->ReadInteger(section, L"OPERATION", 0);
            data->SetOperation(operation >= foSHORT && operation <= foOR ? static_cast<TFilterOperation>(operation)
                                                                         : foSHORT);
            data->SetMethod(ini->ReadInteger(section, L"METHOD", 0) == fmLiteral ? fmLiteral : fmExpression);
            data->SetCaseSensitive(ini->ReadBool(section, L"CASE", false));
            data->SetEnabled(ini->ReadBool(section, L"ENABLED", true));
            data->SetRemoveAccented(ini->ReadBool(section, L"REMOVEACCENTED", false));
            data->SetPrefix(ini->ReadString(section, L"PREFIX", L""));
            data->SetSuffix(ini->ReadString(section, L"SUFFIX", L""));
            data->SetFriendlyName(ini->ReadString(section, L"FRIENDLYNAME", L""));
        }
    } catch (const Exception&) {
    }
}
