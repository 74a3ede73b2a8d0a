// Streams: the base class, file handles, memory and resources.
#include "Classes.h"
#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------------------
// TStream

void TStream::ReadBuffer(void* Buffer, Int64 Count)
{
    auto* p = static_cast<Byte*>(Buffer);
    while (Count > 0) {
        int chunk = static_cast<int>(std::min<Int64>(Count, 0x40000000));
        int got = Read(p, chunk);
        if (got <= 0)
            throw EReadError(L"Stream read error");
        p += got;
        Count -= got;
    }
}

void TStream::WriteBuffer(const void* Buffer, Int64 Count)
{
    auto* p = static_cast<const Byte*>(Buffer);
    while (Count > 0) {
        int chunk = static_cast<int>(std::min<Int64>(Count, 0x40000000));
        int put = Write(p, chunk);
        if (put <= 0)
            throw EWriteError(L"Stream write error");
        p += put;
        Count -= put;
    }
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count)
{
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->GetSize();
    }
    const Int64 total = Count;
    std::vector<Byte> buffer(static_cast<std::size_t>(std::min<Int64>(Count, 0xF000)));
    while (Count > 0) {
        int chunk = static_cast<int>(std::min<Int64>(Count, static_cast<Int64>(buffer.size())));
        Source->ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        Count -= chunk;
    }
    return total;
}

Int64 TStream::GetSize()
{
    Int64 pos = Seek(0, soCurrent);
    Int64 size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(Int64) {}

// ---------------------------------------------------------------------------
// THandleStream and TFileStream

int THandleStream::Read(void* Buffer, int Count)
{
    DWORD got = 0;
    if (Count <= 0 || !ReadFile(handle_, Buffer, static_cast<DWORD>(Count), &got, nullptr))
        return 0;
    return static_cast<int>(got);
}

int THandleStream::Write(const void* Buffer, int Count)
{
    DWORD put = 0;
    if (Count <= 0 || !WriteFile(handle_, Buffer, static_cast<DWORD>(Count), &put, nullptr))
        return 0;
    return static_cast<int>(put);
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
    LARGE_INTEGER distance, result;
    distance.QuadPart = Offset;
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (!SetFilePointerEx(handle_, distance, &result, methods[Origin]))
        return -1;
    return result.QuadPart;
}

void THandleStream::SetSize(Int64 NewSize)
{
    Seek(NewSize, soBeginning);
    if (!SetEndOfFile(handle_))
        RaiseLastOSError();
}

TFileStream::TFileStream(const String& AFileName, Word Mode)
    : THandleStream(INVALID_HANDLE_VALUE), fileName_(AFileName)
{
    static const DWORD shareModes[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE};
    DWORD share = shareModes[std::min((Mode & 0xF0) >> 4, 4)];
    if ((Mode & fmCreate) == fmCreate) {
        handle_ = CreateFileW(AFileName.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            throw EFCreateError(L"Cannot create file \"" + ExpandFileName(AFileName) + L"\". " +
                                SysErrorMessage(GetLastError()));
        file_.Reset(handle_);
        return;
    }
    static const DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    handle_ = CreateFileW(AFileName.c_str(), access[std::min(Mode & 3, 2)], share, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        throw EFOpenError(L"Cannot open file \"" + ExpandFileName(AFileName) + L"\". " +
                          SysErrorMessage(GetLastError()));
    file_.Reset(handle_);
}

// ---------------------------------------------------------------------------
// Memory streams

void TCustomMemoryStream::SetPointer(void* Ptr, Int64 Size)
{
    memory_ = Ptr;
    size_ = Size;
}

int TCustomMemoryStream::Read(void* Buffer, int Count)
{
    if (Count <= 0 || position_ < 0 || position_ >= size_)
        return 0;
    Int64 n = std::min<Int64>(Count, size_ - position_);
    std::memcpy(Buffer, static_cast<const Byte*>(memory_) + position_, static_cast<std::size_t>(n));
    position_ += n;
    return static_cast<int>(n);
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case soBeginning: position_ = Offset; break;
    case soCurrent: position_ += Offset; break;
    case soEnd: position_ = size_ + Offset; break;
    }
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream)
{
    if (size_ > 0)
        Stream->WriteBuffer(memory_, size_);
}

void TCustomMemoryStream::SaveToFile(const String& FileName)
{
    TOwned<TFileStream> file(New<TFileStream>(FileName, fmCreate));
    SaveToStream(file.get());
}

int TMemoryStream::Write(const void* Buffer, int Count)
{
    if (Count <= 0 || position_ < 0)
        return 0;
    Int64 end = position_ + Count;
    if (end > GetSize())
        SetSize(end);
    std::memcpy(data_.data() + position_, Buffer, static_cast<std::size_t>(Count));
    position_ = end;
    return Count;
}

void TMemoryStream::SetSize(Int64 NewSize)
{
    Int64 old = position_;
    data_.resize(static_cast<std::size_t>(std::max<Int64>(NewSize, 0)));
    SetPointer(data_.data(), static_cast<Int64>(data_.size()));
    if (old > NewSize)
        position_ = NewSize;
}

void TMemoryStream::Clear()
{
    data_.clear();
    data_.shrink_to_fit();
    SetPointer(nullptr, 0);
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
    Stream->SetPosition(0);
    Int64 size = Stream->GetSize();
    SetSize(size);
    if (size > 0)
        Stream->ReadBuffer(data_.data(), size);
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName)
{
    TOwned<TFileStream> file(New<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
    LoadFromStream(file.get());
}

TResourceStream::TResourceStream(HINSTANCE Instance, const String& ResName, LPCWSTR ResType)
{
    Initialize(Instance, ResName.c_str(), ResType, ResName);
}

TResourceStream::TResourceStream(HINSTANCE Instance, int ResID, LPCWSTR ResType)
{
    Initialize(Instance, MAKEINTRESOURCEW(ResID), ResType, IntToStr(ResID));
}

void TResourceStream::Initialize(HINSTANCE Instance, LPCWSTR Name, LPCWSTR ResType,
                                 const String& displayName)
{
    HRSRC info = FindResourceW(Instance, Name, ResType);
    HGLOBAL global = info ? LoadResource(Instance, info) : nullptr;
    if (!global)
        throw EResNotFound(L"Resource " + displayName + L" not found");
    // Resources stay mapped for the life of the module; nothing to free.
    SetPointer(LockResource(global), SizeofResource(Instance, info));
}

int TResourceStream::Write(const void*, int)
{
    throw EStreamError(L"Can't write to a read-only resource stream");
}

// ---------------------------------------------------------------------------
// TStringStream

TStringStream::TStringStream(const String& AString, TEncoding* AEncoding)
    : encoding_(TEncoding::Shared(AEncoding ? AEncoding : TEncoding::UTF8()))
{
    WriteString(AString);
    SetPosition(0);
}

String TStringStream::DataString()
{
    return encoding_->GetString(static_cast<const Byte*>(Memory()),
                                static_cast<std::size_t>(GetSize()));
}

String TStringStream::ReadString(int Count)
{
    TBytes bytes(static_cast<std::size_t>(std::max(0, Count)));
    bytes.resize(static_cast<std::size_t>(Read(bytes.data(), Count)));
    return encoding_->GetString(bytes);
}

void TStringStream::WriteString(const String& AString)
{
    TBytes bytes = encoding_->GetBytes(AString);
    if (!bytes.empty())
        WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}
