#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "platform/linux/folder_tree_posix.h"
#include "platform/linux/special_folders_xdg.h"
#include "temp_folder.h"

using namespace calvora::platform;
using namespace calvora::platform::linux_os;

namespace {

EnvironmentLookup environmentOf(std::map<std::string, std::string> values) {
    return [values](const std::string& name) -> std::optional<std::string> {
        auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
}

}  // namespace

TEST(XdgSpecialFolders, ApplicationDataAndDocuments) {
    TempFolder folder;
    const std::string home = folder.path().string();
    EXPECT_EQ(XdgSpecialFolders(environmentOf({{"HOME", home}})).folderPath(kCsidlAppData),
              home + "/.config");
    EXPECT_EQ(XdgSpecialFolders(environmentOf({{"HOME", home}, {"XDG_CONFIG_HOME", "/x/cfg/"}}))
                  .folderPath(kCsidlAppData),
              "/x/cfg");
    // A relative XDG_CONFIG_HOME is ignored.
    EXPECT_EQ(XdgSpecialFolders(environmentOf({{"HOME", home}, {"XDG_CONFIG_HOME", "rel"}}))
                  .folderPath(kCsidlAppData),
              home + "/.config");
    EXPECT_EQ(XdgSpecialFolders(environmentOf({})).folderPath(kCsidlAppData), "");
    // Documents: user-dirs.dirs, else the home folder.
    XdgSpecialFolders xdg(environmentOf({{"HOME", home}}));
    EXPECT_EQ(xdg.folderPath(kCsidlPersonal), home);
    std::filesystem::create_directories(folder.path() / ".config");
    std::ofstream(folder.file(".config/user-dirs.dirs"))
        << "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumentumok\"\n";
    EXPECT_EQ(xdg.folderPath(kCsidlPersonal), home + "/Dokumentumok");
    EXPECT_EQ(xdg.folderPath(999), "");
}

TEST(PosixFolderTree, FindsEntriesWithoutLetterCaseAndListsLanguageFiles) {
    TempFolder folder;
    PosixFolderTree tree;
    const std::string base = folder.path().string();
    std::filesystem::create_directories(folder.path() / "DORVANTE");
    EXPECT_EQ(tree.findEntry(base, "dorvante"), "DORVANTE");
    std::filesystem::create_directories(folder.path() / "dorvante");
    EXPECT_EQ(tree.findEntry(base, "dorvante"), "dorvante");  // the exact spelling wins
    EXPECT_EQ(tree.findEntry(base, "other"), std::nullopt);
    std::ofstream(folder.file("b.LNG")) << "x";
    std::ofstream(folder.file("a.lng")) << "x";
    std::ofstream(folder.file("c.txt")) << "x";
    std::filesystem::create_directories(folder.path() / "dir.lng");
    EXPECT_EQ(tree.findFiles(base, ".lng"), (std::vector<std::string>{"a.lng", "b.LNG"}));
    EXPECT_EQ(tree.readFile(folder.file("a.lng"), 10), "x");
    EXPECT_EQ(tree.readFile(folder.file("a.lng"), 0), std::nullopt);
}
