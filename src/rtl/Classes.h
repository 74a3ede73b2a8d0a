// Persistent objects, components with ownership, lists, collections and
// string lists of the class library stand-in.
#pragma once

#include "System.h"
#include "SysUtils.h"
#include "UniqueHandle.h"
#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <vector>

class TComponent;
class TCollection;
class TStream;

// ---------------------------------------------------------------------------
// TPersistent: objects that can copy themselves from one another.
class TPersistent : public TObject {
public:
    // Copies Source into this object; raises EConvertError ("Cannot assign a
    // X to a Y") when neither side knows how.
    virtual void Assign(TPersistent* Source);
    virtual TPersistent* GetOwner() const { return nullptr; }
    // The dotted name path used in error texts and streaming.
    virtual String GetNamePath() const;

protected:
    virtual void AssignTo(TPersistent* Dest);
    [[noreturn]] void AssignError(TPersistent* Source);
};

// ---------------------------------------------------------------------------
// TList: an ordered list of untyped pointers.
class TList : public TObject {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    void* Get(int index) const;
    void Put(int index, void* item);
    void* operator[](int index) const { return Get(index); }
    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item);
    void* Extract(void* item);
    int IndexOf(void* item) const;
    void Clear() { items_.clear(); }
    void Exchange(int a, int b);
    void Move(int from, int to);
    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }
    void Sort(int (*compare)(void* a, void* b));
    void SetCount(int count);
    void Pack();

private:
    void CheckIndex(int index) const;
    std::vector<void*> items_;
};

// ---------------------------------------------------------------------------
// TComponent: an object with an owner that frees it, a name and a state.
enum TComponentStateItem {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
    csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = Set<TComponentStateItem>;
enum TOperation { opInsert, opRemove };
// Reading order and alignment of a control's text.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    void BeforeDestruction() override;

    TComponent* GetOwner() const override { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }
    int ComponentIndex() const;
    TComponent* FindComponent(const String& name) const;

    const String& GetName() const { return name_; }
    virtual void SetName(const String& name);
    intptr_t GetTag() const { return tag_; }
    void SetTag(intptr_t tag) { tag_ = tag; }
    TComponentState ComponentState() const { return state_; }

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    void Destroying();

    // Asks to be told (through Notification with opRemove) when AComponent goes.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Builds a component tree the way streaming from a form resource does:
    // BeginLoading marks this component (and everything it will own) as
    // loading; EndLoading runs Loaded on it and then on every owned
    // component, in creation order, which clears the loading state.
    void BeginLoading();
    void EndLoading();

    // Design-time state, for code paths that test it.
    void SetDesigning(bool value);

    String GetNamePath() const override;

protected:
    virtual void Loaded();
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    void SetState(TComponentStateItem item, bool on);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);
    void RemoveFreeNotifications();
    void CollectLoaded(std::vector<TComponent*>& into);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    String name_;
    intptr_t tag_ = 0;
    TComponentState state_;
};

// ---------------------------------------------------------------------------
// Collections: an owned list of items of one class that report their changes.
class TCollectionItem : public TPersistent {
public:
    // The item joins Collection (which may be null) in AfterConstruction,
    // when the derived part exists.
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;
    void AfterConstruction() override;

    TCollection* GetCollection() const { return collection_; }
    void SetCollection(TCollection* value);
    int GetIndex() const;
    virtual void SetIndex(int value);
    int GetID() const { return id_; }
    virtual String GetDisplayName() const;
    TPersistent* GetOwner() const override;
    String GetNamePath() const override;

protected:
    // Reports a change to the collection: this item only, or all items.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    TCollection* pendingCollection_ = nullptr;
    int id_ = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
public:
    using ItemFactory = std::function<TCollectionItem*(TCollection*)>;

    // Creates items of the class that Factory makes; Owner is what
    // GetOwner returns (the class library's owned collection).
    explicit TCollection(ItemFactory Factory, TPersistent* Owner = nullptr);
    ~TCollection() override;

