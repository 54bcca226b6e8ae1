#include "data/converter.h"

#include "data/archive.h"

namespace quorvel {

void CConverter::Serialize(Archive& ar) {
    ar.exchange(category);
    ar.exchange(value);
    ar.exchange(description);
    ar.exchange(flag);
}

}  // namespace quorvel
