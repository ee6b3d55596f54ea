// The binding of the engine, and the first slice of the real engine's
// behaviour through it: options and texts. (Its recorder is listed and
// chosen by the program in the end-to-end burn.)
#include "../burn-engine/EngineHarness.h"

#include <cstring>
#include <cwchar>

namespace {

TEST(EngineBinding, RefusesAMissingFileOrAnEngineWithoutEveryExport) {
    EngineLibrary library;
    EXPECT_FALSE(library.Load(ProgramFolder() + L"NoSuchEngine.dll"));
    EXPECT_FALSE(library.Load(ProgramFolder() + L"IncompleteEngine.dll"));
    EXPECT_EQ(L"GetText", library.Missing());
    EXPECT_FALSE(library.Api().IsComplete());
    EXPECT_EQ(nullptr, library.Api().Initialize);
}

using RealEngine = BurnEngine; // bound with all 21 exports, initialised, with a project

TEST_F(RealEngine, NotDefinedFieldsKeepTheEnginesValues) {
    BurnOptions before, change, after;
    SetNotDefined(before);
    ASSERT_EQ(0, Api().GetOptions(&before));
    // Defined fields are taken (a label without its zero cut to its field),
    // the others kept.
    SetNotDefined(change);
    change.ejectAfterBurn = 1;
    std::memset(change.volumeLabel, 'A', sizeof change.volumeLabel);
    ASSERT_EQ(0, Api().SetOptions(change));
    SetNotDefined(change); // a record still wholly not defined changes nothing
    ASSERT_EQ(0, Api().SetOptions(change));
    ASSERT_EQ(0, Api().GetOptions(&after));
    EXPECT_EQ(1, after.ejectAfterBurn);
    EXPECT_EQ(std::string(127, 'A'), after.volumeLabel);
    std::memcpy(after.volumeLabel, before.volumeLabel, sizeof after.volumeLabel);
    after.ejectAfterBurn = before.ejectAfterBurn;
    EXPECT_EQ(0, std::memcmp(&before, &after, sizeof before));
}

TEST_F(RealEngine, GivesASentenceForEveryCodeWithinTheCapacity) {
    for (int32_t code : {1, 2, 3, 4, 5, 6, 7, 99, -5}) {
        std::wstring text = TextOf(code);
        EXPECT_TRUE(text.size() > 10 && text.back() == L'.') << code;
    }
    wchar_t small[8];
    std::wmemset(small, L'#', 8);
    int32_t capacity = 8;
    Api().GetText(2, small, &capacity);
    EXPECT_EQ(7u, std::wcslen(small));
}

} // namespace
