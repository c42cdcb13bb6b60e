#include <gtest/gtest.h>

#include "platform/fake/fake_settings_services.h"
#include "settings/dorvoslanguage.h"
#include "settings/language_manager.h"

using namespace calvora::settings;
using namespace calvora::platform;

TEST(LngFile, EscapesSectionsAndHeader) {
    auto result = parseLanguageFile(
        "; comment\r\n  LANGID = $040E \r\n\r\n[frmMain]\r\n1=a\\nb\\tc\\\\d\\65\r\n"
        "[$constants]\r\nsError=Hiba:\r\n");
    ASSERT_FALSE(result.error);
    EXPECT_EQ(result.file.header.at("LANGID"), "$040E");
    EXPECT_EQ(result.file.windows.at("frmMain").at(1), "a\r\nb\tc\\dA");
    EXPECT_EQ(result.file.constants.at("sError"), "Hiba:");
}

TEST(LngFile, ErrorsNameTheLine) {
    struct Case {
        const char* text;
        int line;
    } cases[] = {
        {"LANGID=1038\n[frmMain]\n1=ok\nno equals\n", 4}, {"LANGID=1038\n[frmMain]\n0=zero\n", 3},
        {"LANGID=1038\n[frmMain]\nabc=x\n", 3},           {"LANGID=1038\n[frmMain\n", 2},
        {"LANGID=1038\n[frmMain]\n1=bad\\q\n", 3},        {"LANGID=1038\n[frmMain]\n1=end\\\n", 3}};
    for (const Case& c : cases) {
        auto result = parseLanguageFile(c.text);
        ASSERT_TRUE(result.error) << c.text;
        EXPECT_EQ(result.error->line, c.line) << c.text;
    }
}

TEST(LngFile, LangIdValues) {
    EXPECT_EQ(parseLangId("1038"), 1038);
    EXPECT_EQ(parseLangId("$040E"), 1038);
    EXPECT_EQ(parseLangId("$040e"), 1038);
    for (const char* bad : {"0", "$0", "", "$", "abc", "70000", "-1", "10x"}) {
        EXPECT_EQ(parseLangId(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(languageFileLangId("Author=x\nLANGID=1031\n[frmMain]\n"), 1031);
    EXPECT_EQ(languageFileLangId("[frmMain]\nLANGID=1031\n"), std::nullopt);
}

namespace {

class CountingSink final : public LanguageSink {
public:
    int calls = 0;
    void languageChanged(const LanguageManager&) override { ++calls; }
};

struct Languages : ::testing::Test {
    fake::FakeFolderTree tree;
    fake::FakeSystemLanguage system;
    LanguageManager manager{tree, system};
    CountingSink sink;

    void SetUp() override { manager.addSink(&sink); }
};

}  // namespace

TEST_F(Languages, ScanBuildsTheEntryList) {
    tree.files["/p/languages/a-hu.lng"] = "LANGID=1038\n[$CONSTANTS]\nsError=first\n";
    tree.files["/p/languages/b-en.lng"] = "LANGID=1033\n";
    tree.files["/p/languages/c-none.lng"] = "Author=x\n";
    tree.files["/p/languages/d-zero.lng"] = "LANGID=0\n";
    tree.files["/p/languages/e-de.LNG"] = "LANGID=1031\n";
    tree.files["/p/languages/f-hu2.lng"] = "LANGID=$040E\n[$CONSTANTS]\nsError=Hiba:\n";
    tree.files["/p/languages/sub/g.lng"] = "LANGID=1029\n";
    tree.files["/p/languages/readme.txt"] = "LANGID=1029\n";
    EXPECT_EQ(manager.scanForLangFiles("/p/languages/", "*.lng"), 4);
    ASSERT_EQ(manager.languageCount(), 3);
    EXPECT_EQ(manager.languageName(0), "English (United States)");
    EXPECT_EQ(manager.languageName(1), "Hungarian");
    EXPECT_EQ(manager.languageId(2), 1031);
    EXPECT_EQ(manager.indexOfLanguageId(1038), 1);
    EXPECT_EQ(manager.indexOfLanguageId(1029), 0);
    // The later file with the same identifier supplies the texts.
    manager.setCurrentLanguageId(1038);
    EXPECT_EQ(manager.constantText("sError"), "Hiba:");
    EXPECT_EQ(manager.constantText("sFormatDiskFailed"), "Format Disk Failed ...");
    EXPECT_EQ(sink.calls, 1);
}

TEST_F(Languages, ChangesRetranslateOnceAndFallBackToEnglish) {
    tree.files["/l/hu.lng"] = "LANGID=1038\n[frmMain]\n3=Formázás\n";
    manager.scanForLangFiles("/l", "*.lng");
    manager.setCurrentLanguageId(1033);  // no change
    EXPECT_EQ(sink.calls, 0);
    manager.setCurrentLanguageId(1038);
    EXPECT_EQ(manager.windowTexts("FRMMAIN").at(3), "Formázás");
    manager.setCurrentLanguageId(1038);
    EXPECT_EQ(sink.calls, 1);
    manager.setCurrentLanguageId(1049);  // no file: English
    EXPECT_EQ(manager.currentLanguageId(), 1033);
    EXPECT_TRUE(manager.windowTexts("frmMain").empty());
    EXPECT_EQ(sink.calls, 2);
    manager.removeSink(&sink);
    manager.setCurrentLanguageId(1038);
    EXPECT_EQ(sink.calls, 2);
}

TEST_F(Languages, BrokenFileRaisesTheLoadErrorAndChangesNothing) {
    tree.files["/l/x.lng"] = "LANGID=1031\n[frmMain]\n1=ok\nbroken line\n";
    manager.scanForLangFiles("/l", "*.lng");
    try {
        manager.setCurrentLanguageId(1031);
        FAIL() << "no error";
    } catch (const LanguageLoadError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Loading translations failed.\r\nLine 4: \"=\" expected in \"broken line\"");
    }
    EXPECT_EQ(manager.currentLanguageId(), 1033);
    EXPECT_EQ(sink.calls, 0);
}

TEST(Tdorvoslang, DescribesTheRunningSystemWhateverIsAssigned) {
    fake::FakeSystemLanguage system;
    system.defaultLangId = 1031;
    Tdorvoslang osLang(system);
    osLang.setLangID(1038);
    osLang.setLangIDHex("$040E");
    osLang.setLanguage("Hungarian");
    EXPECT_EQ(osLang.LangID(), 1031);
    EXPECT_EQ(osLang.LangIDHex(), "$0407");
    EXPECT_EQ(osLang.Language(), "German (Germany)");
    system.defaultLangId = 1038;
    EXPECT_EQ(Tdorvoslang(system).LangIDHex(), "$040E");
}
