#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "platform/linux/folder_tree_posix.h"
#include "platform/linux/language_locale_env.h"
#include "settings/language_manager.h"
#include "settings/message_constants.h"
#include "settings/translatable_lists.h"

using namespace calvora::settings;
using namespace calvora::platform::linux_os;

namespace {

std::string languagesFolder() {
    const char* source = std::getenv("CALVORA_SOURCE_DIR");
    return std::string(source == nullptr ? "." : source) + "/resources/languages/";
}

std::set<int> numbersOf(const TranslatableList& list) {
    std::set<int> numbers;
    for (const TranslatableEntry& entry : list.entries) {
        numbers.insert(entry.number);
    }
    return numbers;
}

}  // namespace

TEST(HungarianFile, CoversEveryTranslatablePropertyAndConstant) {
    PosixFolderTree tree;
    auto files = tree.findFiles(languagesFolder(), ".lng");
    ASSERT_EQ(files, std::vector<std::string>{"magyar.lng"});
    auto bytes = tree.readFile(languagesFolder() + files[0], 1 << 20);
    ASSERT_TRUE(bytes);
    LngParseResult parsed = parseLanguageFile(*bytes);
    ASSERT_FALSE(parsed.error) << parsed.error->line << ": " << parsed.error->message;
    EXPECT_EQ(languageFileLangId(*bytes), 1038);
    for (const TranslatableList& list : {frmMainTranslatables(), frmLicenseAgreementTranslatables(),
                                         frmRecommendDlgTranslatables()}) {
        ASSERT_EQ(parsed.file.windows.count(std::string(list.window)), 1u) << list.window;
        std::set<int> inFile;
        for (const auto& [number, text] : parsed.file.windows.at(std::string(list.window))) {
            inFile.insert(number);
        }
        EXPECT_EQ(inFile, numbersOf(list)) << list.window;
    }
    EXPECT_EQ(parsed.file.windows.size(), 3u);
    std::set<std::string> constants, inFile;
    for (const MessageConstant& constant : messageConstants()) {
        constants.insert(std::string(constant.name));
    }
    for (const auto& [name, text] : parsed.file.constants) {
        inFile.insert(name);
        EXPECT_FALSE(text.empty()) << name;
    }
    EXPECT_EQ(inFile, constants);
    // Windows-1250 text: "Formázás" and the o with double acute of "Összegzés"/"lő".
    LocaleSystemLanguage language;
    std::u16string restart = language.decodeText(
        parsed.file.constants.at("sThelanguagesettingissuccessful"), kLangHungarian);
    EXPECT_EQ(restart, u"A beállítás módosításához a program újraindítása szükséges!");
    EXPECT_NE(language.decodeText(*bytes, kLangHungarian).find(u"\u0151"), std::u16string::npos);
}

TEST(TranslatableLists, NumbersRunFromOneWithoutGaps) {
    for (const TranslatableList& list : {frmMainTranslatables(), frmLicenseAgreementTranslatables(),
                                         frmRecommendDlgTranslatables()}) {
        int expected = 1;
        for (const TranslatableEntry& entry : list.entries) {
            EXPECT_EQ(entry.number, expected++) << list.window;
        }
    }
    EXPECT_EQ(frmMainTranslatables().entries.size(), 116u);
}
