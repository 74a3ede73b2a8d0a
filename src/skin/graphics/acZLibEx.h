// A read-only stream that inflates zlib data taken from another stream, and
// the zlib start-up that the PNG reader's decoder shares with it.
#pragma once

#include "Classes.h"
#include "SysUtils.h"
#include <zlib.h>

// zlib's own stream record; its size differs between the 32- and 64-bit builds.
using TZStreamRec = z_stream;

// The zlib codes -1 to -6, in that order.
enum TZError { zeError, zeStreamError, zeDataError, zeMemoryError, zeBufferError, zeVersionError };

class EZLibError : public Exception {
public:
    // The message is the code's text; the second argument is not used.
    EZLibError(int Code, const String& Dummy = String());
    EZLibError(TZError Error, const String& Dummy = String());
    // A misuse of the stream rather than of the data: code 0.
    explicit EZLibError(const String& Message);
    int ErrorCode() const { return FErrorCode; }

private:
    int FErrorCode = 0;
};
TAVELIN_EXCEPTION(EZDecompressionError, EZLibError)

// inflateInit for data with the zlib header and trailer (15-bit window).
int InflateInit(TZStreamRec& Stream);

class TCustomZStream : public TStream {
public:
    // Fired after every refill of the input buffer, with the stream as sender.
    TNotifyEvent OnProgress;

protected:
    // Keeps the source (not owned) and where it stands.
    explicit TCustomZStream(TStream* Stream);
    void Progress();

    TStream* FStream = nullptr;
    // Where this object last left the source.
    Int64 FStreamPos = 0;
    TZStreamRec FZStream{};
    Byte FBuffer[131072];
};

// Reads forward only; stops with the source standing just behind the
// compressed data. Position, Size and CopyFrom reach Seek.
class TZDecompressionStream : public TCustomZStream {
public:
    explicit TZDecompressionStream(TStream* Source);
    // WindowBits as zlib takes them (negative: raw deflate data).
    TZDecompressionStream(TStream* Source, int WindowBits);
    ~TZDecompressionStream() override;

    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    // Offset 0 from the beginning rewinds to where the stream was made; a
    // forward move inflates and discards; 0 from the end inflates the rest.
    // Returns the bytes delivered so far.
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    // The compressed data has ended with its checksum.
    bool Finished() const { return FLastResult == Z_STREAM_END; }

private:
    void StartBuffer();
    int Check(int Code);

    // The source position at creation: the start of the compressed data.
    Int64 FStartPos = 0;
    // zlib's total_out has 32 bits; an entry may inflate past 4 GB.
    Int64 FDelivered = 0;
    int FLastResult = Z_OK;
};
