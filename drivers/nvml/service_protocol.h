// The frames between the NVML bridge and vantreld, the root service that alone writes to the
// card. One request, one reply, in order, on a Unix stream socket; host byte order, since both
// ends are on the same machine. A request names a write interface of the driver contract and
// carries its structure unchanged.
#pragma once

#include <cstdint>
#include <string>

namespace vantrel_service {

inline constexpr uint32_t kMagic = 0x444C5456;  // "VTLD"
inline constexpr uint16_t kVersion = 1;
// The largest structure a write carries is the P-state table (7416 bytes).
inline constexpr uint32_t kMaxPayload = 8192;
inline constexpr const char* kDefaultSocket = "/run/vantrel/vantreld.sock";
inline constexpr const char* kSocketEnv = "VANTREL_SERVICE_SOCKET";

// Not an interface ID: gives back to the driver every fan this connection set to a manual level.
inline constexpr uint32_t kHandBack = 0;
// Not an interface ID: the contract's KeptSettings for the GPU, checked, applied and kept.
inline constexpr uint32_t kKeep = 1;
// Not an interface ID: no structure; a reply with status OK is followed by a ServiceStatus.
inline constexpr uint32_t kStatus = 2;

struct RequestHeader {
    uint32_t magic = kMagic;
    uint16_t version = kVersion;
    uint16_t reserved = 0;
    uint32_t interfaceId = 0;
    uint32_t gpu = 0;     // NVML's device index, the same in every process
    uint32_t arg = 0;     // the cooler target of a cooler write, otherwise 0
    uint32_t length = 0;  // bytes of structure that follow
};
static_assert(sizeof(RequestHeader) == 24);

struct Reply {
    uint32_t magic = kMagic;
    uint16_t version = kVersion;
    uint16_t reserved = 0;
    int32_t status = 0;  // the driver contract's status
};
static_assert(sizeof(Reply) == 12);

// The structure size a write interface takes for the version word at the start of its
// structure; 0 for an interface the service does not serve or a version it does not know.
uint32_t payloadSize(uint32_t interfaceId, uint32_t versionWord);

// The four write interfaces the service serves.
bool isServedWrite(uint32_t interfaceId);

// VANTREL_SERVICE_SOCKET when set (empty: no service), else the installed path.
std::string socketPath();

}  // namespace vantrel_service
