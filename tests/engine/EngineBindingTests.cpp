// The real engine bound through the real binding, and the first slice of its
// behaviour: options, recorders and texts.
#include "engine/EngineBinding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

namespace {

class RealEngine : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_library.Load(ProgramFolder() + L"DodIvadorO.dll"))
            << "missing: " << std::string(m_library.Missing().begin(), m_library.Missing().end());
        ASSERT_EQ(0, Api().Initialize(1));
        ASSERT_EQ(0, Api().CreateProject(0));
    }
    const EngineApi& Api() const { return m_library.Api(); }

    BurnOptions CurrentOptions() {
        BurnOptions options;
        SetNotDefined(options);
        EXPECT_EQ(0, Api().GetOptions(&options));
        return options;
    }

    EngineLibrary m_library;
};

TEST(EngineBinding, RefusesAnEngineWithoutEveryExport) {
    EngineLibrary library;
    EXPECT_FALSE(library.Load(ProgramFolder() + L"IncompleteEngine.dll"));
    EXPECT_EQ(L"GetText", library.Missing());
    EXPECT_FALSE(library.Api().IsComplete());
    EXPECT_EQ(nullptr, library.Api().Initialize);
}

TEST(EngineBinding, RefusesAMissingFile) {
    EngineLibrary library;
    EXPECT_FALSE(library.Load(ProgramFolder() + L"NoSuchEngine.dll"));
    EXPECT_FALSE(library.Api().IsComplete());
}

TEST_F(RealEngine, BindsAllExportsByName) { EXPECT_TRUE(Api().IsComplete()); }

TEST_F(RealEngine, NotDefinedFieldsKeepTheEnginesValues) {
    BurnOptions change;
    SetNotDefined(change);
    change.ejectAfterBurn = 1;
    ASSERT_EQ(0, Api().SetOptions(change));
    BurnOptions before = CurrentOptions();
    EXPECT_EQ(1, before.ejectAfterBurn);

    // A record still wholly not defined changes nothing.
    BurnOptions untouched;
    SetNotDefined(untouched);
    ASSERT_EQ(0, Api().SetOptions(untouched));
    BurnOptions after = CurrentOptions();
    EXPECT_EQ(0, std::memcmp(&before, &after, sizeof before));

    // Defined fields are taken, the others kept.
    BurnOptions label;
    SetNotDefined(label);
    std::memset(label.volumeLabel, 0, sizeof label.volumeLabel);
    std::strcpy(label.volumeLabel, "HOLIDAY");
    label.finalize = 0;
    ASSERT_EQ(0, Api().SetOptions(label));
    BurnOptions mixed = CurrentOptions();
    EXPECT_STREQ("HOLIDAY", mixed.volumeLabel);
    EXPECT_EQ(0, mixed.finalize);
    EXPECT_EQ(1, mixed.ejectAfterBurn);
    EXPECT_EQ(before.joliet, mixed.joliet);
}

TEST_F(RealEngine, AnUnterminatedLabelIsCutToItsField) {
    BurnOptions options;
    SetNotDefined(options);
    std::memset(options.volumeLabel, 'A', sizeof options.volumeLabel);
    ASSERT_EQ(0, Api().SetOptions(options));
    BurnOptions stored = CurrentOptions();
    EXPECT_EQ(127u, strnlen(stored.volumeLabel, sizeof stored.volumeLabel));
}

TEST_F(RealEngine, ListsTheImageRecorderAndAcceptsItsDeviceValue) {
    DeviceEntry slots[kDeviceSlots];
    std::memset(slots, 0xCC, sizeof slots);
    int32_t count = 0;
    ASSERT_EQ(0, Api().GetDevices(slots, &count, 1));
    ASSERT_GE(count, 1);
    ASSERT_LE(count, kDeviceSlots);
    EXPECT_NE(nullptr, std::wcsstr(slots[0].text, L"Image Recorder"));
    for (int i = 0; i < count; ++i) {
        EXPECT_NE(nullptr, std::wmemchr(slots[i].text, 0, 50)) << "slot " << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(DeviceValueOf(slots[i].text), DeviceValueOf(slots[j].text));
    }
    EXPECT_EQ(0, Api().SetDevice(DeviceValueOf(slots[0].text)));
    EXPECT_NE(0, Api().SetDevice(0x00000000u));
    EXPECT_NE(0, Api().SetDevice(0x003A0044u)); // "D:", not a recorder here
}

TEST_F(RealEngine, GivesASentenceForEveryCodeWithinTheCapacity) {
    for (int32_t code : {1, 2, 3, 4, 5, 6, 7, 99, -5}) {
        wchar_t buffer[kTextCapacity];
        int32_t capacity = kTextCapacity;
        Api().GetText(code, buffer, &capacity);
        std::wstring text(buffer);
        EXPECT_GT(text.size(), 10u) << code;
        EXPECT_EQ(L'.', text.back()) << code;
    }
    wchar_t small[8];
    std::wmemset(small, L'#', 8);
    int32_t capacity = 8;
    Api().GetText(2, small, &capacity);
    EXPECT_EQ(7u, std::wcslen(small));
}

TEST_F(RealEngine, BurningAnEmptyProjectSaysWhatIsMissing) {
    int32_t code = Api().Prepare();
    ASSERT_NE(0, code);
    wchar_t buffer[kTextCapacity];
    int32_t capacity = kTextCapacity;
    Api().GetText(code, buffer, &capacity);
    EXPECT_NE(nullptr, std::wcsstr(buffer, L"add at least one audio file"));
    EXPECT_NE(0, Api().Burn()); // nothing was prepared
    EXPECT_EQ(0, Api().Abort()); // harmless without a run
}

} // namespace
