#include <gtest/gtest.h>

#include "game/CommandTable.h"

namespace vireo {
namespace {

void handlerA(std::string, std::string) {}
void handlerB(std::string, std::string) {}

TEST(CommandTableTest, WordsAreExactAndUniqueAndKeepTheirOrder) {
    CommandTable table;
    EXPECT_TRUE(table.addCommand("Vireo", handlerA));
    EXPECT_TRUE(table.addCommand("vireo", handlerB));
    EXPECT_FALSE(table.addCommand("Vireo", handlerB));
    ASSERT_EQ(table.entries().size(), 2u);
    EXPECT_EQ(table.entries()[0].word, "Vireo");
    EXPECT_EQ(table.find("Vireo")->handler, handlerA);
    EXPECT_EQ(table.find("vireo")->handler, handlerB);
    for (const char* other : {"VIREO", "ViReO", "Vireo.", "Vireo ", ""})
        EXPECT_EQ(table.find(other), nullptr) << other;

    EXPECT_FALSE(table.removeCommand("VIREO"));
    EXPECT_EQ(table.entries().size(), 2u);
    EXPECT_TRUE(table.removeCommand("Vireo"));
    ASSERT_EQ(table.entries().size(), 1u);
    EXPECT_EQ(table.entries()[0].word, "vireo");
}

}  // namespace
}  // namespace vireo
