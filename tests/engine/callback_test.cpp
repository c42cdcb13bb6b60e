// The library's callback codes and what each becomes.
#include <optional>

#include "engine_fixture.h"
#include "platform/format_library.h"

namespace calvora::engine::testing {
namespace {

struct CallbackCase {
    const char* name;
    std::uint32_t command;
    std::optional<std::int32_t> percent;  // data for code 0
    std::optional<std::uint8_t> flag;     // data for code 11
    std::optional<std::string> text;      // data for code 14
    std::vector<std::string> expectedLines;
    std::vector<std::int32_t> expectedProgress;
};

const CallbackCase kCases[] = {
    {"progress", 0, 57, {}, {}, {}, {57}},
    {"created", 1, {}, {}, {}, {"14:03:22: Created : OK   "}, {}},
    {"rights", 6, {}, {}, {}, {"14:03:22: Insufficient Rights"}, {}},
    {"fs_not_supported", 7, {}, {}, {}, {"14:03:22: FS Not Supported"}, {}},
    {"volume_in_use", 8, {}, {}, {}, {"14:03:22: Volume In-Use     "}, {}},
    {"quick_not_allowed", 9, {}, {}, {}, {"14:03:22: Quick Format Not Allowed        "}, {}},
    {"finished_ok", 11, {}, 1, {}, {"14:03:22: Finished : OK  "}, {}},
    {"finished_any_nonzero_flag", 11, {}, 0x80, {}, {"14:03:22: Finished : OK  "}, {}},
    {"unable_to_finish", 11, {}, 0, {}, {"14:03:22: Unable to Finish !    "}, {}},
    {"cluster_too_small", 16, {}, {}, {}, {"14:03:22: Cluster Size Too Small "}, {}},
    {"text_trimmed", 14, {}, {}, "  \tmkfs.fat 4.2\r\n", {"mkfs.fat 4.2"}, {}},
    {"text_oem_converted", 14, {}, {}, "Caf\x82", {"Caf\xE9"}, {}},
    {"text_inner_blanks_kept", 14, {}, {}, " a  b ", {"a  b"}, {}},
    {"text_only_blanks", 14, {}, {}, "  \r\n \t ", {}, {}},
    {"ignored_15", 15, {}, {}, {}, {}, {}},
    {"ignored_25", 25, {}, {}, {}, {}, {}},
    {"other_2", 2, {}, {}, {}, {"14:03:22: Disk Callback :         2"}, {}},
    {"other_255", 255, {}, {}, {}, {"14:03:22: Disk Callback :         255"}, {}},
    {"low_byte_300", 300, {}, {}, {}, {"14:03:22: Disk Callback :         44"}, {}},
    {"low_byte_256_is_progress", 256 + 0, 12, {}, {}, {}, {12}},
    {"low_byte_267_is_finished", 256 + 11, {}, 1, {}, {"14:03:22: Finished : OK  "}, {}},
};

void PrintTo(const CallbackCase& c, std::ostream* os) {
    *os << c.name;
}

class CallbackTableTest : public EngineFixture,
                          public ::testing::WithParamInterface<CallbackCase> {};

std::uint8_t callWith(const CallbackCase& c) {
    std::int32_t percent = c.percent.value_or(0);
    std::uint8_t flag = c.flag.value_or(0);
    std::string text = c.text.value_or("");
    platform::TextOutput output{1, text.c_str()};
    void* data = nullptr;
    if (c.percent) {
        data = &percent;
    } else if (c.flag) {
        data = &flag;
    } else if (c.text) {
        data = &output;
    }
    return FmifsCallback(c.command, 0, data);
}

TEST_P(CallbackTableTest, TranslatesCodeIntoEvents) {
    const CallbackCase& c = GetParam();
    ActiveFormatter = &engine;
    EXPECT_EQ(callWith(c), 1);
    EXPECT_EQ(lines, c.expectedLines);
    EXPECT_EQ(progress, c.expectedProgress);
}

TEST_P(CallbackTableTest, StopsWhenAHandlerCancelsOrIgnores) {
    const CallbackCase& c = GetParam();
    ActiveFormatter = &engine;
    cancelAtLine = 1;
    cancelAtProgress = 1;
    const bool raisesEvent = !c.expectedLines.empty() || !c.expectedProgress.empty();
    // Codes that raise no event go on whatever the handlers would say.
    EXPECT_EQ(callWith(c), raisesEvent ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Codes, CallbackTableTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineFixture, CodeElevenSetsFormatDoneFromItsFlag) {
    ActiveFormatter = &engine;
    std::uint8_t flag = 1;
    FmifsCallback(11, 0, &flag);
    EXPECT_TRUE(engine.FormatDone);
    flag = 0;
    FmifsCallback(11, 0, &flag);
    EXPECT_FALSE(engine.FormatDone);
}

TEST_F(EngineFixture, CallbackBeforeAnyFormatDoesNothing) {
    ASSERT_EQ(ActiveFormatter, nullptr);
    cancelAtLine = 1;
    std::uint8_t flag = 1;
    EXPECT_EQ(FmifsCallback(11, 0, &flag), 1);
    EXPECT_EQ(FmifsCallback(1, 0, nullptr), 1);
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(engine.FormatDone);
}

TEST_F(EngineFixture, DestroyedEngineReceivesNoCallbacks) {
    {
        Tdorvformatcheckdisk other{EnginePlatform{binding, volumes, clock, codePages}};
        ActiveFormatter = &other;
    }
    EXPECT_EQ(ActiveFormatter, nullptr);
    EXPECT_EQ(FmifsCallback(1, 0, nullptr), 1);
}

TEST_F(EngineFixture, EventsWithoutHandlersNeverCancel) {
    engine.onInfoEvent = nullptr;
    engine.onProgressEvent = nullptr;
    EXPECT_FALSE(engine.DoInfo("line"));
    EXPECT_FALSE(engine.DoProgress(10));
}

TEST_F(EngineFixture, EachEventStartsWithCancelClear) {
    std::vector<bool> seen;
    engine.onInfoEvent = [&](const std::string&, bool& cancel) {
        seen.push_back(cancel);
        cancel = true;
    };
    EXPECT_TRUE(engine.DoInfo("a"));
    EXPECT_TRUE(engine.DoInfo("b"));
    EXPECT_EQ(seen, (std::vector<bool>{false, false}));
}

}  // namespace
}  // namespace calvora::engine::testing
