// The binary cell stream: a grid with texts, merged cells, cell properties
// and every kind of carried graphic saved and read back; where a partial and
// a whole-grid stream land; the bytes of a small stream; progress and the
// writers' notifications; and streams from outside that cannot be read,
// each refused with an error before the grid changes.
#include <gtest/gtest.h>
#include "DataGridSupport.h"
#include "TestSupport.h"
#include <sstream>

using namespace datagrid_test;
using testing_support::SourceDir;
using testing_support::TempDir;

namespace {

std::vector<Byte> StreamBytes(TMemoryStream* m)
{
    const auto* data = static_cast<const Byte*>(m->Memory());
    return {data, data + m->GetSize()};
}

TOwned<TMemoryStream> MemoryOf(const std::vector<Byte>& bytes)
{
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    m->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    m->SetPosition(0);
    return m;
}

std::vector<Byte> SavedRect(TAdvStringGrid* grid, const TRect& rect)
{
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    grid->SaveRectToBinStream(rect, m.get());
    return StreamBytes(m.get());
}

std::vector<Byte> Saved(TAdvStringGrid* grid)
{
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    grid->SaveToBinStream(m.get());
    return StreamBytes(m.get());
}

void Load(TAdvStringGrid* grid, const std::vector<Byte>& bytes, TPoint at = TPoint(0, 0))
{
    TOwned<TMemoryStream> m = MemoryOf(bytes);
    grid->LoadAtPointFromBinStream(at, m.get());
}

// Everything a cell holds, as text, so that two cells compare at once.
std::wstring CellState(TAdvStringGrid* grid, int c, int r)
{
    std::wostringstream s;
    s << L"text[" << grid->GetCellText(c, r) << L"]";
    if (!grid->HasCellProperties(c, r))
        return s.str();
    TCellProperties* p = grid->GetCellProperties(c, r);
    s << L" base " << p->GetIsBaseCell() << L" span " << p->GetCellSpanX() << L"," << p->GetCellSpanY()
      << L" align " << p->GetAlignment() << L" border " << p->GetBorderColor() << L"/" << p->GetBorderWidth()
      << L" brush " << p->GetBrushColor() << L"-" << p->GetBrushColorTo() << L"/" << p->GetBrushStyle()
      << L" tag " << p->GetCellObject() << L" font " << p->GetFontName() << L"/" << p->GetFontSize() << L"/"
      << p->GetFontColor() << L"/" << p->GetFontStyle().ToInt() << L" editor " << p->GetEditor() << L" gradient "
      << p->GetGradientDirection() << L" readonly " << p->GetReadOnly() << L" valign " << p->GetVAlignment()
      << L" wrap " << p->GetWordWrap() << L" level " << p->GetNodeLevel() << L" owner " << p->GetOwnerCol() << L","
      << p->GetOwnerRow();
    const TCellGraphic* g = grid->GetCellGraphic(c, r);
    if (!g)
        return s.str();
    s << L" graphic " << g->GetCellType() << L"/" << g->GetCellVAlign() << L"/" << g->GetCellHAlign() << L"/"
      << g->GetCellIndex() << L"/" << g->GetCellTransparent() << L"/" << g->GetCellBoolean() << L"/"
      << g->GetCellCheckBoxState() << L"/" << g->GetCellAngle() << L"/" << g->GetCellValue() << L"/"
      << g->GetCellErrFrom() << L"/" << g->GetCellErrLen() << L"/[" << g->GetCellText() << L"] comment ["
      << g->GetCellComment() << L"]/" << g->GetCommentColor();
    TObject* slot = g->GetCellBitmap();
    if (auto* bitmap = dynamic_cast<TBitmap*>(slot))
        s << L" bitmap " << bitmap->GetWidth() << L"x" << bitmap->GetHeight() << L" corner "
          << bitmap->GetCanvas()->GetPixels(bitmap->GetWidth() - 1, bitmap->GetHeight() - 1);
    else if (auto* picture = dynamic_cast<TPicture*>(slot))
        s << L" picture " << picture->GetGraphic()->ClassName() << L" " << picture->GetWidth() << L"x"
          << picture->GetHeight();
    else if (auto* file = dynamic_cast<TFilePicture*>(slot))
        s << L" file " << file->GetFilename() << L" " << file->GetWidth() << L"x" << file->GetHeight();
    else if (auto* strings = dynamic_cast<TStrings*>(slot))
        s << L" strings [" << strings->GetCommaText() << L"]";
    else if (auto* indexes = dynamic_cast<TIntList*>(slot))
        s << L" indexes [" << indexes->GetStrValue() << L"] of " << indexes->GetCol() << L"," << indexes->GetRow();
    if (TIcon* icon = g->GetCellIcon())
        s << L" icon " << icon->GetWidth() << L"x" << icon->GetHeight();
    return s.str();
}

void ExpectSameCells(TAdvStringGrid* expected, TAdvStringGrid* actual)
{
    ASSERT_EQ(actual->GetColCount(), expected->GetColCount());
    ASSERT_EQ(actual->GetRowCount(), expected->GetRowCount());
    for (int r = 0; r < expected->GetRowCount(); ++r)
        for (int c = 0; c < expected->GetColCount(); ++c)
            EXPECT_EQ(CellState(actual, c, r), CellState(expected, c, r)) << "cell " << c << "," << r;
}

std::vector<std::wstring> AllStates(TAdvStringGrid* grid)
{
    std::vector<std::wstring> states{std::to_wstring(grid->GetColCount()) + L"x" +
                                     std::to_wstring(grid->GetRowCount())};
    for (int r = 0; r < grid->GetRowCount(); ++r)
        for (int c = 0; c < grid->GetColCount(); ++c)
            states.push_back(CellState(grid, c, r));
    for (int c = 0; c < grid->GetColCount(); ++c)
        states.push_back(L"w" + std::to_wstring(grid->GetColWidths(c)));
    return states;
}

TBitmap* SmallBitmap(TColor corner)
{
    auto* bitmap = New<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(5, 3);
    bitmap->GetCanvas()->SetPixels(4, 2, corner);
    return bitmap;
}

// One cell of every kind the stream carries a picture or list for, besides
// texts, a merged block and cell properties of every sort.
void FillRichGrid(TAdvStringGrid* grid, const TempDir& dir)
{
    grid->SetColCount(6);
    grid->SetRowCount(6);
    grid->SetColWidths(2, 91);
    grid->SetRowHeights(3, 33);
    grid->SetCells(0, 0, L"plain");
    grid->SetCells(1, 0, L"Z\u00FCrich \u6771\u4EAC");
    grid->SetCells(2, 0, L"two\r\nlines");
    grid->SetCells(3, 0, String(300, L'x'));
    grid->SetCells(2, 2, L"merged");
    grid->MergeCells(2, 2, 3, 2);

    TCellProperties* p = grid->GetCellProperties(0, 1);
    p->SetAlignment(taCenter);
    p->SetVAlignment(vtaBottom);
    p->SetBrushColor(0x336699);
    p->SetBrushColorTo(clWindow);
    p->SetBrushStyle(bsCross);
    p->SetBorderColor(clRed);
    p->SetBorderWidth(2);
    p->SetFontName(L"Courier New");
    p->SetFontSize(14);
    p->SetFontColor(0x00123456);
    p->SetFontStyle(TFontStyles{fsBold, fsStrikeOut});
    p->SetEditor(edFloatSpinEdit);
    p->SetGradientDirection(GradientHorizontal);
    p->SetReadOnly(true);
    p->SetWordWrap(false);
    p->SetNodeLevel(3);
    p->SetCellObject(77);

    TCellGraphic* g = grid->CreateCellGraphic(1, 1);
    g->SetBitmap(SmallBitmap(clLime), true, haRight, vaCenter);
    g->SetCellCreated(true);
    g = grid->CreateCellGraphic(2, 1);
    g->SetCheckBox(true, false, true, haCenter, vaTop);
    g = grid->CreateCellGraphic(3, 1);
    g->SetCheckBox(cbGrayed, false, haLeft, vaBottom);
    g = grid->CreateCellGraphic(4, 1);
    g->SetCellType(ctRadio);
    auto* choices = New<TStringList>();
    choices->SetCommaText(L"one,\"two words\",three");
    g->SetCellBitmap(choices);
    g->SetCellCreated(true);
    g->SetCellIndex(1);
    g->SetCellAngle(3);
    g = grid->CreateCellGraphic(5, 1);
    g->SetMultiImage(5, 1, 0, haLeft, vaTop);
    grid->GetMultiImageList(5, 1)->SetStrValue(L"3,1,4");

    g = grid->CreateCellGraphic(0, 3);
    auto* picture = New<TPicture>();
    TOwned<TBitmap> drawn(SmallBitmap(clBlue));
    picture->SetGraphic(drawn.get());
    g->SetPicture(picture, false, 2, 4, haFull, vaFull);
    g->SetCellCreated(true);
    g = grid->CreateCellGraphic(1, 3);
    auto* icon = New<TIcon>();
    icon->LoadFromFile(SourceDir() + L"\\tests\\fixtures\\vcl\\two-sizes.ico");
    g->SetIcon(icon, haBeforeText, vaCenter);
    g->SetCellCreated(true);
    g = grid->CreateCellGraphic(0, 4);
    auto* file = New<TFilePicture>();
    TOwned<TBitmap> onDisk(SmallBitmap(clRed));
    onDisk->SaveToFile(dir.File(L"pic.bmp"));
    file->SetFilename(dir.File(L"pic.bmp"));
    g->SetFilePicture(file, true, 1, 2, haCenter, vaCenter);
    g->SetCellCreated(true);
    g = grid->CreateCellGraphic(1, 4);
    g->SetCellType(ctProgress);
    g->SetCellValue(-2.5);
    g->SetCellErrFrom(10);
    g->SetCellErrLen(90);
    g->SetCellText(L"%d%%");
    g = grid->CreateCellGraphic(0, 5);
    g->SetCellComment(L"note \u00E9");
    g->SetCommentColor(clYellow);
}

} // namespace

