#include "acShellCtrls.h"
#include "Forms.h"
#include "PlatformProbe.h"
#include "SysUtils.h"
#include "acAlphaImageList.h"
#include "acntUtils.h"
#include <algorithm>
#include <cstring>

TacShellFolder* RootShellFolder = nullptr;
TsAlphaImageList* SystemImageList = nullptr;
std::vector<TacShellChangeThread*> ShellChangeThreads;
std::mutex ShellThreadLock;

namespace {

constexpr int RootSpecialFolder = CSIDL_DESKTOP;
// The headers declare the interface without binding its identifier.
constexpr IID ShellDetailsIID = {0x000214EC, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
int initCount = 0;
bool oleStarted = false;

IMalloc* ShellMalloc()
{
    IMalloc* malloc = nullptr;
    OleCheck(SHGetMalloc(&malloc));
    // The shell allocator is the process's task allocator: a reference that
    // is never dropped costs nothing.
    return malloc;
}

ULONG Attributes(IShellFolder* Folder, PItemIDList ID, ULONG Mask)
{
    if (!Folder)
        return 0;
    PCUITEMID_CHILD item = ID;
    ULONG flags = Mask;
    if (FAILED(Folder->GetAttributesOf(1, &item, &flags)))
        return 0;
    return flags;
}

struct TFlagMap {
    ULONG Flag;
    int Member;
};

constexpr TFlagMap capabilityFlags[] = {
    {SFGAO_CANCOPY, fcCanCopy},         {SFGAO_CANMOVE, fcCanMove},     {SFGAO_CANLINK, fcCanLink},
    {SFGAO_CANRENAME, fcCanRename},     {SFGAO_CANDELETE, fcCanDelete}, {SFGAO_HASPROPSHEET, fcHasPropSheet},
    {SFGAO_DROPTARGET, fcDropTarget},
};
constexpr TFlagMap askedProperties[] = {
    {SFGAO_GHOSTED, fpCut}, {SFGAO_LINK, fpIsLink}, {SFGAO_READONLY, fpReadOnly}, {SFGAO_SHARE, fpShared},
};
constexpr TFlagMap answeredProperties[] = {
    {SFGAO_FILESYSTEM, fpFileSystem},
    {SFGAO_FILESYSANCESTOR, fpFileSystemAncestor},
    {SFGAO_REMOVABLE, fpRemovable},
    {SFGAO_VALIDATE, fpValidate},
};

bool IsZipName(const String& Name) { return LowerCase(ExtractFileExt(Name)) == L".zip"; }

String AnsiText(const char* Chars, int Length)
{
    if (Length <= 0)
        return String();
    String text(MultiByteToWideChar(CP_ACP, 0, Chars, Length, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, Chars, Length, text.data(), static_cast<int>(text.size()));
    return text;
}

void CloseNotification(HANDLE& Handle)
{
    if (Handle != INVALID_HANDLE_VALUE && Handle)
        FindCloseChangeNotification(Handle);
    Handle = INVALID_HANDLE_VALUE;
}

} // namespace

// ---------------------------------------------------------------------------
PItemIDList PidlAlloc(int Size)
{
    auto* id = static_cast<PItemIDList>(ShellMalloc()->Alloc(Size));
    if (id)
        std::memset(id, 0, Size);
    return id;
}

void PidlFree(PItemIDList ID)
{
    if (ID)
        ShellMalloc()->Free(ID);
}

PItemIDList PidlNext(PItemIDList ID)
{
    return reinterpret_cast<PItemIDList>(reinterpret_cast<BYTE*>(ID) + ID->mkid.cb);
}

int PidlSize(PItemIDList ID)
{
    if (!ID)
        return 0;
    int size = 2;
    for (; ID->mkid.cb; ID = PidlNext(ID))
        size += ID->mkid.cb;
    return size;
}

PItemIDList PidlCopy(PItemIDList ID)
{
    const int size = PidlSize(ID);
    PItemIDList copy = PidlAlloc(size);
    if (copy && ID)
        std::memcpy(copy, ID, size);
    return copy;
}

PItemIDList PidlConcat(PItemIDList A, PItemIDList B)
{
    const int sizeA = A ? PidlSize(A) - 2 : 0;
    const int sizeB = PidlSize(B);
    PItemIDList joined = PidlAlloc(sizeA + sizeB);
    if (!joined)
        return nullptr;
    if (A)
        std::memcpy(joined, A, sizeA);
    if (B)
        std::memcpy(reinterpret_cast<BYTE*>(joined) + sizeA, B, sizeB);
    return joined;
}

TComPtr<IShellFolder> GetDesktopShellFolder()
{
    TComPtr<IShellFolder> desktop;
    OleCheck(SHGetDesktopFolder(desktop.ReleaseAndGetAddressOf()));
    return desktop;
}

PItemIDList GetRootPidl()
{
    PItemIDList id = nullptr;
    OleCheck(SHGetSpecialFolderLocation(nullptr, RootSpecialFolder, &id));
    return id;
}

// ---------------------------------------------------------------------------
TacShellFolderCapabilities GetShellCapabilities(IShellFolder* Folder, PItemIDList ID)
{
    TacShellFolderCapabilities result;
    const ULONG flags = Attributes(Folder, ID, 0x177);
    for (const TFlagMap& map : capabilityFlags)
        if (flags & map.Flag)
            result.Include(static_cast<TacShellFolderCapability>(map.Member));
    return result;
}

TacShellFolderProperties GetShellProperties(IShellFolder* Folder, PItemIDList ID)
{
    TacShellFolderProperties result;
    if (!Folder)
        return result;
    ULONG flags = Attributes(Folder, ID, 0xFC000);
    for (const TFlagMap& map : askedProperties)
        if (flags & map.Flag)
            result.Include(static_cast<TacShellFolderProperty>(map.Member));
    flags = Attributes(Folder, ID, 0);
    for (const TFlagMap& map : answeredProperties)
        if (flags & map.Flag)
            result.Include(static_cast<TacShellFolderProperty>(map.Member));
    return result;
}

bool ShellItemIsFolder(IShellFolder* Folder, PItemIDList ID) { return Attributes(Folder, ID, SFGAO_FOLDER) & SFGAO_FOLDER; }
bool ShellItemIsLink(IShellFolder* Folder, PItemIDList ID) { return Attributes(Folder, ID, SFGAO_LINK) & SFGAO_LINK; }
bool ShellItemIsReadOnly(IShellFolder* Folder, PItemIDList ID)
{
    return Attributes(Folder, ID, SFGAO_READONLY) & SFGAO_READONLY;
}
bool ShellItemHasSubFolders(IShellFolder* Folder, PItemIDList ID)
{
    return Attributes(Folder, ID, SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER;
}

bool ShellItemIsFileFolder(IShellFolder* Folder, PItemIDList ID)
{
    const ULONG flags = Attributes(Folder, ID, SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_LINK);
    return (flags & SFGAO_FILESYSTEM) && (flags & SFGAO_FOLDER) && !(flags & SFGAO_LINK);
}

bool ShellItemIsPlainFile(IShellFolder* Folder, PItemIDList ID)
{
    const ULONG flags = Attributes(Folder, ID, SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_LINK);
    return (flags & SFGAO_FILESYSTEM) && !(flags & SFGAO_FOLDER) && !(flags & SFGAO_LINK);
}

int GetShellImageIndex(PItemIDList AbsoluteID, bool LargeIcon, bool Open)
{
    auto getFileInfo = KernelBindings().SHGetFileInfoW;
    if (!getFileInfo)
        return 0;
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_PIDL;
    if (!LargeIcon)
        flags |= SHGFI_SMALLICON;
    if (Open)
        flags |= SHGFI_OPENICON;
    SHFILEINFOW info{};
    getFileInfo(reinterpret_cast<LPCWSTR>(AbsoluteID), 0, &info, sizeof(info), flags);
    return info.iIcon;
}

// ---------------------------------------------------------------------------
void StrRetToText(PItemIDList ID, STRRET& StrRet, String& Text)
{
    switch (StrRet.uType) {
    case STRRET_WSTR:
        Text = StrRet.pOleStr ? String(StrRet.pOleStr) : String();
        CoTaskMemFree(StrRet.pOleStr);
        StrRet.pOleStr = nullptr;
        break;
    case STRRET_OFFSET: {
        // The characters lie inside the first item; an offset past its end
        // names nothing of it.
        const int cb = ID ? ID->mkid.cb : 0;
        const int offset = static_cast<int>(StrRet.uOffset);
        if (offset < 0 || offset >= cb) {
            Text.clear();
            break;
        }
        const auto* chars = reinterpret_cast<const char*>(ID) + offset;
        int length = 0;
        while (offset + length < cb && chars[length])
            ++length;
        Text = AnsiText(chars, length);
        break;
    }
    case STRRET_CSTR:
        Text = AnsiText(StrRet.cStr, static_cast<int>(strnlen(StrRet.cStr, MAX_PATH)));
        break;
    default:
        return;
    }
    if (Text.size() > 1 && Text[0] == L'?' && Text[1] >= L'0' && Text[1] <= L'9')
        Text.erase(std::remove(Text.begin(), Text.end(), L'?'), Text.end());
}

void GetShellDisplayName(IShellFolder* Folder, PItemIDList ID, DWORD Flags, String& Name, TacShowExtension ShowExt)
{
    if (!Folder) {
        Name = L"parentfolder = nil";
        return;
    }
    auto fetch = [&](DWORD flags, String& text) {
        STRRET answer{};
        if (SUCCEEDED(Folder->GetDisplayNameOf(ID, flags, &answer)))
            StrRetToText(ID, answer, text);
    };
    fetch(Flags, Name);
    if (ShowExt != seSystem) {
        String parsing;
        fetch(SHGDN_FORPARSING, parsing);
        if (!parsing.empty() && FileExists(parsing)) {
            const String fileExt = ExtractFileExt(parsing);
            const String ownExt = ExtractFileExt(Name);
            if (ShowExt == seShow && !SameText(ownExt, fileExt))
                Name += fileExt;
            else if (ShowExt == seHide && !ownExt.empty())
                Name.resize(Name.size() - ownExt.size());
        }
    }
    if (Name.rfind(L"::{", 0) == 0)
        fetch(0, Name);
}

TComPtr<IShellDetails> GetShellDetailsOf(IShellFolder* Folder, PItemIDList ID, HWND Owner)
{
    TComPtr<IShellDetails> details;
    if (!Folder)
        return details;
    if (FAILED(Folder->BindToObject(ID, nullptr, ShellDetailsIID,
                                    reinterpret_cast<void**>(details.ReleaseAndGetAddressOf())))) {
        PCUITEMID_CHILD item = ID;
        if (FAILED(Folder->GetUIObjectOf(Owner, 1, &item, ShellDetailsIID, nullptr,
                                         reinterpret_cast<void**>(details.ReleaseAndGetAddressOf()))))
            Folder->CreateViewObject(Owner, ShellDetailsIID,
                                     reinterpret_cast<void**>(details.ReleaseAndGetAddressOf()));
    }
    if (!details)
        GetDesktopShellFolder()->BindToObject(ID, nullptr, ShellDetailsIID,
                                              reinterpret_cast<void**>(details.ReleaseAndGetAddressOf()));
    return details;
}

TComPtr<IShellFolder2> GetShellFolder2Of(IShellFolder* Folder, PItemIDList ID, HWND Owner)
{
    TComPtr<IShellFolder2> folder2;
    if (PlatformProbe().WindowsMajor < 5)
        return folder2;
    if (SUCCEEDED(GetDesktopShellFolder()->BindToObject(ID, nullptr, __uuidof(IShellFolder2),
                                                         reinterpret_cast<void**>(folder2.ReleaseAndGetAddressOf()))))
        return folder2;
    if (Folder) {
        PCUITEMID_CHILD item = ID;
        if (FAILED(Folder->GetUIObjectOf(Owner, 1, &item, __uuidof(IShellFolder2), nullptr,
                                         reinterpret_cast<void**>(folder2.ReleaseAndGetAddressOf()))))
            Folder->BindToObject(ID, nullptr, __uuidof(IShellFolder2),
                                 reinterpret_cast<void**>(folder2.ReleaseAndGetAddressOf()));
    }
    return folder2;
}

// ---------------------------------------------------------------------------
TacShellFolder::TacShellFolder(TacShellFolder* AParent, PItemIDList ID, IShellFolder* SF)
    : FDetails(New<TStringList>()), FParent(AParent), FIShellFolder(SF)
{
    TPidl relative(PidlCopy(ID));
    TPidl full;
    if (AParent) {
        full.Reset(PidlConcat(AParent->FFullPIDL, ID));
    } else {
        TPidl root(GetRootPidl());
        full.Reset(PidlConcat(root.Get(), ID));
        FParent = RootShellFolder;
    }
    for (TacShellFolder* above = AParent ? AParent->FParent : nullptr; above; above = above->FParent)
        ++FLevel;
    FPIDL = relative.Release();
    FFullPIDL = full.Release();
}

TacShellFolder::~TacShellFolder()
{
    PidlFree(FPIDL);
    PidlFree(FFullPIDL);
}

TComPtr<IShellFolder> TacShellFolder::ParenTacShellFolder() const
{
    if (FParent && FParent->FIShellFolder)
        return FParent->FIShellFolder;
    return GetDesktopShellFolder();
}

void TacShellFolder::LoadDetailInterface()
{
    if (detailsLoaded_ || !FIShellFolder)
        return;
    detailsLoaded_ = true;
    FIShellDetails = GetShellDetailsOf(ParenTacShellFolder().Get(), FFullPIDL, ViewHandle);
    if (!FIShellDetails && PlatformProbe().WindowsMajor > 4) {
        FIShellFolder2 = GetShellFolder2Of(ParenTacShellFolder().Get(), FFullPIDL, ViewHandle);
        if (!FIShellFolder2)
            FIShellFolder2 = FIShellFolder.As<IShellFolder2>();
    }
    if (FIShellFolder2)
        FDetailInterface = FIShellFolder2.As<IUnknown>();
    else if (FIShellDetails)
        FDetailInterface = FIShellDetails.As<IUnknown>();
}

IShellFolder2* TacShellFolder::ShellFolder2()
{
    if (!FDetailInterface)
        LoadDetailInterface();
    return FIShellFolder2.Get();
}

IShellDetails* TacShellFolder::ShellDetails()
{
    if (!FDetailInterface)
        LoadDetailInterface();
    return FIShellDetails.Get();
}

TacShellFolderProperties TacShellFolder::Properties() const
{
    return GetShellProperties(ParenTacShellFolder().Get(), FPIDL);
}
TacShellFolderCapabilities TacShellFolder::Capabilities() const
{
    return GetShellCapabilities(ParenTacShellFolder().Get(), FPIDL);
}
bool TacShellFolder::SubFolders() const { return ShellItemHasSubFolders(ParenTacShellFolder().Get(), FPIDL); }
bool TacShellFolder::IsReadOnly() const { return ShellItemIsReadOnly(ParenTacShellFolder().Get(), FPIDL); }
bool TacShellFolder::IsFileFolder() const { return ShellItemIsFileFolder(ParenTacShellFolder().Get(), FPIDL); }

bool TacShellFolder::IsFolder(const String& Name, bool OpenZipFiles) const
{
    if (!OpenZipFiles && IsZipName(Name))
        return false;
    return ShellItemIsFolder(ParenTacShellFolder().Get(), FPIDL);
}

bool TacShellFolder::IsFile(const String& Name, bool OpenZipFiles) const
{
    if (!OpenZipFiles && IsZipName(Name))
        return true;
    return ShellItemIsPlainFile(ParenTacShellFolder().Get(), FPIDL);
}

String TacShellFolder::PathName() const
{
    String name;
    GetShellDisplayName(GetDesktopShellFolder().Get(), FFullPIDL, SHGDN_FORPARSING, name, seSystem);
    return name;
}

String TacShellFolder::DisplayName(TacShowExtension ShowExt) const
{
    TComPtr<IShellFolder> folder = ParenTacShellFolder();
    if (!folder)
        return L"?";
    String name;
    GetShellDisplayName(folder.Get(), FPIDL, SHGDN_INFOLDER, name, ShowExt);
    return name;
}

int TacShellFolder::ImageIndex(bool LargeIcon) const { return GetShellImageIndex(FFullPIDL, LargeIcon, false); }

bool TacShellFolder::ExecuteDefault()
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = Application ? Application->GetHandle() : nullptr;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.lpIDList = FFullPIDL;
    info.nShow = SW_SHOW;
    return ShellExecuteExW(&info);
}

bool TacShellFolder::Rename(const String& NewName)
{
    if (!Capabilities().Contains(fcCanRename))
        return false;
    TComPtr<IShellFolder> folder = ParenTacShellFolder();
    PItemIDList answered = nullptr;
    if (FAILED(folder->SetNameOf(nullptr, FPIDL, NewName.c_str(), SHGDN_NORMAL, &answered)))
        throw Exception(Format(L"Rename to %s failed", {NewName}));
    TPidl relative(answered);
    if (!relative) {
        // Some folders rename without answering the new identifier: ask for
        // it by the new name, and keep the old one when even that fails.
        ULONG eaten = 0;
        String name = NewName;
        folder->ParseDisplayName(nullptr, nullptr, name.data(), &eaten, relative.Put(), nullptr);
        if (!relative)
            return true;
    }
    TPidl full(FParent ? PidlConcat(FParent->FFullPIDL, relative.Get()) : PidlCopy(relative.Get()));
    PidlFree(FPIDL);
    PidlFree(FFullPIDL);
    FPIDL = relative.Release();
    FFullPIDL = full.Release();
    return true;
}

// ---------------------------------------------------------------------------
TacShellChangeThread::TacShellChangeThread(TThreadMethod AChangeEvent)
    : TThread(true), ChangeEvent(std::move(AChangeEvent)), FWakeEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
    if (!FWakeEvent)
        RaiseLastOSError();
    for (auto& slot : ShellChangeThreads)
        if (!slot) {
            slot = this;
            return;
        }
    ShellChangeThreads.push_back(this);
}

void TacShellChangeThread::BeforeDestruction()
{
    for (auto& slot : ShellChangeThreads)
        if (slot == this)
            slot = nullptr;
    // The worker must be out of its wait before its handles go.
    Terminate();
    WakeUp();
    TThread::BeforeDestruction();
}

TacShellChangeThread::~TacShellChangeThread() { CloseNotification(FWaitHandle); }

void TacShellChangeThread::SetDirectoryOptions(const String& Directory, bool WatchSubTree, DWORD NotifyOptionFlags)
{
    {
        std::lock_guard<std::mutex> guard(ShellThreadLock);
        FDirectory = Directory;
        FWatchSubTree = WatchSubTree;
        FNotifyOptionFlags = NotifyOptionFlags;
        FWaitChanged = true;
    }
    // The worker closes its own notification: closing a handle another
    // thread waits on would leave it waiting on whatever reuses the value.
    WakeUp();
}

void TacShellChangeThread::WakeUp() { SetEvent(FWakeEvent.Get()); }

void TacShellChangeThread::Rearm()
{
    CloseNotification(FWaitHandle);
    FWaitHandle = FindFirstChangeNotificationW(FDirectory.c_str(), FWatchSubTree, FNotifyOptionFlags);
    FWaitChanged = false;
}

void TacShellChangeThread::Execute()
{
    {
        std::lock_guard<std::mutex> guard(ShellThreadLock);
        Rearm();
    }
    if (FWaitHandle == INVALID_HANDLE_VALUE)
        return;
    while (!Terminated()) {
        const bool watching = FWaitHandle != INVALID_HANDLE_VALUE;
        HANDLE handles[] = {FWakeEvent.Get(), FWaitHandle};
        const DWORD result = WaitForMultipleObjects(watching ? 2 : 1, handles, FALSE, INFINITE);
        if (result == WAIT_FAILED)
            break;
        if (result == WAIT_OBJECT_0 + 1 && !Terminated()) {
            if (ChangeEvent && !(Application && Application->Terminated()))
                Synchronize([this] {
                    // A destruction waiting for the worker runs this too:
                    // the event's owner may be going by then.
                    if (!Terminated() && ChangeEvent)
                        ChangeEvent();
                });
            FindNextChangeNotification(FWaitHandle);
        }
        std::lock_guard<std::mutex> guard(ShellThreadLock);
        if (FWaitChanged)
            Rearm();
    }
}

// ---------------------------------------------------------------------------
void acShellCtrls_Initialize()
{
    if (initCount++)
        return;
    LoadShellFileInfo();
    {
        TPidl desktop(GetRootPidl());
        TComPtr<IShellFolder> folder = GetDesktopShellFolder();
        RootShellFolder = New<TacShellFolder>(nullptr, desktop.Get(), folder.Get());
    }
    oleStarted = SUCCEEDED(OleInitialize(nullptr));
    auto getFileInfo = KernelBindings().SHGetFileInfoW;
    if (!getFileInfo || SystemImageList)
        return;
    SHFILEINFOW info{};
    auto list = reinterpret_cast<HIMAGELIST>(
        getFileInfo(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (!list)
        return;
    SystemImageList = New<TsAlphaImageList>(nullptr);
    SystemImageList->AllowScale = false;
    SystemImageList->SetShareImages(true);
    SystemImageList->AcBeginUpdate();
    SystemImageList->SetHandle(list);
    SystemImageList->AcEndUpdate(false);
    ImageList_SetBkColor(list, CLR_NONE);
}

void acShellCtrls_Finalize()
{
    if (initCount == 0 || --initCount)
        return;
    // Each thread clears its own slot as it goes.
    for (std::size_t i = 0; i < ShellChangeThreads.size(); ++i)
        if (TacShellChangeThread* thread = ShellChangeThreads[i])
            thread->Free();
    FreeAndNil(RootShellFolder);
    if (oleStarted)
        OleUninitialize();
    oleStarted = false;
    FreeAndNil(SystemImageList);
    ShellChangeThreads.clear();
}
