// A recipe's ingredient lists end to end (beerxml2/recipe_ingredients.cc): the grain and hop bills,
// the adjuncts, the yeast and the water profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fixture.h"
#include "tests/fixture_recipes.h"
#include "tests/records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::Bytes;
using testing::ChildNames;
using testing::Contents;
using testing::ConvertedRecipe;
using testing::ConvertRecipe;
using testing::kRecipeOrder;
using testing::Lines;
using testing::TextAt;

using testing::BareRecipe;
using testing::FullRecipe;
using testing::RecipeFermentable;
using testing::RecipeHop;
using testing::RecipeMisc;

TEST(RecipeIngredients, FermentablesAndHops) {
  file::Recipe f = BareRecipe();
  f.fermentables = {RecipeFermentable("Pale Malt", 1, 8.25f, 3.5f, "Germany"),
                    RecipeFermentable("Mystery", 0, 1.0f), RecipeFermentable("Honey", 3, 0.5f)};
  f.hops = {
      RecipeHop("Magnum", 12.25f, 0, 0x2003, 1.5f, 60, 0, "Germany"),
      RecipeHop("Cascade", 5.5f, 4.5f, 0x0001, 1.0f, 62, 255, "US"),
      RecipeHop("Saaz", 3.5f, 0, 0x1000, 0.5f, 61, 0, ""),
      RecipeHop("Amarillo", 9.0f, 6.0f, 0x3000, 2.0f, 251, 255, ""),
      RecipeHop("Simcoe", 13.0f, 0, 0, 1.0f, 251, 254, ""),
  };
  ConvertedRecipe c;
  ConvertRecipe(f.SyncCounts(), c);
  ASSERT_TRUE(c.xml.result);
  const pugi::xml_node ingredients = c.Recipe().child("ingredients");
  EXPECT_EQ(ChildNames(ingredients), (Lines{"grain_bill", "hop_bill"}));

  const pugi::xml_node grain = ingredients.child("grain_bill").first_child();
  EXPECT_EQ(Contents(grain), (Lines{"name Pale Malt", "type grain", "color@scale=L 3.5",
                                    "origin Germany", "amount@mass=lb 8.250"}));
  EXPECT_EQ(TextAt(grain.next_sibling(), "type"), "");  // type 0 has no word
  EXPECT_EQ(TextAt(grain.next_sibling().next_sibling(), "type"), "sugar");

  std::vector<Lines> hops;
  for (pugi::xml_node hop : ingredients.child("hop_bill").children("hop")) {
    hops.push_back(Contents(hop));
  }
  ASSERT_EQ(hops.size(), 5u);
  EXPECT_EQ(hops[0],
            (Lines{"name Magnum", "origin Germany", "alpha_acid_units 12.25", "form pellet",
                   "use boil", "amount@mass=oz 1.50", "time@duration=min 60.0"}));
  // Mash hops whatever the marker says; beta acid written only when known.
  EXPECT_EQ(hops[1],
            (Lines{"name Cascade", "origin US", "alpha_acid_units 5.50", "beta_acid_units 4.50",
                   "form leaf", "use mash", "amount@mass=oz 1.00", "time@duration=min 90.0"}));
  EXPECT_EQ(hops[2][3], "form plug");
  EXPECT_EQ(hops[2][4], "use first wort");
  EXPECT_EQ(hops[2][6], "time@duration=min 40.0");
  EXPECT_EQ(hops[3][4], "form ");  // form 3 has no word
  EXPECT_EQ(hops[3][5], "use dry hop");
  EXPECT_EQ(hops[3][7], "time@duration=day 5.0");
  // Time 251 without the dry hop marker is just a long boil.
  EXPECT_EQ(hops[4][4], "use boil");
  EXPECT_EQ(hops[4][6], "time@duration=min 251.0");
}

