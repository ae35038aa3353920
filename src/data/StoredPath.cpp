#include "data/StoredPath.h"

#include "data/Gbk.h"

namespace cxb {

namespace {

// Position of the first real backslash at or after `from`, or npos. GBK trail
// bytes can be 0x5C: a lead byte (0x81..0xFE) always takes the byte after it,
// also when the pair has no Unicode form (the user-defined areas).
std::size_t findSeparator(std::string_view gbkText, std::size_t from) {
    for (std::size_t i = from; i < gbkText.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(gbkText[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < gbkText.size())
            ++i;
        else if (c == '\\')
            return i;
    }
    return std::string_view::npos;
}

} // namespace

std::string toNativePath(std::string_view storedGbk) {
    // Split at the real backslashes first, then decode each part.
    std::string path;
    std::size_t start = 0;
    for (std::size_t sep; (sep = findSeparator(storedGbk, start)) != std::string_view::npos; start = sep + 1) {
        path += gbk::toUtf8Lossy(storedGbk.substr(start, sep - start));
        path += '/';
    }
    path += gbk::toUtf8Lossy(storedGbk.substr(start));
    return path;
}

std::string toStoredPath(std::string_view nativeUtf8, bool* ok) {
    std::string utf8(nativeUtf8);
    for (char& c : utf8)
        if (c == '/') c = '\\';
    auto gbkText = gbk::fromUtf8(utf8);
    if (ok) *ok = gbkText.has_value();
    return gbkText ? *gbkText : gbk::fromUtf8Lossy(utf8);
}

std::string inProgramFolder(const std::string& programFolder, std::string_view storedGbk) {
    std::string p = toNativePath(storedGbk);
    if (programFolder.empty() || (!p.empty() && p[0] == '/')) return p;
    return programFolder + "/" + p;
}

bool isOwnPicturePath(std::string_view storedName, bool extraBank) {
    return extraBank && findSeparator(storedName, 0) != std::string_view::npos;
}

std::string picturePath(std::string_view storedName, bool extraBank) {
    return isOwnPicturePath(storedName, extraBank) ? std::string(storedName) : "bankdata\\" + std::string(storedName);
}

PictureRef resolvePicture(std::string_view storedName, bool extraBank) {
    PictureRef ref;
    for (char c : storedName)
        if (c != ' ') ref.name += c;
    if (ref.name.empty()) return ref;
    ref.storedPath = picturePath(ref.name, extraBank);
    ref.nativePath = toNativePath(ref.storedPath);
    return ref;
}

} // namespace cxb
