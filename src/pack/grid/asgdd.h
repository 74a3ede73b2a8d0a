// The grid's OLE drag-and-drop layer: a data object carrying dragged grid
// data (text, rich text, a column index, a stream of cells), its format
// enumerator, a drop source and a drop target whose Drop* operations the grid
// overrides, a reader of what a dropped data object offers, and the two calls
// that run a modal drag. OLE must be initialized on the thread.
//
// Foreign data objects are not trusted: every block is read within its
// GlobalSize, a block too short for what it claims reads as missing (-1, nil
// or an empty text), and every medium obtained is released again. Nothing
// raises out of the COM methods: the drop target refuses through the effect.
#pragma once

#include "Classes.h"
#include "ComObj.h"
#include "Controls.h"
#include <ole2.h>

enum TDropFormat { dfText, dfFile, dfCol, dfRTF, dfURL, dfGridCells };
using TDropFormats = Set<TDropFormat>;

// The rich-text switch: off, the data object does not render "Rich Text
// Format" and drop targets ignore it.
void SetRTFDropEnabled(bool Value);
bool RTFDropEnabled();

// The identifiers of the four named drag formats as last registered (0 until
// the first registration; 0 matches no offered format).
UINT DragFormatRTF();
UINT DragFormatGridColumn();
UINT DragFormatGridCells();
UINT DragFormatURL();

// Copy when Ctrl is held; else move when Allowed has it; else copy.
int DropEffectFromKeys(TShiftState Shift, int Allowed);

// Reference counting shared by the COM objects of this unit: each starts at
// zero references and is freed when the last one goes.
template <class... Interfaces>
class TAsgComObject : public Interfaces... {
public:
    TAsgComObject() = default;
    TAsgComObject(const TAsgComObject&) = delete;
    TAsgComObject& operator=(const TAsgComObject&) = delete;
    virtual ~TAsgComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown)
            *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
        else
            (TryInterface<Interfaces>(riid, ppv) || ...);
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = --refs_;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

private:
    template <class I, class...>
    struct FirstOf {
        using type = I;
    };
    using First = typename FirstOf<Interfaces...>::type;
    template <class I>
    bool TryInterface(REFIID riid, void** ppv)
    {
        if (riid != __uuidof(I))
            return false;
        *ppv = static_cast<I*>(this);
        return true;
    }
    LONG refs_ = 0;
};

// ---------------------------------------------------------------------------
// The data object of a drag started here. The stream is the caller's and must
// outlive the drag.
class TSourceDataObject : public TAsgComObject<IDataObject> {
public:
    TSourceDataObject(const String& Text, TMemoryStream* Stream, int ColIndex, const String& RTF);

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* FormatEtcIn, STGMEDIUM* Medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* FormatEtc, STGMEDIUM* Medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* FormatEtc) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* FormatEtc, FORMATETC* FormatEtcOut) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* FormatEtc, STGMEDIUM* Medium, BOOL Release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD Direction, IEnumFORMATETC** EnumFormatEtc) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* FormatEtc, DWORD advf, IAdviseSink* AdvSink,
                                      DWORD* Connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD Connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** EnumAdvise) override;

private:
    String textdata;
    String rtfdata;
    int scolidx = -1;
    TMemoryStream* memstr = nullptr;
};

// The formats a TSourceDataObject lists: CF_TEXT, CF_UNICODETEXT, "Rich Text
// Format", then "Grid Column" and "TAdvStringGrid Cells" when held.
class TSourceEnumFormatEtc : public TAsgComObject<IEnumFORMATETC> {
public:
    TSourceEnumFormatEtc(bool HasCol, bool HasGridCells, ULONG Index = 0);

    HRESULT STDMETHODCALLTYPE Next(ULONG Count, FORMATETC* Elements, ULONG* Fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG Count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** Enum) override;

private:
    ULONG Total() const;
    ULONG FIndex = 0;
    bool FHasCol = false;
    bool FHasGridCells = false;
};

// ---------------------------------------------------------------------------
// Reads what a (possibly foreign) data object offers.
class TEnumFormats : public TObject {
public:
    explicit TEnumFormats(IDataObject* DataObject);
    ~TEnumFormats() override;

