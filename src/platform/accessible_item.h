// What assistive technology is told about one part of a window that the window
// draws itself (a window-less skinned control): its role, name, value and range,
// and whether the keyboard can reach it.
#pragma once

#include <QString>

#include "platform/win_window.h"

namespace platform {

enum class AccessibleRole {
    None,  // not presented (a part of another item, or nothing to tell)
    Button,
    CheckButton,
    RadioButton,
    Slider,
    ProgressBar,
    Graph,
    Image,
    ComboBox,
    ListItem,
    Label,
};

struct AccessibleItem {
    AccessibleRole role = AccessibleRole::None;
    QString name;
    QString value;        // the value as read out, with its unit where it has one
    QString description;  // what else there is to tell (a list's entries, a graph's extremes)
    bool hasRange = false;
    double current = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    double step = 0.0;
    bool checked = false;
    bool shown = true;
    bool enabled = true;
    bool focusable = false;  // reached by Tab when shown and enabled
    bool focused = false;
    RECT rect{};  // client pixels of the window
};

}  // namespace platform
