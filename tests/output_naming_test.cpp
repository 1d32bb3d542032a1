// Output names derived from input paths: fnsplit and bdfname_2_vbtname.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/output_naming.h"

namespace {

struct SplitCase {
  std::string path;
  std::string dir;
  std::string name;
  std::string ext;
};

TEST(Fnsplit, SplitsAtLastSlashAndLastDotOfTheBaseName) {
  const std::vector<SplitCase> cases = {
      {"courBO12.bdf", "", "courBO12", "bdf"},
      {"a.b.bdf", "", "a.b", "bdf"},
      {".bdf", "", "", "bdf"},
      {"font.BDF", "", "font", "BDF"},
      {"font.bdf.gz", "", "font.bdf", "gz"},
      {"font.", "", "font", ""},
      {"font", "", "font", ""},
      {"", "", "", ""},
      {"dir/sub/courB12.bdf", "dir/sub/", "courB12", "bdf"},
      {"/abs/x.bdf", "/abs/", "x", "bdf"},
      {"/x.bdf", "/", "x", "bdf"},
      // A dot in a directory is not the extension's.
      {"dir.d/font", "dir.d/", "font", ""},
      {"dir.d/", "dir.d/", "", ""},
      {"./.bdf", "./", "", "bdf"},
      {"a//b.c.d", "a//", "b.c", "d"},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE("path \"" + c.path + "\"");
    std::string dir = "junk", name = "junk", ext = "junk";
    EXPECT_EQ(fnsplit(c.path.c_str(), &dir, &name, &ext), 0);
    EXPECT_EQ(dir, c.dir);
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(ext, c.ext);
  }
}

TEST(Fnsplit, AbsentPathReturnsOneAndAbsentOutputsAreAllowed) {
  std::string dir = "d", name = "n", ext = "e";
  EXPECT_EQ(fnsplit(nullptr, &dir, &name, &ext), 1);
  EXPECT_EQ(fnsplit("x/y.bdf", nullptr, nullptr, nullptr), 0);

  EXPECT_EQ(fnsplit("x/y.bdf", nullptr, &name, &ext), 0);
  EXPECT_EQ(name, "y");
  EXPECT_EQ(ext, "bdf");
  EXPECT_EQ(fnsplit("x/noext", nullptr, nullptr, &ext), 0);
  EXPECT_EQ(ext, "");
}

// With a dot in the base name, name and extension are both stored only when a
// name buffer is given; asked for the extension alone, the call leaves it.
TEST(Fnsplit, WithADotTheExtensionIsStoredOnlyAlongWithTheName) {
  std::string ext = "untouched";
  EXPECT_EQ(fnsplit("x/y.bdf", nullptr, nullptr, &ext), 0);
  EXPECT_EQ(ext, "untouched");
}

TEST(Fnsplit, LongPathsAreNeverCut) {
  const std::string dir = std::string(600, 'd') + "/";
  const std::string name = std::string(400, 'n');
  const std::string ext = std::string(300, 'e');
  std::string got_dir, got_name, got_ext;
  EXPECT_EQ(fnsplit((dir + name + "." + ext).c_str(), &got_dir, &got_name, &got_ext), 0);
  EXPECT_EQ(got_dir, dir);
  EXPECT_EQ(got_name, name);
  EXPECT_EQ(got_ext, ext);
}

std::string vbtName(const std::string& base) {
  std::string out = "junk";
  EXPECT_EQ(bdfname_2_vbtname(base.c_str(), &out), 0) << base;
  return out;
}

TEST(BdfnameToVbtname, MapsTheCommonFontFileNames) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"courBO12", "cour12bi"},
      {"courR10", "cour10"},
      {"helvBI18", "helv18bi"},
      {"lutRS24", "lut24"},
      {"timO14-ISO8859-1", "tim14i"},
      {"7x13B", "7x13b"},
      {"9x15", "9x15"},
      {"unifont", "unifont"},
      // The family is cut at its first B, I, O or R.
      {"Bitmap10", "10b"},
      {"Rome10", "10"},
      {"Olga8", "8i"},
      {"fooIRB12", "foo12ib"},
      {"", ""},
      {"B", "b"},
      {"courb12", "courb12"},   // lower-case letters are no style letters
  };
  for (const auto& [base, expected] : cases) EXPECT_EQ(vbtName(base), expected) << base;
}

TEST(BdfnameToVbtname, StyleWalkEndsAtTheFirstCharacterNotAboveNine) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      // Letters, '_' and ':' (just above '9') are consumed; only B, I, O count.
      {"courBold12", "cour12b"},
      {"courBOLD12", "cour12bi"},
      {"courB_I12", "cour12bi"},
      {"courB:12", "cour12b"},
      {"courB~O12", "cour12bi"},
      // '9' itself and punctuation below it end the walk; the point size
      // is the digit run found there, possibly none.
      {"courB912", "cour912b"},
      {"courB-12", "courb"},
      {"courB.12", "courb"},
      {"courB 12", "courb"},
      // Anything after the digits is dropped.
      {"courB12x", "cour12b"},
      {"courB12B", "cour12b"},
      {"courB12-34", "cour12b"},
      // A name that ends during the walk.
      {"courBI", "courbi"},
  };
  for (const auto& [base, expected] : cases) EXPECT_EQ(vbtName(base), expected) << base;
}

TEST(BdfnameToVbtname, BytesFromHexEightyUpEndTheStyleWalk) {
  EXPECT_EQ(vbtName("courB\xc3\xa9O12"), "courb");
  EXPECT_EQ(vbtName("courB\x80" "12"), "courb");
  EXPECT_EQ(vbtName("courB\xff" "12"), "courb");
  // Before the first style letter they are family characters like any other.
  EXPECT_EQ(vbtName("\xc3\xa9t\xc3\xa9" "B12"), "\xc3\xa9t\xc3\xa9" "12b");
  EXPECT_EQ(vbtName("\xc3\xa9t\xc3\xa9"), "\xc3\xa9t\xc3\xa9");
}

TEST(BdfnameToVbtname, KeepsTheFirstFiveStyleLetters) {
  EXPECT_EQ(vbtName("fooBIOBI12"), "foo12biibi");
  EXPECT_EQ(vbtName("fooBBIIOOB12"), "foo12bbiii");
  EXPECT_EQ(vbtName("fooBRBRBRBRBRB12"), "foo12bbbbb");
  EXPECT_EQ(vbtName(std::string("foo") + std::string(300, 'O') + "7"), "foo7iiiii");
}

TEST(BdfnameToVbtname, LongNamesAreNeverCut) {
  const std::string family(500, 'f');
  const std::string size(400, '1');
  EXPECT_EQ(vbtName(family + "BI" + size), family + size + "bi");
  const std::string plain(1000, 'x');
  EXPECT_EQ(vbtName(plain), plain);
}

TEST(BdfnameToVbtname, EachCallStartsWithAnEmptyStyleList) {
  EXPECT_EQ(vbtName("aBIO1"), "a1bii");
  EXPECT_EQ(vbtName("a1"), "a1");
  EXPECT_EQ(vbtName("aR1"), "a1");
}

TEST(BdfnameToVbtname, AbsentArgumentsReturnOne) {
  std::string out = "untouched";
  EXPECT_EQ(bdfname_2_vbtname(nullptr, &out), 1);
  EXPECT_EQ(bdfname_2_vbtname("courB12", nullptr), 1);
}

}  // namespace
