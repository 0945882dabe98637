#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "model/LabelLayout.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

using test::NamesOf;
using test::TMessage;

class CaseTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    TMessage Warning(const std::string& text) { return {TMessage::Kind::Warning, text}; }
    TMessage Error(const std::string& text) { return {TMessage::Kind::Error, text}; }

    // Shows the factor in the perception; returns its FiP.
    TFiP* Show(TPerception& perception, TFactor* factor) {
        const int index = perception.Add(std::make_unique<TFiP>(factor));
        return perception.FiPs[static_cast<std::size_t>(index)].get();
    }
};

TEST_F(CaseTest, NewCaseHasTheDefaultOptions) {
    EXPECT_EQ(Case.Name, "New case");
    EXPECT_EQ(Case.Version, "1.3.3");
    EXPECT_FALSE(Case.Modified);
    EXPECT_EQ(Case.ChangeLevels, (TLevels<double>{{-4, -2, -1, 0, 1, 2, 4}}));
    EXPECT_EQ(Case.LinkMultipliers, (TLevels<double>{{-2, -1, -0.5, 0, 0.5, 1, 2}}));
    EXPECT_EQ(Case.MaxUtility, Case.UtilityLevels[3]);
    EXPECT_EQ(Case.StdUtilityVectors.Row(2, 0),
              (TLevels<std::int8_t>{{-3, -3, -2, 2, -2, -3, -3}}));
    EXPECT_EQ(Case.NegUtilityVectors.Row(3, 1), (TLevels<std::int8_t>{{0, 0, 0, 0, -3, -3, -3}}));
    EXPECT_EQ(Case.StdUtilityVectors.Entries[TUtilityVectors::Index(1, -3, -3)], 1);
    EXPECT_EQ(Case.Font, (TFont{"MS Sans Serif", 8}));
    EXPECT_EQ(Case.SampleTextWidth, Measure.TextWidth(Case.Font, "MMWW"));
    EXPECT_EQ(Case.SampleTextHeight, Measure.TextHeight(Case.Font, "[hg]"));
    EXPECT_EQ(Case.MaxWidth, Context.ScreenWidth);
    EXPECT_EQ(Case.AutofocusThreshold, 30);
    EXPECT_EQ(Case.AutofocusResolution, 5);
    EXPECT_EQ(Case.Evaluations, 100);
    EXPECT_EQ(Case.RandomSeed, 123456789);
    EXPECT_EQ(Case.ArenaGrouping, 4);
    EXPECT_EQ(Case.ActorGrouping, 4);
    EXPECT_EQ(Case.FactorGrouping, 3);
}

TEST_F(CaseTest, FindOrCreateOfBlanksCreatesNothing) {
    for (TConceptKind kind : {TConceptKind::ckTag, TConceptKind::ckArena, TConceptKind::ckActor,
                              TConceptKind::ckFactor, TConceptKind::ckGroup}) {
        EXPECT_EQ(Case.FindOrCreate(kind, "   "), nullptr);
    }
    EXPECT_FALSE(Case.Modified);
    EXPECT_TRUE(Case.TagList.Empty() && Case.ArenaList.Empty() && Case.ActorList.Empty() &&
                Case.FactorList.Empty() && Case.GroupList.Empty());
}

TEST_F(CaseTest, FindOrCreateFindsWithoutRegardToCaseAndTrims) {
    TArena* arena = Case.FindOrCreateArena("  Water ");
    ASSERT_NE(arena, nullptr);
    EXPECT_EQ(arena->Name, "Water");
    EXPECT_TRUE(Case.Modified);
    EXPECT_NE(arena->AnalystView, nullptr);
    EXPECT_TRUE(arena->Actors.empty());
    EXPECT_EQ(Case.FindOrCreateArena("WATER"), arena);
    EXPECT_EQ(Case.ArenaList.Size(), 1);
}

TEST_F(CaseTest, ExistingActorKeepsItsShortName) {
    TActor* farmers = Case.FindOrCreateActor("Farmers", "F");
    EXPECT_EQ(Case.FindOrCreateActor("farmers", "X"), farmers);
    EXPECT_EQ(farmers->ShortName, "F");
    EXPECT_EQ(Case.FindOrCreateActor("Government")->ShortName, "Government");
    EXPECT_EQ(Case.FindActorByShortName("F"), farmers);
    EXPECT_EQ(Case.FindActorByShortName("f"), nullptr);
}

