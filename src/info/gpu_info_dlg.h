// The GPU information panel: the card's facts in ten labels under a drawn list
// of the GPUs, three of them (GPU clock, memory clock, bandwidth) refreshed every
// second. Choosing a GPU in the list makes it the one the whole program works on.
// It docks under the window that opens it and moves only with it.
#pragma once

#include <array>
#include <functional>

#include "gpu/gpu_context.h"
#include "info/gpu_choices.h"
#include "skin/button_ex.h"
#include "skin/dialog_base.h"
#include "skin/menu_list.h"
#include "skin/static_text.h"

enum : UINT {
    IDC_GPUINFO_TEXT = 2000,
    IDC_GPUINFO_BACK = 3009,
    IDC_GPUINFO_GPU = CMenuList::kListId,
    ID_GPUINFO_CLOSED = 1025,  // posted to the parent: close me
};
constexpr UINT kGpuInfoTimer = 500;
constexpr UINT kGpuInfoPeriodMs = 1000;
constexpr int kGpuInfoWidth = 475;  // the main window's width, when there is no parent
constexpr int kGpuInfoHeight = 238;

// What the window that opens the panel does around a change of GPU.
struct GpuChoiceHooks {
    // Before the GPU in use changes: whatever drives the current GPU lets go of it.
    std::function<void()> changing;
    // After, once the labels show the new GPU: open panels holding its values re-read them.
    std::function<void()> changed;
};

class CGpuInfoDlg : public CDialogBase {
  public:
    // Entries of the information list the ten labels show, in label order.
    static constexpr std::array<int, 10> kLabelEntries = {2, 3, 4, 5, 6, 9, 10, 11, 12, 13};
    // Labels refreshed every second: GPU clock, memory clock, bandwidth.
    static constexpr int kGpuClockLabel = 2;
    static constexpr int kMemoryClockLabel = 7;
    static constexpr int kBandwidthLabel = 6;

    // pParent: the window it docks under and reports its close to.
    explicit CGpuInfoDlg(platform::Window* pParent, GpuChoiceHooks hooks = {});
    ~CGpuInfoDlg() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The rectangle of label i (0-based) in client pixels.
    static RECT LabelRect(int i);

    CButtonEx m_btnBack;
    std::array<CStaticText, 10> m_txtInfo;
    CMenuList m_menuGpu;
    // Keeps the driver initialised while the panel lives; the queries use the global context.
    gpu::GpuContext m_gpuContext;
    // Which GPU each entry of m_menuGpu stands for.
    info::GpuChoices m_choices;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Escape or a window-system close would only hide the panel, and the main
    // window's button leaves an existing panel alone: close it as Back does.
    void OnCancel() override { Close(); }
    // The panel is never dragged by its background.
    LRESULT OnNcHitTest(int, int) override { return HTCLIENT; }

  private:
    void Close();
    void Dock();
    void ChooseGpu();
    void ShowInformation(const std::vector<std::string>& list);
    void RefreshLiveClocks();

    GpuChoiceHooks m_hooks;
};
