#include <gtest/gtest.h>

#include <string>

#include "design/design_file.h"

namespace {

using vortalis::design::Design;
using vortalis::design::DesignError;
using vortalis::design::DesignText;
using vortalis::design::ParseDesign;

constexpr const char* kCircular = R"({
  "format": "vortalis-design",
  "version": "1.0",
  "horn": {"kind": "circular", "freq": " 300,0 ", "throat": "10"},
  "drawing": {"mouth-limit": "radius=300"}
})";

TEST(DesignFile, KeepsTextsAsTypedAndWhatANewerVersionAdded) {
  const std::string newer = R"({
  "format": "vortalis-design", "version": "1.7",
  "horn": {"kind": "circular", "freq": "40", "throat": "25", "colour": {"r": 1}},
  "future": [1, 2],
  "drawing": {"mouth-limit": "radius=300", "step": "18"}
})";
  Design design = ParseDesign(newer, "a.vortalis");
  EXPECT_EQ(design.Value("horn", "freq"), "40");
  EXPECT_FALSE(design.Value("horn", "colour"));
  design.Set("horn", "freq", " 41.50 ");
  design.Set("drawing", "step", "");  // removed by the user: not written back
  const Design again = ParseDesign(DesignText(design), "b.vortalis");
  EXPECT_EQ(again.Value("horn", "freq"), " 41.50 ");
  EXPECT_EQ(again.Value("drawing", "mouth-limit"), "radius=300");
  EXPECT_FALSE(again.Value("drawing", "step"));
  const std::string text = DesignText(again);
  EXPECT_NE(text.find("\"colour\""), std::string::npos);
  EXPECT_NE(text.find("\"future\""), std::string::npos);
  EXPECT_NE(text.find("\"version\": \"1.0\""), std::string::npos);
  EXPECT_EQ(ParseDesign(kCircular, "c").Value("horn", "freq"), " 300,0 ");
}

TEST(DesignFile, RefusesWhatIsNotADesignWithFileLineAndKey) {
  const std::string truncated = std::string(kCircular).substr(0, 70);
  const struct {
    std::string text;
    const char* expected;
  } cases[] = {
      {"", "(line 1): it is not valid JSON"},
      {"horn = 300\n", "(line 1): it is not valid JSON"},
      {truncated, "(line 4): it is not valid JSON"},
      {"[1, 2]", "its text is not a JSON object"},
      {R"({"format": "other", "version": "1.0"})", "its \"format\" is not \"vortalis-design\""},
      {R"({"format": "vortalis-design"})", "its \"version\" is missing"},
      {R"({"format": "vortalis-design", "version": "one"})", "is not of the form MAJOR.MINOR"},
      {R"({"format": "vortalis-design", "version": "2.0"})",
       "was saved by a newer Vortalis (design version 2.0); this version opens designs up to "
       "version 1.x."},
      {"{\"format\": \"vortalis-design\", \"version\": \"1.0\",\n \"horn\": [\"300\"]}",
       "(line 2): the section \"horn\" is not an object"},
      {"{\"format\": \"vortalis-design\", \"version\": \"1.0\",\n \"horn\": {\"kind\": "
       "\"circular\",\n  \"freq\": 300}}",
       "(line 3): the setting \"horn.freq\" is not a text in quotes"},
      {std::string("{\"format\": \"vortalis-design\",\n\0\"version\": \"1.0\"}", 46),
       "(line 2): it holds binary data"},
      {"{\"a\": \"\xff\"}", "it is not valid JSON"},
      {std::string(2 * 1024 * 1024, ' '), "a design is at most 1048576 bytes"},
  };
  for (const auto& row : cases) {
    try {
      ParseDesign(row.text, "horn.vortalis");
      ADD_FAILURE() << "accepted: " << row.text.substr(0, 80);
    } catch (const DesignError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind("\"horn.vortalis\" ", 0), 0u) << message;
      EXPECT_NE(message.find(row.expected), std::string::npos) << message;
    }
  }
}

}  // namespace
