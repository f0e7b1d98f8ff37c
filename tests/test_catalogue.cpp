#include <gtest/gtest.h>

#include <string>

#include "data/catalogue.h"

namespace qb {
namespace {

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override { FillCatalogue(); }
};

TEST_F(CatalogueTest, FirstHalfTitles) {
  EXPECT_EQ(LevelName(0), "");
  EXPECT_EQ(LevelName(1), "get ready for take off");
  EXPECT_EQ(LevelName(31), "time  to  go");
  EXPECT_EQ(LevelName(99), "the final chapter - QV only");
  EXPECT_EQ(LevelName(99).size(), 27u);
}

TEST_F(CatalogueTest, SecondHalfHasTheFormOfPersonsNames) {
  int accented = 0, hyphenated = 0;
  const std::string allowed_accents = "\x9A\xE1\xE9\xF3\xF8\xFD";  // š á é ó ř ý
  std::string accents_used;
  for (int level = 100; level <= 200; ++level) {
    const std::string& name = LevelName(level);
    SCOPED_TRACE("level " + std::to_string(level) + " \"" + name + "\"");
    EXPECT_GE(name.size(), 6u);
    EXPECT_LE(name.size(), 29u);
    bool has_accent = false;
    for (unsigned char c : name) {
      if (c >= 0x80) {
        EXPECT_NE(allowed_accents.find(static_cast<char>(c)), std::string::npos);
        has_accent = true;
        if (accents_used.find(static_cast<char>(c)) == std::string::npos) accents_used += static_cast<char>(c);
      } else {
        EXPECT_TRUE((c >= 'a' && c <= 'z') || c == ' ' || c == '-');
      }
    }
    EXPECT_NE(name.front(), ' ');
    EXPECT_NE(name.back(), ' ');
    accented += has_accent;
    hyphenated += name.find('-') != std::string::npos;
  }
  EXPECT_EQ(accented, 11);
  EXPECT_EQ(hyphenated, 3);
  EXPECT_EQ(accents_used.size(), allowed_accents.size());
}

TEST_F(CatalogueTest, FirstHalfUsesLowerCaseLettersDigitsAndBlanks) {
  for (int level = 1; level <= 98; ++level)
    for (unsigned char c : LevelName(level))
      EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ') << level;
}

}  // namespace
}  // namespace qb
