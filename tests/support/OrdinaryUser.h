#pragma once
// Running part of a test as an ordinary user. Root may write where nobody
// else may, so the permission rules of the saves are only seen for what they
// are when a user without those rights runs them.
#include <functional>
#include <string>
#include <sys/types.h>

namespace cxb::test {

class OrdinaryUser {
public:
    // The user "nobody" when the tests run as root, else the user running
    // them. available() is false when root cannot find such a user.
    OrdinaryUser();

    bool available() const { return available_; }
    // True when body() runs in a child process under another user.
    bool switches() const { return switches_; }

    // Gives `path` to this user (no change when the tests do not run as root).
    void own(const std::string& path) const;

    // Runs `body` as this user: in a child process that has dropped root when
    // the tests run as root, else right here. Returns what `body` returns,
    // or -1 when the child could not switch or did not end normally. Use no
    // test assertions inside `body`: they would not reach this process.
    int run(const std::function<int()>& body) const;

private:
    bool available_ = false;
    bool switches_ = false;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
};

} // namespace cxb::test
