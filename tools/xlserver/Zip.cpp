#include "Zip.h"
#include "Error.h"
#include <windows.h>
#include <zlib.h>
#include <set>

namespace xlsx {

namespace {

constexpr std::uint32_t LocalSignature = 0x04034b50;
constexpr std::uint32_t CentralSignature = 0x02014b50;
constexpr std::uint32_t EndSignature = 0x06054b50;
constexpr std::uint16_t Utf8Names = 0x0800;
constexpr std::uint16_t Encrypted = 0x0001;
constexpr std::uint16_t Deflated = 8;
// A workbook part larger than this is not one we wrote nor one worth reading.
constexpr std::uint32_t MaxEntrySize = 512u * 1024 * 1024;

void Put16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::string Deflate(const std::string& data)
{
    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw Error(L"The compressor could not start.");
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END)
        throw Error(L"The compressor failed.");
    return out;
}

std::uint32_t Crc(const std::string& data)
{
    return crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()),
                 static_cast<uInt>(data.size()));
}

void RequireSpan(const std::string& bytes, std::size_t pos, std::size_t need)
{
    if (pos > bytes.size() || need > bytes.size() - pos)
        throw Error(L"The zip archive is truncated.");
}

// Little-endian fields at a checked position.
class Cursor {
public:
    Cursor(const std::string& bytes, std::size_t pos, std::size_t need) : bytes_(bytes), pos_(pos)
    {
        RequireSpan(bytes, pos, need);
    }
    std::uint32_t U16(std::size_t at) const
    {
        return static_cast<unsigned char>(bytes_[pos_ + at]) |
               static_cast<unsigned char>(bytes_[pos_ + at + 1]) << 8;
    }
    std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }

private:
    const std::string& bytes_;
    std::size_t pos_;
};

} // namespace

std::string WriteZip(const std::vector<ZipFile>& files)
{
    if (files.size() >= 0xFFFF)
        throw Error(L"Too many files for a zip archive.");
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::uint32_t dosTime = now.wHour << 11 | now.wMinute << 5 | now.wSecond / 2;
    const std::uint32_t dosDate = (now.wYear - 1980) << 9 | now.wMonth << 5 | now.wDay;

    std::string out, central;
    for (const ZipFile& file : files) {
        if (file.data.size() > MaxEntrySize || file.name.size() > 0xFFFF)
            throw Error(L"A workbook part is too large for the zip archive.");
        const std::string packed = Deflate(file.data);
        const std::uint32_t crc = Crc(file.data);
        const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
        if (out.size() + packed.size() + file.name.size() + 30 > 0xFFFFFFF0u)
            throw Error(L"The workbook is too large for a zip archive without zip64.");

        auto common = [&](std::string& to) {
            Put16(to, 20); // version needed: deflate
            Put16(to, Utf8Names);
            Put16(to, Deflated);
            Put16(to, dosTime);
            Put16(to, dosDate);
            Put32(to, crc);
            Put32(to, static_cast<std::uint32_t>(packed.size()));
            Put32(to, static_cast<std::uint32_t>(file.data.size()));
            Put16(to, static_cast<std::uint32_t>(file.name.size()));
            Put16(to, 0); // extra field
        };
        Put32(out, LocalSignature);
        common(out);
        out += file.name;
        out += packed;

        Put32(central, CentralSignature);
        Put16(central, 20); // made by: MS-DOS attributes, version 2.0
        common(central);
        Put16(central, 0); // comment
        Put16(central, 0); // disk
        Put16(central, 0); // internal attributes
        Put32(central, 0); // external attributes
        Put32(central, offset);
        central += file.name;
    }
    const std::uint32_t centralOffset = static_cast<std::uint32_t>(out.size());
    out += central;
    Put32(out, EndSignature);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(files.size()));
    Put16(out, static_cast<std::uint32_t>(files.size()));
    Put32(out, static_cast<std::uint32_t>(central.size()));
    Put32(out, centralOffset);
    Put16(out, 0);
    return out;
}

