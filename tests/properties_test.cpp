// The second reader stage: the properties block, its messages, and where the
// input stands after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bdf/properties.h"
#include "stage_support.h"
#include "test_support.h"
#include "vbt_reader.h"

namespace {

struct PropertiesCase {
  std::string bdf;
  std::string err;   // "" for a block that is read whole
  std::string next_line;
};

void expectPropertiesCases(const std::vector<PropertiesCase>& cases) {
  for (const PropertiesCase& c : cases) {
    SCOPED_TRACE("input:\n" + c.bdf);
    auto st = newState();
    const StageRun run = runStage(*st, c.bdf, bdfReadProperties);
    EXPECT_EQ(run.result, c.err.empty() ? 1 : 0);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.written, "");
    EXPECT_EQ(run.next_line, c.next_line);
  }
}

const std::string kChars = "CHARS 1\nSTARTCHAR A\n";

TEST(Properties, ReadsAWellFormedBlock) {
  expectPropertiesCases({
      {"STARTPROPERTIES 0\nENDPROPERTIES\n" + kChars, "", "CHARS 1"},
      {"STARTPROPERTIES 2\nFONT_ASCENT 6\nFONT_DESCENT 2\nENDPROPERTIES\n" + kChars, "",
       "CHARS 1"},
      // Blanks and tabs before a property, a quoted value with blanks, more
      // than three words.
      {"STARTPROPERTIES 4\n   FONT_ASCENT 6\n\tFONT_DESCENT 2\n"
       "COPYRIGHT \"Public domain font.  Share and enjoy.\"\n"
       " \t NOTICE a b c d e\nENDPROPERTIES\n" + kChars,
       "", "CHARS 1"},
      // COMMENT and blank lines inside the block are not property lines.
      {"STARTPROPERTIES 1\nCOMMENT x\n\nPIXEL_SIZE 6\r\nCOMMENT y\nENDPROPERTIES\r\n" + kChars,
       "", "CHARS 1"},
      // Keywords are prefixes.
      {"STARTPROPERTIES 1\nA 1\nENDPROPERTIESX\n" + kChars, "", "CHARS 1"},
      {"STARTPROPERTIES1\nA 1\nENDPROPERTIES junk\n" + kChars, "", "CHARS 1"},
      // A count of 0 or less reads no property line.
      {"STARTPROPERTIES -3\nENDPROPERTIES\n" + kChars, "", "CHARS 1"},
      // 2^31 keeps its low 32 bits: a negative count.
      {"STARTPROPERTIES 2147483648\nENDPROPERTIES\n" + kChars, "", "CHARS 1"},
      {"STARTPROPERTIES 4294967297\nA 1\nENDPROPERTIES\n" + kChars, "", "CHARS 1"},
  });
}

TEST(Properties, ReportsAMissingOrBadStartLine) {
  const std::string missing = "BDF Error: missing 'STARTPROPERTIES'\n";
  const std::string bad = "BDF Error: bad 'STARTPROPERTIES'\n";
  expectPropertiesCases({
      // No block at all: the CHARS line is taken.
      {kChars + "ENCODING 65\n", missing, "STARTCHAR A"},
      {" STARTPROPERTIES 1\nA 1\nENDPROPERTIES\n", missing, "A 1"},
      {"", missing, kEndOfInput},
      {"STARTPROPERTIES 1", missing, kEndOfInput},
      // A bad count is reported without reading on to ENDPROPERTIES.
      {"STARTPROPERTIES x\nA 1\nENDPROPERTIES\n" + kChars, bad, "A 1"},
      {"STARTPROPERTIES\nA 1\nENDPROPERTIES\n" + kChars, bad, "A 1"},
      {"STARTPROPERTIES - 1\nA 1\nENDPROPERTIES\n" + kChars, bad, "A 1"},
      {"STARTPROPERTIESX 1\nA 1\nENDPROPERTIES\n" + kChars, bad, "A 1"},
  });
}

TEST(Properties, ReportsTooFewPropertiesAndEndsAtTheirEnd) {
  expectPropertiesCases({
      {"STARTPROPERTIES 3\nA 1\nB 2\nENDPROPERTIES\n" + kChars,
       "BDF Error: 1 too few properites\n", "CHARS 1"},
      {"STARTPROPERTIES 3\nENDPROPERTIES\n" + kChars, "BDF Error: 3 too few properites\n",
       "CHARS 1"},
      {"STARTPROPERTIES 2\nA 1\nENDPROPERTIESX\n" + kChars, "BDF Error: 1 too few properites\n",
       "CHARS 1"},
      // The end of the input ends the block early too.
      {"STARTPROPERTIES 2\nA 1\n", "BDF Error: 1 too few properites\n", kEndOfInput},
      {"STARTPROPERTIES 2\nA 1\nB 2", "BDF Error: 1 too few properites\n", kEndOfInput},
  });
}