    template <class T>
    static ItemFactory ItemClass()
    {
        return [](TCollection* c) -> TCollectionItem* { return New<T>(c); };
    }

    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* GetItem(int index) const;
    void SetItem(int index, TCollectionItem* value);
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;
    void Exchange(int a, int b);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return owner_; }
    String GetNamePath() const override;

protected:
    // Called after every change; Item is null when many items changed.
    virtual void Update(TCollectionItem* Item);
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void MoveItem(TCollectionItem* item, int newIndex);

    ItemFactory factory_;
    TPersistent* owner_ = nullptr;
    std::vector<TCollectionItem*> items_;
    int updateCount_ = 0;
    int nextId_ = 0;
};

// ---------------------------------------------------------------------------
// String lists.
enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual String Get(int index) const = 0;
    virtual void Put(int index, const String& s);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* obj);
    virtual void Insert(int index, const String& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    String operator[](int index) const { return Get(index); }
    virtual int Add(const String& s);
    virtual int AddObject(const String& s, TObject* obj);
    void InsertObject(int index, const String& s, TObject* obj);
    void Append(const String& s) { Add(s); }
    virtual void AddStrings(TStrings* strings);
    virtual int IndexOf(const String& s) const;
    int IndexOfName(const String& name) const;
    int IndexOfObject(TObject* obj) const;
    virtual void Exchange(int a, int b);
    virtual void Move(int from, int to);
    bool Equals(TStrings* other) const;

    // Name=Value pairs; names are compared without regard to case.
    String Names(int index) const;
    String GetValue(const String& name) const;
    void SetValue(const String& name, const String& value);
    String ValueFromIndex(int index) const;
    wchar_t NameValueSeparator = L'=';

    // Lines joined with LineBreak; setting splits on CR LF, LF or CR.
    virtual String GetText() const;
    virtual void SetText(const String& text);
    String LineBreak = L"\r\n";
    String GetCommaText() const;
    void SetCommaText(const String& text);
    String GetDelimitedText() const;
    void SetDelimitedText(const String& text);
    wchar_t Delimiter = L',';
    wchar_t QuoteChar = L'"';
    bool StrictDelimiter = false;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Text files and streams. Loading reads from the stream's position to its
    // end; without an Encoding a byte-order mark chooses UTF-8 or UTF-16 and
    // its absence the system code page. Saving without an Encoding uses the
    // one the last load found (the system code page when none), with its
    // byte-order mark when WriteBOM is set.
    virtual void LoadFromStream(TStream* Stream, TEncoding* Encoding = nullptr);
    virtual void SaveToStream(TStream* Stream, TEncoding* Encoding = nullptr) const;
    virtual void LoadFromFile(const String& FileName, TEncoding* Encoding = nullptr);
    virtual void SaveToFile(const String& FileName, TEncoding* Encoding = nullptr) const;
    TEncoding* GetEncoding() const { return encoding_; }
    bool WriteBOM = true;

    void Assign(TPersistent* Source) override;

protected:
    // Called with true when the first BeginUpdate starts and false when the
    // last EndUpdate ends.
    virtual void SetUpdateState(bool updating) {}
    virtual int CompareStrings(const String& a, const String& b) const;
    void Error(const String& text, int index) const;

private:
    int updateCount_ = 0;
    TEncoding* encoding_ = nullptr;
};

class TStringList : public TStrings {
public:
    using TStringListSortCompare = std::function<int(TStringList* list, int a, int b)>;

    TStringList() = default;
    explicit TStringList(bool ownsObjects) : OwnsObjects(ownsObjects) {}
    ~TStringList() override;

    int Count() const override { return static_cast<int>(items_.size()); }
    String Get(int index) const override;
    void Put(int index, const String& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    int Add(const String& s) override;
    int AddObject(const String& s, TObject* obj) override;
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int a, int b) override;
    int IndexOf(const String& s) const override;
    // AddObject for a text the list takes over, without a copy.
    int AddObjectTaking(String&& s, TObject* obj);
    // Moves the text at index out, leaving it empty there.
    String TakeString(int index);
    void Reserve(int count) { items_.reserve(static_cast<std::size_t>(std::max(count, 0))); }

