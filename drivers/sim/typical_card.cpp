#include "card.h"

namespace sim {

namespace {

GpuDesc typicalGpu() {
    GpuDesc g;
    g.name = "Vantrel Sim 680";
    g.vbios = "80.04.09.00.01";
    g.ramType = 8;  // GDDR5
    g.busWidth = 256;
    g.busLocation = 1;
    g.defaultPowerW = 195;
    g.memory = {8u * 1024 * 1024, 8u * 1024 * 1024, 0, 4193280, 786432};
    g.clocks = {1006000, 1058000, 1502000};
    g.load = {40, 25, 35, 40};

    Pstate p0;
    PstateClock graphics;
    graphics.domain = 0;
    graphics.type = 1;
    graphics.delta = {0, -135000, 200000};
    graphics.minFreq = 300000;
    graphics.maxFreq = 1110000;
    graphics.voltageDomain = 0;
    graphics.minVoltage = 850000;
    graphics.maxVoltage = 1175000;
    PstateClock memory;
    memory.domain = 4;
    memory.type = 0;
    memory.delta = {0, -500000, 1000000};
    memory.freq = 1502000;
    p0.clocks = {graphics, memory};
    p0.baseVoltages = {PstateVoltage{0, true, 1000000, {0, -50000, 50000}}};
    g.pstates.pstates = {p0};
    g.pstates.overVoltages = {PstateVoltage{0, true, 0, {0, 0, 37500}}};

    g.sensors = {ThermalSensorDesc{1, 0, 127, 1, std::nullopt}};
    g.temperature = {38, 30, 0.6, 0.2, 6, std::nullopt};

    CoolerDesc fan{1, 2, 30, 100, 30, 100, 35, 32, 32, 1, 1, 1};
    g.coolers = {3500, {fan, fan}};

    g.topology = {true, true, {TopologyDomain{0, std::nullopt}}};
    g.power = {true, true, {PowerPolicyDesc{0, 0, 50000, 100000, 115000, 100000}}};
    g.thermal = {true, true, {ThermalPolicyDesc{1, 15360, 20992, 23552, 20992, 0}}};
    return g;
}

}  // namespace

CardDesc typicalCard() {
    CardDesc card;
    card.driver = {31421, 21001, "r314_00", "Vantrel Simulated Adapter"};
    ChipsetDesc& c = card.chipset;
    c.vendorId = 0x8086;
    c.deviceId = 0x1E00;
    c.vendorName = "Intel";
    c.chipsetName = "Z77";
    c.subSysVendorId = 0x1043;
    c.subSysDeviceId = 0x84CA;
    c.subSysVendorName = "ASUSTeK";
    c.hbVendorId = 0x8086;
    c.hbDeviceId = 0x0150;
    c.hbSubSysVendorId = 0x1043;
    c.hbSubSysDeviceId = 0x84CA;
    card.gpus = {typicalGpu()};
    return card;
}

}  // namespace sim
