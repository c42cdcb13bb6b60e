#include "settings/widgets/os_lang_object.h"

namespace calvora::settings::widgets {

OsLangObject::OsLangObject(platform::SystemLanguage& language, QObject* parent)
    : QObject(parent), m_component(language) {
    setObjectName(QStringLiteral("osLang"));
}

int OsLangObject::langId() const {
    return m_component.LangID();
}

QString OsLangObject::langIdHex() const {
    return QString::fromLatin1(m_component.LangIDHex());
}

QString OsLangObject::language() const {
    return QString::fromLatin1(m_component.Language());
}

}  // namespace calvora::settings::widgets