    // Binary search of a sorted list; index is where s is or would go.
    virtual bool Find(const String& s, int& index) const;
    virtual void Sort();
    virtual void CustomSort(TStringListSortCompare compare);

    bool GetSorted() const { return sorted_; }
    void SetSorted(bool value);
    bool GetCaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);
    TDuplicates Duplicates = dupIgnore;
    bool OwnsObjects = false;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    int CompareStrings(const String& a, const String& b) const override;
    virtual void Changed();
    virtual void Changing();
    void InsertItem(int index, const String& s, TObject* obj);

private:
    struct Item {
        String text;
        TObject* object = nullptr;
    };
    void CheckIndex(int index) const;
    void QuickSort(int lo, int hi, const TStringListSortCompare& compare);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
};

// ---------------------------------------------------------------------------
// Streams. Positions and sizes are 64-bit; Read and Write move at most
// Count bytes and say how many they moved; ReadBuffer and WriteBuffer move
// all of them or raise EReadError / EWriteError.
enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    virtual int Read(void* Buffer, int Count) = 0;
    virtual int Write(const void* Buffer, int Count) = 0;
    virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

    void ReadBuffer(void* Buffer, Int64 Count);
    void WriteBuffer(const void* Buffer, Int64 Count);
    // Copies Count bytes from the source's position; Count 0 copies the
    // whole source from its beginning. Returns the bytes copied.
    Int64 CopyFrom(TStream* Source, Int64 Count);

    Int64 GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
    virtual Int64 GetSize();
    virtual void SetSize(Int64 NewSize);
};

// File access and sharing modes of TFileStream.
constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

// A stream over an open file handle, which it does not close.
class THandleStream : public TStream {
public:
    explicit THandleStream(HANDLE AHandle) : handle_(AHandle) {}
    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    void SetSize(Int64 NewSize) override;
    HANDLE GetHandle() const { return handle_; }

protected:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Opens (or with fmCreate creates) a file; raises EFOpenError or EFCreateError
// with the system's reason.
class TFileStream : public THandleStream {
public:
    TFileStream(const String& AFileName, Word Mode);
    const String& GetFileName() const { return fileName_; }

private:
    String fileName_;
    // The stream reads and writes through handle_; this closes it.
    TKernelHandle file_;
};

// A stream over a block of memory.
class TCustomMemoryStream : public TStream {
public:
    int Read(void* Buffer, int Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    Int64 GetSize() override { return size_; }
    void* Memory() const { return memory_; }
    void SaveToStream(TStream* Stream);
    void SaveToFile(const String& FileName);

protected:
    void SetPointer(void* Ptr, Int64 Size);
    Int64 position_ = 0;

private:
    void* memory_ = nullptr;
    Int64 size_ = 0;
};

// A growable stream in memory.
class TMemoryStream : public TCustomMemoryStream {
public:
    int Write(const void* Buffer, int Count) override;
    void SetSize(Int64 NewSize) override;
    void Clear();
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const String& FileName);

private:
    std::vector<Byte> data_;
};

// A read-only stream over a resource of a module.
class TResourceStream : public TCustomMemoryStream {
public:
    TResourceStream(HINSTANCE Instance, const String& ResName, LPCWSTR ResType);
    TResourceStream(HINSTANCE Instance, int ResID, LPCWSTR ResType);
    int Write(const void* Buffer, int Count) override;

private:
    void Initialize(HINSTANCE Instance, LPCWSTR Name, LPCWSTR ResType, const String& displayName);
};

// A memory stream holding text in an encoding (UTF-8 unless another is given).
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const String& AString = String(), TEncoding* AEncoding = nullptr);
    // The whole content as text.
    String DataString();
    // Count bytes from the position, as text.
    String ReadString(int Count);
    void WriteString(const String& AString);
    TEncoding* GetEncoding() const { return encoding_; }

