// The OLE drag-and-drop layer against OLE itself: our data object and its
// enumerator asked through IDataObject/IEnumFORMATETC, foreign data objects
// with malformed blocks, the drop target called through IDropTarget, and a
// real DoDragDrop between two windows driven by real input.
#include <gtest/gtest.h>
#include "ComObj.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "asgdd.h"
#include <cstring>
#include <map>
#include <shlobj.h>
#include <vector>

namespace {

FORMATETC Fmt(UINT Format, DWORD Tymed = TYMED_HGLOBAL)
{
    return FORMATETC{static_cast<CLIPFORMAT>(Format), nullptr, DVASPECT_CONTENT, -1, Tymed};
}

std::string BlockBytes(HGLOBAL Block)
{
    const size_t size = GlobalSize(Block);
    const char* data = static_cast<const char*>(GlobalLock(Block));
    std::string bytes(data, size);
    GlobalUnlock(Block);
    return bytes;
}

// The block GetData renders, or "<refused>".
std::string Rendered(IDataObject* Data, UINT Format)
{
    FORMATETC request = Fmt(Format);
    STGMEDIUM medium{};
    if (Data->GetData(&request, &medium) != S_OK)
        return "<refused>";
    EXPECT_EQ(medium.tymed, DWORD(TYMED_HGLOBAL));
    EXPECT_EQ(medium.pUnkForRelease, nullptr);
    std::string bytes = BlockBytes(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return bytes;
}

std::vector<UINT> Listed(IDataObject* Data)
{
    TComPtr<IEnumFORMATETC> formats;
    EXPECT_EQ(Data->EnumFormatEtc(DATADIR_GET, formats.ReleaseAndGetAddressOf()), S_OK);
    std::vector<UINT> list;
    FORMATETC one{};
    while (formats->Next(1, &one, nullptr) == S_OK) {
        EXPECT_EQ(one.tymed, DWORD(TYMED_HGLOBAL));
        EXPECT_EQ(one.lindex, -1);
        EXPECT_EQ(one.dwAspect, DWORD(DVASPECT_CONTENT));
        list.push_back(one.cfFormat);
    }
    return list;
}

TComPtr<IDataObject> NewSource(const String& Text, TMemoryStream* Stream, int Col, const String& RTF)
{
    return TComPtr<IDataObject>(new TSourceDataObject(Text, Stream, Col, RTF));
}

std::string Le32(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

// A foreign data object: serves the given blocks as they are (copies of the
// bytes in fresh global blocks), counts the media it hands out and the ones
// given back, and can have no format enumerator at all.
class TForeignObject : public TAsgComObject<IDataObject> {
public:
    std::vector<std::pair<UINT, std::string>> blocks;
    bool withEnumerator = true;
    int handedOut = 0;
    int givenBack = 0;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* In, STGMEDIUM* Medium) override
    {
        *Medium = STGMEDIUM{};
        for (const auto& [format, bytes] : blocks)
            if (format == In->cfFormat && (In->tymed & TYMED_HGLOBAL)) {
                HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
                if (!bytes.empty()) {
                    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
                    GlobalUnlock(block);
                }
                Medium->tymed = TYMED_HGLOBAL;
                Medium->hGlobal = block;
                // The receiver gives the medium back through this object,
                // which then frees the block: so every release is counted.
                Medium->pUnkForRelease = new TReleaseCounter(this, block);
                Medium->pUnkForRelease->AddRef();
                ++handedOut;
                return S_OK;
            }
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) override
    {
        *Enum = nullptr;
        if (!withEnumerator || Direction != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> list;
        for (const auto& block : blocks)
            list.push_back(Fmt(block.first));
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(list.size()), list.data(), Enum);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    class TReleaseCounter : public TAsgComObject<IUnknown> {
    public:
        TReleaseCounter(TForeignObject* Owner, HGLOBAL Block) : owner_(Owner), block_(Block) {}
        ~TReleaseCounter() override
        {
            ++owner_->givenBack;
            GlobalFree(block_);
        }

    private:
        TForeignObject* owner_;
        HGLOBAL block_;
    };
};

// A DROPFILES header claiming the names at Offset, the names right behind it.
std::string DropFilesBlock(DWORD Offset, bool Wide, const std::string& Names)
{
    DROPFILES header{};
    header.pFiles = Offset;
    header.fWide = Wide;
    return std::string(reinterpret_cast<const char*>(&header), sizeof header) + Names;
}

std::string Wide(const std::wstring& s) { return std::string(reinterpret_cast<const char*>(s.data()), s.size() * 2); }

// Records what reaches the drop target's operations, in order.
class TRecordingTarget : public TASGDropTarget {
public:
    std::vector<std::wstring> calls;
    POINT lastPoint{};
    bool allowMove = true;
    void DropText(POINT Pt, const String& Text) override { Record(Pt, L"text:" + Text); }
    void DropStream(POINT Pt, TMemoryStream* Stream) override
    {
        std::wstring bytes(static_cast<const char*>(Stream->Memory()),
                           static_cast<const char*>(Stream->Memory()) + Stream->GetSize());
        Record(Pt, L"stream:" + bytes);
    }
    void DropCol(POINT Pt, int Col) override { Record(Pt, L"col:" + std::to_wstring(Col)); }
    void DropRTF(POINT Pt, const String& RTF) override { Record(Pt, L"rtf:" + RTF); }
    void DropFiles(POINT Pt, TStrings* Files) override { Record(Pt, L"files:" + Files->GetCommaText()); }
    void DropURL(POINT Pt, const String& URL) override { Record(Pt, L"url:" + URL); }
    void DragMouseMove(POINT Pt, bool& Allow, TDropFormats) override
    {
        Record(Pt, L"move");
        if (!allowMove)
            Allow = false;
    }
    void DragMouseEnter() override { calls.push_back(L"enter"); }
    void DragMouseLeave() override { calls.push_back(L"leave"); }

private:
    void Record(POINT Pt, const std::wstring& what)
    {
        lastPoint = Pt;
        calls.push_back(what);
    }
};

// DragEnter then Drop with one data object, as OLE calls a target.
DWORD EnterAndDrop(TRecordingTarget* Target, IDataObject* Data, DWORD Keys = 0,
                   DWORD Allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE)
{
    DWORD effect = Allowed;
    EXPECT_EQ(Target->DragEnter(Data, Keys, POINTL{10, 20}, &effect), S_OK);
    if (effect == DROPEFFECT_NONE)
        return effect;
    effect = Allowed;
    EXPECT_EQ(Target->Drop(Data, Keys, POINTL{11, 21}, &effect), S_OK);
    return effect;
}

class OleDragDropTest : public testing::Test {
protected:
    void SetUp() override { SetRTFDropEnabled(false); }
    void TearDown() override { SetRTFDropEnabled(false); }
};

// --- our data object and its enumerator --------------------------------------------------

TEST_F(OleDragDropTest, DataObjectRendersTheFormatsItHoldsInTheirBlockLayouts)
{
    TOwned<TMemoryStream> cells(New<TMemoryStream>());
    cells->Write("CELLS", 5);
    auto data = NewSource(L"a\u00e9b", cells.get(), -1, L"{\\rtf1}");
    EXPECT_EQ(Rendered(data.Get(), CF_TEXT), std::string("a\xe9" "b", 3) + '\0');
    EXPECT_EQ(Rendered(data.Get(), CF_UNICODETEXT), Wide(L"a\u00e9b") + std::string(2, '\0'));
    EXPECT_EQ(Rendered(data.Get(), DragFormatGridCells()), Le32(5) + Le32(0) + "CELLS");
    // Rich text only while the switch is on.
    EXPECT_EQ(Rendered(data.Get(), DragFormatRTF()), "<refused>");
    FORMATETC rtf = Fmt(DragFormatRTF());
    EXPECT_EQ(data->QueryGetData(&rtf), DV_E_FORMATETC);
    SetRTFDropEnabled(true);
    EXPECT_EQ(data->QueryGetData(&rtf), S_OK);
    EXPECT_EQ(Rendered(data.Get(), DragFormatRTF()), std::string("{\\rtf1}") + '\0');
    // No column held.
    EXPECT_EQ(Rendered(data.Get(), DragFormatGridColumn()), "<refused>");
    EXPECT_EQ(Listed(data.Get()), (std::vector<UINT>{CF_TEXT, CF_UNICODETEXT, DragFormatRTF(), DragFormatGridCells()}));
}

TEST_F(OleDragDropTest, ColumnObjectRendersOnlyTheColumnYetListsTheTextFormatsFirst)
{
    auto data = NewSource(L"", nullptr, 7, L"");
    struct Case {
        UINT format;
        HRESULT query;
    };
    for (const Case& c : {Case{CF_TEXT, DV_E_FORMATETC}, Case{CF_UNICODETEXT, DV_E_FORMATETC},
                          Case{DragFormatRTF(), DV_E_FORMATETC}, Case{DragFormatGridCells(), DV_E_FORMATETC},
                          Case{DragFormatGridColumn(), S_OK}}) {
        FORMATETC request = Fmt(c.format);
        EXPECT_EQ(data->QueryGetData(&request), c.query) << c.format;
    }
    EXPECT_EQ(Rendered(data.Get(), DragFormatGridColumn()), Le32(7));
    EXPECT_EQ(Listed(data.Get()), (std::vector<UINT>{CF_TEXT, CF_UNICODETEXT, DragFormatRTF(), DragFormatGridColumn()}));
}

TEST_F(OleDragDropTest, RequestsOtherThanContentInOneGlobalBlockAreRefused)
{
    auto data = NewSource(L"text", nullptr, -1, L"");
    struct Case {
        DWORD tymed;
        DWORD aspect;
    };
    for (const Case& c : {Case{TYMED_HGLOBAL | TYMED_ISTREAM, DVASPECT_CONTENT}, Case{TYMED_ISTREAM, DVASPECT_CONTENT},
                          Case{TYMED_HGLOBAL, DVASPECT_ICON}}) {
        FORMATETC request = Fmt(CF_UNICODETEXT, c.tymed);
        request.dwAspect = c.aspect;
        EXPECT_EQ(data->QueryGetData(&request), DV_E_FORMATETC);
        STGMEDIUM medium{};
        medium.tymed = TYMED_FILE;
        EXPECT_EQ(data->GetData(&request, &medium), DV_E_FORMATETC);
        EXPECT_EQ(medium.tymed, DWORD(TYMED_NULL)) << "the medium is cleared first";
    }
    // The other IDataObject methods refuse as OLE expects.
    FORMATETC request = Fmt(CF_UNICODETEXT), out{};
    out.ptd = reinterpret_cast<DVTARGETDEVICE*>(1);
    EXPECT_EQ(data->GetCanonicalFormatEtc(&request, &out), E_NOTIMPL);
    EXPECT_EQ(out.ptd, nullptr);
    IEnumSTATDATA* advise = reinterpret_cast<IEnumSTATDATA*>(1);
    EXPECT_EQ(data->EnumDAdvise(&advise), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(advise, nullptr);
    IEnumFORMATETC* setFormats = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &setFormats), E_NOTIMPL);
    EXPECT_EQ(setFormats, nullptr);
}

TEST_F(OleDragDropTest, EnumeratorNextSkipResetAndCloneKeepWithinTheList)
{
    TOwned<TMemoryStream> cells(New<TMemoryStream>());
    TComPtr<IEnumFORMATETC> formats;
    NewSource(L"x", cells.get(), -1, L"")->EnumFormatEtc(DATADIR_GET, formats.ReleaseAndGetAddressOf());

    FORMATETC five[5]{};
    ULONG fetched = 99;
    EXPECT_EQ(formats->Next(5, five, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 4u);
    EXPECT_EQ(five[3].cfFormat, DragFormatGridCells());

    formats->Reset();
    EXPECT_EQ(formats->Skip(2), S_OK);
    TComPtr<IEnumFORMATETC> copy;
    ASSERT_EQ(formats->Clone(copy.ReleaseAndGetAddressOf()), S_OK);
    FORMATETC one{};
    EXPECT_EQ(copy->Next(1, &one, nullptr), S_OK);
    EXPECT_EQ(one.cfFormat, DragFormatRTF()) << "the clone starts where the original stood";

    EXPECT_EQ(formats->Skip(3), S_FALSE) << "past the end";
    EXPECT_EQ(formats->Next(1, &one, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u) << "the position stays at the end";

    // A count that wraps the position around must not bring it back to the start.
    formats->Reset();
    EXPECT_EQ(formats->Skip(1), S_OK);
    EXPECT_EQ(formats->Skip(0xFFFFFFFFu), S_FALSE);
    EXPECT_EQ(formats->Next(1, &one, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
}

// --- reading foreign data objects ----------------------------------------------------------

TEST_F(OleDragDropTest, MalformedForeignBlocksReadAsMissingAndEveryMediumGoesBack)
{
    TEnumFormats registration(nullptr);  // the named formats get their identifiers
    const UINT cells = DragFormatGridCells(), col = DragFormatGridColumn(), rtf = DragFormatRTF();
    struct Case {
        const char* what;
        UINT format;
        std::string block;
    };
    const Case cases[] = {
        {"cells size field past the end", cells, Le32(100) + Le32(0) + "0123456789"},
        {"cells shorter than the header", cells, Le32(0)},
        {"cells empty block", cells, ""},
        {"column of two bytes", col, "\x07\x00"},
        {"column empty block", col, ""},
        {"text without terminator", CF_UNICODETEXT, Wide(L"abcd")},
        {"text of one odd byte", CF_UNICODETEXT, "a"},
        {"rich text without terminator", rtf, "{\\rtf1}"},
        {"files offset outside", CF_HDROP, DropFilesBlock(4000, true, Wide(L"C:\\a.txt") + std::string(4, '\0'))},
        {"files offset inside the header", CF_HDROP, DropFilesBlock(8, true, Wide(L"C:\\a.txt") + std::string(4, '\0'))},
        {"files name without terminator", CF_HDROP, DropFilesBlock(sizeof(DROPFILES), true, Wide(L"C:\\a.txt"))},
        {"files ANSI name without terminator", CF_HDROP, DropFilesBlock(sizeof(DROPFILES), false, "C:\\a.txt")},
        {"files header cut short", CF_HDROP, std::string(10, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TComPtr<TForeignObject> foreign(new TForeignObject);
        foreign->blocks = {{c.format, c.block}};
        {
            TEnumFormats reader(foreign.Get());
            if (c.format == cells)
                EXPECT_EQ(reader.Stream(), nullptr);
            else if (c.format == col)
                EXPECT_EQ(reader.Col(), -1);
            else if (c.format == CF_UNICODETEXT)
                EXPECT_EQ(reader.Text(), L"");
            else if (c.format == rtf)
                EXPECT_EQ(reader.RTF(), L"");
            else {
                ASSERT_TRUE(reader.HasFile());
                EXPECT_FALSE(reader.ReadFileList());
                EXPECT_EQ(reader.Files()->Count(), 0);
            }
        }
        EXPECT_GT(foreign->handedOut, 0);
        EXPECT_EQ(foreign->givenBack, foreign->handedOut);

        // Dropped, the malformed block reaches no Drop operation.
        TComPtr<TRecordingTarget> target(new TRecordingTarget);
        target->SetAcceptCols(true);
        EnterAndDrop(target.Get(), foreign.Get());
        EXPECT_EQ(target->calls, (std::vector<std::wstring>{L"enter"}));
        EXPECT_EQ(foreign->givenBack, foreign->handedOut);
    }
}

TEST_F(OleDragDropTest, WellFormedForeignBlocksReadWhole)
{
    TEnumFormats registration(nullptr);
    TComPtr<TForeignObject> foreign(new TForeignObject);
    foreign->blocks = {
        {DragFormatGridCells(), Le32(3) + Le32(0) + "abc" + "trailing bytes past the stream"},
        {DragFormatGridColumn(), Le32(12)},
        {CF_UNICODETEXT, Wide(L"h\u00e9llo") + std::string(2, '\0') + "junk"},
        {DragFormatRTF(), std::string("{\\rtf1 x}") + '\0'},
        {CF_HDROP, DropFilesBlock(sizeof(DROPFILES), true,
                                  Wide(L"C:\\a.txt") + std::string(2, '\0') + Wide(L"D:\\b c.csv") + std::string(4, '\0'))},
    };
    TEnumFormats reader(foreign.Get());
    TOwned<TMemoryStream> stream = reader.Stream();
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(stream->Memory()), stream->GetSize()), "abc");
    EXPECT_EQ(reader.Col(), 12);
    EXPECT_EQ(reader.Text(), L"h\u00e9llo");
    EXPECT_EQ(reader.RTF(), L"{\\rtf1 x}");
    ASSERT_TRUE(reader.HasFile());
    ASSERT_TRUE(reader.ReadFileList());
    EXPECT_EQ(reader.Files()->GetCommaText(), L"C:\\a.txt,\"D:\\b c.csv\"");
    // ANSI names too.
    foreign->blocks = {{CF_HDROP, DropFilesBlock(sizeof(DROPFILES), false, std::string("x.txt\0y.txt\0\0", 13))}};
    TEnumFormats ansi(foreign.Get());
    ASSERT_TRUE(ansi.HasFile());
    ASSERT_TRUE(ansi.ReadFileList());
    EXPECT_EQ(ansi.Files()->GetCommaText(), L"x.txt,y.txt");
}

TEST_F(OleDragDropTest, ObjectWithoutEnumeratorAssertsToCallersButIsRefusedByTheTarget)
{
    TComPtr<TForeignObject> foreign(new TForeignObject);
    foreign->blocks = {{CF_UNICODETEXT, Wide(L"x") + std::string(2, '\0')}};
    foreign->withEnumerator = false;
    try {
        TEnumFormats reader(foreign.Get());
        ADD_FAILURE() << "no assertion";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), L"Cannot get the format enumerator");
    }
    TComPtr<TRecordingTarget> target(new TRecordingTarget);
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragEnter(foreign.Get(), 0, POINTL{1, 1}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragOver(0, POINTL{1, 1}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(foreign.Get(), 0, POINTL{1, 1}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(target->calls, (std::vector<std::wstring>{L"enter", L"move"})) << "no Drop operation";
}

// --- the drop target ------------------------------------------------------------------------

TEST_F(OleDragDropTest, DropCallsTheOperationOfWhatIsOffered)
{
    TEnumFormats registration(nullptr);
    TOwned<TMemoryStream> cells(New<TMemoryStream>());
    cells->Write("CELLS", 5);
    const std::string filesBlock =
        DropFilesBlock(sizeof(DROPFILES), true, Wide(L"C:\\a.txt") + std::string(2, '\0') + Wide(L"C:\\b.txt") + std::string(4, '\0'));
    struct Case {
        const char* what;
        std::function<TComPtr<IDataObject>()> data;
        bool rtfOn;
        std::vector<std::wstring> calls;
    };
    const Case cases[] = {
        {"text", [] { return NewSource(L"hello", nullptr, -1, L""); }, false, {L"enter", L"text:hello"}},
        {"cells win over text", [&] { return NewSource(L"hello", cells.get(), -1, L""); }, false,
         {L"enter", L"stream:CELLS"}},
        {"rich text with the switch on", [] { return NewSource(L"hello", nullptr, -1, L"{\\rtf1}"); }, true,
         {L"enter", L"rtf:{\\rtf1}"}},
        {"rich text with the switch off", [] { return NewSource(L"hello", nullptr, -1, L"{\\rtf1}"); }, false,
         {L"enter", L"text:hello"}},
        {"a column and nothing else", [] { return NewSource(L"", nullptr, 4, L""); }, false, {L"enter", L"col:4"}},
        {"files with text: text, then files",
         [&] {
             TComPtr<TForeignObject> f(new TForeignObject);
             f->blocks = {{CF_UNICODETEXT, Wide(L"both") + std::string(2, '\0')}, {CF_HDROP, filesBlock}};
             return TComPtr<IDataObject>(f.Get());
         },
         false, {L"enter", L"text:both", L"files:C:\\a.txt,C:\\b.txt"}},
        {"a URL with its text",
         [] {
             TComPtr<TForeignObject> f(new TForeignObject);
             f->blocks = {{CF_UNICODETEXT, Wide(L"http://x/") + std::string(2, '\0')},
                          {DragFormatURL(), std::string("http://x/") + '\0'}};
             return TComPtr<IDataObject>(f.Get());
         },
         false, {L"enter", L"text:http://x/", L"url:http://x/"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetRTFDropEnabled(c.rtfOn);
        TComPtr<TRecordingTarget> target(new TRecordingTarget);
        EnterAndDrop(target.Get(), c.data().Get());
        EXPECT_EQ(target->calls, c.calls);
        EXPECT_EQ(target->lastPoint.x, 11);
        EXPECT_EQ(target->lastPoint.y, 21);
    }
}

TEST_F(OleDragDropTest, AcceptanceAndEffectsFollowTheSettingsAndKeys)
{
    TComPtr<TRecordingTarget> target(new TRecordingTarget);
    auto column = NewSource(L"", nullptr, 2, L"");
    // The column object lists the text formats, so it is accepted through text.
    DWORD effect = DROPEFFECT_MOVE;
    target->DragEnter(column.Get(), 0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE));
    EXPECT_TRUE(target->GetDropFormats().Contains(dfCol));
    target->SetAcceptText(false);
    effect = DROPEFFECT_MOVE;
    target->DragEnter(column.Get(), 0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE)) << "neither text nor columns accepted";
    target->SetAcceptCols(true);
    effect = DROPEFFECT_MOVE;
    target->DragEnter(column.Get(), 0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE));

    struct Case {
        DWORD keys, allowed, effect;
    };
    for (const Case& c : {Case{MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
                          Case{0, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
                          Case{0, DROPEFFECT_COPY, DROPEFFECT_COPY}, Case{MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_COPY}}) {
        effect = c.allowed;
        EXPECT_EQ(target->DragOver(c.keys | MK_LBUTTON, POINTL{5, 6}, &effect), S_OK);
        EXPECT_EQ(effect, c.effect) << c.keys << " " << c.allowed;
    }
    // The grid may still refuse a place while moving.
    target->allowMove = false;
    effect = DROPEFFECT_COPY;
    target->DragOver(0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_EQ(target->calls.back(), L"leave");
}

TEST_F(OleDragDropTest, FormatsRegisterWhileAnotherWindowHoldsTheClipboard)
{
    HWND holder = CreateWindowW(L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    TOwned<TMemoryStream> cells(New<TMemoryStream>());
    cells->Write("C", 1);
    TComPtr<TRecordingTarget> target(new TRecordingTarget);
    EnterAndDrop(target.Get(), NewSource(L"", cells.get(), -1, L"").Get());
    CloseClipboard();
    DestroyWindow(holder);
    EXPECT_NE(DragFormatGridCells(), 0u);
    EXPECT_EQ(target->calls, (std::vector<std::wstring>{L"enter", L"stream:C"}));
}

// --- the drop source ----------------------------------------------------------------------

TEST_F(OleDragDropTest, DropSourceDecidesByEscapeAndTheLeftButton)
{
    struct TCountingSource : TASGDropSource {
        int stopped = 0, asked = 0, lastEffect = -1;
        void DragStopped() override { ++stopped; }
        void QueryDrag() override { ++asked; }
        void CurrentEffect(int e) override { lastEffect = e; }
    };
    TComPtr<TCountingSource> source(new TCountingSource);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(source->stopped, 0);
    EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(source->stopped, 2);
    EXPECT_EQ(source->asked, 3);
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(source->NoAccept());
    EXPECT_EQ(source->lastEffect, 0);
    source->GiveFeedback(DROPEFFECT_COPY);
    EXPECT_FALSE(source->NoAccept());
}

// --- a real drag ----------------------------------------------------------------------------

// Moves the real mouse to a screen point.
void MoveMouseTo(POINT Screen)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(Screen.x * 65535.0 / (GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    in.mi.dy = static_cast<LONG>(Screen.y * 65535.0 / (GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

void Button(DWORD Flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = Flags;
    SendInput(1, &in, sizeof in);
}

// A source whose polls walk the mouse onto the target and release it there;
// after too many polls it presses Escape so that no drag can hang the run.
struct TScriptedSource : TASGDropSource {
    POINT over{};
    TRecordingTarget* target = nullptr;
    int polls = 0;
    void QueryDrag() override
    {
        ++polls;
        if (polls == 2)
            MoveMouseTo(POINT{over.x - 3, over.y});
        else if (polls == 4)
            MoveMouseTo(over);
        else if (polls > 4 && !target->calls.empty() && target->calls.back() == L"move")
            Button(MOUSEEVENTF_LEFTUP);
        else if (polls == 400) {
            Button(MOUSEEVENTF_LEFTUP);
            keybd_event(VK_ESCAPE, 0, 0, 0);
            keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
        }
    }
};

TEST_F(OleDragDropTest, RealDragCarriesTextAndCellsOntoAnotherWindowsTarget)
{
    struct Case {
        const char* what;
        String text;
        std::string cells;
        std::wstring dropped;
    };
    const Case cases[] = {{"text", L"dragged text", "", L"text:dragged text"},
                          {"cells", L"a\tb", "CELLSTREAM", L"stream:CELLSTREAM"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TOwned<TForm> form(New<TForm>(nullptr));
        form->SetBounds(60, 60, 420, 220);
        auto* from = New<TPanel>(form.get());
        from->SetParent(form.get());
        from->SetBounds(10, 10, 150, 150);
        auto* onto = New<TPanel>(form.get());
        onto->SetParent(form.get());
        onto->SetBounds(220, 10, 150, 150);
        form->Show();
        SetForegroundWindow(form->Handle());
        Application->ProcessMessages();

        TComPtr<TRecordingTarget> target(new TRecordingTarget);
        ASSERT_EQ(RegisterDragDrop(onto->Handle(), target.Get()), S_OK);
        TComPtr<TScriptedSource> source(new TScriptedSource);
        source->target = target.Get();
        source->over = onto->ClientToScreen(POINT{75, 75});
        TOwned<TMemoryStream> stream;
        if (!c.cells.empty()) {
            stream.reset(New<TMemoryStream>());
            stream->Write(c.cells.data(), static_cast<int>(c.cells.size()));
        }
        HRESULT result = E_FAIL;
        int effect = 0;
        from->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
            result = RunTextDragDrop(source.Get(), c.text, L"", stream.get(),
                                     DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        };
        const POINT start = from->ClientToScreen(POINT{75, 75});
        SetCursorPos(start.x, start.y);
        MoveMouseTo(start);
        Application->ProcessMessages();
        Button(MOUSEEVENTF_LEFTDOWN);
        for (int i = 0; i < 20 && result == E_FAIL; ++i) {
            Application->ProcessMessages();
            Sleep(5);
        }
        RevokeDragDrop(onto->Handle());
        EXPECT_EQ(result, DRAGDROP_S_DROP);
        EXPECT_EQ(effect, DROPEFFECT_MOVE);
        ASSERT_FALSE(target->calls.empty());
        EXPECT_EQ(target->calls.front(), L"enter");
        EXPECT_EQ(target->calls.back(), c.dropped);
        EXPECT_EQ(target->lastPoint.x, source->over.x) << "points are on the screen";
        EXPECT_EQ(target->lastPoint.y, source->over.y);
    }
}

TEST_F(OleDragDropTest, DragWhoseLastFeedbackShowedNoEffectReportsCancel)
{
    struct TRefusedSource : TASGDropSource {
        int polls = 0;
        void QueryDrag() override
        {
            if (++polls == 3)
                Button(MOUSEEVENTF_LEFTUP);
        }
    };
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBounds(60, 60, 300, 200);
    auto* from = New<TPanel>(form.get());
    from->SetParent(form.get());
    from->SetBounds(10, 10, 150, 150);
    form->Show();
    SetForegroundWindow(form->Handle());
    Application->ProcessMessages();
    TComPtr<TRefusedSource> source(new TRefusedSource);
    HRESULT result = E_FAIL;
    int effect = 0;
    from->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        result = RunColumnDragDrop(source.Get(), 3, DROPEFFECT_COPY, effect);
    };
    const POINT start = from->ClientToScreen(POINT{75, 75});
    SetCursorPos(start.x, start.y);
    MoveMouseTo(start);
    Application->ProcessMessages();
    Button(MOUSEEVENTF_LEFTDOWN);
    for (int i = 0; i < 20 && result == E_FAIL; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
    EXPECT_TRUE(source->NoAccept()) << "no target under the mouse";
    EXPECT_EQ(result, DRAGDROP_S_CANCEL) << "released, yet nothing took the drop";
}

} // namespace
