#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

class Archive;

// One record of the unit converter's history and user conversions.
struct CConverter {
    std::string category;  // the companion dialog's mode, or empty for a unit-category pick
    std::string value;     // what the record hands back
    std::string description;
    std::int32_t flag = 1;  // kept in the file, read nowhere else

    void Serialize(Archive& ar);
    bool operator==(const CConverter&) const = default;
};

}  // namespace quorvel
