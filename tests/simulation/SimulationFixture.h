#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TPerception.h"
#include "simulation/RoundZero.h"
#include "simulation/Rounds.h"
#include "simulation/TRoundExecution.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

namespace kavo::test {

// A case built perception by perception, compiled into round 0 and played round by round.
class TSimulationFixture : public TCaseFixture {
  public:
    // The perception of the actor (short name: its first letter) in the arena, made on first use.
    TPerceptionBuilder& In(const std::string& arena, const std::string& actor) {
        for (const auto& builder : Builders) {
            if (builder->Arena->Name == arena && builder->Actor->Name == actor) {
                return *builder;
            }
        }
        Builders.push_back(std::make_unique<TPerceptionBuilder>(Case, actor, arena));
        return *Builders.back();
    }
    // The action of an actor, shown in another actor's perception.
    TFiP* OthersAction(TPerceptionBuilder& builder, const std::string& name,
                       const std::string& owner) {
        return builder.Show(Case.FindOrCreateFactor(name, false, true, owner.substr(0, 1)));
    }
    TFactor* Stock(const std::string& name) { return Case.FindOrCreateFactor(name, true); }

    TArena* Compile() {
        TakeSimulationArenas(Case);
        return CompileRound0(Case);
    }
    // The round after the given one; the later rounds are replaced.
    TRoundReport Next(TArena* previous) {
        std::optional<TRoundReport> report = TRoundExecution(Case).Run(previous);
        EXPECT_TRUE(report.has_value());
        return report.value_or(TRoundReport{});
    }
    // Rounds 1..n after a fresh round 0; returns the last.
    TArena* Play(int rounds) {
        TArena* round = Compile();
        for (int i = 0; i < rounds; ++i) {
            round = Next(round).Round;
        }
        return round;
    }

    static TAiA* RecordOf(const TArena& arena, const std::string& actor) {
        for (const auto& record : arena.Actors) {
            if (record->Actor->Name == actor) {
                return record.get();
            }
        }
        return nullptr;
    }
    TFiP* StateOf(const TArena& round, const std::string& factor) const {
        return round.AnalystView->FindFiP(Case.FactorList.Find(factor));
    }
    std::vector<std::string> Warnings() const {
        std::vector<std::string> texts;
        for (const TMessage& message : Messages.Log) {
            texts.push_back(message.Text);
        }
        return texts;
    }
    // The case document as the writer makes it, with a fixed date.
    std::vector<std::string> Document(TCase& c) const {
        TImageWriter none;
        return TCaseWriter(c, none, [] { return std::string("2026-01-01 00:00:00"); }).Document("");
    }

    std::vector<std::unique_ptr<TPerceptionBuilder>> Builders;
};

}  // namespace kavo::test