ZipReader::ZipReader(std::string bytes) : bytes_(std::move(bytes))
{
    if (bytes_.size() < 22)
        throw Error(L"The file is not a zip archive.");
    // The end record sits at the very end, after a comment of up to 64 KiB.
    std::size_t end = std::string::npos;
    const std::size_t last = bytes_.size() - 22;
    const std::size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
    for (std::size_t pos = last + 1; pos-- > first;) {
        Cursor c(bytes_, pos, 22);
        if (c.U32(0) == EndSignature && pos + 22 + c.U16(20) == bytes_.size()) {
            end = pos;
            break;
        }
    }
    if (end == std::string::npos)
        throw Error(L"The file is not a zip archive.");

    Cursor eocd(bytes_, end, 22);
    const std::uint32_t count = eocd.U16(10);
    const std::uint32_t centralSize = eocd.U32(12);
    const std::uint32_t centralOffset = eocd.U32(16);
    if (eocd.U16(4) != 0 || eocd.U16(6) != 0 || eocd.U16(8) != count)
        throw Error(L"Zip archives spanning several disks are not supported.");
    if (count == 0xFFFF || centralSize == 0xFFFFFFFF || centralOffset == 0xFFFFFFFF)
        throw Error(L"Zip64 archives are not supported.");
    if (std::size_t(centralOffset) + centralSize > end)
        throw Error(L"The zip archive's directory lies outside the file.");

    std::set<std::string> seen;
    std::size_t pos = centralOffset;
    for (std::uint32_t i = 0; i < count; ++i) {
        Cursor c(bytes_, pos, 46);
        if (c.U32(0) != CentralSignature)
            throw Error(L"The zip archive's directory is damaged.");
        const std::size_t nameLength = c.U16(28);
        const std::size_t skip = nameLength + c.U16(30) + c.U16(32);
        RequireSpan(bytes_, pos + 46, skip);
        Entry entry;
        entry.name = bytes_.substr(pos + 46, nameLength);
        entry.method = static_cast<std::uint16_t>(c.U16(10));
        entry.crc = c.U32(16);
        entry.compressedSize = c.U32(20);
        entry.size = c.U32(24);
        entry.localHeader = c.U32(42);
        if (c.U16(8) & Encrypted)
            throw Error(L"Encrypted zip archives are not supported.");
        if (entry.method != 0 && entry.method != Deflated)
            throw Error(L"The zip entry \"" + FromUtf8(entry.name, false) +
                        L"\" uses a compression method other than deflate.");
        if (entry.compressedSize == 0xFFFFFFFF || entry.size == 0xFFFFFFFF ||
            entry.localHeader == 0xFFFFFFFF)
            throw Error(L"Zip64 archives are not supported.");
        if (!seen.insert(entry.name).second)
            throw Error(L"The zip archive holds \"" + FromUtf8(entry.name, false) + L"\" twice.");
        entries_.push_back(std::move(entry));
        pos += 46 + skip;
    }
}

const ZipReader::Entry* ZipReader::Find(const std::string& name) const
{
    for (const Entry& entry : entries_)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

std::string ZipReader::Read(const std::string& name) const
{
    const Entry* entry = Find(name);
    if (!entry)
        throw Error(L"The zip archive has no \"" + FromUtf8(name, false) + L"\".");
    const std::wstring what = L"The zip entry \"" + FromUtf8(name, false) + L"\" ";
    Cursor local(bytes_, entry->localHeader, 30);
    if (local.U32(0) != LocalSignature)
        throw Error(what + L"has a damaged header.");
    const std::size_t start = std::size_t(entry->localHeader) + 30 + local.U16(26) + local.U16(28);
    RequireSpan(bytes_, start, entry->compressedSize);
    if (entry->size > MaxEntrySize)
        throw Error(what + L"is too large.");

    std::string data;
    if (entry->method == 0) {
        if (entry->compressedSize != entry->size)
            throw Error(what + L"has inconsistent sizes.");
        data = bytes_.substr(start, entry->size);
    } else {
        data.assign(entry->size, '\0');
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            throw Error(L"The decompressor could not start.");
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes_.data() + start));
        z.avail_in = entry->compressedSize;
        z.next_out = reinterpret_cast<Bytef*>(data.data());
        z.avail_out = entry->size;
        const int rc = inflate(&z, Z_FINISH);
        const uLong produced = z.total_out;
        inflateEnd(&z);
        if (rc != Z_STREAM_END || produced != entry->size)
            throw Error(what + L"is damaged (its compressed data does not inflate to its size).");
    }
    if (Crc(data) != entry->crc)
        throw Error(what + L"is damaged (CRC mismatch).");
    return data;
}

} // namespace xlsx