TEST(Properties, ReportsAMissingEndLineAndSkipsToIt) {
  const std::string missing = "BDF Error: missing 'ENDPROPERTIES'\n";
  expectPropertiesCases({
      // Declares 2, holds 3: the third property line is skipped.
      {"STARTPROPERTIES 2\nA 1\nB 2\nC 3\nENDPROPERTIES\n" + kChars, missing, "CHARS 1"},
      {"STARTPROPERTIES 0\nA 1\nB 2\nENDPROPERTIES\n" + kChars, missing, "CHARS 1"},
      {"STARTPROPERTIES 1\nA 1\n", missing, kEndOfInput},
      // No ENDPROPERTIES anywhere: the recovery reads to the end.
      {"STARTPROPERTIES 1\nA 1\n" + kChars + "ENDCHAR\n", missing, kEndOfInput},
      // Here the line after the last property is taken as it stands, blanks
      // and all, so an indented ENDPROPERTIES does not end the recovery.
      {"STARTPROPERTIES 1\nA 1\n  ENDPROPERTIES\n" + kChars + "ENDPROPERTIES\nCHARS 2\n",
       missing, "CHARS 2"},
  });
}

TEST(Properties, ReportsAPropertyWithoutValueAndSkipsToTheEnd) {
  expectPropertiesCases({
      {"STARTPROPERTIES 3\nA 1\nB\nC 3\nENDPROPERTIES\n" + kChars,
       "BDF Error: missing 'B' parameter value\n", "CHARS 1"},
      {"STARTPROPERTIES 2\n\tFONT_ASCENT   \t\nB 2\nENDPROPERTIES\n" + kChars,
       "BDF Error: missing 'FONT_ASCENT' parameter value\n", "CHARS 1"},
      // A line of white space only has no name to show.
      {"STARTPROPERTIES 2\nA 1\n \t \nB 2\nENDPROPERTIES\n" + kChars,
       "BDF Error: missing '' parameter value\n", "CHARS 1"},
      {"STARTPROPERTIES 1\n\t\r\nENDPROPERTIES\n" + kChars,
       "BDF Error: missing '' parameter value\n", "CHARS 1"},
      // A zero byte ends the line's text.
      {std::string("STARTPROPERTIES 1\nA\0 1\nENDPROPERTIES\n", 37) + kChars,
       "BDF Error: missing 'A' parameter value\n", "CHARS 1"},
      // An indented ENDPROPERTIES met as a property line: taken after its
      // blanks, it ends the recovery at once.
      {"STARTPROPERTIES 2\nA 1\n  ENDPROPERTIES\n" + kChars,
       "BDF Error: missing 'ENDPROPERTIES' parameter value\n", "CHARS 1"},
      {"STARTPROPERTIES 1\n\tENDPROPERTIES\n" + kChars,
       "BDF Error: missing 'ENDPROPERTIES' parameter value\n", "CHARS 1"},
      // Without any ENDPROPERTIES after the bad line the input is read to
      // its end.
      {"STARTPROPERTIES 2\nA\nB 2\n" + kChars, "BDF Error: missing 'A' parameter value\n",
       kEndOfInput},
  });
}

const std::string kGlyphA =
    bdfGlyph("A", "65", 6, "5 7 0 0", {"F8", "88", "88", "F8", "88", "88", "88"});

// A font around the given properties block.
std::string fontWithProperties(const std::string& block) {
  return "STARTFONT 2.1\nFONT test\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 -2\n" + block +
         "CHARS 1\n" + kGlyphA + "ENDFONT\n";
}

TEST(Properties, GlyphsStillConvertAfterARecoveredBlock) {
  const Conversion reference =
      convertBdf(fontWithProperties("STARTPROPERTIES 1\nFONT_ASCENT 6\nENDPROPERTIES\n"));
  ASSERT_TRUE(reference.completed);
  ASSERT_EQ(reference.err, "");
  ASSERT_TRUE(VbtFile::parse(reference.bytes));

  const std::vector<std::pair<std::string, std::string>> blocks = {
      {"STARTPROPERTIES 3\nA 1\nB 2\nENDPROPERTIES\n", "BDF Error: 1 too few properites\n"},
      {"STARTPROPERTIES 2\nA 1\nB 2\nC 3\nENDPROPERTIES\n", "BDF Error: missing 'ENDPROPERTIES'\n"},
      {"STARTPROPERTIES 3\nA 1\nB\nC 3\nENDPROPERTIES\n", "BDF Error: missing 'B' parameter value\n"},
      {"STARTPROPERTIES 2\nA 1\n   \nENDPROPERTIES\n", "BDF Error: missing '' parameter value\n"},
      {"STARTPROPERTIES 2\nA 1\n  ENDPROPERTIES\n",
       "BDF Error: missing 'ENDPROPERTIES' parameter value\n"},
  };
  for (const auto& [block, err] : blocks) {
    SCOPED_TRACE(block);
    const Conversion c = convertBdf(fontWithProperties(block));
    EXPECT_TRUE(c.completed);
    EXPECT_EQ(c.err, err);
    EXPECT_EQ(c.out, "");
    // No property reaches the file: it is the well-formed font's.
    EXPECT_EQ(c.bytes, reference.bytes);
  }
}

TEST(Properties, FontWithoutABlockDoesNotConvert) {
  const Conversion c = convertBdf(fontWithProperties(""));
  EXPECT_FALSE(c.completed);
  EXPECT_EQ(c.err,
            "BDF Error: missing 'STARTPROPERTIES'\n"
            "BDF Error: bad 'CHARS' in bdf file\n");
}

}  // namespace
