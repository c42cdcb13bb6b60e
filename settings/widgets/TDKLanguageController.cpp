#include "settings/widgets/TDKLanguageController.h"

#include <QComboBox>
#include <QWidget>

namespace calvora::settings::widgets {
namespace {

constexpr const char* kItems = "items";

QString latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QObject* componentOf(QWidget& window, std::string_view windowName, std::string_view name) {
    if (name == windowName || latin(name) == window.objectName()) {
        return &window;
    }
    return window.findChild<QObject*>(latin(name));
}

QString readText(QObject& object, std::string_view property) {
    if (property == kItems) {
        if (auto* box = qobject_cast<QComboBox*>(&object)) {
            QStringList items;
            for (int i = 0; i < box->count(); ++i) {
                items << box->itemText(i);
            }
            return items.join(QLatin1Char('\n'));
        }
    }
    return object.property(std::string(property).c_str()).toString();
}

void writeText(QObject& object, std::string_view property, const QString& text) {
    if (property == kItems) {
        if (auto* box = qobject_cast<QComboBox*>(&object)) {
            // Only the texts change: the number of items and the selection stay.
            const QStringList lines = text.split(QLatin1Char('\n'));
            for (int i = 0; i < box->count() && i < lines.size(); ++i) {
                box->setItemText(i, lines[i]);
            }
            return;
        }
    }
    object.setProperty(std::string(property).c_str(), text);
}

}  // namespace

TDKLanguageController::TDKLanguageController(QWidget& window, LanguageManager& manager,
                                             TranslatableList list)
    : m_manager(manager), m_list(list) {
    for (const TranslatableEntry& entry : m_list.entries) {
        QObject* object = componentOf(window, m_list.window, entry.objectName);
        m_targets.push_back(Target{
            &entry, object, object != nullptr ? readText(*object, entry.property) : QString()});
    }
    m_manager.addSink(this);
    if (m_manager.currentLanguageId() != kLangEnglishUs) {
        languageChanged(m_manager);
    }
}

TDKLanguageController::~TDKLanguageController() {
    m_manager.removeSink(this);
}

void TDKLanguageController::languageChanged(const LanguageManager& manager) {
    const auto& texts = manager.windowTexts(m_list.window);
    for (Target& target : m_targets) {
        if (target.object.isNull()) {
            continue;
        }
        auto found = texts.find(target.entry->number);
        QString text = target.english;
        if (found != texts.end()) {
            std::u16string decoded = manager.decodeText(found->second);
            text = QString::fromUtf16(decoded.data(), static_cast<qsizetype>(decoded.size()));
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        }
        writeText(*target.object, target.entry->property, text);
    }
}

QStringList TDKLanguageController::missingComponents() const {
    QStringList missing;
    for (const Target& target : m_targets) {
        if (target.object.isNull()) {
            missing << latin(target.entry->objectName) + QLatin1Char('.') +
                           latin(target.entry->property);
        }
    }
    return missing;
}

}  // namespace calvora::settings::widgets
