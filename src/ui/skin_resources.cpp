#include "ui/skin_resources.h"

#include <QtCore/qresource.h>

#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerSkins() { Q_INIT_RESOURCE(skins); }

namespace quorvel::skins {

void initResources() {
    static std::once_flag once;
    std::call_once(once, registerSkins);
}

}  // namespace quorvel::skins