TEST(CellStream, AGridWithEveryKindOfCellReadsBackAsItWas)
{
    TempDir dir;
    TFilledGrid<> source(1, 1);
    source->SetSaveFixedCells(true);
    FillRichGrid(source.grid, dir);

    TFilledGrid<> target(2, 2);
    target->SetCells(0, 0, L"old");
    target->GetCellProperties(1, 1)->SetBrushColor(clRed);
    Load(target.grid, Saved(source.grid));

    ExpectSameCells(source.grid, target.grid);
    EXPECT_TRUE(target->IsMergedCell(4, 3)) << "the merged block is whole again";
    EXPECT_EQ(target->GetCellText(4, 3), L"merged");
    EXPECT_EQ(target->GetColWidths(2), 91);
    EXPECT_EQ(target->GetRowHeights(3), 33);
    EXPECT_TRUE(target->GetCellGraphic(1, 1)->GetCellCreated()) << "the bitmap read belongs to the cell";
    EXPECT_EQ(target->GetCellGraphicType(0, 5), ctNone) << "a comment comes back on a bare graphic";
}

TEST(CellStream, PartialStreamsLandAtThePointAndWholeGridsKeepTheirPlaces)
{
    TFilledGrid<> source(5, 5);
    source->GetCellProperties(2, 2)->SetBrushColor(clAqua);
    const std::vector<Byte> part = SavedRect(source.grid, TRect(1, 1, 2, 2));

    struct Case {
        TPoint at;
        std::vector<std::pair<TPoint, String>> expected;
    };
    const Case cases[] = {
        {TPoint(0, 0), {{TPoint(0, 0), L"r1c1"}, {TPoint(1, 0), L"r1c2"}, {TPoint(1, 1), L"r2c2"}}},
        {TPoint(3, 2), {{TPoint(3, 2), L"r1c1"}, {TPoint(4, 3), L"r2c2"}}},
        // Cells past the grid's edge are not pasted.
        {TPoint(4, 4), {{TPoint(4, 4), L"r1c1"}, {TPoint(3, 4), L"r4c3"}}},
    };
    for (const Case& c : cases) {
        TFilledGrid<> target(5, 5);
        Load(target.grid, part, c.at);
        for (const auto& [cell, text] : c.expected)
            EXPECT_EQ(target->GetCells(cell.x, cell.y), text) << "pasted at " << c.at.x << "," << c.at.y;
        EXPECT_EQ(target->GetColCount(), 5) << "a partial stream does not resize";
    }
    TFilledGrid<> target(5, 5);
    Load(target.grid, part, TPoint(3, 2));
    EXPECT_EQ(target->GetCellProperties(4, 3)->GetBrushColor(), clAqua) << "properties travel with the text";
    EXPECT_EQ(target->GetCellProperties(4, 3)->GetOwnerCol(), 4);

    // A whole grid keeps its first cell where it was, shifted by the point.
    TFilledGrid<> whole(3, 2);
    whole->SetSaveFixedCells(true);
    TFilledGrid<> into(7, 7);
    Load(into.grid, Saved(whole.grid), TPoint(1, 1));
    EXPECT_EQ(into->GetCells(1, 1), L"r0c0");
    EXPECT_EQ(into->GetCells(3, 2), L"r1c2");
    EXPECT_EQ(into->GetCells(0, 0), L"") << "the grid was emptied first";
    EXPECT_EQ(into->GetColCount(), 4);
    EXPECT_EQ(into->GetRowCount(), 3);
}

