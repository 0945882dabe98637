#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analyses/TAnalysisCatalog.h"
#include "casefile/CaseFileFixture.h"
#include "model/TAiA.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

namespace kavo {
namespace {

// Builds the example case of examples/Water: a fictional river valley where a city, farmers, a
// power company and a nature group argue over water in a drought and over raising a dam.
class TWaterCase {
  public:
    explicit TWaterCase(TCase& target) : Case(target) {}

    void Build() {
        Case.Name = "Water for the Green Valley";
        Case.Comment = {"A fictional case: four parties share the river of the Green Valley.",
                        "In a dry summer they argue over who may take how much water, and over",
                        "the power company's plan to raise its dam."};
        Case.MaxWidth = 900;
        Case.MaxHeight = 600;
        Dictionary();
        Relations();
        Drought();
        Dam();
        Analyses();
    }

  private:
    // Every arena and actor apart, the factors of each group taken together, and a
    // selection of the factor and arena analyses.
    void Analyses() {
        Case.ArenaGrouping = 3;
        Case.ActorGrouping = 3;
        Case.FactorGrouping = 1;
        TAnalysisCatalog catalog;
        const auto select = [&](const char* title, std::vector<int> fields) {
            TAnalysis& analysis = *catalog.Find(title);
            analysis.Selected = true;
            for (std::size_t i = 0; i < analysis.Fields.size(); ++i) {
                analysis.Fields[i]->Selected =
                    std::ranges::find(fields, static_cast<int>(i)) != fields.end();
            }
        };
        select("Relevance", {0, 1, 2, 5, 7, 9});
        select("Connectivity and centrality", {0, 2, 5, 6});
        select("Controllability", {0, 1, 2, 3});
        select("Perceived Causal Relations", {0, 1, 3});
        select("Issue Linkage", {0, 1, 2, 3, 4, 5, 6, 7});
        for (const std::string& line : catalog.SelectionLines()) {
            for (const char* title :
                 {"Relevance=", "Connectivity and centrality=", "Controllability=",
                  "Perceived Causal Relations=", "Issue Linkage="}) {
                if (line.find(std::string("\"") + title) != std::string::npos) {
                    Case.AnalysisLines.push_back(line);
                }
            }
        }
    }

    TTag* Tag(const char* name, std::uint32_t light, std::uint32_t mid, std::uint32_t dark) {
        TTag* tag = Case.FindOrCreateTag(name);
        tag->LightColor = light;
        tag->MidColor = mid;
        tag->DarkColor = dark;
        return tag;
    }

    void Dictionary() {
        TTag* economy = Tag("Economy", 0x80FFFF, 0x00C0C0, 0x004040);
        TTag* nature = Tag("Nature", 0x80FF80, 0x00A000, 0x004000);
        TTag* publicSector = Tag("Public", 0xFFC080, 0xC08000, 0x402000);
        nature->Comment = {"Concepts about the river's ecology"};
        TGroup* green = Case.FindOrCreateGroup("Green concerns", "factors");
        green->Tags = {nature};
        green->Checked = true;
        green->UpdateDescription();
        TGroup* money = Case.FindOrCreateGroup("Money matters", "factors");
        money->Tags = {economy};
        money->Checked = true;
        money->UpdateDescription();
        TGroup* authorities = Case.FindOrCreateGroup("Authorities", "actors");
        authorities->Tags = {publicSector};
        authorities->UpdateDescription();

        Reservoir = Case.FindOrCreateFactor("Reservoir_level", true);
        Reservoir->Comment = {"Water held behind the dam, in millions of cubic metres"};
        Reservoir->Tags = {nature, economy};
        RiverFlow = Case.FindOrCreateFactor("River flow");
        RiverFlow->Tags = {nature};
        FishStock = Case.FindOrCreateFactor("Fish population", true);
        FishStock->Tags = {nature};
        FishStock->Comment = {"Trout and grayling below the dam"};
        Rainfall = Case.FindOrCreateFactor("Rainfall");
        CropYield = Case.FindOrCreateFactor("Crop yield");
        CropYield->Tags = {economy};
        WaterPrice = Case.FindOrCreateFactor("Water price");
        WaterPrice->Tags = {economy, publicSector};
        Power = Case.FindOrCreateFactor("Power output");
        Power->Tags = {economy};

        City = Case.FindOrCreateActor("City of Greenford", "City");
        City->Tags = {publicSector};
        City->Comment = {"Runs the water works and sets the water price"};
        Farmers = Case.FindOrCreateActor("Valley farmers", "Farmers");
        Farmers->Comment = {"About two hundred farms along the river"};
        Hydro = Case.FindOrCreateActor("Greenford Hydro", "Hydro");
        Hydro->Tags = {economy};
        Trust = Case.FindOrCreateActor("River Trust", "Trust");
        Trust->Tags = {nature};

        Rationing = Case.FindOrCreateFactor("Water rationing", false, true, "City");
        Rationing->Comment = {"Limits on garden watering and car washing"};
        PriceRise = Case.FindOrCreateFactor("Raise water price", false, true, "City");
        CityBudget = Case.FindOrCreateFactor("Budget", true, false, "City");
        Irrigation = Case.FindOrCreateFactor("Irrigation", false, true, "Farmers");
        FarmIncome = Case.FindOrCreateFactor("Income", true, false, "Farmers");
        Release = Case.FindOrCreateFactor("Water release", false, true, "Hydro");
        RaiseDam = Case.FindOrCreateFactor("Raise dam", false, true, "Hydro");
        RaiseDam->Comment = {"Four metres higher; needs a permit from the city"};
        Profit = Case.FindOrCreateFactor("Profit", false, false, "Hydro");
        Lawsuit = Case.FindOrCreateFactor("Go to court", false, true, "Trust");
        Members = Case.FindOrCreateFactor("Members", true, false, "Trust");
    }

