// A bare skinned window for control tests: it records every WM_COMMAND that reaches
// it and offers the mouse as the window system would deliver it.
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <filesystem>
#include <vector>

#include "skin/dialog_base.h"

class SkinTestWindow : public CDialogBase {
  public:
    explicit SkinTestWindow(const QString& background = {}) : CDialogBase(background) { resize(300, 200); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) commands.push_back(wParam);
        return CDialogBase::WindowProc(message, wParam, lParam);
    }

    // Delivers what controls posted and answers it, oldest first, then forgets it.
    std::vector<WPARAM> takeCommands() {
        QCoreApplication::sendPostedEvents(this);
        std::vector<WPARAM> taken;
        taken.swap(commands);
        return taken;
    }

    void pointAt(int x, int y) { SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    void press(int x, int y) { SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void release(int x, int y) { SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    // Move in, press and release at one point.
    void click(int x, int y) {
        pointAt(x, y);
        press(x, y);
        release(x, y);
    }
    void tick(UINT id) { SendMessage(WM_TIMER, id, 0); }

    std::vector<WPARAM> commands;
};

// Writes a w x h strip of `frames` solid frames, frame k filled with colours[k].
inline void writeStrip(const std::filesystem::path& file, int w, int h, const std::vector<QRgb>& colours) {
    QImage image(w * int(colours.size()), h, QImage::Format_ARGB32);
    for (size_t k = 0; k < colours.size(); ++k)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image.setPixel(int(k) * w + x, y, colours[k]);
    std::filesystem::create_directories(file.parent_path());
    image.save(QString::fromStdString(file.string()), "PNG");
}
