#pragma once
#include <string>

namespace cxb {

// "遇到问题": what each message of the trainer means and what to do, as
// HTML (UTF-8) for the information page. Every message's last line points
// here, so the help travels with the program wherever it is installed.
class TroubleHelp {
public:
    struct Entry {
        const char* firstLine; // how the message begins
        const char* when;
        const char* todo;
    };
    // Every kind of message, in the order the page lists them.
    static const Entry* entries(std::size_t& count);
    static std::string html();
};

} // namespace cxb
