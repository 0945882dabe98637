// libFuzzer target of the case document reader; built by scripts/fuzz-reader.sh.
//
// Whatever the bytes, reading must neither crash nor read out of bounds, and what was read must be
// written stably: writing it, reading that and writing again gives the same document.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "casefile/TCaseReader.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "model/TCase.h"
#include "model/TContext.h"

namespace {

using namespace kavo;

class TSilentMessages : public TMessages {
  public:
    void ShowError(const std::string&) override {}
    void ShowWarning(const std::string&) override {}
    void ShowInformation(const std::string&) override {}
};

class TSilentStatus : public TStatus {
  public:
    void SetStatusText(const std::string&) override {}
    void PumpEvents() override {}
};

class TCharacterMeasure : public TTextMeasure {
  public:
    int TextWidth(const TFont& font, std::string_view text) const override {
        return static_cast<int>(text.size()) * font.Size;
    }
    int TextHeight(const TFont& font, std::string_view) const override { return font.Size * 2; }
};

std::string Written(TCase& source) {
    TImageWriter noImages;
    std::string text;
    for (const std::string& line :
         TCaseWriter(source, noImages, [] { return std::string("now"); }).Document("")) {
        text += line + "\r\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TSilentMessages messages;
    TSilentStatus status;
    TCharacterMeasure measure;
    TContext context(messages, status, measure);
    TCase first(context);
    TCaseReader(first).ReadDocument(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string once = Written(first);
    TCase second(context);
    if (TCaseReader(second).ReadDocument(once) != TReadOutcome::roRead || Written(second) != once) {
        __builtin_trap();
    }
    return 0;
}
