#pragma once
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace cxb {

// Reads the JSON of a bank source strictly: nothing the author wrote may be
// dropped without a word. A key given twice in one object, or a key the
// source format does not know (a typo such as "explanaton"), is an error.
class SourceJson {
public:
    using Json = nlohmann::ordered_json;

    // What an object of a source is: a file's top level (the main source's
    // or an included file's, whose header fields are not read), or a question.
    enum class Part { File, Question };

    // A key given twice: the key, and the question it was in (its position
    // in its file's "questions", from 1), or 0 outside any question.
    struct Repeated {
        std::string key;
        int questionPosition = 0;
    };

    struct Parsed {
        Json doc;
        std::string error;  // a sentence when the text is not JSON
        Repeated repeated;  // the first repeated key, key empty when none
    };

    static Parsed parse(std::string_view text);

    // A sentence about the first key of `object` that `part` may not hold,
    // or "" when all are known.
    static std::string unknownKey(const Json& object, Part part);

    // The text of a JSON library message without its code in brackets.
    static std::string plain(const char* what);
};

} // namespace cxb