TEST(CellStream, AGridSavedWithoutItsFixedCellsComesBackWhole)
{
    TFilledGrid<> source(4, 5);
    source->SetFixedRows(1);
    source->SetFixedCols(1);
    source->SetColWidths(1, 40);
    source->SetColWidths(3, 120);
    source->SetSaveFixedCells(false);
    TFilledGrid<> target(2, 2);
    Load(target.grid, Saved(source.grid));

    EXPECT_EQ(target->GetRowCount(), 5) << "the last row is not cut off";
    EXPECT_EQ(target->GetColCount(), 4);
    EXPECT_EQ(target->GetCells(3, 4), L"r4c3");
    EXPECT_EQ(target->GetCells(0, 0), L"") << "fixed cells were not saved";
    EXPECT_EQ(target->GetColWidths(1), 40) << "each width goes to the column it was saved from";
    EXPECT_EQ(target->GetColWidths(3), 120);
}

TEST(CellStream, ASmallGridWritesExactlyTheseBytes)
{
    // Two by two: an empty cell without properties, a plain text, a text
    // with properties and a comment, and a check box beside its text. The
    // look that new cell properties start from is set here, not left to the
    // grid's defaults; properties of a fixed cell start without a colour.
    TFilledGrid<> grid(2, 2);
    grid->SetSaveFixedCells(true);
    grid->GetFont()->SetName(L"Tahoma");
    grid->GetFont()->SetSize(8);
    grid->GetFont()->SetColor(clWindowText);
    grid->GetFont()->SetStyle({});
    grid->SetColor(clWindow);
    grid->SetColWidths(0, 30);
    grid->SetColWidths(1, 64);
    grid->SetRowHeights(0, 24);
    grid->SetRowHeights(1, 24);
    grid->SetCells(0, 0, L"");
    grid->SetCells(1, 0, L"AB");
    grid->SetCells(0, 1, L"\u00E9");
    TCellProperties* p = grid->GetCellProperties(0, 1);
    p->SetFontName(L"Arial");
    p->SetFontStyle(TFontStyles{fsItalic});
    TCellGraphic* g = grid->CreateCellGraphic(0, 1);
    g->SetCellComment(L"c");
    g->SetCommentColor(clRed);
    grid->CreateCellGraphic(1, 1)->SetCheckBox(true, false, false, haLeft, vaTop);

    TOwned<TMemoryStream> file(New<TMemoryStream>());
    file->LoadFromFile(SourceDir() + L"\\tests\\fixtures\\pack\\grid\\two-by-two.cells");
    const std::vector<Byte> fixture = StreamBytes(file.get());
    EXPECT_EQ(Saved(grid.grid), fixture);

    TFilledGrid<> back(1, 1);
    Load(back.grid, fixture);
    ExpectSameCells(grid.grid, back.grid);
}

