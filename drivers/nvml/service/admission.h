// Which connections the service takes: a few per peer uid, and, of the global limit, room kept
// for a uid that has none yet, so that one user's idle connections never lock out another user.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <unordered_map>

namespace vantreld {

class Admission {
  public:
    static constexpr std::size_t kMaxConnections = 256;
    static constexpr unsigned kPerUid = 8;
    // Taken only by the first connection of a uid.
    static constexpr std::size_t kKeptForNewUids = 32;

    // True when a connection of uid may be served; it is then counted until release(uid).
    bool admit(uid_t uid);
    void release(uid_t uid);
    std::size_t total() const { return total_; }

  private:
    struct PerUid {
        unsigned connections = 0;
        bool refusalSaid = false;  // one journal line per run of refusals
    };
    std::unordered_map<uid_t, PerUid> uids_;
    std::size_t total_ = 0;
};

}  // namespace vantreld
