#pragma once

#include <QPointer>
#include <QString>
#include <QVariant>
#include <vector>

#include "settings/language_manager.h"
#include "settings/translatable_lists.h"

class QObject;
class QWidget;

namespace calvora::settings::widgets {

// A window's language controller (icMain): applies the current language's texts to the
// window's translatable properties through Qt's property system, and the window's own English
// texts, taken when the controller is created, wherever the language file has no entry. Create
// it after the window's components, with their English texts, exist; it re-translates at once
// whenever the manager's language changes. It does not own the window.
class TDKLanguageController final : public LanguageSink {
public:
    TDKLanguageController(QWidget& window, LanguageManager& manager, TranslatableList list);
    ~TDKLanguageController() override;
    TDKLanguageController(const TDKLanguageController&) = delete;
    TDKLanguageController& operator=(const TDKLanguageController&) = delete;

    void languageChanged(const LanguageManager& manager) override;

    // "object.property" of the entries whose component the window does not have.
    QStringList missingComponents() const;

private:
    struct Target {
        const TranslatableEntry* entry;
        QPointer<QObject> object;
        QString english;
    };

    LanguageManager& m_manager;
    TranslatableList m_list;
    std::vector<Target> m_targets;
};

}  // namespace calvora::settings::widgets