TEST_F(CaseTest, ShortNamesStayUnique) {
    Case.FindOrCreateActor("Farmers", "F");
    TActor* fishers = Case.FindOrCreateActor("Fishers", "Fi");
    EXPECT_EQ(Case.FindOrCreateActor("Foresters", "f"), nullptr);
    EXPECT_EQ(fishers->ShortName, "Fi");
    EXPECT_EQ(Messages.Log, std::vector<TMessage>{Warning("Short actor name already in use")});
    EXPECT_EQ(Case.ActorList.Size(), 2);
}

TEST_F(CaseTest, FactorOfAnActorCarriesItsShortName) {
    TActor* farmers = Case.FindOrCreateActor("Farmers", "F");
    TFactor* price = Case.FindOrCreateFactor("Price", false, true, "F");
    ASSERT_NE(price, nullptr);
    EXPECT_EQ(price->Name, "Price [F]");
    EXPECT_EQ(price->Owner, farmers);
    EXPECT_EQ(farmers->Actions, std::vector<TFactor*>{price});
    TFactor* plain = Case.FindOrCreateFactor("Price");
    EXPECT_NE(plain, price);
    EXPECT_EQ(plain->Owner, nullptr);
    EXPECT_EQ(Case.FindOrCreateFactor("price", true, false, "F"), price);
    EXPECT_TRUE(price->IsAction);
    EXPECT_EQ(KindWord(price), "action");
    EXPECT_EQ(KindWord(plain), "factor");
}

TEST_F(CaseTest, StockFlagOfNewFactors) {
    Case.FindOrCreateActor("Farmers", "F");
    struct Case_ {
        const char* Name;
        bool Stock;
        bool Action;
        const char* Short;
        bool ExpectStock;
        const char* Kind;
    };
    const Case_ cases[] = {
        {"Subsidy", true, true, "F", false, "action"},  // an action is never a stock
        {"Land", true, false, "F", true, "attribute"},
        {"Income", false, false, "F", false, "attribute"},
        {"Rain", true, false, "", true, "factor"},
    };
    for (const Case_& c : cases) {
        TFactor* factor = Case.FindOrCreateFactor(c.Name, c.Stock, c.Action, c.Short);
        ASSERT_NE(factor, nullptr) << c.Name;
        EXPECT_EQ(factor->IsStock, c.ExpectStock) << c.Name;
        EXPECT_EQ(KindWord(factor), c.Kind) << c.Name;
    }
}

TEST_F(CaseTest, FactorForAnUnknownActorKeepsItsBareNameInSortedPlace) {
    Case.FindOrCreateFactor("Price");
    Case.FindOrCreateFactor("Tax");
    TFactor* orphan = Case.FindOrCreateFactor("Quota", false, true, "Nobody");
    ASSERT_NE(orphan, nullptr);
    EXPECT_EQ(orphan->Name, "Quota");
    EXPECT_EQ(orphan->Owner, nullptr);
    EXPECT_TRUE(orphan->IsAction);
    EXPECT_EQ(NamesOf(Case.FactorList), (std::vector<std::string>{"Price", "Quota", "Tax"}));
    // A second orphan of the same bare name is the same concept, not a duplicate.
    EXPECT_EQ(Case.FindOrCreateFactor("Quota", false, true, "Nobody"), orphan);
    EXPECT_EQ(Case.FindOrCreateFactor("Price", false, true, "Nobody"), Case.FactorList[0]);
    EXPECT_EQ(Case.FactorList.Size(), 3);
    EXPECT_EQ(Messages.Log.front(), Error("Actor \"Nobody\" undefined"));
}

TEST_F(CaseTest, NamesThatTheCaseFileCannotCarryAreRefused) {
    struct Case_ {
        TConceptKind Kind;
        const char* Name;
        const char* Text;
    };
    const Case_ cases[] = {
        {TConceptKind::ckFactor, "a</td>b", "</td>"},
        {TConceptKind::ckFactor, "x <SPAN y", "<span"},
        {TConceptKind::ckTag, "a&nbsp;b", "&nbsp;"},
        {TConceptKind::ckArena, "The \"big\" one", "\""},
        {TConceptKind::ckFactor, "Price [F]", " ["},
        {TConceptKind::ckActor, "Farmers [F]", " ["},
        {TConceptKind::ckGroup, "Dry</table>", "</table>"},
        {TConceptKind::ckTag, "Cost<Benefit", "<Benefit"},
        {TConceptKind::ckActor, "A <!-- B -->", "<!-- B -->"},
    };
    for (const Case_& c : cases) {
        Messages.Log.clear();
        EXPECT_EQ(Case.FindOrCreate(c.Kind, c.Name), nullptr) << c.Name;
        EXPECT_EQ(Messages.Log, std::vector<TMessage>{Warning("Names may not contain \"" +
                                                              std::string(c.Text) + "\"")});
    }
    EXPECT_FALSE(Case.Modified);
    // The simulation names its round arenas so.
    EXPECT_NE(Case.FindOrCreateArena("*Round  1"), nullptr);
    EXPECT_TRUE(Case.FindOrCreateFactor("Quota", false, true, "F") != nullptr);
    // A "<" that starts no markup is an ordinary character.
    EXPECT_NE(Case.FindOrCreateFactor("Price < 5"), nullptr);
}

