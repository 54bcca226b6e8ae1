// Prints divide(A, B, P) once: the side of bench/compare-bc.sh that runs our arithmetic.
#include <cstdio>
#include <string>

#include "calc/decimal_number.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: divide-driver A B PLACES\n");
        return 2;
    }
    const quorvel::DecimalNumber a{std::string_view(argv[1])};
    const quorvel::DecimalNumber b{std::string_view(argv[2])};
    const std::string q = divide(a, b, std::stoi(argv[3])).toString();
    std::fwrite(q.data(), 1, q.size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}
