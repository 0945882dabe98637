#include "cli/TJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kavo {

TJson& TJson::Open(char bracket) {
    Separate();
    Out << bracket;
    First = true;
    return *this;
}

TJson& TJson::Close(char bracket) {
    Out << bracket;
    First = false;
    return *this;
}

TJson& TJson::Key(std::string_view key) {
    Separate();
    String(key);
    Out << ':';
    First = true;
    return *this;
}

TJson& TJson::Text(std::string_view text) {
    Separate();
    String(text);
    return *this;
}

TJson& TJson::Number(double x) {
    if (!std::isfinite(x)) {
        return Null();
    }
    Separate();
    // As "%.17g" would write it, but with "." whatever the locale.
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 17);
    Out.write(buffer, written.ptr - buffer);
    return *this;
}

TJson& TJson::Integer(long long n) {
    Separate();
    Out << n;
    return *this;
}

TJson& TJson::Bool(bool b) {
    Separate();
    Out << (b ? "true" : "false");
    return *this;
}

TJson& TJson::Null() {
    Separate();
    Out << "null";
    return *this;
}

void TJson::Separate() {
    if (!First) {
        Out << ',';
    }
    First = false;
}

void TJson::String(std::string_view text) {
    Out << '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            Out << '\\' << c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
            Out << buffer;
        } else {
            Out << c;
        }
    }
    Out << '"';
}

}  // namespace kavo
