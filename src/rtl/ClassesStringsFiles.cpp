// TStrings to and from streams and files in an encoding.
#include "Classes.h"

void TStrings::LoadFromStream(TStream* Stream, TEncoding* Encoding)
{
    Int64 size = Stream->GetSize() - Stream->GetPosition();
    // The decoding counts bytes in an int; refused before the buffer is made.
    if (size > 0x7FFFFFFF)
        throw EEncodingError(L"A text of " + IntToStr(size) + L" bytes is more than can be read at once");
    TBytes buffer(static_cast<std::size_t>(size > 0 ? size : 0));
    if (!buffer.empty())
        Stream->ReadBuffer(buffer.data(), static_cast<Int64>(buffer.size()));
    int skip = TEncoding::GetBufferEncoding(buffer, Encoding);
    encoding_ = TEncoding::Shared(Encoding);
    SetText(Encoding->GetString(buffer.data() + skip, buffer.size() - static_cast<std::size_t>(skip)));
}

void TStrings::SaveToStream(TStream* Stream, TEncoding* Encoding) const
{
    if (!Encoding)
        Encoding = encoding_ ? encoding_ : TEncoding::Default();
    if (WriteBOM) {
        TBytes mark = Encoding->GetPreamble();
        if (!mark.empty())
            Stream->WriteBuffer(mark.data(), static_cast<Int64>(mark.size()));
    }
    TBytes bytes = Encoding->GetBytes(GetText());
    if (!bytes.empty())
        Stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

void TStrings::LoadFromFile(const String& FileName, TEncoding* Encoding)
{
    TOwned<TFileStream> file(New<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
    LoadFromStream(file.get(), Encoding);
}

void TStrings::SaveToFile(const String& FileName, TEncoding* Encoding) const
{
    TOwned<TFileStream> file(New<TFileStream>(FileName, fmCreate));
    SaveToStream(file.get(), Encoding);
}