    void Relate(TActor* from, TActor* to, std::array<std::int16_t, 4> strengths,
                std::vector<std::string> comment = {}) {
        auto relation = std::make_unique<TActorRelation>(from, to);
        relation->Strength = strengths;
        relation->Comment = std::move(comment);
        Case.Relations.push_back(std::move(relation));
    }

    void Relations() {
        Relate(City, Farmers, {2, 1, 0, 1});
        Relate(Farmers, City, {-1, 0, 0, 0}, {"Angry about last year's rationing"});
        Relate(City, Hydro, {0, 1, 1, 0}, {"The city grants the dam permit"});
        Relate(Trust, Hydro, {-3, 0, 0, 1});
        Relate(Hydro, Trust, {-1, 0, 0, 0});
    }

    TFiP* Show(TPerception& perception, TFactor* factor, int x, int y) {
        auto fip = std::make_unique<TFiP>(factor);
        fip->X = x;
        fip->Y = y;
        const int index = perception.Add(std::move(fip));
        return perception.FiPs[static_cast<std::size_t>(index)].get();
    }
    TLink* Link(TPerception& perception, TFiP* from, TFiP* to, int level, int degree = 0) {
        auto link = std::make_unique<TLink>(Case, from, to);
        link->Level = static_cast<std::int8_t>(level);
        link->Uncertainty = static_cast<std::uint8_t>(degree);
        link->Vector = UncertaintyProfile(degree, level);
        link->Distribution.SetMultiplier(Case, level, degree);
        const int index = perception.Add(std::move(link));
        return perception.Links[static_cast<std::size_t>(index)].get();
    }
    void Goal(TPerception& perception, TFiP* fip, TGoalType type, int level, int priority) {
        perception.Add(std::make_unique<TGoal>(Case, fip, type, level, priority));
    }
    void Prospect(TPerception& perception, TFiP* fip, int level, int degree) {
        perception.Add(std::make_unique<TProspect>(Case, fip, level, degree));
    }
    void Range(TFiP* action, TActionRange range) {
        action->ActionRange = range;
        action->UpdateFeasibleLevels();
    }
    TAiA* Join(TArena* arena, TActor* actor) {
        TAiA* record = arena->AddActor(actor);
        record->Priority = static_cast<int>(arena->Actors.size());
        return record;
    }

