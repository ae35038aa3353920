#include "data/Gbk.h"

#include <cerrno>
#include <iconv.h>

namespace cxb::gbk {
namespace {

// Windows code page 936 is GBK plus the euro sign at 0x80; glibc's CP936
// covers exactly that.
constexpr const char* kGbk = "CP936";

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() { if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; on an invalid sequence either fails or writes
    // `replacement` and skips `skip` bytes.
    std::optional<std::string> run(std::string_view in, const char* replacement, std::size_t skip) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.reserve(in.size() * 3 / 2 + 4);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buf[1024];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (rc == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                if (!replacement) return std::nullopt;
                out += replacement;
                std::size_t n = skip < srcLeft ? skip : srcLeft;
                // For UTF-8 input skip the whole character.
                if (skip == 0) {
                    n = 1;
                    while (n < srcLeft && (static_cast<unsigned char>(src[n]) & 0xC0) == 0x80) ++n;
                }
                src += n;
                srcLeft -= n;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t cd_;
};

Converter& toUtf8Converter() { thread_local Converter c("UTF-8", kGbk); return c; }
Converter& fromUtf8Converter() { thread_local Converter c(kGbk, "UTF-8"); return c; }

bool isAscii(std::string_view s) {
    for (unsigned char ch : s)
        if (ch >= 0x80) return false;
    return true;
}

} // namespace

std::optional<std::string> toUtf8(std::string_view gbk) {
    if (isAscii(gbk)) return std::string(gbk);
    return toUtf8Converter().run(gbk, nullptr, 1);
}

std::string toUtf8Lossy(std::string_view gbk) {
    if (isAscii(gbk)) return std::string(gbk);
    return toUtf8Converter().run(gbk, "\xEF\xBF\xBD", 1).value_or(std::string());
}

std::optional<std::string> fromUtf8(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    return fromUtf8Converter().run(utf8, nullptr, 0);
}

std::string fromUtf8Lossy(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    return fromUtf8Converter().run(utf8, "?", 0).value_or(std::string());
}

std::size_t prefixAtBoundary(std::string_view gbk, std::size_t maxBytes) {
    std::size_t i = 0;
    while (i < gbk.size()) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        std::size_t len = (c >= 0x81 && c <= 0xFE && i + 1 < gbk.size()) ? 2 : 1;
        if (i + len > maxBytes) break;
        i += len;
    }
    return i;
}

} // namespace cxb::gbk