TEST(RecipeIngredients, MiscellaneousAmountRule) {
  file::Recipe f = BareRecipe();
  f.miscs = {
      RecipeMisc("Irish Moss", 4, 6, 1.0f, 15, 0, 1),      // unit from the type: teaspoons, zeroed
      RecipeMisc("Irish Moss", 4, 3, 1.0f, 15, 0, 1),      // teaspoons as stored
      RecipeMisc("Vanilla Extract", 2, 0, 2.0f, 7, 1, 0),  // an extract in ounces: fluid ounces
      RecipeMisc("Vanilla Extract", 2, 1, 2.0f, 7, 1, 0),  // grams replaced by fluid ounces
      RecipeMisc("Gypsum", 2, 1, 0.0f, 60, 2, 1),          // grams, nothing used
      RecipeMisc("Oddity", 9, 6, 3.0f, 5, 7, 4),           // no words at all
  };
  ConvertedRecipe c;
  ConvertRecipe(f.SyncCounts(), c);
  ASSERT_TRUE(c.xml.result);
  std::vector<Lines> miscs;
  for (pugi::xml_node m : c.Recipe().child("ingredients").child("adjuncts").children()) {
    miscs.push_back(Contents(m));
  }
  ASSERT_EQ(miscs.size(), 6u);
  EXPECT_EQ(miscs[0], (Lines{"name Irish Moss", "type fining", "use boil", "amount@volume=tsp 0.0",
                             "time@duration=min 15.0"}));
  EXPECT_EQ(miscs[1][3], "amount@volume=tsp 1.00");
  EXPECT_EQ(miscs[2], (Lines{"name Vanilla Extract", "type other", "use secondary",
                             "amount@volume=ozfl 2.00", "time@duration=day 7.0"}));
  EXPECT_EQ(miscs[3][3], "amount@volume=ozfl 0.0");
  EXPECT_EQ(miscs[4], (Lines{"name Gypsum", "type other", "use mash",
                             "amount_as_weight@mass=gm 0.0", "time@duration=min 60.0"}));
  EXPECT_EQ(miscs[5], (Lines{"name Oddity", "type ", "use ", "amount_as_weight 3.00", "time 5.0"}));
}

TEST(RecipeIngredients, YeastAndWater) {
  file::Recipe f = FullRecipe();
  ConvertedRecipe liquid;
  ConvertRecipe(f, liquid);
  ASSERT_TRUE(liquid.xml.result);
  const pugi::xml_node ingredients = liquid.Recipe().child("ingredients");
  EXPECT_EQ(Contents(ingredients.child("yeast_additions").child("yeast")),
            (Lines{"name American Ale", "type ale", "form liquid", "laboratory Wyeast",
                   "product_id 1056", "amount@volume=mL 0.0"}));
  EXPECT_EQ(Contents(ingredients.child("water_profile").child("water")),
            (Lines{"name Burton", "calcium 275.0", "bicarbonate 270.0", "sulfate 610.0",
                   "chloride 35.0", "sodium 25.0", "magnesium 40.0", "amount@volume=gal 6.5"}));

  f.yeast.type = 1;
  f.yeast.form = 0;
  f.water.name = "";
  ConvertedRecipe dry;
  ConvertRecipe(f, dry);
  ASSERT_TRUE(dry.xml.result);
  const pugi::xml_node yeast =
      dry.Recipe().child("ingredients").child("yeast_additions").child("yeast");
  EXPECT_EQ(Contents(yeast).at(1), "type lager");
  EXPECT_EQ(Contents(yeast).at(2), "form dry");
  EXPECT_EQ(Contents(yeast).at(5), "amount_as_weight@mass=gm 0.0");
  EXPECT_EQ(ChildNames(yeast).size(), 6u);
  EXPECT_EQ(ChildNames(dry.Recipe().child("ingredients")).back(), "yeast_additions");

  f.yeast.name = "";
  f.yeast.form = 2;
  ConvertedRecipe none;
  ConvertRecipe(f, none);
  ASSERT_TRUE(none.xml.result);
  EXPECT_EQ(ChildNames(none.Recipe().child("ingredients")),
            (Lines{"grain_bill", "hop_bill", "adjuncts"}));
}

}  // namespace
}  // namespace kegverter
