#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kUsage =
    "usage: kavo-cli COMMAND [ARGUMENTS]\n"
    "Commands are added as the case file and the analyses come.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string_view(argv[1]) == "--help") {
        std::cout << kUsage;
        return argc < 2 ? 2 : 0;
    }
    std::cerr << "kavo-cli: unknown command \"" << argv[1] << "\"\n" << kUsage;
    return 2;
}
