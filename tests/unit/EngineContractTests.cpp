// The engine records' not-defined state, device values and the error line.
#include "engine/EngineRecords.h"
#include "engine/EngineResult.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(BurnOptionsRecord, NotDefinedStateMarksEveryField) {
    BurnOptions options;
    std::memset(&options, 0, sizeof options);
    SetNotDefined(options);
    EXPECT_STREQ("BS_NDEF", options.volumeLabel);
    EXPECT_TRUE(IsNotDefined(options.volumeLabel));
    EXPECT_TRUE(IsNotDefined(options.imageFolder));
    EXPECT_EQ(-1, options.reserved128);
    EXPECT_EQ(0xFF, options.joliet);
    EXPECT_EQ(0xFF, options.reserved133);
    EXPECT_EQ(0xFF, options.finalize);
    EXPECT_EQ(0xFF, options.reserved655[0]);
    EXPECT_EQ(0xFF, options.reserved655[2]);
    EXPECT_EQ(-1, options.reserved660);
    EXPECT_EQ(0xFF, options.reserved664);
    EXPECT_EQ(0xFF, options.ejectAfterBurn);
    EXPECT_EQ(-1, options.reserved668);
    EXPECT_FALSE(IsNotDefined("BS_NDEFX"));
    EXPECT_FALSE(IsNotDefined(L"NEW"));
}

TEST(DeviceValue, IsTheFirstTwoCodeUnitsLowFirst) {
    EXPECT_EQ(0x003A0044u, DeviceValueOf(L"D: Recorder"));
    EXPECT_EQ(0x006D0049u, DeviceValueOf(L"Image Recorder"));
    EXPECT_EQ(0x00000045u, DeviceValueOf(L"E"));
    EXPECT_EQ(0u, DeviceValueOf(L""));
}

TEST(ErrorLine, IsPrefixedAndFitsTheBuffer) {
    EXPECT_EQ(L"error: Disc is full.", BuildErrorLine(L"Disc is full."));
    EXPECT_EQ(L"error: ", BuildErrorLine(L""));
    std::wstring huge(kTextCapacity, L'z');
    std::wstring line = BuildErrorLine(huge);
    EXPECT_EQ(static_cast<size_t>(kTextCapacity - 1), line.size()); // and the zero makes 2048
    EXPECT_EQ(0u, line.find(L"error: zzz"));
}

} // namespace
