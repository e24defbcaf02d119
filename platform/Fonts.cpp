#include "Fonts.h"
#include <QApplication>
#include <QFontDatabase>

namespace Fonts {
void install()
{
    struct Map {
        const char* family;
        QStringList substitutes;
    };
    const Map maps[] = {
        {"MS Sans Serif", {"Liberation Sans", "Nimbus Sans", "DejaVu Sans"}},
        {"Arial", {"Liberation Sans", "Nimbus Sans", "DejaVu Sans"}},
        {"Arial Black", {"DejaVu Sans", "Liberation Sans"}},
        {"Simpson", {"Z003", "URW Chancery L"}},
        {"Comic Sans MS", {"Comic Neue", "DejaVu Sans"}},
        {"Century Gothic", {"URW Gothic", "URW Gothic L", "DejaVu Sans"}},
    };
    const QStringList installed = QFontDatabase::families();
    for (const Map& m : maps) {
        const QString family = QString::fromLatin1(m.family);
        if (installed.contains(family)) continue;
        QStringList present;
        for (const QString& s : m.substitutes)
            if (installed.contains(s)) present << s;
        if (!present.isEmpty()) QFont::insertSubstitutions(family, present);
    }
    QApplication::setFont(windowFont());
}

QFont design(const QString& family, double pointSize, bool bold, bool italic)
{
    QFont f(family);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    f.setItalic(italic);
    if (family == QLatin1String("Arial Black")) f.setWeight(QFont::Black);
    // The original window font is a little narrower than its free stand-ins; without this, captions
    // designed to fit one line would wrap.
    if (family == QLatin1String("MS Sans Serif")) f.setStretch(94);
    return f;
}

QFont windowFont() { return design(QStringLiteral("MS Sans Serif"), 8.25); }
} // namespace Fonts
