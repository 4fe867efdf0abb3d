// Reading an EMF back record by record, for the tests of the metafile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct EmfRecord {
    uint32_t type = 0;
    std::string bytes;  // the whole record
    uint32_t U32(size_t at) const {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes.at(at + i));
        return v;
    }
    int16_t I16(size_t at) const {
        return static_cast<int16_t>(static_cast<unsigned char>(bytes.at(at)) |
                                    static_cast<unsigned char>(bytes.at(at + 1)) << 8);
    }
};

// The records, or none when a size field does not fit the file.
inline std::vector<EmfRecord> ReadEmf(const std::string& file) {
    std::vector<EmfRecord> records;
    for (size_t at = 0; at + 8 <= file.size();) {
        EmfRecord record;
        record.bytes = file.substr(at, 8);
        const uint32_t size = record.U32(4);
        if (size < 8 || size % 4 != 0 || at + size > file.size()) return {};
        record.bytes = file.substr(at, size);
        record.type = record.U32(0);
        records.push_back(record);
        at += size;
    }
    return records;
}

inline std::vector<EmfRecord> OfType(const std::vector<EmfRecord>& records, uint32_t type) {
    std::vector<EmfRecord> found;
    for (const EmfRecord& r : records)
        if (r.type == type) found.push_back(r);
    return found;
}
