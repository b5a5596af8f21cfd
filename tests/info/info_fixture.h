// Cards and mouse helpers shared by the information panel's tests.
#pragma once

#include <QCoreApplication>
#include <string>

#include "platform/window.h"

namespace infotest {

// Two GPUs that differ in every fact the panel shows; each pinned at its own temperature.
inline std::string twoGpuCard(const std::string& secondExtra = "") {
    return R"(<card frozen="1">
  <gpu name="Sim 680" vbios="80.04.09.00.01" ramType="8" busWidth="256">
    <temperature initial="45" fixed="45"/>
    <coolers><cooler level="40" defaultMin="30" defaultPolicy="32" policy="32"/></coolers>
  </gpu>
  <gpu name="Sim 460" vbios="70.24.11.00.00" ramType="5" busWidth="192">)" +
           secondExtra + R"(
    <clocks base="675000" boost="675000" memory="900000"/>
    <pstates><pstate id="0">
      <clock domain="0" type="range" min="300000" max="810000" deltaMin="-100000" deltaMax="150000"/>
      <clock domain="4" type="single" freq="900000" deltaMin="-200000" deltaMax="400000"/>
    </pstate></pstates>
    <temperature initial="65" fixed="65"/>
    <coolers><cooler level="40" defaultMin="30" defaultPolicy="32" policy="32"/></coolers>
  </gpu>
</card>)";
}

inline void runEvents() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// Moves in, presses and releases at a client point, then delivers what was posted.
inline void click(platform::Window& w, int x, int y) {
    w.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    w.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    w.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    runEvents();
}

// Opens the drawn GPU list and picks its k-th drop-down entry (1-based).
inline void chooseEntry(platform::Window& w, int k) {
    click(w, 220, 29);
    click(w, 220, 40 + 22 * (k - 1) + 11);
}

}  // namespace infotest