TEST_F(CaseTest, GroupsTakeTheirKindFromTheKindText) {
    EXPECT_EQ(Case.FindOrCreateGroup("A", "arenas")->GroupKind, TGroupKind::gkArena);
    EXPECT_EQ(Case.FindOrCreateGroup("B", "actors")->GroupKind, TGroupKind::gkActor);
    EXPECT_EQ(Case.FindOrCreateGroup("C", "anything")->GroupKind, TGroupKind::gkFactor);
    TGroup* empty = Case.GroupList[0];
    EXPECT_EQ(empty->Comment, std::vector<std::string>{"{}"});
    EXPECT_FALSE(empty->Checked);
    Case.FindOrCreateArena("Water")->Tags.push_back(Case.FindOrCreateTag("T"));
    EXPECT_TRUE(empty->MemberList().empty());
}

TEST_F(CaseTest, NewTagNameTakesTheFirstFreeNumber) {
    EXPECT_EQ(Case.NewTagName(), "New tag");
    Case.FindOrCreateTag("new TAG");
    EXPECT_EQ(Case.NewTagName(), "New tag 1");
    Case.FindOrCreateTag("New tag 1");
    Case.FindOrCreateTag("New tag 3");
    EXPECT_EQ(Case.NewTagName(), "New tag 2");
}

TEST_F(CaseTest, FindRelationRespectsDirection) {
    TActor* a = Case.FindOrCreateActor("A");
    TActor* b = Case.FindOrCreateActor("B");
    Case.Relations.push_back(std::make_unique<TActorRelation>(a, b));
    EXPECT_EQ(Case.FindRelation(a, b), 0);
    EXPECT_EQ(Case.FindRelation(b, a), -1);
}

TEST_F(CaseTest, FontWithUnchangedMetricsMovesNothing) {
    TFactor* rain = Case.FindOrCreateFactor("Rain");
    TArena* arena = Case.FindOrCreateArena("Water");
    TFiP* fip = Show(*arena->AnalystView, rain);
    fip->X = 101;
    fip->Y = 57;
    Case.Font.Name = "Another face";
    Case.ApplyCaseFont();
    EXPECT_EQ(Case.FontScaleX, 1);
    EXPECT_EQ(Case.FontScaleY, 1);
    EXPECT_EQ(fip->X, 101);
    EXPECT_EQ(fip->Y, 57);
}

TEST_F(CaseTest, LargerFontRescalesBoxesAndPositions) {
    TFactor* rain = Case.FindOrCreateFactor("Rain and snow in the mountains");
    TArena* arena = Case.FindOrCreateArena("Water");
    TFiP* fip = Show(*arena->AnalystView, rain);
    fip->X = 100;
    fip->Y = 50;
    const int oldWidth = rain->BoxWidth;
    const int oldHeight = rain->BoxHeight;
    Case.Font.Size = 16;
    Case.ApplyCaseFont();
    EXPECT_EQ(Case.RescaledCount, 1);
    EXPECT_DOUBLE_EQ(Case.FontScaleX, static_cast<double>(rain->BoxWidth) / oldWidth);
    EXPECT_DOUBLE_EQ(Case.FontScaleY, static_cast<double>(rain->BoxHeight) / oldHeight);
    EXPECT_GT(Case.FontScaleX, 1.5);
    EXPECT_EQ(fip->X, static_cast<int>(std::nearbyint(100 * Case.FontScaleX)));
    EXPECT_EQ(fip->Y, static_cast<int>(std::nearbyint(50 * Case.FontScaleY)));
}

