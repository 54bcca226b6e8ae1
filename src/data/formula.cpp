#include "data/formula.h"

#include "data/archive.h"

namespace quorvel {

void CFormula::Serialize(Archive& ar) {
    ar.exchange(catalog);
    ar.exchange(formula);
    ar.exchange(description);
}

}  // namespace quorvel
