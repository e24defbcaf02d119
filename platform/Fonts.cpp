#include "Fonts.h"
#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QSet>

namespace Fonts {
namespace {
struct Map {
    const char* family;
    QStringList substitutes;
};

const Map& mapFor(const QString& family)
{
    static const Map maps[] = {
        {"MS Sans Serif", {"Liberation Sans", "Nimbus Sans", "DejaVu Sans"}},
        {"Arial", {"Liberation Sans", "Nimbus Sans", "DejaVu Sans"}},
        {"Arial Black", {"DejaVu Sans", "Liberation Sans"}},
        {"Simpson", {"Z003", "URW Chancery L", "Liberation Serif"}},
        {"Comic Sans MS", {"Comic Neue", "DejaVu Sans"}},
        {"Century Gothic", {"URW Gothic", "URW Gothic L", "DejaVu Sans"}},
    };
    static const Map none{"", {}};
    for (const Map& m : maps)
        if (family == QLatin1String(m.family)) return m;
    return none;
}

// Whether a family is installed, by name. QFontDatabase::hasFamily would first run the name through the
// font configuration's substitution rules, a cost paid on every call that showed in the start-up time;
// our names are real family names, so the installed list is enough.
bool installed(const QString& family)
{
    static const QSet<QString> families = [] {
        QSet<QString> set;
        for (const QString& f : QFontDatabase::families()) set.insert(f.toCaseFolded());
        return set;
    }();
    return families.contains(family.toCaseFolded());
}

// The installed family that stands for a design family: the family itself when it is installed,
// otherwise its first installed substitute. Resolved once per name; asking the font database directly
// avoids the fallback search the font system would run for a family it does not have.
QString resolve(const QString& family)
{
    static QHash<QString, QString> cache;
    auto it = cache.find(family);
    if (it != cache.end()) return it.value();
    QString chosen = family;
    if (!installed(family)) {
        for (const QString& s : mapFor(family).substitutes) {
            if (installed(s)) {
                chosen = s;
                break;
            }
        }
    }
    cache.insert(family, chosen);
    return chosen;
}
} // namespace

void install()
{
    // Documents keep the design names (a saved document names "Century Gothic"); where they are shown,
    // the font system falls back on the same substitutes.
    for (const char* f : {"MS Sans Serif", "Arial", "Arial Black", "Simpson", "Comic Sans MS", "Century Gothic"})
        QFont::insertSubstitutions(QString::fromLatin1(f), mapFor(QString::fromLatin1(f)).substitutes);
    QApplication::setFont(windowFont());
}

QFont design(const QString& family, double pointSize, bool bold, bool italic)
{
    QFont f(resolve(family));
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