TEST(CellStream, WritersReportProgressAndTheirRowsInOrder)
{
    struct NotifiedGrid : TAdvStringGrid {
        using TAdvStringGrid::TAdvStringGrid;
        std::vector<std::pair<int, int>> calls;
        void ExportNotification(int AState, int ARow) override { calls.emplace_back(AState, ARow); }
    };
    TFilledGrid<NotifiedGrid> grid(3, 10);
    grid->SetFixedRows(1);
    grid->SetSaveFixedCells(true);
    std::vector<int> progress;
    grid->OnFileProgress = [&](TObject*, short p) { progress.push_back(p); };
    const std::vector<Byte> bytes = Saved(grid.grid);

    EXPECT_EQ(progress, (std::vector<int>{0, 11, 22, 33, 44, 56, 67, 78, 89, 100}));
    std::vector<std::pair<int, int>> expected{{0, 0}};
    for (int r = 0; r < 10; ++r)
        expected.emplace_back(5, r);
    expected.emplace_back(2, -1);
    EXPECT_EQ(grid->calls, expected);

    progress.clear();
    TFilledGrid<> target(1, 1);
    target->OnFileProgress = [&](TObject*, short p) { progress.push_back(p); };
    Load(target.grid, bytes);
    EXPECT_EQ(progress, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
}

TEST(CellStream, RowsPastTheSixteenBitLimitAreRefusedBeforeAnythingIsWritten)
{
    TFilledGrid<> grid(2, 2);
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    EXPECT_THROW(grid->SaveRectToBinStream(TRect(0, 65530, 1, 65536), m.get()), EWriteError);
    EXPECT_EQ(m->GetSize(), 0);
    EXPECT_NO_THROW(grid->SaveRectToBinStream(TRect(0, 65534, 1, 65535), m.get()));
}

TEST(CellStream, ATagFromAnotherGridIsNotTakenByAGridThatOwnsItsObjects)
{
    TFilledGrid<> source(1, 1);
    source->GetCellProperties(0, 0)->SetCellObject(0x1234);
    const std::vector<Byte> bytes = SavedRect(source.grid, TRect(0, 0, 0, 0));
    TFilledGrid<> plain(1, 1);
    Load(plain.grid, bytes);
    EXPECT_EQ(plain->GetCellObject(0, 0), 0x1234);
    TFilledGrid<> owning(1, 1);
    owning->SetOwnsObjects(true);
    Load(owning.grid, bytes);
    EXPECT_EQ(owning->GetCellObject(0, 0), 0);
}

TEST(CellStream, FilesHoldTheStream)
{
    TempDir dir;
    TFilledGrid<> source(3, 3);
    source->SetSaveFixedCells(true);
    source->SaveToBinFile(dir.File(L"grid.cells"));
    TFilledGrid<> target(1, 1);
    target->LoadFromBinFile(dir.File(L"grid.cells"));
    ExpectSameCells(source.grid, target.grid);
    EXPECT_THROW(target->LoadFromBinFile(dir.File(L"missing.cells")), EFOpenError);
}

// --- streams that cannot be read ------------------------------------------------------

namespace {

std::vector<Byte> Concat(std::initializer_list<std::vector<Byte>> parts)
{
    std::vector<Byte> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<Byte> Raw(const std::string& s)
{
    return {s.begin(), s.end()};
}

// A component image of one class with the given property bytes.
std::vector<Byte> Image(const std::string& className, const std::string& properties, bool children = false)
{
    std::string s = "TPF0" + std::string(1, static_cast<char>(className.size())) + className + std::string(1, '\0') +
                    properties + std::string(1, '\0');
    if (children)
        s += std::string("\x07\x01x", 3);
    s += std::string(1, '\0');
    return Raw(s);
}

std::string Prop(const std::string& name, const std::string& value)
{
    return std::string(1, static_cast<char>(name.size())) + name + value;
}

std::string Int8(int v)
{
    return std::string{'\x02', static_cast<char>(v)};
}

std::string Text(const std::string& v)
{
    return std::string{'\x06', static_cast<char>(v.size())} + v;
}

const std::string True{'\x09'};
const std::string False{'\x08'};

std::vector<Byte> Header(const std::string& extra = "", bool fullGrid = false)
{
    return Image("TGridPropIO", Prop("ColCount", Int8(2)) + Prop("RowCount", Int8(2)) +
                                    Prop("ColWidths", Text("64,64")) + Prop("FullGrid", fullGrid ? True : False) +
                                    extra);
}

std::vector<Byte> CellRecord(int col, int row, const std::string& text, bool hasProp = false)
{
    return Image("TGridCellIO", Prop("Col", Int8(col)) + Prop("Row", Int8(row)) + Prop("Cell", Text(text)) +
                                    Prop("HasProp", hasProp ? True : False));
}

} // namespace

TEST(CellStream, StreamsThatCannotBeReadFailAndChangeNothing)
{
    const std::vector<Byte> good = Concat({Header(), CellRecord(0, 0, "a")});
    struct Case {
        const char* what;
        std::vector<Byte> bytes;
    };
    const Case cases[] = {
        {"an empty stream", {}},
        {"another signature", Concat({Raw("TPF1"), std::vector<Byte>(good.begin() + 4, good.end())})},
        {"another class first", Concat({CellRecord(0, 0, "a"), Header()})},
        {"a property the header does not have", Concat({Header(Prop("Colour", Int8(1))), CellRecord(0, 0, "a")})},
        {"text where a count belongs",
         Concat({Image("TGridPropIO", Prop("ColCount", Text("2"))), CellRecord(0, 0, "a")})},
        {"a negative count", Concat({Image("TGridPropIO", Prop("RowCount", Int8(-1))), CellRecord(0, 0, "a")})},
        {"a width that is no number", Concat({Header(Prop("RowHeights", Text("20,x"))), CellRecord(0, 0, "a")})},
        {"a header with children", Concat({Image("TGridPropIO", "", true), CellRecord(0, 0, "a")})},
        {"a column past 16 bits",
         Concat({Header(), Image("TGridCellIO", Prop("Col", std::string("\x04\x00\x00\x01\x00", 5)))})},
        {"a good cell, then a truncated one",
         Concat({good, std::vector<Byte>(good.begin() + static_cast<long>(Header().size()), good.end() - 3)})},
        {"properties announced and missing", Concat({Header(), CellRecord(0, 0, "a", true)})},
        {"an unknown cell property",
         Concat({Header(), CellRecord(0, 0, "a", true),
                 Image("TGridCellPropIO", Prop("CellProperties.Colour", Int8(1)) + Prop("HasGraphic", False))})},
        {"an unknown alignment",
         Concat({Header(), CellRecord(0, 0, "a", true),
                 Image("TGridCellPropIO",
                       Prop("CellProperties.Alignment", std::string("\x07\x06taDown", 8)) + Prop("HasGraphic", False))})},
        {"an unknown graphic kind",
         Concat({Header(), CellRecord(0, 0, "a", true), Image("TGridCellPropIO", Prop("HasGraphic", True)),
                 Image("TGridGraphicIO", Prop("CellGraphic.CellType", std::string("\x07\x06" "ctTree", 8)))})},
        {"a bitmap kind without its picture",
         Concat({Header(), CellRecord(0, 0, "a", true), Image("TGridCellPropIO", Prop("HasGraphic", True)),
                 Image("TGridGraphicIO", Prop("CellGraphic.CellType", std::string("\x07\x08" "ctBitmap", 10)))})},
        {"bitmap data that is no bitmap",
         Concat({Header(), CellRecord(0, 0, "a", true), Image("TGridCellPropIO", Prop("HasGraphic", True)),
                 Image("TGridGraphicIO", Prop("CellGraphic.CellType", std::string("\x07\x08" "ctBitmap", 10))),
                 Image("TGridBMPIO", Prop("Bitmap.Data", std::string("\x0A\x08\x00\x00\x00\x04\x00\x00\x00JUNK", 13)))})},
        {"a text longer than the stream",
         Concat({Header(), Image("TGridCellIO", Prop("Cell", std::string("\x0C\xFF\xFF\xFF\x0F" "abc", 8)))})},
        {"a value type that does not exist", Concat({Header(), Image("TGridCellIO", Prop("Col", "\x30"))})},
    };

    TempDir dir;
    for (bool whole : {false, true}) {
        TFilledGrid<> grid(3, 3);
        grid->SetSaveFixedCells(true);
        FillRichGrid(grid.grid, dir);
        const std::vector<std::wstring> before = AllStates(grid.grid);
        for (const Case& c : cases) {
            std::vector<Byte> bytes = c.bytes;
            // The same fault in a stream that would replace the whole grid.
            const std::vector<Byte> partial = Header(), full = Header("", true);
            if (whole && bytes.size() >= partial.size() && std::equal(partial.begin(), partial.end(), bytes.begin()))
                std::copy(full.begin(), full.end(), bytes.begin());
            EXPECT_THROW(Load(grid.grid, bytes), Exception) << c.what << (whole ? " (whole grid)" : "");
            EXPECT_EQ(AllStates(grid.grid), before) << c.what << (whole ? " (whole grid)" : "");
        }
    }
}

TEST(CellStream, AStreamCutAnywhereReadsOrLeavesTheGridAsItWas)
{
    TempDir dir;
    TFilledGrid<> source(1, 1);
    source->SetSaveFixedCells(true);
    FillRichGrid(source.grid, dir);
    const std::vector<Byte> bytes = SavedRect(source.grid, TRect(0, 1, 5, 1)); // a row of graphics

    auto grid = std::make_unique<TFilledGrid<>>(6, 2);
    const std::vector<std::wstring> before = AllStates(grid->grid);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        try {
            Load(grid->grid, std::vector<Byte>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
            grid = std::make_unique<TFilledGrid<>>(6, 2); // a cut between two cells reads
        } catch (const Exception&) {
            ASSERT_EQ(AllStates(grid->grid), before) << "cut after " << n << " bytes";
        }
    }
    Load(grid->grid, bytes);
    EXPECT_EQ(grid->grid->GetCellGraphicType(5, 0), ctImages) << "the whole stream reads";
}
