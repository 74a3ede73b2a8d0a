// The shell namespace for the library's shell controls: item-identifier
// lists (PIDLs) over the shell allocator, one namespace item with its parent
// folder, names, attributes and icons (TacShellFolder), and a worker thread
// that waits for directory changes (TacShellChangeThread).
#pragma once

#include <windows.h>
#include <shlobj.h>
#include "Classes.h"
#include "ComObj.h"
#include "UniqueHandle.h"
#include <mutex>
#include <vector>

class TsAlphaImageList;

// ---------------------------------------------------------------------------
// Identifier lists. Every block comes from the shell allocator; a failing
// SHGetMalloc raises EOleSysError.
using PItemIDList = LPITEMIDLIST;

PItemIDList PidlAlloc(int Size);   // zero-filled
void PidlFree(PItemIDList ID);
PItemIDList PidlNext(PItemIDList ID);
// 0 for nil; else every item's cb plus 2 for the terminating zero cb.
int PidlSize(PItemIDList ID);
PItemIDList PidlCopy(PItemIDList ID);
// A without its terminator, then B; nil A gives a copy of B.
PItemIDList PidlConcat(PItemIDList A, PItemIDList B);
// Both raise EOleSysError on failure.
TComPtr<IShellFolder> GetDesktopShellFolder();
PItemIDList GetRootPidl();

// Frees a PIDL of the shell allocator at the end of the scope.
struct TPidlTraits {
    using Handle = PItemIDList;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle ID) noexcept { return ID != nullptr; }
    static void Close(Handle ID) noexcept { CoTaskMemFree(ID); }
};
using TPidl = TUniqueHandle<TPidlTraits>;

// ---------------------------------------------------------------------------
enum TacShellFolderCapability { fcCanCopy, fcCanDelete, fcCanLink, fcCanMove, fcCanRename, fcDropTarget, fcHasPropSheet };
using TacShellFolderCapabilities = Set<TacShellFolderCapability, 7>;
enum TacShellFolderProperty {
    fpCut, fpIsLink, fpReadOnly, fpShared, fpFileSystem, fpFileSystemAncestor, fpRemovable, fpValidate
};
using TacShellFolderProperties = Set<TacShellFolderProperty, 8>;
enum TacShowExtension { seSystem, seShow, seHide };

// Item queries on a parent folder and a relative identifier.
TacShellFolderCapabilities GetShellCapabilities(IShellFolder* Folder, PItemIDList ID);
TacShellFolderProperties GetShellProperties(IShellFolder* Folder, PItemIDList ID);
bool ShellItemIsFolder(IShellFolder* Folder, PItemIDList ID);
bool ShellItemIsLink(IShellFolder* Folder, PItemIDList ID);
bool ShellItemIsReadOnly(IShellFolder* Folder, PItemIDList ID);
bool ShellItemHasSubFolders(IShellFolder* Folder, PItemIDList ID);
bool ShellItemIsFileFolder(IShellFolder* Folder, PItemIDList ID);
bool ShellItemIsPlainFile(IShellFolder* Folder, PItemIDList ID);
// The system image list's index of the item (absolute identifier); 0 when
// the shell's file information entry is missing.
int GetShellImageIndex(PItemIDList AbsoluteID, bool LargeIcon, bool Open);

// The text of a shell answer. STRRET_WSTR strings are freed (with the shell
// allocator) and the pointer cleared; an STRRET_OFFSET is read only inside
// the item identifier ID. Any other kind leaves Text as it is. A text such
// as "?1" loses every "?".
void StrRetToText(PItemIDList ID, STRRET& StrRet, String& Text);
void GetShellDisplayName(IShellFolder* Folder, PItemIDList ID, DWORD Flags, String& Name, TacShowExtension ShowExt);
TComPtr<IShellDetails> GetShellDetailsOf(IShellFolder* Folder, PItemIDList ID, HWND Owner);
TComPtr<IShellFolder2> GetShellFolder2Of(IShellFolder* Folder, PItemIDList ID, HWND Owner);

