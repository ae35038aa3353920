#include "support/OrdinaryUser.h"

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cxb::test {

OrdinaryUser::OrdinaryUser() {
    if (::geteuid() != 0) {
        available_ = true;
        uid_ = ::geteuid();
        gid_ = ::getegid();
        return;
    }
    const passwd* pw = ::getpwnam("nobody");
    if (!pw || pw->pw_uid == 0) return;
    available_ = switches_ = true;
    uid_ = pw->pw_uid;
    gid_ = pw->pw_gid;
}

void OrdinaryUser::own(const std::string& path) const {
    if (switches_) (void)::lchown(path.c_str(), uid_, gid_);
}

int OrdinaryUser::run(const std::function<int()>& body) const {
    if (!available_) return -1;
    if (!switches_) return body();
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        // Groups first: after setuid there is no right left to change them.
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid_) != 0 || ::setuid(uid_) != 0) ::_exit(255);
        ::_exit(body() & 0xff);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 255) return -1;
    return WEXITSTATUS(status);
}

} // namespace cxb::test
