// Run under a locale whose decimal separator is a comma (the test set-up
// generates de_DE.UTF-8): what the editor shows and reads must not change.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>

#include "rom/rom.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra::testing {
namespace {

class CommaLocale : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Both the C and the C++ global locale, as a Qt application would have them.
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "locale not generated (LOCPATH?)";
        std::locale::global(std::locale("de_DE.UTF-8"));
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.2f", 1071.5);
        ASSERT_STREQ(probe, "1071,50") << "the locale does not use a decimal comma";
    }
    static void TearDownTestSuite()
    {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
    }
};

TEST_F(CommaLocale, FormattingAndParsingKeepTheDot)
{
    const struct {
        float value;
        const char* shown;
    } formats[] = {{1071.5f, "1071.50"}, {1006.0f, "1006.00"}, {-8192.0f, "-8192.00"}, {0.5f, "0.50"}};
    for (const auto& f : formats)
        EXPECT_EQ(formatClock(f.value), f.shown);

    const struct {
        const char* text;
        float clock;
        std::int32_t integer;
    } parses[] = {
        {"1071.5", 1071.5f, 1071}, {"1071,5", 1071.0f, 1071}, {"1.500", 1.5f, 1}, {" 1e3", 1000.0f, 1},
    };
    for (const auto& p : parses) {
        SCOPED_TRACE(p.text);
        EXPECT_EQ(parseClock(p.text), p.clock);
        EXPECT_EQ(parseLeadingInt(p.text), p.integer);
    }
    EXPECT_EQ(parseUnsigned32("1.500"), std::nullopt);
}

TEST_F(CommaLocale, LoadCommitSaveLoadKeepsEveryValue)
{
    TempDir dir;
    const auto path = dir.write("card.rom", buildImage(ImageSpec{}));
    MessageRecorder recorder;
    BiosInfo info;
    ASSERT_TRUE(loadRomFile(path, info));
    const std::string before = dump(info);
    PageValues values = pageValuesFrom(info);
    EXPECT_EQ(values.boostClock, "1058.50");
    ASSERT_EQ(commitPageValues(values, info, {}), nullptr);
    ASSERT_TRUE(saveRomFile(path, info));
    BiosInfo reloaded;
    ASSERT_TRUE(loadRomFile(path, reloaded));
    EXPECT_EQ(dump(reloaded), dump(info));
    EXPECT_EQ(reloaded.boostClock.value, 1058.5f);
    EXPECT_TRUE(recorder.messages().empty());
}

}  // namespace
}  // namespace veltra::testing
