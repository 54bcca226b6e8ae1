#include "app/font_warm_up.h"

#include <fontconfig/fontconfig.h>

namespace quorvel {

FontconfigWarmUp::FontconfigWarmUp() : m_reader([] { FcInit(); }) {}

FontconfigWarmUp::~FontconfigWarmUp() { wait(); }

void FontconfigWarmUp::wait() {
    if (m_reader.joinable()) m_reader.join();
}

}  // namespace quorvel