private:
    TEncoding* encoding_ = nullptr;
};

// ---------------------------------------------------------------------------
// Binary component streams: the values of the class library's component
// images ("TPF0", class name, component name, properties, end marks), written
// and read one at a time. A component image is written by its class, which
// knows its own properties; TWriter and TReader know the value encoding.
enum TValueType {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
    vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
    vaInt64, vaUTF8String, vaDouble
};

class TWriter : public TObject {
public:
    explicit TWriter(TStream* Stream) : stream_(Stream) {}

    // The four bytes "TPF0" that open a component image.
    void WriteSignature();
    // A short string (length byte, 8-bit characters): class, component and
    // property names, and identifiers. Longer names raise EWriteError.
    void WriteStr(const String& Value);
    void WritePropName(const String& Name) { WriteStr(Name); }
    void WriteValue(TValueType Value);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }

    // In the fewest bytes that hold it.
    void WriteInteger(Int64 Value);
    void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
    // 7-bit text as 8-bit characters, any other text as UTF-16.
    void WriteString(const String& Value);
    // An 80-bit extended value.
    void WriteFloat(double Value);
    // An enumeration value; False, True, nil and Null take their own codes.
    void WriteIdent(const String& Ident);
    // The members of a set by name.
    void WriteSet(const std::vector<String>& Members);
    // A 32-bit length, then the bytes.
    void WriteBinary(const void* Data, Int64 Count);

private:
    void Put(const void* Data, Int64 Count);
    TStream* stream_ = nullptr;
};

// Every read checks the value type it meets and raises EReadError for a
// value of another type, a length past the end of the stream or a stream
// that ends early.
class TReader : public TObject {
public:
    explicit TReader(TStream* Stream) : stream_(Stream) {}

    // Reads "TPF0".
    void ReadSignature();
    String ReadStr();
    String ReadPropName() { return ReadStr(); }
    TValueType ReadValue();
    // The next value type, left in the stream.
    TValueType NextValue();
    // The next byte is the end mark of a list (of values, properties or
    // components); it is left in the stream.
    bool EndOfList();
    void ReadListBegin() { CheckValue(vaList); }
    void ReadListEnd() { CheckValue(vaNull); }

    Integer ReadInteger();
    Int64 ReadInt64();
    bool ReadBoolean();
    String ReadString();
    double ReadFloat();
    String ReadIdent();
    std::vector<String> ReadSet();
    std::vector<Byte> ReadBinary();

    // Bytes left after the position.
    Int64 Remaining();

private:
    void CheckValue(TValueType Expected);
    void Get(void* Data, Int64 Count);
    // A 32-bit length of UnitSize-byte units that the stream still holds.
    Int64 ReadLength(Int64 UnitSize);
    String ReadStringOf(TValueType Type);
    TStream* stream_ = nullptr;
};

// A collection as the filer's collection value: a list of the items'
// property lists. WriteItemAt(i) writes item i's properties.
template <class WriteItemAt>
void WriteCollectionValue(TWriter& Writer, int Count, WriteItemAt WriteItem)
{
    Writer.WriteValue(vaCollection);
    for (int i = 0; i < Count; ++i) {
        Writer.WriteListBegin();
        WriteItem(i);
        Writer.WriteListEnd();
    }
    Writer.WriteListEnd();
}

