// What the tuning panels need of the main window, in one place: the window they
// dock to and report their close to, and its fan-control state.
#pragma once

namespace platform {
class Window;
}

namespace tuning {

class MainWindowLink {
  public:
    // Values of the fan-control flag.
    static constexpr int kFanUnknown = -1;
    static constexpr int kFanOff = 0;
    static constexpr int kFanCurve = 1;

    virtual ~MainWindowLink() = default;

    // Owner of the clock panel, the window it docks beside and the target of its
    // close command; null when the panel stands alone (snapshots).
    virtual platform::Window* Window() const = 0;
    virtual int FanControl() const = 0;
    virtual void SetFanControl(int flag) = 0;
    // Re-reads the fan curve and starts or stops it by the fan-control flag.
    virtual void ApplyFanControl() = 0;
    // The fan curve is not to start by itself at the next launch.
    virtual void ClearFanAutoStart() = 0;
};

}  // namespace tuning
