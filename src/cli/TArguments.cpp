#include "cli/TArguments.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kavo {

namespace {

const TOptionRule* FindRule(const TArgumentRules& rules, std::string_view name) {
    const auto rule = std::find_if(rules.Options.begin(), rules.Options.end(),
                                   [name](const TOptionRule& r) { return r.Name == name; });
    return rule == rules.Options.end() ? nullptr : &*rule;
}

bool IsInteger(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// What is wrong with the value of the option, or nothing.
std::optional<std::string> CheckValue(const TOptionRule& rule, const std::string& value) {
    switch (rule.Kind) {
        case TOptionKind::okNumber: {
            const std::optional<double> number = ParseNumber(value);
            if (!number || *number < 0) {
                return std::string(rule.Name) + " needs a number of at least 0, not \"" + value +
                       "\"";
            }
            break;
        }
        case TOptionKind::okInteger:
            if (!IsInteger(value)) {
                return std::string(rule.Name) + " needs a whole number, not \"" + value + "\"";
            }
            break;
        case TOptionKind::okFlag:
        case TOptionKind::okText:
            break;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> TArguments::Text(std::string_view option) const {
    const auto found = Given.find(option);
    if (found == Given.end()) {
        return std::nullopt;
    }
    return found->second.back();
}

std::vector<std::string> TArguments::Texts(std::string_view option) const {
    const auto found = Given.find(option);
    return found == Given.end() ? std::vector<std::string>{} : found->second;
}

std::optional<double> TArguments::Number(std::string_view option) const {
    const std::optional<std::string> text = Text(option);
    return text ? ParseNumber(*text) : std::nullopt;
}

void TArguments::Add(std::string_view option, std::string value) {
    auto found = Given.find(option);
    if (found == Given.end()) {
        found = Given.emplace(std::string(option), std::vector<std::string>{}).first;
    }
    Order.emplace_back(option, value);
    found->second.push_back(std::move(value));
}

std::variant<TArguments, std::string> ParseArguments(const std::vector<std::string>& arguments,
                                                     const TArgumentRules& rules) {
    TArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            parsed.Positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const TOptionRule* rule = FindRule(rules, name);
        if (rule == nullptr) {
            return "unknown option " + name;
        }
        if (rule->Kind == TOptionKind::okFlag) {
            if (equals != std::string::npos) {
                return name + " takes no value";
            }
            parsed.Add(name, "");
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return name + " needs a value";
        }
        if (const auto problem = CheckValue(*rule, value)) {
            return *problem;
        }
        parsed.Add(name, std::move(value));
    }
    if (parsed.Positional.size() < rules.MinPositional) {
        return "too few arguments";
    }
    if (parsed.Positional.size() > rules.MaxPositional) {
        return "unexpected argument \"" + parsed.Positional[rules.MaxPositional] + "\"";
    }
    for (const std::string& positional : parsed.Positional) {
        if (positional.empty()) {
            return "an empty argument where a folder or file is expected";
        }
    }
    return parsed;
}

bool AsksForHelp(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            return false;
        }
        if (argument == "--help" || argument == "-h") {
            return true;
        }
    }
    return false;
}

std::optional<double> ParseNumber(std::string_view text) {
    // from_chars reads the same in every locale, whatever the Qt application set.
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace kavo
