// The P-state 2.0 table, made from NVML's P0 clock ranges and clock offsets. NVML has no
// voltage control, so the table lists no base voltages and no over-voltage entries.
#include <algorithm>
#include <cstring>

#include "bridge.h"
#include "clock_offsets.h"
#include "clock_ranges.h"
#include "interfaces.h"
#include "units.h"

namespace nvml_bridge {
namespace {

bool knownPstatesVersion(uint32_t word) {
    return word == PSTATES20_VER2 || word == PSTATES20_VER1;
}

// An offset the card does not report reads as 0 and not editable; a failing GPU fails the read.
nvmlReturn_t offsetOrNone(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, ClockOffset& o,
                          bool& editable) {
    const nvmlReturn_t r = readClockOffset(f, dev, type, o);
    editable = r == nvml::SUCCESS;
    if (!editable) o = {};
    return editable || isUnsupported(r) ? nvml::SUCCESS : r;
}

struct PendingWrite {
    bool graphics = false, memory = false;
    int graphicsMhz = 0, memoryOffset = 0;
};

// Checks the whole request before anything is written.
int32_t parseWrite(const Pstates20Info& in, PendingWrite& out) {
    if (in.numPstates > 16 || in.numClocks > 8 || in.numBaseVoltages > 4) return INVALID_ARGUMENT;
    if (in.version == PSTATES20_VER2 && in.overVoltage.numVoltages > 4) return INVALID_ARGUMENT;
    for (uint32_t p = 0; p < in.numPstates; ++p) {
        const Pstates20Entry& ps = in.pstates[p];
        if (ps.pstateId != 0) return NOT_SUPPORTED;  // NVML offsets apply to P0 only
        for (uint32_t c = 0; c < in.numClocks; ++c) {
            const Pstates20Clock& clk = ps.clocks[c];
            if (clk.domainId == CLOCK_DOMAIN_GRAPHICS) {
                out.graphics = true;
                out.graphicsMhz = khzToMhz(clk.freqDelta_kHz.value);
            } else if (clk.domainId == CLOCK_DOMAIN_MEMORY) {
                out.memory = true;
                out.memoryOffset = memoryDeltaKhzToOffset(clk.freqDelta_kHz.value);
            } else {
                return NOT_SUPPORTED;
            }
        }
        // A voltage delta of 0 asks for what the card already runs at; any other is impossible here.
        for (uint32_t v = 0; v < in.numBaseVoltages; ++v)
            if (ps.baseVoltages[v].voltDelta_uV.value != 0) return NOT_SUPPORTED;
    }
    if (in.version == PSTATES20_VER2)
        for (uint32_t v = 0; v < in.overVoltage.numVoltages; ++v)
            if (in.overVoltage.voltages[v].voltDelta_uV.value != 0) return NOT_SUPPORTED;
    return OK;
}

// One requested offset and what the card reports for its clock.
struct OffsetChange {
    bool wanted = false;
    unsigned type = 0;
    int offset = 0;
    ClockOffset now;
};

// Both offsets are read and checked against the card's ranges before either is written; an
// unchanged one is not written at all.
int32_t applyOffsets(Bridge& b, Device& d, OffsetChange (&changes)[2]) {
    for (OffsetChange& c : changes) {
        if (!c.wanted) continue;
        const nvmlReturn_t r = readClockOffset(b.fn(), d.nvml, c.type, c.now);
        if (r != nvml::SUCCESS) return b.check(r);
        if (c.offset < c.now.min || c.offset > c.now.max) return b.own(INVALID_ARGUMENT);
    }
    for (const OffsetChange& c : changes) {
        if (!c.wanted || c.offset == c.now.value) continue;
        const nvmlReturn_t r = writeClockOffset(b.fn(), d.nvml, c.type, c.offset);
        if (r != nvml::SUCCESS) return b.check(r);
    }
    return OK;
}

}  // namespace

int32_t getPstates20(NvPhysicalGpuHandle h, Pstates20Info* info) {
    Bridge& b = bridge();
    if (!info) return b.own(INVALID_ARGUMENT);
    if (!knownPstatesVersion(info->version)) return b.own(INCOMPATIBLE_STRUCT_VERSION);
    return onDevice(h, [&](Bridge& b, Device& d) {
        const nvml::Functions& f = b.fn();
        ClockRange gpc, mem;
        nvmlReturn_t r = p0Range(f, d.nvml, nvml::CLOCK_GRAPHICS, gpc);
        if (r == nvml::SUCCESS) r = p0Range(f, d.nvml, nvml::CLOCK_MEM, mem);
        if (r != nvml::SUCCESS) return b.check(r);
        ClockOffset gpcOff, memOff;
        bool gpcEditable = false, memEditable = false;
        r = offsetOrNone(f, d.nvml, nvml::CLOCK_GRAPHICS, gpcOff, gpcEditable);
        if (r == nvml::SUCCESS) r = offsetOrNone(f, d.nvml, nvml::CLOCK_MEM, memOff, memEditable);
        if (r != nvml::SUCCESS) return b.check(r);

        // Only as much as the caller's version holds is copied back.
        Pstates20Info out{};
        out.version = info->version;
        out.flags = (gpcEditable || memEditable) ? 1u : 0u;
        out.numPstates = 1;
        out.numClocks = 2;
        out.numBaseVoltages = 0;
        Pstates20Entry& p0 = out.pstates[0];
        p0.pstateId = 0;
        p0.flags = out.flags;

        Pstates20Clock& g = p0.clocks[0];
        g.domainId = CLOCK_DOMAIN_GRAPHICS;
        g.typeId = PSTATE_CLOCK_RANGE;
        g.flags = gpcEditable ? 1u : 0u;
        g.freqDelta_kHz = {mhzToKhz(gpcOff.value), mhzToKhz(gpcOff.min), mhzToKhz(gpcOff.max)};
        g.data.range.minFreq_kHz = static_cast<uint32_t>(mhzToKhz(static_cast<int>(gpc.minMhz)));
        g.data.range.maxFreq_kHz = static_cast<uint32_t>(mhzToKhz(static_cast<int>(gpc.maxMhz)));
        g.data.range.domainId = 0;

        Pstates20Clock& m = p0.clocks[1];
        m.domainId = CLOCK_DOMAIN_MEMORY;
        m.typeId = PSTATE_CLOCK_SINGLE;
        m.flags = memEditable ? 1u : 0u;
        m.freqDelta_kHz = {memoryOffsetToDeltaKhz(memOff.value), memoryOffsetToDeltaKhz(memOff.min),
                           memoryOffsetToDeltaKhz(memOff.max)};
        // P0's table value leaves the offset out; the clock the card runs includes it, and the
        // tuning panel reads it back from here after an Apply.
        const int64_t memKhz = int64_t(mhzToKhz(static_cast<int>(mem.maxMhz))) + m.freqDelta_kHz.value;
        m.data.single.freq_kHz = static_cast<uint32_t>(std::max<int64_t>(0, memKhz));

        std::memcpy(info, &out, versionSize(info->version));
        return int32_t{OK};
    });
}

int32_t setPstates20(NvPhysicalGpuHandle h, Pstates20Info* info) {
    Bridge& b = bridge();
    if (!info) return b.own(INVALID_ARGUMENT);
    if (!knownPstatesVersion(info->version)) return b.own(INCOMPATIBLE_STRUCT_VERSION);
    return onDevice(h, [&](Bridge& b, Device& d) {
        if (int32_t s = OK; forwarded(b, d, ID_GPU_SetPstates20, 0, info, versionSize(info->version), s))
            return s;
        PendingWrite w;
        if (const int32_t s = parseWrite(*info, w); s != OK) return b.own(s);
        OffsetChange changes[2] = {{w.graphics, nvml::CLOCK_GRAPHICS, w.graphicsMhz, {}},
                                   {w.memory, nvml::CLOCK_MEM, w.memoryOffset, {}}};
        return applyOffsets(b, d, changes);
    });
}

// NVML clock offsets need no switch to take effect.
int32_t enableOverclockedPstates(NvPhysicalGpuHandle h, uint32_t) {
    return onDevice(h, [](Bridge&, Device&) { return int32_t{OK}; });
}

}  // namespace nvml_bridge
