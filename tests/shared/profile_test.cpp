#include "profile.h"

#include <gtest/gtest.h>

namespace {

const Text Sample = "; comment\r\n"
                    "[AutoRun]\r\n"
                    "  OPEN = setup.exe /x  \r\n"
                    "icon=\"disc.ico\"\r\n"
                    "\r\n"
                    "[表]\r\n"
                    "名前=値\r\n";

TEST(ProfileLookup, NamesCompareWithoutCaseAndValuesAreTrimmed) {
    EXPECT_EQ(ProfileLookup(Sample, "autorun", "open"), Text("setup.exe /x"));
    EXPECT_EQ(ProfileLookup(Sample, " AUTORUN ", "Icon"), Text("disc.ico"));
    EXPECT_EQ(ProfileLookup(Sample, "表", "名前"), Text("値"));
    EXPECT_FALSE(ProfileLookup(Sample, "autorun", "missing"));
    EXPECT_FALSE(ProfileLookup(Sample, "missing", "open"));
    EXPECT_FALSE(ProfileLookup("", "autorun", "open"));
}

TEST(ProfileLookup, FirstMatchWinsAndSectionsEndAtTheNext) {
    Text twice = "[a]\nk=1\nk=2\n[b]\nk=3\n[a]\nk=4\n";
    EXPECT_EQ(ProfileLookup(twice, "a", "k"), Text("1"));
    EXPECT_EQ(ProfileLookup(twice, "b", "k"), Text("3"));
    EXPECT_FALSE(ProfileLookup("[a]\n[b]\nk=1\n", "a", "k"));
}

TEST(ProfileLookup, BracketTrailBytesDoNotEndASectionName) {
    // "ー" is 81 5B and "ソ" ends in 5C; "ﾝ" is one byte. 0x5D (]) can be a trail byte too.
    Text name = "\x83\x5D\x83\x5B";
    Text content = "[" + name + "]\nkey=v\n";
    EXPECT_EQ(ProfileLookup(content, name, "key"), Text("v"));
}

TEST(ProfileStore, ReplacesOnlyTheValueAndKeepsEveryOtherLine) {
    Text changed = ProfileStore(Sample, "autorun", "open", "new.exe");
    EXPECT_EQ(changed, "; comment\r\n"
                       "[AutoRun]\r\n"
                       "  OPEN =new.exe\r\n"
                       "icon=\"disc.ico\"\r\n"
                       "\r\n"
                       "[表]\r\n"
                       "名前=値\r\n");
    EXPECT_EQ(ProfileLookup(changed, "AUTORUN", "OPEN"), Text("new.exe"));
}

TEST(ProfileStore, AddsKeysAfterTheSectionsLastLine) {
    Text changed = ProfileStore(Sample, "autorun", "label", "ディスク");
    EXPECT_EQ(changed, "; comment\r\n"
                       "[AutoRun]\r\n"
                       "  OPEN = setup.exe /x  \r\n"
                       "icon=\"disc.ico\"\r\n"
                       "label=ディスク\r\n"
                       "\r\n"
                       "[表]\r\n"
                       "名前=値\r\n");
}

TEST(ProfileStore, AddsSectionsAtTheEndInTheFilesLineEnding) {
    EXPECT_EQ(ProfileStore("", "s", "k", "v"), "[s]\r\nk=v\r\n");
    EXPECT_EQ(ProfileStore("[a]\nx=1", "b", "k", "v"), "[a]\nx=1\n[b]\nk=v\n");
    EXPECT_EQ(ProfileStore("[a]\nx=1", "a", "k", "v"), "[a]\nx=1\nk=v\n");
    EXPECT_EQ(ProfileStore("[a]\n", "a", "k", "v"), "[a]\nk=v\n");
}

TEST(ProfileText, LongLinesAndStrayBytes) {
    Text longValue(100 * 1024, 'x');
    Text content = "[s]\nk=" + longValue + "\n";
    EXPECT_EQ(ProfileLookup(content, "s", "k"), longValue);
    Text stray = Text("[s]\nk=a\x83", 9) + Text("\0b\n", 3);
    EXPECT_TRUE(ProfileLookup(stray, "s", "k").has_value());
    EXPECT_EQ(ProfileLookup(ProfileStore(stray, "s", "k", "z"), "s", "k"), Text("z"));
}

TEST(ProfileStorable, RefusesWhatWouldInjectLinesOrSections) {
    EXPECT_TRUE(ProfileStorable("表", "名前", "C:\\ソ\\値=1 [x]"));
    EXPECT_TRUE(ProfileStorable("a", "k", ""));
    for (const Text& bad : {Text("a\r\n[boot]"), Text("a\nb"), Text("a\rb"), Text("a\0b", 3)}) {
        EXPECT_FALSE(ProfileStorable(bad, "k", "v")) << bad;
        EXPECT_FALSE(ProfileStorable("s", bad, "v")) << bad;
        EXPECT_FALSE(ProfileStorable("s", "k", bad)) << bad;
    }
    EXPECT_FALSE(ProfileStorable("a]b", "k", "v"));
    EXPECT_FALSE(ProfileStorable("s", "k=x", "v"));
    EXPECT_FALSE(ProfileStorable("s", " [boot]", "v"));
    EXPECT_FALSE(ProfileStorable("s", "k\x83", "v"));
    EXPECT_FALSE(ProfileStorable("s\x83", "k", "v"));
    // "ー" ends in 5B and "\x83\x5D" in 5D: trail bytes are not brackets.
    EXPECT_TRUE(ProfileStorable("\x83\x5D", "ー", "v"));
    // What is refused here is exactly what ProfileStore would turn into another structure.
    Text stored = ProfileStore("[a]\r\nk=1\r\n", "a", "k", "x\r\n[boot]\r\nshell=evil.exe");
    EXPECT_TRUE(ProfileLookup(stored, "boot", "shell").has_value());
}

TEST(ProfileLookup, ListsMatchKeyByKeyLookupsAndEndAtTheFirstGap) {
    const Text content = "[List]\r\nitem2=\"two\"\r\nITEM1 = one \r\nItem1=shadowed\r\nitem3=three\r\n"
                         "Item5=after gap\r\n[Empty]\r\nitem1=\"\"\r\nitem2=x\r\n";
    const std::vector<Text> list = ProfileLookupList(content, " list ", "Item");
    EXPECT_EQ(list, (std::vector<Text>{"one", "two", "three"}));
    for (size_t n = 0; n < list.size(); ++n)
        EXPECT_EQ(ProfileLookup(content, "List", "item" + std::to_string(n + 1)), list[n]);
    EXPECT_TRUE(ProfileLookupList(content, "Empty", "item").empty())
        << "quotes around nothing are an empty value";
    EXPECT_TRUE(ProfileLookupList(content, "Missing", "item").empty());
}

} // namespace
