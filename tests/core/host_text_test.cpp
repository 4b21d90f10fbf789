// The texts the control host gives the controls and the close-address test.
#include "host/host_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HostText, FlashQualityByNumber) {
    EXPECT_STREQ(FlashQualityText(1), "low");
    EXPECT_STREQ(FlashQualityText(2), "autolow");
    EXPECT_STREQ(FlashQualityText(3), "medium");
    EXPECT_STREQ(FlashQualityText(4), "high");
    EXPECT_STREQ(FlashQualityText(5), "autohigh");
    for (int other : {0, 6, 7, -1, 1000})
        EXPECT_STREQ(FlashQualityText(other), "high") << other;
}

TEST(HostText, FlashColorIsSixLowerCaseDigits) {
    char text[16];
    ASSERT_TRUE(FormatFlashColor(text, sizeof text, 0xFF));
    EXPECT_STREQ(text, "0000ff");
    ASSERT_TRUE(FormatFlashColor(text, sizeof text, 0xABCDEF));
    EXPECT_STREQ(text, "abcdef");
    ASSERT_TRUE(FormatFlashColor(text, sizeof text, 0));
    EXPECT_STREQ(text, "000000");
    // Values wider than 24 bits are not cut.
    ASSERT_TRUE(FormatFlashColor(text, sizeof text, 0x1000000));
    EXPECT_STREQ(text, "1000000");
}

TEST(HostText, CloseWindowAddress) {
    EXPECT_TRUE(IsCloseWindowAddress("closewindow.htm"));
    EXPECT_TRUE(IsCloseWindowAddress("file:///C:/game/CloseWindow.htm"));
    EXPECT_TRUE(IsCloseWindowAddress("http://x/CLOSEWINDOW.html?a=1"));
    EXPECT_TRUE(IsCloseWindowAddress("ccloseclosewindow."));
    EXPECT_FALSE(IsCloseWindowAddress("closewindow"));
    EXPECT_FALSE(IsCloseWindowAddress("closewindow_htm"));
    EXPECT_FALSE(IsCloseWindowAddress("close window.htm"));
    EXPECT_FALSE(IsCloseWindowAddress(""));
    // Only A to Z are folded: a Latin-1 capital does not become its small letter.
    EXPECT_FALSE(IsCloseWindowAddress("clos\xC9window."));
}

TEST(HostText, ShockwaveSettingsInCallOrder) {
    std::string order;
    for (const ShockwaveSetting& s : kShockwaveSettings)
        order += std::to_string(s.nSlot) + "=" + s.value + " ";
    EXPECT_EQ(order, "58=TRUE 60=TRUE 64=FALSE 66=FALSE 68=FALSE 70=FALSE 76=left 78=top "
                     "74=stage ");
}

} // namespace