// ---------------------------------------------------------------------------
// One namespace item.
class TacShellFolder : public TObject {
public:
    // ID is relative to AParent's folder (to the desktop without a parent);
    // SF is the item's own folder interface, when it is a folder.
    TacShellFolder(TacShellFolder* AParent, PItemIDList ID, IShellFolder* SF);
    ~TacShellFolder() override;

    // The parent's folder interface, or the desktop's.
    TComPtr<IShellFolder> ParenTacShellFolder() const;
    void LoadDetailInterface();

    TacShellFolderProperties Properties() const;
    TacShellFolderCapabilities Capabilities() const;
    bool SubFolders() const;
    bool IsReadOnly() const;
    bool IsFileFolder() const;
    // ".zip" names answer without asking the shell unless OpenZipFiles.
    bool IsFolder(const String& Name = L"", bool OpenZipFiles = true) const;
    bool IsFile(const String& Name = L"", bool OpenZipFiles = true) const;

    String PathName() const;
    String DisplayName(TacShowExtension ShowExt = seSystem) const;
    int ImageIndex(bool LargeIcon) const;
    bool ExecuteDefault();
    // False without fcCanRename; raises Exception "Rename to %s failed" when
    // the shell refuses. The item then names the renamed thing.
    bool Rename(const String& NewName);

    PItemIDList RelativeID() const { return FPIDL; }
    PItemIDList AbsoluteID() const { return FFullPIDL; }
    int Level() const { return FLevel; }
    TStrings* Details() const { return FDetails.get(); }
    HWND ViewHandle = nullptr;
    TacShellFolder* Parent() const { return FParent; }
    IShellFolder* ShellFolder() const { return FIShellFolder.Get(); }
    IShellFolder2* ShellFolder2();
    IShellDetails* ShellDetails();

private:
    PItemIDList FPIDL = nullptr;
    PItemIDList FFullPIDL = nullptr;
    int FLevel = 0;
    TOwned<TStrings> FDetails;
    TacShellFolder* FParent = nullptr;
    TComPtr<IShellFolder> FIShellFolder;
    TComPtr<IShellFolder2> FIShellFolder2;
    TComPtr<IShellDetails> FIShellDetails;
    TComPtr<IUnknown> FDetailInterface;
    bool detailsLoaded_ = false;
};

// ---------------------------------------------------------------------------
// Waits for changes in a folder and calls ChangeEvent on the main thread for
// each. Created suspended; SetDirectoryOptions wakes the worker, which then
// watches with the new options. Destruction ends the worker first and waits
// for it, even while it waits on a Synchronize.
class TacShellChangeThread : public TThread {
public:
    explicit TacShellChangeThread(TThreadMethod ChangeEvent);
    ~TacShellChangeThread() override;
    void BeforeDestruction() override;

    void SetDirectoryOptions(const String& Directory, bool WatchSubTree, DWORD NotifyOptionFlags);
    // Lets the worker look at its options again.
    void WakeUp();

    TThreadMethod ChangeEvent;

protected:
    void Execute() override;

private:
    // Re-creates the notification from the options; under the lock.
    void Rearm();

    // Auto-reset: one wake-up lets the worker pass once and wait again.
    TKernelHandle FWakeEvent;
    HANDLE FWaitHandle = INVALID_HANDLE_VALUE;   // the worker's own
    String FDirectory;
    bool FWatchSubTree = false;
    DWORD FNotifyOptionFlags = 0;
    bool FWaitChanged = false;
};

// ---------------------------------------------------------------------------
// The desktop's item, made at start-up.
extern TacShellFolder* RootShellFolder;
// The small system image list, wrapped at start-up (null when the shell gives none).
extern TsAlphaImageList* SystemImageList;
// Slots may be null; touched by the main thread only.
extern std::vector<TacShellChangeThread*> ShellChangeThreads;
// Guards the watch options between the main thread and the workers.
extern std::mutex ShellThreadLock;

void acShellCtrls_Initialize();
void acShellCtrls_Finalize();