TEST_F(CaseTest, FactorBoxFollowsTheLabel) {
    Case.FindOrCreateActor("Farmers", "F");
    TFactor* rain = Case.FindOrCreateFactor("Rain");
    TFactor* price = Case.FindOrCreateFactor("Price", false, true, "F");
    const TLabelLayout rainLabel = LayoutLabel(Measure, Case.Font, "Rain");
    EXPECT_EQ(rain->TextWidth, 2 * (rainLabel.Width / 2) + 7);
    const int rainHeight = 2 * (rainLabel.Height / 2) + 5;
    EXPECT_EQ(rain->BoxHeight, rainHeight);
    EXPECT_EQ(rain->BoxWidth, rain->TextWidth + rainHeight - 1);
    EXPECT_EQ(rain->LabelLines, std::vector<std::string>{"Rain"});
    const TLabelLayout priceLabel = LayoutLabel(Measure, Case.Font, "Price [F]");
    EXPECT_EQ(price->BoxWidth, std::max(price->TextWidth + 24, 80));
    EXPECT_EQ(price->BoxHeight, 2 * (priceLabel.Height / 2) + 5 + 12);
}

TEST_F(CaseTest, LevelsOfValues) {
    struct Case_ {
        double Value;
        int Change;
    };
    const Case_ cases[] = {{0.99, 0},  {1, 1}, {-1, -1}, {-0.99, 0}, {3.9, 2}, {100, 3},
                           {-100, -3}, {4, 3}, {-2, -2}, {-4, -3},   {0, 0}};
    for (const Case_& c : cases) {
        EXPECT_EQ(Case.ChangeLevelOf(c.Value), c.Change) << c.Value;
    }
    EXPECT_EQ(Case.MultiplierLevelOf(0.5), 1);
    EXPECT_EQ(Case.MultiplierLevelOf(-2), -3);
    EXPECT_EQ(Case.MultiplierLevelOf(0.49), 0);
    const std::pair<double, int> extended[] = {{10, 6},   {4, 3},   {5.9, 3}, {6, 4},  {3.9, 2},
                                               {-10, -6}, {-4, -3}, {-6, -4}, {0.5, 0}};
    for (const auto& [value, level] : extended) {
        EXPECT_EQ(Case.ExtendedChangeLevelOf(value), level) << value;
    }
}

TEST_F(CaseTest, SettingTheLinkMultiplierSetsBothEnds) {
    Case.SetLinkMultiplier(4);
    EXPECT_EQ(Case.LinkMultipliers, (TLevels<double>{{-4, -1, -0.25, 0, 0.25, 1, 4}}));
    Case.SetUtilityLevels(1, 3, 9);
    EXPECT_EQ(Case.MaxUtility, 9);
}

}  // namespace
}  // namespace kavo

namespace kavo {
namespace {

class AddActorToArenaTest : public test::TCaseFixture, public ::testing::Test {
  protected:
    AddActorToArenaTest() {
        Arena = Case.FindOrCreateArena("Water");
        Farmers = Case.AddActorToArena(*Arena, "Farmers", "F");
    }
    TArena* Arena;
    TAiA* Farmers;
};

TEST_F(AddActorToArenaTest, NewActorGetsARecordWithAnEmptyPerception) {
    ASSERT_NE(Farmers, nullptr);
    EXPECT_EQ(Farmers->Actor->ShortName, "F");
    EXPECT_TRUE(Farmers->Perception->FiPs.empty());
    EXPECT_EQ(Farmers->Priority, 0);
    EXPECT_TRUE(Case.Modified);
}

TEST_F(AddActorToArenaTest, ActorAlreadyInTheArenaIsNotAddedTwice) {
    struct Case_ {
        const char* Name;
        const char* Short;
        bool Selects;
        const char* Warning;
    };
    const Case_ cases[] = {
        {"Farmers", "F", true, nullptr},
        {"farmers", "F2", true, nullptr},  // the same actor by name without regard to case
        {"Fishers", "F", false, "Short actor name already in use"},
        {"Farmers", "X", false, "Short actor name does not match full name"},
    };
    for (const Case_& c : cases) {
        Messages.Log.clear();
        TAiA* record = Case.AddActorToArena(*Arena, c.Name, c.Short);
        EXPECT_EQ(record, c.Selects ? Farmers : nullptr) << c.Name << " " << c.Short;
        if (c.Warning != nullptr) {
            EXPECT_EQ(Messages.Log, (std::vector<TMessage>{{TMessage::Kind::Warning, c.Warning}}));
        } else {
            EXPECT_TRUE(Messages.Log.empty());
        }
        EXPECT_EQ(Arena->Actors.size(), 1u);
    }
    EXPECT_EQ(Case.ActorList.Size(), 1);
}

TEST_F(AddActorToArenaTest, ActorOfAnotherArenaKeepsItsShortName) {
    TArena* land = Case.FindOrCreateArena("Land");
    TAiA* record = Case.AddActorToArena(*land, "Farmers", "Other");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Actor, Farmers->Actor);
    EXPECT_EQ(record->Actor->ShortName, "F");
}

}  // namespace
}  // namespace kavo
