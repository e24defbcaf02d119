#include "Statutes.h"
#include "Citation.h"
#include <algorithm>
#include <optional>
#include <QStringList>

namespace Statutes {

int fullYear(int year)
{
    if (year >= 100) return year;
    return year >= 50 ? 1900 + year : 2000 + year;
}

namespace {
// A cursor over the text that reads the pieces of a citation of a statute. Every name it looks for is
// plain ASCII, compared lower-cased by its bit; it never reads past the text. This runs over every
// maxim when the search index is built, where a set of regular expressions cost three times as much as
// the whole rest of reading the texts.
class Scan {
public:
    Scan(QStringView t, qsizetype at) : t_(t), i_(at) {}
    qsizetype pos() const { return i_; }
    void to(qsizetype at) { i_ = at; }
    bool end() const { return i_ >= t_.size(); }
    char16_t at(qsizetype k) const { return k < t_.size() ? lower(t_.at(k)) : 0; }
    static char16_t lower(QChar c) { return c.unicode() < 0x80 && c.isLetter() ? (c.unicode() | 0x20) : c.unicode(); }
    static bool letter(char16_t c) { return c < 0x80 ? ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') : QChar(c).isLetter(); }

    void spaces()
    {
        while (i_ < t_.size() && t_.at(i_).isSpace()) ++i_;
    }
    // The literal text (lower case) here; a word ending in a letter must not go on into another letter.
    bool take(const char* lit)
    {
        qsizetype k = 0;
        for (; lit[k]; ++k)
            if (at(i_ + k) != char16_t(lit[k])) return false;
        if (letter(char16_t(lit[k - 1])) && letter(at(i_ + k))) return false;
        i_ += k;
        return true;
    }
    // Blanks, then the literal; nothing is consumed when it is not there.
    bool takeAfterSpaces(const char* lit)
    {
        const qsizetype keep = i_;
        spaces();
        if (take(lit)) return true;
        i_ = keep;
        return false;
    }
    // Between min and max digits, not followed by another digit; -1 when there are none.
    int number(int min, int max)
    {
        qsizetype k = i_;
        int n = 0;
        while (k < t_.size() && k - i_ < max && t_.at(k).unicode() >= '0' && t_.at(k).unicode() <= '9')
            n = n * 10 + (t_.at(k++).unicode() - '0');
        if (k - i_ < min || (k < t_.size() && t_.at(k).isDigit())) return -1;
        i_ = k;
        return n;
    }
    // A word of letters, lower case.
    QString word()
    {
        const qsizetype s = i_;
        while (i_ < t_.size() && letter(t_.at(i_).unicode())) ++i_;
        return t_.sliced(s, i_ - s).toString().toLower();
    }

private:
    QStringView t_;
    qsizetype i_;
};

bool wordStart(QStringView t, qsizetype i) { return i == 0 || !t.at(i - 1).isLetterOrNumber(); }

const char* const suffixes[] = {"bis", "ter", "quater", "quinquies", "sexies", "septies", "octies", "novies", "decies"};

// "1117", "1117-bis", "1117 bis"; empty when no article number is here.
QString articleNumber(Scan& s)
{
    const int n = s.number(1, 4);
    if (n < 0) return QString();
    QString out = QString::number(n);
    const qsizetype keep = s.pos();
    if (s.at(s.pos()) == '-' || s.at(s.pos()) == ' ') s.to(s.pos() + 1);
    for (const char* suffix : suffixes) {
        if (s.take(suffix)) return out + QLatin1Char('-') + QLatin1String(suffix);
    }
    s.to(keep);
    return out;
}

struct CodeName {
    const char* key;
    const char* label;
};

// The code an article list ends with, or nothing.
std::optional<CodeName> code(Scan& s)
{
    const bool att = (s.take("disp.") || s.take("disp")) && (s.spaces(), s.take("att.") || s.take("att")) && (s.spaces(), true);
    const qsizetype keep = s.pos();
    std::optional<CodeName> c;
    // "." after an abbreviation, or nothing: lawyers write "cod civ" and "cc" as often as "cod. civ.".
    auto abbreviation = [&s](const char* word) {
        if (!s.take(word)) return false;
        s.take(".");
        s.spaces();
        return true;
    };
    if (s.take("codice civile")) {
        c = CodeName{"cc", "cod. civ."};
    } else if (s.take("codice penale")) {
        c = CodeName{"cp", "cod. pen."};
    } else if (s.take("codice di procedura civile")) {
        c = CodeName{"cpc", "cod. proc. civ."};
    } else if (s.take("codice di procedura penale")) {
        c = CodeName{"cpp", "cod. proc. pen."};
    } else if (s.take("cpc")) {
        c = CodeName{"cpc", "cod. proc. civ."};
    } else if (s.take("cpp")) {
        c = CodeName{"cpp", "cod. proc. pen."};
    } else if (s.take("cc")) {
        s.take(".");
        c = CodeName{"cc", "cod. civ."};
    } else if (s.take("cp")) {
        s.take(".");
        c = CodeName{"cp", "cod. pen."};
    } else if (abbreviation("cod")) {
        if (abbreviation("proc")) {
            if (abbreviation("civ")) c = CodeName{"cpc", "cod. proc. civ."};
            else if (abbreviation("pen")) c = CodeName{"cpp", "cod. proc. pen."};
        } else if (s.take("civ.") || s.take("civ")) c = CodeName{"cc", "cod. civ."};
        else if (s.take("pen.") || s.take("pen")) c = CodeName{"cp", "cod. pen."};
    } else if (s.take("c.")) {
        s.spaces();
        if (s.take("c.")) c = CodeName{"cc", "cod. civ."};
        else if (s.take("p.")) {
            const qsizetype afterP = s.pos();
            s.spaces();
            if (s.take("c.")) c = CodeName{"cpc", "cod. proc. civ."};
            else if (s.take("p.")) c = CodeName{"cpp", "cod. proc. pen."};
            else {
                s.to(afterP);
                c = CodeName{"cp", "cod. pen."};
            }
        }
    } else if (s.take("cost.")) {
        c = CodeName{"cost", "Cost."};
    }
    if (!c) {
        s.to(keep);
        return std::nullopt;
    }
    if (att && c->key == std::string("cc")) return CodeName{"att.cc", "disp. att. cod. civ."};
    return c;
}

// What may stand between the article numbers and the code: "primo comma", "comma 2", "n. 3", "lett. b)",
// "e seguenti".
void qualifiers(Scan& s)
{
    static const char* const ordinals[] = {"primo", "secondo", "terzo", "quarto", "quinto", "sesto", "ultimo"};
    for (;;) {
        const qsizetype keep = s.pos();
        s.spaces();
        if (s.take(",")) s.spaces();
        bool any = false;
        if (s.take("comma") || s.take("co.")) {
            s.spaces();
            if (s.word().isEmpty()) s.number(1, 3);
            any = true;
        } else if (s.take("n.")) {
            s.spaces();
            any = s.number(1, 4) >= 0;
        } else if (s.take("lett.")) {
            s.spaces();
            any = !s.word().isEmpty();
            s.take(")");
        } else if (s.take("e seguenti") || s.take("e segg.") || s.take("e seg.") || s.take("ss.")) {
            any = true;
        } else {
            for (const char* o : ordinals) {
                if (s.take(o) && s.takeAfterSpaces("comma")) {
                    any = true;
                    break;
                }
            }
        }
        if (!any) {
            s.to(keep);
            return;
        }
    }
}

void findArticles(QStringView t, std::vector<StatuteMatch>& out)
{
    const char16_t* p = t.utf16();
    for (qsizetype i = 0; i + 4 < t.size(); ++i) {
        if ((p[i] | 0x20) != 'a' || (p[i + 1] | 0x20) != 'r' || (p[i + 2] | 0x20) != 't' || !wordStart(t, i)) continue;
        Scan s(t, i);
        if (!s.take("artt.") && !s.take("art.")) continue;
        QStringList numbers;
        for (;;) {
            s.spaces();
            const QString n = articleNumber(s);
            if (n.isEmpty()) break;
            numbers << n;
            const qsizetype keep = s.pos();
            s.spaces();
            if (!s.take(",") && !s.take("e")) {
                s.to(keep);
                break;
            }
            s.spaces();
            if (!t.sliced(std::min(s.pos(), t.size())).isEmpty() && !t.at(s.pos()).isDigit()) {
                s.to(keep);
                break;
            }
        }
        if (numbers.isEmpty()) continue;
        qualifiers(s);
        s.spaces();
        s.take(",");
        s.spaces();
        const std::optional<CodeName> c = code(s);
        if (!c) continue;
        for (const QString& n : numbers) {
            StatuteMatch m;
            m.start = int(i);
            m.end = int(s.pos());
            m.ref.key = std::string(c->key) + ':' + n.toStdString();
            m.ref.label = QStringLiteral("art. ") + n + QLatin1Char(' ') + QLatin1String(c->label);
            out.push_back(std::move(m));
        }
        i = s.pos() - 1;
    }
}

struct ActKind {
    const char* key;
    const char* label;
};

// The kind of act named here, consumed; nothing when no act is named.
std::optional<ActKind> actKind(Scan& s)
{
    static const struct {
        const char* written;
        ActKind kind;
    } names[] = {
        {"legge", {"legge", "legge"}},          {"l.", {"legge", "legge"}},
        {"decreto legislativo", {"dlgs", "d.lgs."}}, {"decreto-legge", {"dl", "d.l."}},
        {"decreto legge", {"dl", "d.l."}},      {"d.lgs.", {"dlgs", "d.lgs."}},
        {"d. lgs.", {"dlgs", "d.lgs."}},        {"d.l.", {"dl", "d.l."}},
        {"d. l.", {"dl", "d.l."}},              {"d.p.r.", {"dpr", "d.P.R."}},
        {"d. p. r.", {"dpr", "d.P.R."}},        {"dpr", {"dpr", "d.P.R."}},
        {"r.d.", {"rd", "r.d."}},               {"r. d.", {"rd", "r.d."}},
        {"t.u.", {"tu", "t.u."}},               {"t. u.", {"tu", "t.u."}},
    };
    for (const auto& n : names)
        if (s.take(n.written)) return n.kind;
    return std::nullopt;
}

void findActs(QStringView t, std::vector<StatuteMatch>& out)
{
    const char16_t* p = t.utf16();
    for (qsizetype i = 0; i + 2 < t.size(); ++i) {
        // Every character of every maxim passes here: only the raw codes are looked at. Articles and
        // prepositions ("la", "del", "tra") start with the same letters as the names of acts: the next
        // two letters tell them apart before any name is tried.
        const char16_t c = p[i] | 0x20, c1 = p[i + 1] | 0x20, c2 = p[i + 2] | 0x20;
        const bool mayName = (c1 == '.' && (c == 'l' || c == 'd' || c == 'r' || c == 't')) ||
                             (c == 'l' && c1 == 'e' && c2 == 'g') ||
                             (c == 'd' && ((c1 == 'p' && c2 == 'r') || (c1 == 'e' && c2 == 'c')));
        if (!mayName || !wordStart(t, i)) continue;
        Scan s(t, i);
        const std::optional<ActKind> kind = actKind(s);
        if (!kind) continue;
        s.spaces();
        // "28 febbraio 1985, n. 47", or "n. 47 del 1985", or "47/1985".
        int day = 0, month = 0, year = 0;
        const qsizetype beforeDate = s.pos();
        if ((day = s.number(1, 2)) > 0) {
            s.take("°");
            s.spaces();
            month = Citations::monthNumber(s.word());
            s.spaces();
            year = month ? s.number(4, 4) : -1;
            if (year < 0) {
                s.to(beforeDate);
                day = month = year = 0;
            } else {
                s.spaces();
                s.take(",");
                s.spaces();
            }
        }
        if (s.take("n.")) s.spaces();
        const int number = s.number(1, 5);
        if (number < 0) continue;
        if (!year) {
            const qsizetype keep = s.pos();
            s.spaces();
            if (s.take("del") || s.take("dell'")) {
                s.spaces();
                year = s.number(4, 4);
            } else if (s.take("/")) {
                s.spaces();
                year = s.number(2, 4);
                if (year >= 100 && year < 1000) year = -1;
            }
            if (year <= 0) {
                s.to(keep);
                continue;   // an act without its year cannot be told from others of its kind
            }
            year = fullYear(year);
        }
        static const char* const monthNames[] = {"gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio",
                                                 "agosto", "settembre", "ottobre", "novembre", "dicembre"};
        StatuteMatch m;
        m.start = int(i);
        m.end = int(s.pos());
        m.ref.key = std::string(kind->key) + ':' + std::to_string(number) + ':' + std::to_string(year);
        m.ref.year = year;
        m.ref.dated = month > 0;
        m.ref.label = m.ref.dated ? QStringLiteral("%1 %2 %3 %4 n. %5")
                                        .arg(QLatin1String(kind->label))
                                        .arg(day)
                                        .arg(QLatin1String(monthNames[month - 1]))
                                        .arg(year)
                                        .arg(number)
                                  : QStringLiteral("%1 n. %2 del %3").arg(QLatin1String(kind->label)).arg(number).arg(year);
        out.push_back(std::move(m));
        i = s.pos() - 1;
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
