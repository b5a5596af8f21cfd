#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace setup {

// Runs the BIOS flashing tool "nvflash" without blocking the event loop: the
// windows, timers and fan curve keep running while it works. One run at a time.
class CFlashTool {
  public:
    struct Outcome {
        bool ok = false;
        std::string message;  // what happened, with the reason on failure
    };
    using Done = std::function<void(const Outcome&)>;

    // `programDir` is searched for the tool before PATH; the tool runs in
    // `workDir`, where it writes a saved image under the name it is given.
    CFlashTool(std::string programDir, std::string workDir);
    // A tool still running is not killed (a half-written BIOS is worse than
    // waiting): it finishes on its own, a save is still copied and `done` is
    // still called, so it must not rely on this object.
    ~CFlashTool();
    CFlashTool(const CFlashTool&) = delete;
    CFlashTool& operator=(const CFlashTool&) = delete;

    // Saves the card's BIOS: the tool writes the image under the target's file
    // name into `workDir`, which is then copied over `targetPath`. `done` is
    // called exactly once: later when the tool ends, or before returning false
    // when it could not start (or another run is going).
    bool saveBios(const std::string& targetPath, Done done);
    // Writes the image at `imagePath` to the card; same reporting.
    bool flashBios(const std::string& imagePath, Done done);

    bool running() const;

    // Where the tool is found: `programDir` first, then PATH; "" when nowhere.
    std::string toolPath() const;

    static std::vector<std::string> saveArguments(const std::string& targetPath);
    static std::vector<std::string> flashArguments(const std::string& imagePath);

    struct Job;

  private:
    bool start(std::vector<std::string> arguments, std::string copyFrom, std::string copyTo, Done done);

    std::string m_programDir;
    std::string m_workDir;
    std::shared_ptr<Job> m_job;
};

}  // namespace setup
