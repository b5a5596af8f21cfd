#pragma once

namespace platform {

// Windows virtual-key code of a Qt key (Qt::Key), 0 when it has none.
int virtualKeyFromQtKey(int qtKey);

}  // namespace platform
