#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>

#include "platform/fake/fake_settings_services.h"
#include "platform/linux/folder_tree_posix.h"
#include "platform/linux/language_locale_env.h"
#include "settings/widgets/TDKLanguageController.h"
#include "settings/widgets/os_lang_object.h"

using namespace calvora::settings;
using namespace calvora::settings::widgets;
using namespace calvora::platform;

namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "settings_widgets_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// A piece of the main window's Settings and Formatter pages, with the designer names.
struct TestWindow {
    QWidget window;
    QLabel* lblW;
    QComboBox* fileSystem;
    QPushButton* doFrmtDsk;
    QCheckBox* cbSplash;
    QGroupBox* gbOptions;

    TestWindow() {
        window.setObjectName("frmMain");
        window.setWindowTitle("Calvora");
        auto* layout = new QVBoxLayout(&window);
        lblW = new QLabel("Welcome to Calvora");
        lblW->setObjectName("lblW");
        fileSystem = new QComboBox;
        fileSystem->setObjectName("FileSystem");
        fileSystem->addItems({"NTFS", "FAT", "FAT32"});
        fileSystem->setCurrentIndex(2);
        doFrmtDsk = new QPushButton("Format Disk");
        doFrmtDsk->setObjectName("doFrmtDsk");
        gbOptions = new QGroupBox("Options");
        gbOptions->setObjectName("gbOptions");
        auto* box = new QVBoxLayout(gbOptions);
        cbSplash = new QCheckBox("Show Splash Screen");
        cbSplash->setObjectName("cbSplash");
        box->addWidget(cbSplash);
        for (QWidget* w : std::initializer_list<QWidget*>{lblW, fileSystem, doFrmtDsk, gbOptions}) {
            layout->addWidget(w);
        }
        window.resize(320, 200);
    }
};

std::string shippedHungarian() {
    const char* source = std::getenv("CALVORA_SOURCE_DIR");
    linux_os::PosixFolderTree tree;
    return tree
        .readFile(std::string(source ? source : ".") + "/resources/languages/magyar.lng", 1 << 20)
        .value_or("");
}

}  // namespace

TEST(TDKLanguageController, RetranslatesAtOnceAndFallsBackToTheWindowsEnglish) {
    application();
    fake::FakeFolderTree tree;
    tree.files["/p/languages/magyar.lng"] = shippedHungarian();
    tree.files["/p/languages/deutsch.lng"] = "LANGID=1031\n[frmMain]\n1=Start\n";
    linux_os::LocaleSystemLanguage system;
    LanguageManager manager(tree, system);
    ASSERT_EQ(manager.scanForLangFiles("/p/languages/", "*.lng"), 2);
    TestWindow main;
    TDKLanguageController icMain(main.window, manager, frmMainTranslatables());
    EXPECT_TRUE(icMain.missingComponents().contains("doAbort.text"));

    manager.setCurrentLanguageId(kLangHungarian);
    EXPECT_EQ(main.lblW->text(), QString::fromUtf8("Üdvözli a Calvora"));
    EXPECT_EQ(main.doFrmtDsk->text(), QString::fromUtf8("Lemez formázása"));
    EXPECT_EQ(main.doFrmtDsk->toolTip(), QString::fromUtf8("A kiválasztott adathordozó formázása"));
    EXPECT_EQ(main.gbOptions->title(), QString::fromUtf8("Beállítások"));
    EXPECT_EQ(main.cbSplash->text(), QString::fromUtf8("Nyitókép megjelenítése"));
    EXPECT_EQ(main.fileSystem->itemText(2), "FAT32");
    EXPECT_EQ(main.fileSystem->currentIndex(), 2);
    main.window.show();
    main.window.grab().save(QStringLiteral(SCREENSHOT_DIR "/language_controller_hu.png"));

    // A language whose file lacks entries shows the window's English texts for them.
    manager.setCurrentLanguageId(1031);
    EXPECT_EQ(main.doFrmtDsk->text(), "Format Disk");
    EXPECT_EQ(main.cbSplash->text(), "Show Splash Screen");
    manager.setCurrentLanguageId(1033);
    EXPECT_EQ(main.lblW->text(), "Welcome to Calvora");
}

TEST(TDKLanguageController, ControllerMadeLaterTranslatesAtOnceAndOsLangIgnoresValues) {
    application();
    fake::FakeFolderTree tree;
    tree.files["/p/magyar.lng"] = shippedHungarian();
    fake::FakeSystemLanguage system;
    system.defaultLangId = 1033;
    LanguageManager manager(tree, system);
    manager.scanForLangFiles("/p", "*.lng");
    manager.setCurrentLanguageId(kLangHungarian);
    TestWindow main;
    OsLangObject osLang(system, &main.window);
    TDKLanguageController icMain(main.window, manager, frmMainTranslatables());
    EXPECT_EQ(main.lblW->text(), QString::fromUtf8("Üdvözli a Calvora"));
    // The file carries "$040E" for LangIDHex; the component still describes this system.
    EXPECT_EQ(osLang.property("LangIDHex").toString(), "$0409");
    EXPECT_EQ(osLang.property("Language").toString(), "English (United States)");
}
