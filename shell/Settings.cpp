#include "Settings.h"

namespace Settings {

QString organisation() { return QStringLiteral("Velmoria"); }

std::unique_ptr<QSettings> open()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation(), QStringLiteral("Norvelia"));
}

void useFolder(const QString& folder) { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder); }

} // namespace Settings
