#include "acZLibEx.h"
#include <algorithm>

namespace {

// Indexed by 2 minus the zlib code.
constexpr const wchar_t* ZErrorMessages[] = {
    L"need dictionary", L"stream end", L"ok", L"file error", L"stream error",
    L"data error", L"insufficient memory", L"buffer error", L"incompatible version",
};

String ZErrorMessage(int code)
{
    int index = 2 - code;
    return index >= 0 && index < static_cast<int>(std::size(ZErrorMessages)) ? ZErrorMessages[index] : String();
}

const wchar_t InvalidOperation[] = L"Invalid ZStream operation!";
constexpr int SeekBlock = 16384;

} // namespace

EZLibError::EZLibError(int Code, const String&) : Exception(ZErrorMessage(Code)), FErrorCode(Code) {}

EZLibError::EZLibError(TZError Error, const String& Dummy) : EZLibError(-1 - static_cast<int>(Error), Dummy) {}

EZLibError::EZLibError(const String& Message) : Exception(Message) {}

// zlib looks only at the first digit of the version it is given.
int InflateInit(TZStreamRec& Stream) { return inflateInit_(&Stream, "1.2.3", static_cast<int>(sizeof(TZStreamRec))); }

// ---------------------------------------------------------------------------
TCustomZStream::TCustomZStream(TStream* Stream) : FStream(Stream), FStreamPos(Stream->GetPosition()) {}

void TCustomZStream::Progress() { FireEvent(OnProgress, this); }

// ---------------------------------------------------------------------------
TZDecompressionStream::TZDecompressionStream(TStream* Source) : TCustomZStream(Source), FStartPos(FStreamPos)
{
    StartBuffer();
    Check(InflateInit(FZStream));
}

TZDecompressionStream::TZDecompressionStream(TStream* Source, int WindowBits)
    : TCustomZStream(Source), FStartPos(FStreamPos)
{
    StartBuffer();
    Check(inflateInit2_(&FZStream, WindowBits, "1.2.3", static_cast<int>(sizeof(TZStreamRec))));
}

TZDecompressionStream::~TZDecompressionStream() { inflateEnd(&FZStream); }

void TZDecompressionStream::StartBuffer()
{
    FZStream.next_in = FBuffer;
    FZStream.avail_in = 0;
}

int TZDecompressionStream::Check(int Code)
{
    if (Code < 0)
        throw EZDecompressionError(Code);
    return Code;
}

int TZDecompressionStream::Read(void* Buffer, int Count)
{
    // A negative count would become a huge avail_out: it reads nothing.
    Count = std::max(Count, 0);
    // Damaged data stays damaged, also once its input is used up.
    if (FLastResult < 0 || FLastResult == Z_NEED_DICT)
        throw EZDecompressionError(FLastResult);
    FZStream.next_out = static_cast<Bytef*>(Buffer);
    FZStream.avail_out = static_cast<uInt>(Count);
    // Whoever read the source between two calls does not disturb the stream.
    if (FStream->GetPosition() != FStreamPos)
        FStream->SetPosition(FStreamPos);
    auto delivered = [&] {
        int done = Count - static_cast<int>(FZStream.avail_out);
        FDelivered += done;
        return done;
    };
    while (FZStream.avail_out > 0 && FLastResult != Z_STREAM_END) {
        if (FZStream.avail_in == 0) {
            int got = FStream->Read(FBuffer, sizeof(FBuffer));
            if (got <= 0)
                return delivered();
            FZStream.avail_in = static_cast<uInt>(got);
            FZStream.next_in = FBuffer;
            FStreamPos = FStream->GetPosition();
            Progress();
        }
        FLastResult = inflate(&FZStream, Z_NO_FLUSH);
        // No dictionary can be given: calling inflate again would not move.
        if (FLastResult < 0 || FLastResult == Z_NEED_DICT)
            throw EZDecompressionError(FLastResult);
    }
    if (FLastResult == Z_STREAM_END && FZStream.avail_in > 0) {
        // Leave the source on the first byte behind the compressed data.
        FStream->Seek(-static_cast<Int64>(FZStream.avail_in), soCurrent);
        FStreamPos = FStream->GetPosition();
        FZStream.avail_in = 0;
    }
    return delivered();
}

int TZDecompressionStream::Write(const void*, int) { throw EZDecompressionError(String(InvalidOperation)); }

Int64 TZDecompressionStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
    Byte scratch[SeekBlock];
    if (Offset == 0 && Origin == soBeginning) {
        Check(inflateReset(&FZStream));
        StartBuffer();
        FLastResult = Z_OK;
        FDelivered = 0;
        // Entries of a packed skin start mid-file: rewind to this entry's start.
        FStream->SetPosition(FStartPos);
        FStreamPos = FStartPos;
    } else if ((Origin == soCurrent && Offset >= 0) || (Origin == soBeginning && Offset > FDelivered)) {
        Int64 distance = Origin == soCurrent ? Offset : Offset - FDelivered;
        for (Int64 block = distance / SeekBlock; block > 0; --block)
            ReadBuffer(scratch, SeekBlock);
        ReadBuffer(scratch, distance % SeekBlock);
    } else if (Offset == 0 && Origin == soEnd) {
        while (Read(scratch, SeekBlock) > 0) {
        }
    } else {
        throw EZDecompressionError(String(InvalidOperation));
    }
    return FDelivered;
}
