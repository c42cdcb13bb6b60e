#include "launcher/qt/qt_warning_dialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace calvora::launcher::qt {
namespace {

// A Qt label breaks lines at "\n"; a "\r" would show as a stray glyph.
QString displayText(std::string_view text) {
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}
// The warning while the application starts. Qt's message handler carries no context, so
// the text waits here during the one constructor call that may fail.
struct PendingWarning {
    std::string_view caption;
    std::string_view text;
    QtMessageHandler previous = nullptr;
};
PendingWarning* pendingWarning = nullptr;

// Qt ends the process with a fatal message when no platform plugin can start (no display,
// no plugin). The user still gets the warning, and the exit code stays 0.
void onStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (pendingWarning != nullptr && pendingWarning->previous != nullptr) {
            pendingWarning->previous(type, context, message);
        }
        return;
    }
    const QByteArray reason = message.toLocal8Bit();
    std::fprintf(stderr, "%s\n", reason.constData());
    if (pendingWarning != nullptr) {
        const QByteArray shown = (displayText(pendingWarning->caption) + QStringLiteral(": ") +
                                  displayText(pendingWarning->text))
                                     .toLocal8Bit();
        std::fprintf(stderr, "%s\n", shown.constData());
    }
    std::fflush(stderr);
    std::_Exit(0);
}

}  // namespace

QtWarningDialog::QtWarningDialog() = default;

QtWarningDialog::~QtWarningDialog() = default;

void QtWarningDialog::startApplication(std::string_view caption, std::string_view text) {
    PendingWarning pending{caption, text, nullptr};
    pendingWarning = &pending;
    pending.previous = qInstallMessageHandler(onStartupMessage);
    m_application = std::make_unique<QApplication>(m_argc, m_argv);
    qInstallMessageHandler(pending.previous);
    pendingWarning = nullptr;
}

void QtWarningDialog::showWarning(std::string_view caption, std::string_view text) {
    if (QApplication::instance() == nullptr) {
        startApplication(caption, text);
    }
    QMessageBox box(QMessageBox::Warning, displayText(caption), displayText(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    // The button reads "OK" whatever the platform theme would call it.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

}  // namespace calvora::launcher::qt
