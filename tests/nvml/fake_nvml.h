// State of the fake NVML library the bridge tests load in place of libnvidia-ml.so.1.
// Tests reach it through fakeNvmlState(), looked up with dlsym in the loaded fake.
#pragma once

struct FakeNvmlDevice {
    char name[96];
    char vbios[32];
    unsigned long long memTotal, memFree;
    unsigned busWidth;
    unsigned clockGraphics, clockMem, clockSm;  // current, MHz
    unsigned maxGraphics, maxMem, maxSm;        // boost
    unsigned p0MinGraphics, p0MaxGraphics, p0MinMem, p0MaxMem;
    unsigned appDefaultGraphics, appDefaultMem;  // default application clocks; 0: not reported
    unsigned utilGpu, utilMem;
    unsigned temperature;
    unsigned acousticMin, acousticCurr, acousticMax;
    unsigned numFans;
    unsigned fanSpeed[4], fanPolicy[4], fanRpm;
    unsigned minFan, maxFan;
    unsigned powerUsage, powerLimit, powerDefault, powerMin, powerMax;  // mW
    int gpcOffset, gpcOffsetMin, gpcOffsetMax, memOffset, memOffsetMin, memOffsetMax;
    char uuid[96];
    unsigned pciBus;  // the bus id is 00000000:BUS:00.0
};

struct FakeNvmlState {
    unsigned count;
    int initReturn;         // what nvmlInit_v2 answers
    int lost;               // every device call answers GPU_IS_LOST
    char failFunction[64];  // this function answers failReturn ("" for none)
    int failReturn;
    int denySetters;      // every setter answers NO_PERMISSION
    unsigned long calls;  // NVML calls made
    int initialised;
    char log[8192];  // one line per setter call that succeeded: "name dev arg..."
    FakeNvmlDevice dev[4];
    // Appended one line per setter call that reached the setter, refused or not, so that other
    // processes can read what was asked of the card. Empty: none.
    char callFile[256];
};

// At load (and reset) the environment can set: FAKE_NVML_COUNT (devices, 0 to 4),
// FAKE_NVML_INIT (nvmlInit_v2's answer),
// FAKE_NVML_DENY_SETTERS=1 and FAKE_NVML_CALLS (callFile).

extern "C" FakeNvmlState* fakeNvmlState();
extern "C" void fakeNvmlReset();