    IDataObject* GetDataObject() const { return FDataObject.Get(); }
    // Raises EAssertionFailed "Cannot get the format enumerator" when the
    // object gives none.
    void SetDataObject(IDataObject* Value);
    const FORMATETC& GetFormatEtc() const { return FFormatEtc; }
    bool GetValid() const { return FValid; }
    int GetCount() const { return FCount; }
    DWORD GetAspect() const { return FFormatEtc.dwAspect; }
    void SetAspect(DWORD Value) { FFormatEtc.dwAspect = Value; }
    Word GetFormat() const { return FFormatEtc.cfFormat; }
    void SetFormat(Word Value) { FFormatEtc.cfFormat = Value; }
    LONG GetIndex() const { return FFormatEtc.lindex; }
    void SetIndex(LONG Value) { FFormatEtc.lindex = Value; }
    DWORD GetMedium() const { return FFormatEtc.tymed; }
    void SetMedium(DWORD Value) { FFormatEtc.tymed = Value; }

    bool Next();
    bool Reset();
    bool HasFormat(Word ClipFormat);
    // The handle of the current entry's data in the given medium, or 0. The
    // medium stays held until the next call or the reader goes.
    HANDLE Handle(DWORD Tymed);
    HANDLE GlobalHandle() { return Handle(TYMED_HGLOBAL); }

    bool HasText();
    bool HasRTF();
    bool HasCol();
    bool HasFile();
    bool HasURL();
    bool HasGridCells();
    String Text();
    String RTF();
    int Col();
    TOwned<TMemoryStream> Stream();

    int ReadFormatInteger(Word Format);
    TOwned<TMemoryStream> ReadFormatStream(Word Format);
    String ReadFormatWideText(Word Format);
    String ReadFormatAnsiText(Word Format);
    // The current entry must be CF_HDROP; fills Files, true when not empty.
    bool ReadFileList();
    TStrings* Files() const { return FFiles.get(); }

private:
    void ReleaseMedium();
    TComPtr<IDataObject> FDataObject;
    TComPtr<IEnumFORMATETC> FEnumerator;
    FORMATETC FFormatEtc{};
    bool FValid = false;
    int FCount = 0;
    TOwned<TStringList> FFiles;
    STGMEDIUM FHeldMedium{};
};

// ---------------------------------------------------------------------------
// The drop target base; the Drop* and DragMouse* operations are empty here.
// Points are in screen coordinates.
class TASGDropTarget : public TAsgComObject<IDropTarget> {
public:
    TASGDropTarget();

    bool GetAcceptText() const { return FAcceptText; }
    void SetAcceptText(bool Value) { FAcceptText = Value; }
    bool GetAcceptFiles() const { return FAcceptFiles; }
    void SetAcceptFiles(bool Value) { FAcceptFiles = Value; }
    bool GetAcceptCols() const { return FAcceptCols; }
    void SetAcceptCols(bool Value) { FAcceptCols = Value; }
    bool GetAcceptURLs() const { return FAcceptURLs; }
    void SetAcceptURLs(bool Value) { FAcceptURLs = Value; }
    TDropFormats GetDropFormats() const { return FDropFormats; }

    virtual void DropText(POINT Pt, const String& Text) {}
    // The stream is read during the call only.
    virtual void DropStream(POINT Pt, TMemoryStream* Stream) {}
    virtual void DropCol(POINT Pt, int Col) {}
    virtual void DropRTF(POINT Pt, const String& RTF) {}
    virtual void DropFiles(POINT Pt, TStrings* Files) {}
    virtual void DropURL(POINT Pt, const String& URL) {}
    virtual void DragMouseMove(POINT Pt, bool& Allow, TDropFormats DropFormats) {}
    virtual void DragMouseEnter() {}
    virtual void DragMouseLeave() {}

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD KeyState, POINTL Pt, DWORD* Effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* DataObj, DWORD KeyState, POINTL Pt, DWORD* Effect) override;

protected:
    bool FOk = false;
    bool FAcceptText = true;
    bool FAcceptFiles = true;
    bool FAcceptCols = false;
    bool FAcceptURLs = true;
    TDropFormats FDropFormats;
};

// The drop source base; DragStopped, CurrentEffect and QueryDrag are empty here.
class TASGDropSource : public TAsgComObject<IDropSource> {
public:
    TASGDropSource() = default;

    virtual void DragStopped() {}
    virtual void CurrentEffect(int dwEffect) {}
    virtual void QueryDrag() {}
    bool NoAccept() const { return FNoAccept; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD Effect) override;

protected:
    bool FNoAccept = false;
};

// Runs a modal drag of text, rich text and cells; DRAGDROP_S_CANCEL when the
// last feedback showed no effect.
HRESULT RunTextDragDrop(TASGDropSource* Source, const String& Text, const String& RTF, TMemoryStream* Stream,
                        int OkEffects, int& Effect);
// Runs a modal drag of a column index.
HRESULT RunColumnDragDrop(TASGDropSource* Source, int Column, int OkEffects, int& Effect);