    void Drought() {
        TArena* arena = Case.FindOrCreateArena("Summer drought");
        arena->Comment = {"Three dry months; the reservoir is at a third of its volume."};
        arena->Tags = {Case.TagList.Find("Nature")};

        TPerception& view = *arena->AnalystView;
        TFiP* rain = Show(view, Rainfall, 80, 60);
        TFiP* flow = Show(view, RiverFlow, 260, 60);
        TFiP* reservoir = Show(view, Reservoir, 440, 130);
        TFiP* irrigation = Show(view, Irrigation, 260, 200);
        TFiP* crops = Show(view, CropYield, 440, 200);
        TFiP* fish = Show(view, FishStock, 620, 60);
        Prospect(view, rain, -2, 1);
        Link(view, rain, flow, 3);
        Link(view, flow, reservoir, 2);
        Link(view, irrigation, flow, -2, 1);
        Link(view, irrigation, crops, 2);
        Link(view, flow, fish, 2, 2);
        view.FiPs[0]->Comment = {"Analyst's estimate from the weather service"};

        TAiA* city = Join(arena, City);
        city->Comment = {"Acts first: rationing must be announced a week ahead"};
        TPerception& cityView = *city->Perception;
        TFiP* cRation = Show(cityView, Rationing, 80, 80);
        TFiP* cPrice = Show(cityView, PriceRise, 80, 220);
        TFiP* cReservoir = Show(cityView, Reservoir, 300, 80);
        TFiP* cWaterPrice = Show(cityView, WaterPrice, 400, 220);
        TFiP* cBudget = Show(cityView, CityBudget, 520, 220);
        TFiP* cIrrigation = Show(cityView, Irrigation, 300, 340);
        Range(cRation, TActionRange{{false, false, false, true, true, true, true}});
        Range(cPrice, TActionRange{{false, false, false, true, true, true, false}});
        cPrice->ChosenLevel = 1;
        Link(cityView, cRation, cReservoir, 2, 1);
        Link(cityView, cPrice, cWaterPrice, 3);
        Link(cityView, cWaterPrice, cBudget, 2, 1);
        Link(cityView, cWaterPrice, cIrrigation, -1, 2)->Comment = {
            "Farmers pay the same tariff, but may pump from wells instead"};
        Link(cityView, cIrrigation, cReservoir, -2);
        Prospect(cityView, cReservoir, -2, 1);
        Goal(cityView, cReservoir, TGoalType::gtNegative, -2, 3);
        Goal(cityView, cBudget, TGoalType::gtStandard, 1, 1);

        TAiA* farmers = Join(arena, Farmers);
        TPerception& farmView = *farmers->Perception;
        // Crop yield above the line from income back to irrigation, so that the loop shows.
        TFiP* fIrrigation = Show(farmView, Irrigation, 80, 170);
        TFiP* fCrops = Show(farmView, CropYield, 300, 70);
        TFiP* fIncome = Show(farmView, FarmIncome, 520, 170);
        TFiP* fPrice = Show(farmView, WaterPrice, 300, 290);
        Range(fIrrigation, TActionRange{{true, true, true, true, true, false, false}});
        Link(farmView, fIrrigation, fCrops, 3);
        Link(farmView, fCrops, fIncome, 2);
        Link(farmView, fPrice, fIncome, -2, 1);
        Link(farmView, fIncome, fIrrigation, 1, 2)->Comment = {
            "A good year pays for more pumping: a feedback loop"};
        Prospect(farmView, fPrice, 1, 2);
        Goal(farmView, fIncome, TGoalType::gtStandard, 2, 3);
        farmView.Add(
            std::make_unique<TGoal>(fCrops, TLevels<std::int8_t>{{-3, -2, -1, 0, 1, 2, 2}}));

        TAiA* trust = Join(arena, Trust);
        TPerception& trustView = *trust->Perception;
        TFiP* tFlow = Show(trustView, RiverFlow, 80, 100);
        TFiP* tFish = Show(trustView, FishStock, 300, 100);
        TFiP* tCourt = Show(trustView, Lawsuit, 80, 240);
        TFiP* tRelease = Show(trustView, Release, 300, 240);
        TFiP* tMembers = Show(trustView, Members, 520, 100);
        Range(tCourt, TActionRange{{false, false, false, true, true, false, false}});
        Link(trustView, tFlow, tFish, 3, 1);
        Link(trustView, tCourt, tRelease, 1, 3)->Comment = {"Courts are slow and unpredictable"};
        Link(trustView, tRelease, tFlow, 2);
        Link(trustView, tFish, tMembers, 1, 2);
        Goal(trustView, tFish, TGoalType::gtStandard, 0, 3);
        trustView.FiPs.back()->Comment = {"Members join when the river is in the news"};
    }

