// The data: addresses the PDF reads its pictures back from, base64 both ways,
// and the command line split at NUL bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/CommandLine.h"
#include "engine/TravellingPage.h"

using cxb::TravellingPage;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    // Any bytes come back from their base64 form unchanged.
    if (TravellingPage::unbase64(TravellingPage::base64(input)) != input) std::abort();
    // Text that decodes has the length its padding says.
    if (const auto bytes = TravellingPage::unbase64(input)) {
        std::size_t pad = 0;
        while (pad < 2 && pad < input.size() && input[input.size() - 1 - pad] == '=') ++pad;
        if (bytes->size() != input.size() / 4 * 3 - pad) std::abort();
    }
    if (const auto bytes = TravellingPage::decodeDataUri(input)) {
        if (input.rfind("data:", 0) != 0) std::abort();
    }
    // A picture's data: address decodes to the picture's bytes.
    if (const auto uri = TravellingPage::dataUri(input)) {
        if (TravellingPage::decodeDataUri(*uri) != input) std::abort();
    }

    std::vector<std::string> args;
    std::string arg;
    for (char c : input) {
        if (c == '\0') {
            args.push_back(arg);
            arg.clear();
        } else {
            arg += c;
        }
    }
    args.push_back(arg);
    const cxb::CommandLine line = cxb::CommandLine::parse(args);
    if (!line.templateDir.empty() && line.folder.empty() && line.error.empty()) std::abort();
    return 0;
}
