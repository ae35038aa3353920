#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "engine/Session.h"

namespace cxb {

class HistoryBook;

// A recorded paper as one web page that can be copied anywhere: its
// pictures are inside it (data: addresses), it is UTF-8 as its <meta> says,
// and a header names the bank, the date taken and the score. The page with
// answers puts the learner's answer beside the right one. The plain pages
// h.htm and n.htm stay as they always were; this is what "保存...." writes
// and what the PDF is laid out from.
class TravellingPage {
public:
    TravellingPage(Session& s, HistoryBook& book);

    // The page of history entry `entry` (1..historyCount), UTF-8; empty for
    // an entry that is not there.
    std::string html(int entry, bool withAnswers);

    // A file's bytes as a data: address, its type told by its first bytes
    // (PNG, JPEG, GIF, BMP, SVG); nothing for bytes of no picture type.
    static std::optional<std::string> dataUri(std::string_view bytes);
    // The bytes of a base64 data: address; nothing for any other address or
    // a broken one.
    static std::optional<std::string> decodeDataUri(std::string_view uri);
    // The picture type of `bytes` ("image/png", …), or "".
    static const char* pictureType(std::string_view bytes);

    static std::string base64(std::string_view bytes);
    static std::optional<std::string> unbase64(std::string_view text);

    // Shown in the picture's place when its file cannot be read.
    static constexpr const char* kPictureMissing = "（图片缺失：";

private:
    std::string header(const HistoryEntry& e, bool withAnswers) const;
    std::string row(int position, const HistoryItem& item, bool withAnswers);
    std::string picture(const std::string& stored);

    Session& s_;
    HistoryBook& book_;
};

} // namespace cxb
