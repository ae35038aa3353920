#pragma once
#include <string>
#include <string_view>

namespace cxb {

// Names stored in the bank and state files are GBK with Windows
// backslashes. They stay like that everywhere except at the moment a file is
// opened, when they become native paths (UTF-8, "/").
std::string toNativePath(std::string_view storedGbk);
// A native (UTF-8) path typed by the user, in stored form (GBK). Returns
// false in `ok` when a character has no GBK form.
std::string toStoredPath(std::string_view nativeUtf8, bool* ok = nullptr);

// Where a question's picture is found.
struct PictureRef {
    std::string name;       // the stored name with every blank removed (GBK)
    std::string storedPath; // "bankdata\" + name, or the name itself (GBK)
    std::string nativePath; // storedPath as a native path
    bool empty() const { return name.empty(); }
};

// The native path of a stored path relative to the program's folder
// `programFolder` (the working directory when empty); an absolute path stays
// as it is. Every file the program names by a stored path is found this way.
std::string inProgramFolder(const std::string& programFolder, std::string_view storedGbk);

// An extra bank may name a picture by a path of its own: any name with a
// real backslash (not a GBK trail byte).
bool isOwnPicturePath(std::string_view storedName, bool extraBank);
// The stored path of a picture name as it stands: the name itself when it is
// a path of its own, else "bankdata\" + name.
std::string picturePath(std::string_view storedName, bool extraBank);

// An extra bank may name pictures by a path of their own (any name with a
// backslash); everything else lives under "bankdata\".
PictureRef resolvePicture(std::string_view storedName, bool extraBank);

} // namespace cxb