// Reads such a value into Collection, whose items it replaces; AddItem makes
// the next item, whose ReadProperty(Reader, Name) takes the properties it
// knows. Anything but a collection value raises before the items change.
template <class AddItemFn>
void ReadCollectionValue(TReader& Reader, TCollection& Collection, AddItemFn AddItem)
{
    if (Reader.ReadValue() != vaCollection)
        throw EReadError(L"Invalid property value");
    Collection.BeginUpdate();
    struct TEndUpdate {
        TCollection& C;
        ~TEndUpdate() { C.EndUpdate(); }
    } endUpdate{Collection};
    Collection.Clear();
    while (!Reader.EndOfList()) {
        Reader.ReadListBegin();
        auto* item = AddItem();
        while (!Reader.EndOfList()) {
            const String name = Reader.ReadPropName();
            if (!item->ReadProperty(Reader, name))
                throw EReadError(L"Property " + name + L" does not exist");
        }
        Reader.ReadListEnd();
    }
    Reader.ReadListEnd();
}

// ---------------------------------------------------------------------------
// Threads.
//
// Calls for the main thread: TThread::Synchronize (waits for the call to
// finish) and TThread::Queue (does not) put a call into one process-wide
// queue and then invoke WakeMainThread, so that the main thread notices. The
// main thread runs the queued calls, in order, in CheckSynchronize. The
// application object sets WakeMainThread (typically to post itself a
// message) and calls CheckSynchronize from its message loop and when idle.
// Called on the main thread itself, both run the call at once.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
using TThreadMethod = std::function<void()>;

extern std::function<void()> WakeMainThread;
// The thread that runs the queued calls (the one that started the program).
extern DWORD MainThreadID;
// Runs every call waiting for the main thread, after waiting up to Timeout
// milliseconds for one to arrive. True when something ran. Raises EThread
// when called from another thread.
bool CheckSynchronize(int Timeout = 0);

class TThread : public TObject {
public:
    explicit TThread(bool CreateSuspended = false);
    // The thread starts here unless it was created suspended.
    void AfterConstruction() override;
    // Freeing a running thread terminates it and waits for it to end.
    void BeforeDestruction() override;

    void Start();
    void Resume() { Start(); }
    // Asks Execute to finish; Execute must look at Terminated().
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Waits for the thread to end and returns ReturnValue. On the main
    // thread it keeps running queued calls, so a thread inside Synchronize
    // can finish.
    int WaitFor();

    bool GetFreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool Value) { freeOnTerminate_ = Value; }
    TThreadPriority GetPriority() const;
    void SetPriority(TThreadPriority Value);
    bool GetSuspended() const { return !started_; }
    bool GetFinished() const { return finished_; }
    HANDLE GetHandle() const { return handle_.Get(); }
    DWORD GetThreadID() const { return threadId_; }
    // What escaped Execute, if anything.
    std::exception_ptr FatalException;

    // Runs on the main thread after Execute has ended.
    TNotifyEvent OnTerminate;

    // Runs Method on the main thread and waits; an exception it raises is
    // raised again in the calling thread.
    void Synchronize(const TThreadMethod& Method) { Synchronize(this, Method); }
    static void Synchronize(TThread* AThread, const TThreadMethod& Method);
    // Hands Method to the main thread and returns at once.
    void Queue(const TThreadMethod& Method) { Queue(this, Method); }
    static void Queue(TThread* AThread, const TThreadMethod& Method);
    // Drops the calls AThread queued that have not run yet.
    static void RemoveQueuedEvents(TThread* AThread);

protected:
    virtual void Execute() = 0;
    // Fires OnTerminate on the main thread.
    virtual void DoTerminate();
    int ReturnValue = 0;

private:
    static DWORD WINAPI ThreadProc(LPVOID self);

    TKernelHandle handle_;
    DWORD threadId_ = 0;
    bool createSuspended_ = false;
    std::atomic<bool> started_{false};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> freeOnTerminate_{false};
};

// ---------------------------------------------------------------------------
// Component classes that streaming can create by their class name (the
// class library's class registration; named apart from the platform's
// RegisterClass). Registering a name again replaces its factory.
using TComponentFactory = std::function<TComponent*(TComponent* AOwner)>;
void RegisterStreamClass(const String& ClassName, TComponentFactory Factory);
void UnRegisterStreamClass(const String& ClassName);
// The registered factory, or an empty one.
TComponentFactory FindStreamClass(const String& ClassName);
