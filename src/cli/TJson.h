#pragma once

#include <ostream>
#include <string_view>

namespace kavo {

// A streaming JSON writer for the documents kavo-cli prints: each call appends one value, key or
// bracket with the separator it needs. Numbers keep 17 significant digits so that they read back
// exactly; a number that is not finite is written as null. Texts are UTF-8 and are escaped as JSON
// requires.
class TJson {
  public:
    explicit TJson(std::ostream& out) : Out(out) {}

    // Opens an object ('{') or a list ('[').
    TJson& Open(char bracket);
    // Closes it with '}' or ']'.
    TJson& Close(char bracket);
    // The key of the next value in an object.
    TJson& Key(std::string_view key);
    TJson& Text(std::string_view text);
    TJson& Number(double x);
    TJson& Integer(long long n);
    TJson& Bool(bool b);
    TJson& Null();

  private:
    void Separate();
    void String(std::string_view text);

    std::ostream& Out;
    bool First = true;
};

}  // namespace kavo
