// Which bytes of qconsole.log a poll reads, and which whole lines they give.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/ConsoleLog.h"

namespace vireo::test {
namespace {

using Lines = std::vector<std::string>;

// The log as the engine leaves it on disk, and a road polling it.
struct Log {
    std::string bytes;
    bool exists = true;
    std::uint64_t index = 1;
    ConsoleLogCursor cursor;

    ConsoleLogLook look() const { return {exists, exists ? bytes.size() : 0, index}; }
    void start() { cursor.start(look()); }
    Lines poll() {
        const auto read = cursor.plan(look());
        if (!read) return {};
        return cursor.take(*read, std::string_view(bytes).substr(read->offset, read->count));
    }
};

TEST(ConsoleLogTest, WhereReadingStarts) {
    Log log;
    log.bytes = "old line\n";
    log.start();
    EXPECT_EQ(log.poll(), Lines{}) << "a log there at the start is read from its end";
    log.bytes += "new\n";
    EXPECT_EQ(log.poll(), Lines{"new"});

    log.bytes = "cut\n";
    EXPECT_EQ(log.poll(), Lines{"cut"}) << "a shrunk log is read from its start";
    log.bytes = "another file\n";
    log.index = 2;
    EXPECT_EQ(log.poll(), Lines{"another file"}) << "same size, other index";

    log.exists = false;
    EXPECT_EQ(log.poll(), Lines{});
    log.exists = true;
    log.bytes = "back\n";
    EXPECT_EQ(log.poll(), Lines{"back"}) << "a log that reappears is read from its start";

    Log unknown;  // the open that learns the index failed at the start
    unknown.bytes = "old marker line\n";
    unknown.index = 0;
    unknown.start();
    unknown.index = 1;
    unknown.bytes += "new\n";
    EXPECT_EQ(unknown.poll(), Lines{"new"}) << "an index learnt late is no other file";
    unknown.index = 0;
    unknown.bytes += "again\n";
    EXPECT_EQ(unknown.poll(), Lines{"again"}) << "nor is an index not learnt at a poll";

    Log late;
    late.exists = false;
    late.start();
    late.exists = true;
    late.bytes = "first\n";
    EXPECT_EQ(late.poll(), Lines{"first"}) << "a log that appears later is read from its start";
}

TEST(ConsoleLogTest, WholeLinesOnly) {
    const std::string limit(kConsoleLogLineLimit, 'x');
    const struct {
        const char* what;
        std::vector<std::string> appends;
        Lines lines;
    } cases[] = {
        {"partial line over two polls", {"Vireo-ab", "12cd34 play \n"}, {"Vireo-ab12cd34 play "}},
        {"CR LF, CR split from its LF", {"a\r\nb\r", "\nc"}, {"a", "b"}},
        {"a CR inside a line stays", {"a\rb\r\r\n"}, {"a\rb\r"}},
        {"a line at the limit is kept", {limit + "\r\n"}, {limit}},
        {"a longer one is skipped, over two polls", {limit, "y\nnext\n"}, {"next"}},
        {"binary bytes", {std::string("\0\xff\n", 3)}, {std::string("\0\xff", 2)}},
    };
    for (const auto& row : cases) {
        Log log;
        log.start();
        Lines lines;
        for (const std::string& append : row.appends) {
            log.bytes += append;
            for (std::string& line : log.poll()) lines.push_back(std::move(line));
        }
        EXPECT_EQ(lines, row.lines) << row.what;
    }
}

TEST(ConsoleLogTest, BacklogSkipsToTheLastReadFromItsFirstLineFeed) {
    Log log;
    log.bytes = "kept?";
    log.start();
    log.bytes += "ing\n";  // the cursor now holds "ing" of a line that the skip loses
    std::string backlog;
    for (int i = 0; backlog.size() < 2 * kConsoleLogReadLimit; ++i)
        backlog += "line " + std::to_string(i) + "\n";
    log.bytes += backlog + "last\n";

    const auto read = log.cursor.plan(log.look());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->count, kConsoleLogReadLimit);
    EXPECT_TRUE(read->skipsToLineStart);
    const Lines lines = log.cursor.take(*read, std::string_view(log.bytes).substr(read->offset));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "last");
    EXPECT_EQ(lines.front().rfind("line ", 0), 0u) << lines.front();
    EXPECT_EQ(log.cursor.offset(), log.bytes.size());
    EXPECT_EQ(log.poll(), Lines{});

    Log oneLine;  // 100 MB of one line cost one read, then the next line counts
    oneLine.start();
    oneLine.bytes = std::string(3 * kConsoleLogReadLimit, 'z');
    EXPECT_EQ(oneLine.poll(), Lines{});
    oneLine.bytes += "z\nafter\n";
    EXPECT_EQ(oneLine.poll(), Lines{"after"});
}

}  // namespace
}  // namespace vireo::test
