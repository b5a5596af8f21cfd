#include <set>

#include "sim_library.h"

namespace simtest {
namespace {

TEST_F(SimTest, MalformedDescriptionFailsInitialiseWithText) {
    useCard("<card><gpu>");
    EXPECT_EQ(initialize(), ERROR);
    char text[SHORT_STRING] = {};
    EXPECT_EQ(fn<GetErrorMessageFn>(ID_GetErrorMessage)(ERROR, text), OK);
    EXPECT_NE(std::string(text).find("well-formed"), std::string::npos) << text;
    NvPhysicalGpuHandle h[MAX_PHYSICAL_GPUS];
    int32_t n = 0;
    EXPECT_NE(fn<EnumPhysicalGPUsFn>(ID_EnumPhysicalGPUs)(h, &n), OK);
}

TEST_F(SimTest, ZeroGpusAndTwoDistinctGpus) {
    useCard("<card/>");
    EXPECT_EQ(initialize(), OK);
    NvPhysicalGpuHandle h[MAX_PHYSICAL_GPUS];
    int32_t n = 5;
    EXPECT_EQ(fn<EnumPhysicalGPUsFn>(ID_EnumPhysicalGPUs)(h, &n), NVIDIA_DEVICE_NOT_FOUND);
    EXPECT_EQ(n, 0);
    TearDown();
    useCardFile("two-gpus.xml");
    auto gpus = start();
    ASSERT_EQ(gpus.size(), 2u);
    char a[SHORT_STRING], b[SHORT_STRING];
    fn<GetFullNameFn>(ID_GPU_GetFullName)(gpus[0], a);
    fn<GetFullNameFn>(ID_GPU_GetFullName)(gpus[1], b);
    EXPECT_STRNE(a, b);
    EXPECT_EQ(fn<GetFullNameFn>(ID_GPU_GetFullName)(nullptr, a), EXPECTED_PHYSICAL_GPU_HANDLE);
}

TEST_F(SimTest, FanWriteReadsBackAndIsTraced) {
    setenv("VANTREL_SIM_FROZEN", "1", 1);
    NvPhysicalGpuHandle gpu = startOne();
    EXPECT_EQ(setFan(gpu, 37, COOLER_POLICY_MANUAL), OK);
    CoolerSettings s;
    ASSERT_EQ(readCoolers(gpu, s), OK);
    EXPECT_EQ(coolerWord(s, 3, 1, COOLER_CURRENT_LEVEL), 37u);
    EXPECT_EQ(setFan(gpu, 101, COOLER_POLICY_MANUAL), INVALID_ARGUMENT);
    auto lines = traceLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "GPU_SetCoolerLevels gpu=0 target=7 level0=37 policy0=1 status=0");
    EXPECT_EQ(lines[1], "GPU_SetCoolerLevels gpu=0 target=7 level0=101 policy0=1 status=-5");
}

TEST_F(SimTest, PstatesVersionOneIsNotWrittenPastItsEnd) {
    useCardFile("pstates-v1.xml");
    NvPhysicalGpuHandle gpu = startOne();
    Pstates20Info info;
    EXPECT_EQ(readPstates(gpu, info), INCOMPATIBLE_STRUCT_VERSION);
    info = {};
    std::memset(&info.overVoltage, 0xAB, sizeof info.overVoltage);
    info.version = PSTATES20_VER1;
    ASSERT_EQ(fn<GetPstates20Fn>(ID_GPU_GetPstates20)(gpu, &info), OK);
    EXPECT_EQ(info.overVoltage.numVoltages, 0xABABABABu);
    EXPECT_EQ(info.numPstates, 1u);
}

TEST_F(SimTest, EveryInterfaceButTheServicesIsAnsweredByItsOwnFunction) {
    std::set<void*> functions;
    for (const InterfaceSpec& spec : kInterfaceTable) {
        void* f = SimLibrary::get().query(spec.id);
        const bool service = spec.id == ID_VT_GPU_KeepSettings || spec.id == ID_VT_GPU_GetServiceStatus;
        EXPECT_EQ(f == nullptr, service) << spec.name;  // the simulator has no service
        if (f) functions.insert(f);
    }
    EXPECT_EQ(functions.size(), size_t(INTERFACE_COUNT) - 2);
    EXPECT_EQ(SimLibrary::get().query(0x12345678), nullptr);
}

}  // namespace
}  // namespace simtest
