// The install manifest reader for arbitrary text: it either refuses the text
// or reads files whose written form reads back to the same files, and every
// path it keeps is relative and a single line.
#include <cstdlib>
#include <string_view>

#include "data/InstallManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto manifest = cxb::InstallManifest::parse(text);
    if (!manifest) return 0;
    if (!text.starts_with(cxb::InstallManifest::kFirstLine)) std::abort();
    for (const auto& [path, sum] : manifest->files) {
        if (path.empty() || path.front() == '/' || path.find('\n') != std::string::npos) std::abort();
        if (sum.size() != 64) std::abort();
    }
    const std::string written = manifest->serialize();
    auto again = cxb::InstallManifest::parse(written);
    if (!again || again->files != manifest->files || again->serialize() != written) std::abort();
    return 0;
}
