#include "data/SkinFile.h"

#include "data/FileBytes.h"

namespace cxb {

void SkinFile::parseLine(std::string_view line, std::string& key, std::string& value) {
    key.clear();
    value.clear();
    std::size_t i = 0;
    for (; i < line.size(); ++i) {
        char c = line[i];
        if (c == '/') return; // the rest of the line is a comment
        if (c == '=') break;
        key += c;
    }
    if (i == line.size()) return; // no "=": the whole line is the key
    i += 2;                        // "=" and the opening quote
    for (; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"' || c == '/' || c == '\n') break;
        value += c;
    }
}

void SkinFile::parse(std::string_view bytes, Strfile& table) {
    // Lines end in LF; a CR before it belongs to the line break.
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text += bytes[i];
    }
    std::string key, value;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && end - pos < kMaxLine) {
            if (text[end++] == '\n') break;
        }
        parseLine(std::string_view(text).substr(pos, end - pos), key, value);
        pos = end;
        if (lookup(table, key) == kAbsent) {
            if (table.pairCount + 1 >= Strfile::kPairs) continue; // no room left
            ++table.pairCount;
            table.pairs[table.pairCount] = {key, value};
        } else {
            for (int p = 0; p <= table.pairCount; ++p)
                if (table.pairs[p].key == key) table.pairs[p].value = value;
        }
    }
}

void SkinFile::load(Strfile& table, const std::string& nativePath) {
    if (auto bytes = readFileBytes(nativePath)) parse(*bytes, table);
}

std::string SkinFile::lookup(const Strfile& table, std::string_view key) {
    for (int p = 0; p <= table.pairCount && p < Strfile::kPairs; ++p)
        if (table.pairs[p].key == key) return table.pairs[p].value;
    return std::string(kAbsent);
}

} // namespace cxb
