#include "reasoning/TConflict.h"

#include <cstdlib>

#include "model/Formats.h"

namespace kavo {

namespace {

struct TDetail {
    std::string Name;
    double Value = 0;
};

// A detail line is a name, "=" and a number; the name may hold "=" itself, the number does not.
TDetail Parse(const std::string& line) {
    const std::size_t equals = line.rfind('=');
    if (equals == std::string::npos) {
        return {line, 0};
    }
    std::string number = line.substr(equals + 1);
    for (char& c : number) {
        if (c == ',') {
            c = '.';
        }
    }
    return {line.substr(0, equals), std::strtod(number.c_str(), nullptr)};
}

}  // namespace

void TConflict::Clear() {
    Total = 0;
    Count = 0;
    Details.clear();
}

double TConflict::Mean() const {
    return Count == 0 ? 0 : Total / Count;
}

void TConflict::AddConflict(const TConflict& other) {
    Count += other.Count;
    Total += other.Total;
    for (const std::string& line : other.Details) {
        const TDetail added = Parse(line);
        bool merged = false;
        for (std::string& existing : Details) {
            const TDetail detail = Parse(existing);
            if (detail.Name == added.Name) {
                existing = detail.Name + "=" + FormatNumber(detail.Value + added.Value);
                merged = true;
                break;
            }
        }
        if (!merged) {
            Details.push_back(line);
        }
    }
}

}  // namespace kavo
