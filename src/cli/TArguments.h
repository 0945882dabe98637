#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kavo {

// What an option of a command takes.
enum class TOptionKind {
    okFlag,     // nothing: "--force"
    okText,     // any text: "--arena NAME"
    okNumber,   // a finite decimal number of at least 0: "--time-limit SECONDS"
    okInteger,  // a whole number, with a sign if negative: "--seed N"
};

struct TOptionRule {
    std::string_view Name;  // with its dashes: "--arena"
    TOptionKind Kind = TOptionKind::okFlag;
};

// The arguments a command accepts: between MinPositional and MaxPositional folders or files, in
// any order with the options. An option may be given more than once; a value may follow as the
// next argument or after "=" ("--arena=Dam"). After "--" every argument is positional.
struct TArgumentRules {
    std::size_t MinPositional = 0;
    std::size_t MaxPositional = 0;
    std::vector<TOptionRule> Options;
};

// A command's arguments, parsed and checked against its rules.
class TArguments {
  public:
    // The folders and files, in the order given.
    std::vector<std::string> Positional;

    // Whether the flag or option was given.
    bool Has(std::string_view option) const { return Given.contains(option); }
    // The option's last value, if it was given.
    std::optional<std::string> Text(std::string_view option) const;
    // Every value of the option, in the order given.
    std::vector<std::string> Texts(std::string_view option) const;
    // The last value of an option of kind okNumber or okInteger, if it was given.
    std::optional<double> Number(std::string_view option) const;
    // Every option given, with its value, in the order given: for options whose order among each
    // other matters.
    const std::vector<std::pair<std::string, std::string>>& InOrder() const { return Order; }

    // Records a value (empty for a flag).
    void Add(std::string_view option, std::string value);

  private:
    std::map<std::string, std::vector<std::string>, std::less<>> Given;
    std::vector<std::pair<std::string, std::string>> Order;
};

// The parsed arguments, or a one-line description of what is wrong with them.
std::variant<TArguments, std::string> ParseArguments(const std::vector<std::string>& arguments,
                                                     const TArgumentRules& rules);

// Whether the arguments ask for help ("--help" or "-h" before any "--").
bool AsksForHelp(const std::vector<std::string>& arguments);

// The number the whole text spells, in either notation ("2", "0.5", "1e3"); none for anything
// else, for infinities and for NaN.
std::optional<double> ParseNumber(std::string_view text);

}  // namespace kavo
