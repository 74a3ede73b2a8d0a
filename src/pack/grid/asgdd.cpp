#include "asgdd.h"

#include "ComObj.h"
#include "GdiHandles.h"
#include "ScopeExit.h"
#include "SysUtils.h"
#include <cstring>
#include <shlobj.h>

namespace {

bool rtfDropEnabled = false;
UINT rtfFormat = 0;
UINT gridColumnFormat = 0;
UINT gridCellsFormat = 0;
UINT urlFormat = 0;

// Registering needs no open clipboard, so a drop works while another program
// holds the clipboard. Registering again gives the same identifier; the data
// object registers too, so that a process that only drags offers real ones.
void RegisterDragFormats()
{
    rtfFormat = RegisterClipboardFormatW(L"Rich Text Format");
    gridColumnFormat = RegisterClipboardFormatW(L"Grid Column");
    gridCellsFormat = RegisterClipboardFormatW(L"TAdvStringGrid Cells");
    urlFormat = RegisterClipboardFormatW(L"UniformResourceLocator");
}

FORMATETC HGlobalFormat(UINT Format)
{
    return FORMATETC{static_cast<CLIPFORMAT>(Format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// A global block for a medium, filled from the given parts in order.
HGLOBAL NewBlock(std::initializer_list<std::pair<const void*, size_t>> Parts)
{
    size_t size = 0;
    for (const auto& part : Parts)
        size += part.second;
    TGlobalMemory block(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
    if (!block)
        return nullptr;
    {
        TGlobalLock lock(block.Get());
        auto* dest = static_cast<Byte*>(lock.Data());
        if (!dest)
            return nullptr;
        for (const auto& part : Parts) {
            if (part.second)
                std::memcpy(dest, part.first, part.second);
            dest += part.second;
        }
    }
    return block.Release();
}

// A locked view of a global block with its real size; a handle that is no
// block gives an empty view.
class TBlockView {
public:
    explicit TBlockView(HANDLE Handle)
        : handle_(static_cast<HGLOBAL>(Handle))
    {
        if (!handle_)
            return;
        size_ = GlobalSize(handle_);
        data_ = size_ ? static_cast<const Byte*>(GlobalLock(handle_)) : nullptr;
        if (!data_)
            size_ = 0;
    }
    ~TBlockView()
    {
        if (data_)
            GlobalUnlock(handle_);
    }
    TBlockView(const TBlockView&) = delete;
    TBlockView& operator=(const TBlockView&) = delete;

    const Byte* Data() const { return data_; }
    size_t Size() const { return size_; }
    bool Has(size_t Offset, size_t Count) const { return data_ && Offset <= size_ && Count <= size_ - Offset; }
    template <class T>
    T At(size_t Offset) const
    {
        T v;
        std::memcpy(&v, data_ + Offset, sizeof v);
        return v;
    }
    // The length of the zero-terminated run of T from Offset, or -1 when no
    // zero follows inside the block.
    template <class T>
    ptrdiff_t TerminatedLength(size_t Offset) const
    {
        for (size_t at = Offset; Has(at, sizeof(T)); at += sizeof(T))
            if (At<T>(at) == T(0))
                return static_cast<ptrdiff_t>((at - Offset) / sizeof(T));
        return -1;
    }

private:
    HGLOBAL handle_ = nullptr;
    const Byte* data_ = nullptr;
    size_t size_ = 0;
};

String WideRun(const TBlockView& View, size_t Offset, size_t Length)
{
    String s(Length, L'\0');
    if (Length)
        std::memcpy(s.data(), View.Data() + Offset, Length * sizeof(wchar_t));
    return s;
}

String AnsiRun(const TBlockView& View, size_t Offset, size_t Length)
{
    return AnsiToWide(AnsiString(reinterpret_cast<const char*>(View.Data() + Offset), Length));
}

} // namespace

void SetRTFDropEnabled(bool Value) { rtfDropEnabled = Value; }
bool RTFDropEnabled() { return rtfDropEnabled; }
UINT DragFormatRTF() { return rtfFormat; }
UINT DragFormatGridColumn() { return gridColumnFormat; }
UINT DragFormatGridCells() { return gridCellsFormat; }
UINT DragFormatURL() { return urlFormat; }

int DropEffectFromKeys(TShiftState Shift, int Allowed)
{
    if (Shift.Contains(ssCtrl))
        return DROPEFFECT_COPY;
    if (Allowed & DROPEFFECT_MOVE)
        return DROPEFFECT_MOVE;
    return DROPEFFECT_COPY;
}

// --- data object --------------------------------------------------------------------

TSourceDataObject::TSourceDataObject(const String& Text, TMemoryStream* Stream, int ColIndex, const String& RTF)
    : textdata(Text), rtfdata(RTF), scolidx(ColIndex), memstr(Stream)
{
    RegisterDragFormats();
}

HRESULT TSourceDataObject::QueryGetData(FORMATETC* FormatEtc)
{
    if (!FormatEtc || FormatEtc->dwAspect != DVASPECT_CONTENT || FormatEtc->tymed != TYMED_HGLOBAL)
        return DV_E_FORMATETC;
    const UINT format = FormatEtc->cfFormat;
    if (!textdata.empty()
        && (format == CF_TEXT || format == CF_UNICODETEXT || (rtfDropEnabled && format == rtfFormat && format != 0)))
        return S_OK;
    if (memstr && format == gridCellsFormat && format != 0)
        return S_OK;
    if (scolidx != -1 && format == gridColumnFormat && format != 0)
        return S_OK;
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(FORMATETC* FormatEtcIn, STGMEDIUM* Medium)
{
    if (!Medium)
        return E_POINTER;
    *Medium = STGMEDIUM{};
    if (QueryGetData(FormatEtcIn) != S_OK)
        return DV_E_FORMATETC;
    const UINT format = FormatEtcIn->cfFormat;
    HGLOBAL block = nullptr;
    if (format == CF_TEXT) {
        const AnsiString ansi = WideToAnsi(textdata);
        block = NewBlock({{ansi.c_str(), ansi.size() + 1}});
    } else if (format == CF_UNICODETEXT) {
        block = NewBlock({{textdata.c_str(), (textdata.size() + 1) * sizeof(wchar_t)}});
    } else if (format == rtfFormat) {
        const AnsiString ansi = WideToAnsi(rtfdata);
        block = NewBlock({{ansi.c_str(), ansi.size() + 1}});
    } else if (format == gridColumnFormat) {
        const int32_t col = scolidx;
        block = NewBlock({{&col, sizeof col}});
    } else if (format == gridCellsFormat) {
        const uint32_t size = static_cast<uint32_t>(memstr->GetSize());
        const uint32_t zero = 0;
        block = NewBlock({{&size, sizeof size}, {&zero, sizeof zero}, {memstr->Memory(), size}});
    }
    if (!block)
        return DV_E_FORMATETC;
    Medium->tymed = TYMED_HGLOBAL;
    Medium->hGlobal = block;
    return S_OK;
}

HRESULT TSourceDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }

HRESULT TSourceDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* FormatEtcOut)
{
    if (FormatEtcOut)
        FormatEtcOut->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TSourceDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return DV_E_FORMATETC; }

HRESULT TSourceDataObject::EnumFormatEtc(DWORD Direction, IEnumFORMATETC** EnumFormatEtc)
{
    if (!EnumFormatEtc)
        return E_POINTER;
    *EnumFormatEtc = nullptr;
    if (Direction != DATADIR_GET)
        return E_NOTIMPL;
    *EnumFormatEtc = new TSourceEnumFormatEtc(scolidx != -1, memstr != nullptr);
    (*EnumFormatEtc)->AddRef();
    return S_OK;
}

HRESULT TSourceDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT TSourceDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT TSourceDataObject::EnumDAdvise(IEnumSTATDATA** EnumAdvise)
{
    if (EnumAdvise)
        *EnumAdvise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// --- format enumerator --------------------------------------------------------------

TSourceEnumFormatEtc::TSourceEnumFormatEtc(bool HasCol, bool HasGridCells, ULONG Index)
    : FIndex(Index), FHasCol(HasCol), FHasGridCells(HasGridCells)
{
}

ULONG TSourceEnumFormatEtc::Total() const { return 3 + (FHasCol ? 1 : 0) + (FHasGridCells ? 1 : 0); }

HRESULT TSourceEnumFormatEtc::Next(ULONG Count, FORMATETC* Elements, ULONG* Fetched)
{
    UINT list[5] = {CF_TEXT, CF_UNICODETEXT, rtfFormat, 0, 0};
    ULONG n = 3;
    if (FHasCol)
        list[n++] = gridColumnFormat;
    if (FHasGridCells)
        list[n++] = gridCellsFormat;
    ULONG copied = 0;
    if (Elements)
        while (copied < Count && FIndex < n)
            Elements[copied++] = HGlobalFormat(list[FIndex++]);
    if (Fetched)
        *Fetched = copied;
    return copied == Count ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG Count)
{
    // Compared as "Count fits in what is left", since FIndex + Count may wrap.
    const ULONG total = Total();
    if (Count <= total - FIndex) {
        FIndex += Count;
        return S_OK;
    }
    FIndex = total;
    return S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Reset()
{
    FIndex = 0;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC** Enum)
{
    if (!Enum)
        return E_POINTER;
    *Enum = new TSourceEnumFormatEtc(FHasCol, FHasGridCells, FIndex);
    (*Enum)->AddRef();
    return S_OK;
}

// --- format reader ------------------------------------------------------------------

TEnumFormats::TEnumFormats(IDataObject* DataObject)
    : FFiles(New<TStringList>())
{
    RegisterDragFormats();
    SetDataObject(DataObject);
}

TEnumFormats::~TEnumFormats() { ReleaseMedium(); }

void TEnumFormats::ReleaseMedium()
{
    if (FHeldMedium.tymed != TYMED_NULL)
        ReleaseStgMedium(&FHeldMedium);
    FHeldMedium = STGMEDIUM{};
}

void TEnumFormats::SetDataObject(IDataObject* Value)
{
    ReleaseMedium();
    FEnumerator.Release();
    FDataObject = Value;
    if (!Value)
        return;
    if (FAILED(Value->EnumFormatEtc(DATADIR_GET, FEnumerator.ReleaseAndGetAddressOf())) || !FEnumerator) {
        FEnumerator.Release();
        throw EAssertionFailed(L"Cannot get the format enumerator");
    }
    Reset();
}

bool TEnumFormats::Reset()
{
    FValid = false;
    FCount = 0;
    return FEnumerator && FEnumerator->Reset() == S_OK;
}

bool TEnumFormats::Next()
{
    ++FCount;
    ULONG fetched = 0;
    FFormatEtc = FORMATETC{};
    FValid = FEnumerator && FEnumerator->Next(1, &FFormatEtc, &fetched) == S_OK && fetched == 1;
    // A target device the enumerator allocated is not ours to keep.
    if (FFormatEtc.ptd) {
        CoTaskMemFree(FFormatEtc.ptd);
        FFormatEtc.ptd = nullptr;
    }
    return FValid;
}

bool TEnumFormats::HasFormat(Word ClipFormat)
{
    if (ClipFormat == 0)
        return false;
    Reset();
    while (Next())
        if (FFormatEtc.cfFormat == ClipFormat)
            return true;
    return false;
}

HANDLE TEnumFormats::Handle(DWORD Tymed)
{
    ReleaseMedium();
    if (!FValid || !(FFormatEtc.tymed & Tymed) || !FDataObject)
        return nullptr;
    FORMATETC request = FFormatEtc;
    request.tymed = Tymed & FFormatEtc.tymed;
    STGMEDIUM medium{};
    if (FDataObject->GetData(&request, &medium) != S_OK)
        return nullptr;
    FHeldMedium = medium;
    if (!(medium.tymed & Tymed))
        return nullptr;
    return medium.hGlobal;
}

int TEnumFormats::ReadFormatInteger(Word Format)
{
    if (!HasFormat(Format))
        return -1;
    TBlockView view(GlobalHandle());
    const int result = view.Has(0, 4) ? view.At<int32_t>(0) : -1;
    return result;
}

TOwned<TMemoryStream> TEnumFormats::ReadFormatStream(Word Format)
{
    if (!HasFormat(Format))
        return nullptr;
    TBlockView view(GlobalHandle());
    if (!view.Has(0, 8))
        return nullptr;
    const uint32_t size = view.At<uint32_t>(0);
    if (!view.Has(8, size))
        return nullptr;
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    if (size)
        stream->Write(view.Data() + 8, static_cast<int>(size));
    stream->SetPosition(0);
    return stream;
}

String TEnumFormats::ReadFormatWideText(Word Format)
{
    if (!HasFormat(Format))
        return String();
    TBlockView view(GlobalHandle());
    const ptrdiff_t length = view.TerminatedLength<wchar_t>(0);
    return length < 0 ? String() : WideRun(view, 0, length);
}

String TEnumFormats::ReadFormatAnsiText(Word Format)
{
    if (!HasFormat(Format))
        return String();
    TBlockView view(GlobalHandle());
    const ptrdiff_t length = view.TerminatedLength<char>(0);
    return length < 0 ? String() : AnsiRun(view, 0, length);
}

bool TEnumFormats::ReadFileList()
{
    FFiles->Clear();
    TBlockView view(GlobalHandle());
    if (!view.Has(0, sizeof(DROPFILES)))
        return false;
    const auto header = view.At<DROPFILES>(0);
    const bool wide = header.fWide != 0;
    const size_t charSize = wide ? sizeof(wchar_t) : sizeof(char);
    size_t at = header.pFiles & ~DWORD(1);
    if (at < sizeof(DROPFILES) || at >= view.Size())
        return false;
    std::vector<String> names;
    while (view.Has(at, charSize)) {
        const ptrdiff_t length = wide ? view.TerminatedLength<wchar_t>(at) : view.TerminatedLength<char>(at);
        if (length < 0)
            return false;  // a name runs past the block: nothing of it is trusted
        if (length == 0)
            break;
        names.push_back(wide ? WideRun(view, at, length) : AnsiRun(view, at, length));
        at += (length + 1) * charSize;
    }
    for (const String& name : names)
        FFiles->Add(name);
    return FFiles->Count() > 0;
}

bool TEnumFormats::HasText() { return HasFormat(CF_UNICODETEXT); }
bool TEnumFormats::HasRTF() { return HasFormat(static_cast<Word>(rtfFormat)); }
bool TEnumFormats::HasCol() { return HasFormat(static_cast<Word>(gridColumnFormat)); }
bool TEnumFormats::HasFile() { return HasFormat(CF_HDROP); }
bool TEnumFormats::HasURL() { return HasFormat(static_cast<Word>(urlFormat)); }
bool TEnumFormats::HasGridCells() { return HasFormat(static_cast<Word>(gridCellsFormat)); }
String TEnumFormats::Text() { return ReadFormatWideText(CF_UNICODETEXT); }
String TEnumFormats::RTF() { return ReadFormatAnsiText(static_cast<Word>(rtfFormat)); }
int TEnumFormats::Col() { return ReadFormatInteger(static_cast<Word>(gridColumnFormat)); }
TOwned<TMemoryStream> TEnumFormats::Stream() { return ReadFormatStream(static_cast<Word>(gridCellsFormat)); }

// --- drop target --------------------------------------------------------------------

TASGDropTarget::TASGDropTarget() = default;

// Nothing may leave a method OLE called: a failure there refuses the drag.
HRESULT TASGDropTarget::DragEnter(IDataObject* DataObj, DWORD KeyState, POINTL, DWORD* Effect)
{
    FOk = false;
    FDropFormats = TDropFormats();
    try {
        TEnumFormats formats(DataObj);
        TDropFormats offered;
        if (formats.HasText())
            offered << dfText;
        if (formats.HasFile())
            offered << dfFile;
        if (formats.HasCol())
            offered << dfCol;
        if (formats.HasRTF())
            offered << dfRTF;
        if (formats.HasURL())
            offered << dfURL;
        if (formats.HasGridCells())
            offered << dfGridCells;
        FDropFormats = offered;
        FOk = (offered.Contains(dfText) && FAcceptText) || (offered.Contains(dfFile) && FAcceptFiles)
              || (offered.Contains(dfRTF) && rtfDropEnabled && FAcceptText)
              || (offered.Contains(dfCol) && FAcceptCols) || (offered.Contains(dfURL) && FAcceptURLs)
              || offered.Contains(dfGridCells);
    } catch (...) {
        FOk = false;
        FDropFormats = TDropFormats();
    }
    if (Effect)
        *Effect = FOk ? DropEffectFromKeys(MouseKeysToShiftState(KeyState), *Effect) : DROPEFFECT_NONE;
    try {
        DragMouseEnter();
    } catch (...) {
    }
    return S_OK;
}

HRESULT TASGDropTarget::DragOver(DWORD KeyState, POINTL Pt, DWORD* Effect)
{
    DWORD effect = Effect ? *Effect : DROPEFFECT_NONE;
    effect = FOk ? DropEffectFromKeys(MouseKeysToShiftState(KeyState), effect) : DROPEFFECT_NONE;
    bool allow = effect != DROPEFFECT_NONE;
    try {
        DragMouseMove(POINT{Pt.x, Pt.y}, allow, FDropFormats);
    } catch (...) {
        allow = false;
    }
    if (!allow)
        effect = DROPEFFECT_NONE;
    if (Effect)
        *Effect = effect;
    return S_OK;
}

HRESULT TASGDropTarget::DragLeave()
{
    try {
        DragMouseLeave();
    } catch (...) {
    }
    return S_OK;
}

HRESULT TASGDropTarget::Drop(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect)
{
    DWORD effect = Effect ? *Effect : DROPEFFECT_NONE;
    if (!FOk) {
        if (Effect)
            *Effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const POINT pt{Pt.x, Pt.y};
    try {
        TEnumFormats formats(DataObj);
        if (formats.HasCol()) {
            const int col = formats.Col();
            if (col != -1)
                DropCol(pt, col);
        } else {
            if (formats.HasGridCells()) {
                if (TOwned<TMemoryStream> stream = formats.Stream())
                    DropStream(pt, stream.get());
            } else if (rtfDropEnabled && formats.HasRTF()) {
                const String rtf = formats.RTF();
                if (!rtf.empty())
                    DropRTF(pt, rtf);
            } else if (formats.HasText()) {
                const String text = formats.Text();
                if (!text.empty())
                    DropText(pt, text);
            }
            if (formats.HasFile() && formats.ReadFileList())
                DropFiles(pt, formats.Files());
            if (formats.HasURL()) {
                const String url = formats.Text();
                if (!url.empty())
                    DropURL(pt, url);
            }
        }
        effect = DropEffectFromKeys(MouseKeysToShiftState(KeyState), effect);
    } catch (...) {
        effect = DROPEFFECT_NONE;
    }
    if (Effect)
        *Effect = effect;
    return S_OK;
}

// --- drop source --------------------------------------------------------------------

HRESULT TASGDropSource::QueryContinueDrag(BOOL EscapePressed, DWORD KeyState)
{
    HRESULT result = S_OK;
    try {
        if (EscapePressed) {
            result = DRAGDROP_S_CANCEL;
            DragStopped();
        } else if (!(KeyState & MK_LBUTTON)) {
            result = DRAGDROP_S_DROP;
            DragStopped();
        }
        QueryDrag();
    } catch (...) {
        if (result == S_OK)
            result = DRAGDROP_S_CANCEL;
    }
    return result;
}

HRESULT TASGDropSource::GiveFeedback(DWORD Effect)
{
    FNoAccept = Effect == DROPEFFECT_NONE;
    try {
        CurrentEffect(static_cast<int>(Effect));
    } catch (...) {
    }
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// --- modal drags --------------------------------------------------------------------

namespace {

HRESULT RunDrag(IDataObject* Data, TASGDropSource* Source, int OkEffects, int& Effect)
{
    TComPtr<IDataObject> data(Data);
    TComPtr<IDropSource> source(Source);
    DWORD effect = static_cast<DWORD>(Effect);
    const HRESULT result = DoDragDrop(data.Get(), source.Get(), static_cast<DWORD>(OkEffects), &effect);
    Effect = static_cast<int>(effect);
    if (Source && Source->NoAccept())
        return DRAGDROP_S_CANCEL;
    return result;
}

} // namespace

HRESULT RunTextDragDrop(TASGDropSource* Source, const String& Text, const String& RTF, TMemoryStream* Stream,
                        int OkEffects, int& Effect)
{
    return RunDrag(new TSourceDataObject(Text, Stream, -1, RTF), Source, OkEffects, Effect);
}

HRESULT RunColumnDragDrop(TASGDropSource* Source, int Column, int OkEffects, int& Effect)
{
    return RunDrag(new TSourceDataObject(String(), nullptr, Column, String()), Source, OkEffects, Effect);
}
