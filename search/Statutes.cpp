#include "Statutes.h"
#include "Citation.h"
#include <QRegularExpression>

namespace Statutes {

int fullYear(int year)
{
    if (year >= 100) return year;
    return year >= 50 ? 1900 + year : 2000 + year;
}

namespace {
const QString& months()
{
    static const QString m = QStringLiteral(
        "gennaio|febbraio|marzo|aprile|maggio|giugno|luglio|agosto|settembre|ottobre|novembre|dicembre");
    return m;
}

struct ActKind {
    const char* key;
    const char* label;
};

ActKind actKind(QStringView written)
{
    QString w = written.toString().toLower();
    w.remove(QLatin1Char(' '));
    w.remove(QLatin1Char('.'));
    w.remove(QLatin1Char('-'));
    if (w == QLatin1String("legge") || w == QLatin1String("l")) return {"legge", "legge"};
    if (w == QLatin1String("dl") || w == QLatin1String("decretolegge")) return {"dl", "d.l."};
    if (w == QLatin1String("dlgs") || w == QLatin1String("decretolegislativo")) return {"dlgs", "d.lgs."};
    if (w == QLatin1String("dpr")) return {"dpr", "d.P.R."};
    if (w == QLatin1String("rd")) return {"rd", "r.d."};
    return {"tu", "t.u."};
}

const char* const suffixes = "bis|ter|quater|quinquies|sexies|septies|octies|novies|decies";

void findActs(QStringView text, std::vector<StatuteMatch>& out)
{
    static const QRegularExpression re(
        QStringLiteral("\\b(legge|l\\.|d\\. ?l\\.|d\\. ?lgs\\.|decreto[- ]legge|decreto legislativo|d\\. ?p\\. ?r\\.|dpr|"
                       "r\\. ?d\\.|t\\. ?u\\.)\\s*"
                       "(?:(\\d{1,2})°?\\s+(") + months() +
            QStringLiteral(")\\s+(\\d{4})\\s*,?\\s*)?"
                           "(?:n\\.\\s*)?(\\d{1,5})"
                           "(?:\\s*(?:del(?:l')?\\s*|/\\s*)(\\d{4}|\\d{2})\\b)?"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    auto it = re.globalMatch(text.toString());
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const bool dated = m.hasCaptured(4);
        int year = dated ? m.captured(4).toInt() : (m.hasCaptured(6) ? fullYear(m.captured(6).toInt()) : 0);
        if (year == 0) continue;   // an act without its year cannot be told from others of its kind
        const ActKind kind = actKind(m.capturedView(1));
        const QString number = QString::number(m.captured(5).toInt());
        StatuteMatch s;
        s.start = int(m.capturedStart(0));
        s.end = int(m.capturedEnd(0));
        s.ref.key = std::string(kind.key) + ':' + number.toStdString() + ':' + std::to_string(year);
        s.ref.year = year;
        s.ref.dated = dated;
        s.ref.label = dated ? QStringLiteral("%1 %2 %3 %4 n. %5")
                                  .arg(QLatin1String(kind.label), QString::number(m.captured(2).toInt()),
                                       m.captured(3).toLower(), QString::number(year), number)
                            : QStringLiteral("%1 n. %2 del %3").arg(QLatin1String(kind.label), number).arg(year);
        out.push_back(std::move(s));
    }
}

struct CodeName {
    const char* key;
    const char* label;
};

CodeName codeName(QStringView written, bool attuazione)
{
    QString w = written.toString().toLower();
    w.remove(QLatin1Char(' '));
    w.remove(QLatin1Char('.'));
    CodeName c{"cc", "cod. civ."};
    if (w == QLatin1String("codpen") || w == QLatin1String("cp")) c = {"cp", "cod. pen."};
    else if (w == QLatin1String("codproccivile") || w == QLatin1String("codprocciv") || w == QLatin1String("cpc"))
        c = {"cpc", "cod. proc. civ."};
    else if (w == QLatin1String("codprocpen") || w == QLatin1String("cpp")) c = {"cpp", "cod. proc. pen."};
    else if (w == QLatin1String("cost")) c = {"cost", "Cost."};
    if (attuazione && c.key == std::string("cc")) return {"att.cc", "disp. att. cod. civ."};
    return c;
}

void findArticles(QStringView text, std::vector<StatuteMatch>& out)
{
    const QString article = QStringLiteral("\\d{1,4}(?:[- ]?(?:%1)\\b)?").arg(QLatin1String(suffixes));
    static const QRegularExpression re(
        QStringLiteral("\\bart(t?)\\.\\s*(") + article + QStringLiteral("(?:\\s*(?:,|e)\\s*") + article +
            QStringLiteral(")*)"
                           "(?:,?\\s*(?:comma|co\\.)\\s*\\w+|,?\\s*(?:primo|secondo|terzo|quarto|quinto|sesto|ultimo)\\s+comma|"
                           ",?\\s*n\\.\\s*\\d+|,?\\s*lett\\.\\s*\\w+\\)?)*"
                           "\\s*,?\\s*(?:e\\s+(?:seguenti|segg?\\.)\\s*|ss\\.\\s*)?"
                           "(disp\\.\\s*att\\.\\s*)?"
                           "(cod\\.\\s*proc\\.\\s*civ\\.|cod\\.\\s*proc\\.\\s*pen\\.|cod\\.\\s*civ\\.|cod\\.\\s*pen\\.|"
                           "c\\.\\s*p\\.\\s*c\\.|c\\.\\s*p\\.\\s*p\\.|c\\.\\s*c\\.|c\\.\\s*p\\.|cost\\.)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression one(QStringLiteral("(\\d{1,4})(?:[- ]?(%1)\\b)?").arg(QLatin1String(suffixes)),
                                        QRegularExpression::CaseInsensitiveOption);
    auto it = re.globalMatch(text.toString());
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const CodeName code = codeName(m.capturedView(4), m.hasCaptured(3));
        auto numbers = one.globalMatch(m.captured(2));
        while (numbers.hasNext()) {
            const QRegularExpressionMatch n = numbers.next();
            QString number = QString::number(n.captured(1).toInt());
            if (n.hasCaptured(2)) number += QLatin1Char('-') + n.captured(2).toLower();
            StatuteMatch s;
            s.start = int(m.capturedStart(0));
            s.end = int(m.capturedEnd(0));
            s.ref.key = std::string(code.key) + ':' + number.toStdString();
            s.ref.label = QStringLiteral("art. ") + number + QLatin1Char(' ') + QLatin1String(code.label);
            out.push_back(std::move(s));
        }
    }
}
} // namespace

std::vector<StatuteMatch> find(QStringView text)
{
    std::vector<StatuteMatch> out;
    findArticles(text, out);
    findActs(text, out);
    std::stable_sort(out.begin(), out.end(), [](const StatuteMatch& a, const StatuteMatch& b) { return a.start < b.start; });
    return out;
}

} // namespace Statutes
