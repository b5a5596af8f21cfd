#include "admission.h"

#include <cstdio>

namespace vantreld {

bool Admission::admit(uid_t uid) {
    PerUid& u = uids_[uid];
    const std::size_t limit = u.connections == 0 ? kMaxConnections : kMaxConnections - kKeptForNewUids;
    if (u.connections < kPerUid && total_ < limit) {
        ++u.connections;
        ++total_;
        return true;
    }
    if (!u.refusalSaid) {
        u.refusalSaid = true;
        std::fprintf(stderr, "vantreld: uid %u refused a connection: %s\n", static_cast<unsigned>(uid),
                     u.connections >= kPerUid ? "it already has 8" : "the service has no room left");
    }
    if (u.connections == 0) uids_.erase(uid);
    return false;
}

void Admission::release(uid_t uid) {
    const auto it = uids_.find(uid);
    if (it == uids_.end() || it->second.connections == 0) return;
    --total_;
    if (--it->second.connections == 0)
        uids_.erase(it);
    else
        it->second.refusalSaid = false;
}

}  // namespace vantreld
