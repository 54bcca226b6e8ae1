#pragma once

// The rule that finds the calculations written in a line of text (docs/batch.md says it in
// words): words, dates and answered sums are left alone, and a stretch of digits, operators,
// brackets and known names counts only when it holds an operator between operands or a
// function call.

#include <string_view>
#include <vector>

namespace quorvel {

// One piece of a source line: ordinary text, or a calculation to try.
struct LineSegment {
    std::string_view text;
    bool isCalculation;
};

// Splits a line into ordinary text and calculations; joining the texts gives the line back.
std::vector<LineSegment> FindCalculations(std::string_view line);

// The same into `segments`, emptied first: a run hands in one vector for all its lines.
void FindCalculations(std::string_view line, std::vector<LineSegment>& segments);

}  // namespace quorvel
