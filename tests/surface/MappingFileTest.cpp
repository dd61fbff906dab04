// Mapping files as the user writes them and as learning saves them: the shipped ones read,
// what is saved reads back the same, and a bad or foreign file is refused with its name and
// the line at fault.
#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>

#include "surface/Learner.h"
#include "surface/MappingCatalogue.h"

namespace {

std::string ErrorOf(const std::string& text) {
    const MappingRead read = ParseMapping(QByteArray::fromStdString(text), "mine.json");
    EXPECT_FALSE(read.mapping);
    return read.error;
}

const std::string kHead =
    "{\n \"format\": \"vcp-surface-mapping\",\n \"version\": 1,\n"
    " \"name\": \"Mine\",\n";

TEST(MappingFileTest, ShippedMappingsReadAndASavedMappingReadsBackTheSame) {
    QStandardPaths::setTestModeEnabled(true);
    const std::vector<MappingListing> listings = ListMappings();
    for (const char* stem : {"generic-eight-encoders", "mackie-control"}) {
        const auto listed = std::find_if(listings.begin(), listings.end(),
                                         [stem](const auto& each) { return each.stem == stem; });
        ASSERT_NE(listed, listings.end()) << stem;
        EXPECT_TRUE(listed->error.empty()) << listed->error;
    }
    MappingRead mackie = LoadMapping("mackie-control");
    ASSERT_TRUE(mackie.mapping) << mackie.error;
    EXPECT_EQ(mackie.mapping->knobs[7]->control.number, 0x17);
    EXPECT_EQ(mackie.mapping->knobs[7]->encoding, Encoding::SignBit);
    EXPECT_EQ(mackie.mapping->knobs[7]->ring->control.number, 0x37);
    EXPECT_EQ(mackie.mapping->knobs[0]->line, 6);

    // Learning binds a button elsewhere; saved as the user's own it takes the shipped one's
    // place and reads back with every binding.
    Learner learner({PanelControl::Kind::Toggle, 0, "prefs"});
    ASSERT_TRUE(learner.Feed({0x91, 0x60, 0x7F}));
    learner.ApplyTo(*mackie.mapping);
    ASSERT_EQ(SaveUserMapping(*mackie.mapping, "mackie-control"), "");
    const MappingRead mine = LoadMapping("mackie-control");
    ASSERT_TRUE(mine.mapping) << mine.error;
    EXPECT_EQ(WriteMapping(*mine.mapping), WriteMapping(*mackie.mapping));
    EXPECT_EQ(BoundTo(*mine.mapping, {MidiKind::Note, 1, 0x60}),
              (PanelControl{PanelControl::Kind::Toggle, 0, "PREFS"}));
    const auto user = ListMappings();
    EXPECT_TRUE(std::any_of(user.begin(), user.end(), [](const auto& each) {
        return each.stem == "mackie-control" && each.user;
    }));
    QFile::remove(QString::fromStdString(UserMappingFolder() + "/mackie-control.json"));

    // The settings may name a mapping by its file or by its own name, as the manual prints it.
    for (const char* named : {"generic-eight-encoders", "generic-eight-encoders.json",
                              "Generic eight encoders", " generic EIGHT encoders "}) {
        const MappingRead read = LoadMapping(named);
        ASSERT_TRUE(read.mapping) << named << ": " << read.error;
        EXPECT_EQ(read.mapping->name, "Generic eight encoders");
    }
    const MappingRead none = LoadMapping("Generic eight encoder");
    EXPECT_FALSE(none.mapping);
    EXPECT_EQ(none.error,
              "No mapping is named \"Generic eight encoder\", by its file or by its own name.");
}

TEST(MappingFileTest, BadAndForeignFilesAreRefusedWithTheFileAndTheLine) {
    EXPECT_EQ(ErrorOf(kHead + " \"knobs\": [\n  {\"knob\": 1, \"cc\": 16,,}\n ]\n}").substr(0, 25),
              "mine.json, line 6: not JS");
    EXPECT_EQ(ErrorOf("{\"format\": \"osc-layout\", \"version\": 1}").substr(0, 48),
              "mine.json, line 1: not a control surface mapping");
    EXPECT_EQ(ErrorOf("{\"format\": \"vcp-surface-mapping\", \"version\": 2, \"name\": \"x\"}"),
              "mine.json, line 1: mapping version 2, this program reads version 1.");
    // Each top-level field is refused on its own line, the last of two on the later one.
    EXPECT_EQ(ErrorOf("{\n \"format\": \"vcp-surface-mapping\",\n \"version\": 2\n}").substr(0, 38),
              "mine.json, line 3: mapping version 2, ");
    EXPECT_EQ(ErrorOf("{\n \"version\": 1,\n\n \"format\": \"vcp-surface-map\"\n}").substr(0, 22),
              "mine.json, line 4: not");
    EXPECT_EQ(ErrorOf("{\n \"format\": \"vcp-surface-mapping\",\n \"version\": 1,\n"
                      " \"name\": \"\"}"),
              "mine.json, line 4: the mapping has no \"name\".");
    EXPECT_EQ(ErrorOf(kHead + " \"knobs\": [],\n \"buttons\": {}, \"knobs\": [\n 7]\n}"),
              "mine.json, line 7: an entry is an object.");
    EXPECT_EQ(ErrorOf(kHead + " \"knobs\": [],\n \"buttons\": {}\n}"),
              "mine.json, line 6: \"buttons\" is a list.");
    EXPECT_EQ(ErrorOf(kHead + " \"buttons\": [],\n\n \"knobs\": [\n 7]\n}"),
              "mine.json, line 8: an entry is an object.");
    const std::string knobs =
        kHead + " \"knobs\": [\n" + "  {\"knob\": 1, \"cc\": 16, \"encoding\": \"sign-bit\"},\n";
    EXPECT_EQ(ErrorOf(knobs + "  {\"knob\": 9, \"cc\": 17, \"encoding\": \"sign-bit\"}\n ]\n}"),
              "mine.json, line 7: \"knob\" takes a whole number from 1 to 8.");
    EXPECT_EQ(ErrorOf(knobs + "\n  {\"knob\": 2, \"cc\": 17, \"encoding\": \"gray\"}\n ]\n}")
                  .substr(0, 32),
              "mine.json, line 8: \"encoding\" is");
    EXPECT_EQ(ErrorOf(knobs + "  {\"knob\": 1, \"cc\": 18, \"encoding\": \"sign-bit\"}\n ]\n}"),
              "mine.json, line 7: knob 1 is bound twice.");
    EXPECT_EQ(
        ErrorOf(kHead + " \"knobs\": [\n  {\"knob\": 1, \"cc\": 16, \"encoding\": \"sign-bit\"}\n" +
                " ],\n \"buttons\": [{\"menu\": 1, \"note\": 3},\n" +
                "  {\"function\": 1, \"cc\": 16}]\n}"),
        "mine.json, line 9: this control of the surface is bound twice.");
    EXPECT_EQ(ErrorOf(kHead + " \"buttons\": [\n  {\"menu\": 1, \"note\": 200}\n ]\n}"),
              "mine.json, line 6: \"note\" takes a whole number from 0 to 127.");
    EXPECT_EQ(ErrorOf(kHead + " \"buttons\": [{\"menu\": 1, \"function\": 2, \"note\": 1}]\n}"),
              "mine.json, line 5: a button entry names one of \"menu\", \"function\" or "
              "\"toggle\".");
    EXPECT_EQ(ErrorOf(kHead + " \"knobs\": [7]\n}"), "mine.json, line 5: an entry is an object.");
    EXPECT_EQ(ErrorOf(kHead + " \"buttons\": [{\"menu\": 1e300, \"note\": 1.5}]\n}"),
              "mine.json, line 5: \"menu\" takes a whole number from 1 to 10.");
}

}  // namespace
