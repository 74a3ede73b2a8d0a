// A small zip archive writer and reader: deflate through zlib, no encryption,
// no zip64, which is all a workbook needs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace xlsx {

struct ZipFile {
    std::string name; // UTF-8, '/' separated
    std::string data;
};

// The archive's bytes, every entry deflated.
std::string WriteZip(const std::vector<ZipFile>& files);

class ZipReader {
public:
    struct Entry {
        std::string name;
        std::uint16_t method = 0; // 0 stored, 8 deflated
        std::uint32_t crc = 0;
        std::uint32_t compressedSize = 0;
        std::uint32_t size = 0;
        std::uint32_t localHeader = 0;
    };

    // Reads the central directory; raises Error when the bytes are not an archive it can read.
    explicit ZipReader(std::string bytes);

    const std::vector<Entry>& Entries() const { return entries_; }
    const Entry* Find(const std::string& name) const;
    // The entry's data, checked against its size and CRC; raises Error.
    std::string Read(const std::string& name) const;

private:
    std::string bytes_;
    std::vector<Entry> entries_;
};

} // namespace xlsx
