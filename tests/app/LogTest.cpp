#include <gtest/gtest.h>

#include <chrono>

#include "app/Log.h"
#include "support/SimFixture.h"

namespace {

std::chrono::system_clock::time_point utc(int y, int mo, int d, int h, int mi, int s) {
    using namespace std::chrono;
    return sys_days{year{y} / month{static_cast<unsigned>(mo)} / day{static_cast<unsigned>(d)}} +
           hours{h} + minutes{mi} + seconds{s};
}

// Bracketed UTC stamp without fractions, the message unchanged, one line feed.
TEST(LogRecord, BracketedUtcStampThenTheMessageAsGivenAndOneLineFeed) {
    EXPECT_EQ(logRecord(utc(2026, 12, 4, 23, 9, 21), "pin: pid=812 name=Editor"),
              "[2026-12-04 23:09:21 +0000] pin: pid=812 name=Editor\n");
    EXPECT_EQ(logRecord(utc(2027, 1, 2, 3, 4, 5), ""), "[2027-01-02 03:04:05 +0000] \n");
    const std::string message = "Wciśnij kombinację… \\x41 \"quoted\" ~";
    EXPECT_EQ(logRecord(utc(2026, 12, 4, 0, 0, 0), message),
              "[2026-12-04 00:00:00 +0000] " + message + "\n");
    const auto when = utc(2026, 12, 4, 23, 59, 59) + std::chrono::milliseconds(999);
    EXPECT_EQ(logRecord(when, "x"), "[2026-12-04 23:59:59 +0000] x\n");
}

// A name from another program cannot forge a second record.
TEST(LogRecord, ControlCharactersInTheMessageAreEscapedSoOneCallIsOneLine) {
    const std::string forged = "Editor\n[2026-12-04 00:00:01 +0000] pin: forged";
    EXPECT_EQ(logRecord(utc(2026, 12, 4, 0, 0, 0), forged),
              "[2026-12-04 00:00:00 +0000] Editor\\n[2026-12-04 00:00:01 +0000] pin: forged\n");
    const std::string controls("a\tb\rc\x1B[31m\x7F\x01\0z", 14);
    EXPECT_EQ(logRecord(utc(2026, 12, 4, 0, 0, 0), controls),
              "[2026-12-04 00:00:00 +0000] a\\tb\\rc\\x1B[31m\\x7F\\x01\\x00z\n");
}

// A value cut inside a two-byte letter keeps the whole letters before it; short values
// and a message of ordinary length pass whole.
TEST(LogRecord, OutsideValuesAndOversizedMessagesAreCutOnACharacterBoundary) {
    EXPECT_EQ(logValue("Editor"), "Editor");
    const std::string exact(logValueLimit, 'a');
    EXPECT_EQ(logValue(exact), exact);
    const std::string letters = std::string(logValueLimit - 1, 'a') + "ąę";
    EXPECT_EQ(logValue(letters), std::string(logValueLimit - 1, 'a') + "…");
    EXPECT_EQ(logValue(std::string(100000, 'x')), std::string(logValueLimit, 'x') + "…");
    const auto when = utc(2026, 12, 4, 0, 0, 0);
    const std::string huge(logMessageLimit + 1000, 'y');
    EXPECT_EQ(logRecord(when, huge),
              "[2026-12-04 00:00:00 +0000] " + std::string(logMessageLimit, 'y') + "…\n");
    const std::string whole(logMessageLimit, 'z');
    EXPECT_EQ(logRecord(when, whole), "[2026-12-04 00:00:00 +0000] " + whole + "\n");
}

class FlogTest : public SimFixture {};

TEST_F(FlogTest, AppendsOneRecordPerCallToTheFixedFileAtTheDesktopsTime) {
    desktop.setWallClockOrigin(utc(2026, 12, 4, 23, 9, 21));
    flog("first");
    desktop.advance(61);
    flog("second");
    std::lock_guard lock(desktop.filesMutex);
    EXPECT_EQ(desktop.files["/tmp/vorin.log"],
              "[2026-12-04 23:09:21 +0000] first\n[2026-12-04 23:10:22 +0000] second\n");
}

}  // namespace
