#pragma once

#include <string>

namespace quorvel {

class Archive;

// One formula of the formula manager.
struct CFormula {
    std::string catalog;
    std::string formula;  // a whole calculation as typed, e.g. "3+4=7"
    std::string description;

    void Serialize(Archive& ar);
    bool operator==(const CFormula&) const = default;
};

}  // namespace quorvel
