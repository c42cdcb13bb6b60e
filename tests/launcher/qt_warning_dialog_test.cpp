// The real Qt warning on the offscreen platform: shown, waited on, and answered as a user would.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "launcher/fake/fake_launcher_services.h"
#include "launcher/qt/qt_warning_dialog.h"
#include "launcher/weblaunch.h"

namespace calvora::launcher::testing {

enum class Answer { ClickOk, PressReturn, PressEscape, CloseWindow };

// What the test saw of the message box before answering it.
struct SeenBox {
    bool seen = false;
    bool returnedBeforeAnswer = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    bool modal = false;
};

// Waits for the modal message box, looks at it, then answers it.
class Answerer : public QObject {
public:
    Answerer(Answer answer, const bool& returned, QString screenshot = {})
        : m_answer(answer), m_returned(returned), m_screenshot(std::move(screenshot)) {
        connect(&m_timer, &QTimer::timeout, this, &Answerer::poll);
        m_timer.start(10);
    }

    SeenBox box;

private:
    void poll() {
        auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (shown == nullptr || !shown->isVisible()) {
            return;
        }
        m_timer.stop();
        box.seen = true;
        box.returnedBeforeAnswer = m_returned;
        box.title = shown->windowTitle();
        box.text = shown->text();
        box.icon = shown->icon();
        box.modal = shown->isModal();
        for (QAbstractButton* button : shown->buttons()) {
            box.buttons << button->text();
        }
        if (!m_screenshot.isEmpty()) {
            shown->grab().save(m_screenshot);
        }
        switch (m_answer) {
            case Answer::ClickOk:
                QTest::mouseClick(shown->buttons().front(), Qt::LeftButton);
                break;
            case Answer::PressReturn:
                QTest::keyClick(shown, Qt::Key_Return);
                break;
            case Answer::PressEscape:
                QTest::keyClick(shown, Qt::Key_Escape);
                break;
            case Answer::CloseWindow:
                shown->close();
                break;
        }
    }

    Answer m_answer;
    const bool& m_returned;
    QString m_screenshot;
    QTimer m_timer;
};

const QString kShownText = QStringLiteral(
    "The installation of this Calvora is detective!\n"
    "Please install the Calvora product again to correct the problem (1) !");

class QtWarningDialogTest : public QObject {
    Q_OBJECT

private slots:
    void waitsUntilTheUserAnswers_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("screenshot");
        QTest::newRow("click OK") << Answer::ClickOk
                                  << QStringLiteral(CALVORA_TEST_OUTPUT_DIR
                                                    "/weblaunch_warning.png");
        QTest::newRow("press Return") << Answer::PressReturn << QString{};
        QTest::newRow("press Escape") << Answer::PressEscape << QString{};
        QTest::newRow("close the window") << Answer::CloseWindow << QString{};
    }

    void waitsUntilTheUserAnswers() {
        QFETCH(Answer, answer);
        QFETCH(QString, screenshot);
        bool returned = false;
        Answerer answerer{answer, returned, screenshot};
        qt::QtWarningDialog dialog;
        dialog.showWarning(kWarningCaption, kWarningText);
        returned = true;

        QVERIFY(answerer.box.seen);
        QVERIFY(!answerer.box.returnedBeforeAnswer);
        QVERIFY(answerer.box.modal);
        QCOMPARE(answerer.box.title, QStringLiteral("Warning"));
        QCOMPARE(answerer.box.text, kShownText);
        QCOMPARE(answerer.box.icon, QMessageBox::Warning);
        QCOMPARE(answerer.box.buttons, QStringList{QStringLiteral("OK")});
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    // The launcher's whole run with the real dialog: not installed, warned, answered, 0.
    void launcherWarnsWithTheRealDialogAndEndsWithZero() {
        bool returned = false;
        Answerer answerer{Answer::ClickOk, returned};
        fake::FakeFileProbe files;
        fake::FakeShell shell;
        qt::QtWarningDialog dialog;
        QCOMPARE(runWebLaunch(kLinuxInstallationTestPath, files, shell, dialog), 0);
        returned = true;
        QVERIFY(answerer.box.seen);
        QCOMPARE(answerer.box.text, kShownText);
        QVERIFY(shell.openedAddresses.empty());
    }
};

}  // namespace calvora::launcher::testing

QTEST_MAIN(calvora::launcher::testing::QtWarningDialogTest)
#include "qt_warning_dialog_test.moc"