    void Dam() {
        TArena* arena = Case.FindOrCreateArena("Raising the dam");
        arena->Tags = {Case.TagList.Find("Economy"), Case.TagList.Find("Nature")};
        TPerception& view = *arena->AnalystView;
        TFiP* dam = Show(view, RaiseDam, 80, 100);
        TFiP* reservoir = Show(view, Reservoir, 300, 100);
        TFiP* power = Show(view, Power, 520, 100);
        TFiP* fish = Show(view, FishStock, 300, 240);
        Link(view, dam, reservoir, 3);
        Link(view, reservoir, power, 2);
        Link(view, dam, fish, -2, 2);

        TAiA* hydro = Join(arena, Hydro);
        hydro->Comment = {"Wants the permit before the autumn rains"};
        TPerception& hydroView = *hydro->Perception;
        TFiP* hDam = Show(hydroView, RaiseDam, 80, 100);
        TFiP* hReservoir = Show(hydroView, Reservoir, 300, 100);
        TFiP* hPower = Show(hydroView, Power, 520, 100);
        TFiP* hProfit = Show(hydroView, Profit, 740, 100);
        TFiP* hRelease = Show(hydroView, Release, 300, 240);
        hReservoir->Operator = TOperator::opMin;
        Range(hDam, TActionRange{{false, false, false, true, true, true, false}});
        Range(hRelease, TActionRange{{true, true, true, true, true, true, true}});
        Link(hydroView, hDam, hReservoir, 3);
        Link(hydroView, hRelease, hReservoir, -2);
        Link(hydroView, hReservoir, hPower, 2);
        Link(hydroView, hPower, hProfit, 3);
        Goal(hydroView, hProfit, TGoalType::gtStandard, 3, 3);
        Prospect(hydroView, hPower, 0, 1);

        TAiA* city = Join(arena, City);
        TPerception& cityView = *city->Perception;
        TFiP* cDam = Show(cityView, RaiseDam, 80, 100);
        TFiP* cReservoir = Show(cityView, Reservoir, 300, 100);
        TFiP* cPrice = Show(cityView, WaterPrice, 520, 100);
        Link(cityView, cDam, cReservoir, 2, 1);
        Link(cityView, cReservoir, cPrice, -1, 2);
        cityView.Add(
            std::make_unique<TGoal>(cPrice, TLevels<std::int8_t>{{1, 1, 1, 0, -1, -2, -3}}));

        TAiA* trust = Join(arena, Trust);
        TPerception& trustView = *trust->Perception;
        TFiP* tDam = Show(trustView, RaiseDam, 80, 100);
        TFiP* tFish = Show(trustView, FishStock, 300, 100);
        TFiP* tCourt = Show(trustView, Lawsuit, 80, 240);
        Link(trustView, tDam, tFish, -3, 1);
        Link(trustView, tCourt, tDam, -2, 3);
        Goal(trustView, tFish, TGoalType::gtNegative, -1, 3);
        Goal(trustView, tDam, TGoalType::gtNegative, 1, 2);
    }

    TCase& Case;
    TFactor* Reservoir = nullptr;
    TFactor* RiverFlow = nullptr;
    TFactor* FishStock = nullptr;
    TFactor* Rainfall = nullptr;
    TFactor* CropYield = nullptr;
    TFactor* WaterPrice = nullptr;
    TFactor* Power = nullptr;
    TActor* City = nullptr;
    TActor* Farmers = nullptr;
    TActor* Hydro = nullptr;
    TActor* Trust = nullptr;
    TFactor* Rationing = nullptr;
    TFactor* PriceRise = nullptr;
    TFactor* CityBudget = nullptr;
    TFactor* Irrigation = nullptr;
    TFactor* FarmIncome = nullptr;
    TFactor* Release = nullptr;
    TFactor* RaiseDam = nullptr;
    TFactor* Profit = nullptr;
    TFactor* Lawsuit = nullptr;
    TFactor* Members = nullptr;
};

// The example case in examples/Water is the document this code writes. After a deliberate change
// of the example or the format, KAVO_UPDATE_GOLDEN=1 writes it anew.
TEST(ExampleCaseTest, WaterDocumentIsTheOneTheCodeWrites) {
    test::TCaseFixture fixture;
    TWaterCase(fixture.Case).Build();
    ASSERT_TRUE(fixture.Messages.Log.empty()) << fixture.Messages.Log.front().Text;
    const std::filesystem::path folder = std::string(KAVO_EXAMPLES) + "/Water";
    if (std::getenv("KAVO_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(WriteCase(fixture.Case, folder.string()));
    }
    TImageWriter noImages;
    std::vector<std::string> written = TCaseWriter(fixture.Case, noImages).Document("");
    std::vector<std::string> stored = test::SplitLines(test::ReadFile(folder / "KAVO case.htm"));
    // The date of writing is the one line that may differ.
    const auto undated = [](std::vector<std::string>& lines) {
        for (std::string& line : lines) {
            if (line.starts_with("<!-- Generated by KAVO version")) {
                line = line.substr(0, line.find(" on "));
            }
        }
    };
    undated(written);
    undated(stored);
    EXPECT_EQ(written, stored);
}

}  // namespace
}  // namespace kavo
