#include "data/StoredPath.h"

#include "data/Gbk.h"

namespace cxb {

std::string toNativePath(std::string_view storedGbk) {
    std::string path = gbk::toUtf8Lossy(storedGbk);
    // GBK trail bytes can be 0x5C, so the backslashes are replaced only
    // after decoding.
    for (char& c : path)
        if (c == '\\') c = '/';
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

PictureRef resolvePicture(std::string_view storedName, bool extraBank) {
    PictureRef ref;
    for (char c : storedName)
        if (c != ' ') ref.name += c;
    if (ref.name.empty()) return ref;
    bool ownPath = false;
    if (extraBank) {
        // Look for a real backslash, not the trail byte of a GBK character.
        std::string utf8 = gbk::toUtf8Lossy(ref.name);
        ownPath = utf8.find('\\') != std::string::npos;
    }
    ref.storedPath = ownPath ? ref.name : "bankdata\\" + ref.name;
    ref.nativePath = toNativePath(ref.storedPath);
    return ref;
}

} // namespace cxb
