#pragma once

#include <QObject>
#include <QString>

#include "settings/dorvoslanguage.h"

namespace calvora::settings::widgets {

// The OS-language component as a child object of the main window (osLang), so that a language
// file's value for LangIDHex reaches it like any other property, and is ignored.
class OsLangObject final : public QObject {
    Q_OBJECT
    Q_PROPERTY(int LangID READ langId WRITE ignoreLangId)
    Q_PROPERTY(QString LangIDHex READ langIdHex WRITE ignoreText)
    Q_PROPERTY(QString Language READ language WRITE ignoreText)

public:
    OsLangObject(platform::SystemLanguage& language, QObject* parent);

    const Tdorvoslang& component() const { return m_component; }
    int langId() const;
    QString langIdHex() const;
    QString language() const;
    void ignoreLangId(int) {}
    void ignoreText(const QString&) {}

private:
    Tdorvoslang m_component;
};

}  // namespace calvora::settings::widgets
