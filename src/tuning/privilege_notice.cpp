#include "tuning/privilege_notice.h"

#include <QCoreApplication>

#include "gpu/driver_binding.h"
#include "platform/message_box.h"

namespace tuning {

const char* const kPrivilegeText = QT_TRANSLATE_NOOP(
    "PrivilegeWatch",
    "Changing the graphics card's settings needs administrator rights.\n"
    "The card refused the change, so nothing was changed. Start the service vantreld and join the group "
    "\"vantrel\", or run Vantrel as root.");
const char* const kPrivilegeCaption = "Vantrel";

namespace {
bool g_shown = false;
}

PrivilegeWatch::PrivilegeWatch() : m_before(gpu::DriverBinding::privilegeRefusals()) {}

bool PrivilegeWatch::Refused() const {
    return gpu::DriverBinding::privilegeRefusals() != m_before;
}

void PrivilegeWatch::Report() const {
    if (!Refused() || g_shown) return;
    g_shown = true;
    platform::MessageBox(QCoreApplication::translate("PrivilegeWatch", kPrivilegeText).toStdString(),
                         kPrivilegeCaption, MB_OK | MB_ICONWARNING);
}

void resetPrivilegeNotice() {
    g_shown = false;
}

}  // namespace tuning
