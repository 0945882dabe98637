#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/TCase.h"
#include "model/TContext.h"
#include "model/TMessages.h"
#include "model/TStatus.h"
#include "model/TTextMeasure.h"

namespace kavo::test {

// One message the core reported.
struct TMessage {
    enum class Kind { Error, Warning, Information } Kind;
    std::string Text;
    friend bool operator==(const TMessage&, const TMessage&) = default;
};

class TRecordingMessages : public TMessages {
  public:
    void ShowError(const std::string& text) override {
        Log.push_back({TMessage::Kind::Error, text});
    }
    void ShowWarning(const std::string& text) override {
        Log.push_back({TMessage::Kind::Warning, text});
    }
    void ShowInformation(const std::string& text) override {
        Log.push_back({TMessage::Kind::Information, text});
    }
    std::vector<TMessage> Log;
};

class TRecordingStatus : public TStatus {
  public:
    void SetStatusText(const std::string& text) override { Texts.push_back(text); }
    void PumpEvents() override { ++Pumps; }
    std::vector<std::string> Texts;
    int Pumps = 0;
};

// Text measure with fixed metrics: every character is CharWidth pixels wide (one more in bold), a
// line is LineHeight pixels high; the font size scales both relative to size 8.
class TFixedTextMeasure : public TTextMeasure {
  public:
    int TextWidth(const TFont& font, std::string_view text) const override {
        return static_cast<int>(text.size()) * (CharWidth + (font.Bold ? 1 : 0)) * font.Size / 8;
    }
    int TextHeight(const TFont& font, std::string_view) const override {
        return LineHeight * font.Size / 8;
    }
    int CharWidth = 6;
    int LineHeight = 13;
};

// The names of a concept list in its order.
template <typename T>
std::vector<std::string> NamesOf(const TConceptList<T>& list) {
    std::vector<std::string> names;
    for (const auto& item : list) {
        names.push_back(item->Name);
    }
    return names;
}

// A context with recording messages and status and fixed text metrics, and a case in it.
struct TTestPlatform {
    TRecordingMessages Messages;
    TRecordingStatus Status;
    TFixedTextMeasure Measure;
    TContext Context{Messages, Status, Measure};
};

struct TCaseFixture : TTestPlatform {
    TCase Case{Context};
};

}  // namespace kavo::test
