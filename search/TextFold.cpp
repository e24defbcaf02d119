#include "TextFold.h"
#include <libstemmer.h>
#include <algorithm>
#include <array>
#include <iterator>

namespace TextFold {

void appendUtf8(std::string& out, char16_t c)
{
    const QByteArray u = QString(QChar(c)).toUtf8();
    out.append(u.constData(), std::size_t(u.size()));
}

char16_t foldOther(char16_t c)
{
    switch (c) {
    case 0x0152: case 0x0153: return 'o';   // œ, folded to its first letter: one unit for one unit
    case 0x0160: case 0x0161: return 's';
    case 0x017D: case 0x017E: return 'z';
    case 0x0178: return 'y';
    default: break;
    }
    const QChar q(c);
    if (q.isSurrogate() || !q.isLetterOrNumber()) return 0;
    const QString d = q.toLower().decomposition();
    if (!d.isEmpty() && d.at(0).unicode() < 0x80) return foldChar(d.at(0).unicode());
    return q.toLower().unicode();
}

void words(QStringView text, std::vector<Word>& out)
{
    out.clear();
    std::string buffer;
    forEachWord(text, buffer, [&out](std::string_view w, int start, int length) {
        out.push_back(Word{start, length, std::string(w)});
    });
}

std::vector<Word> words(QStringView text)
{
    std::vector<Word> out;
    words(text, out);
    return out;
}

std::string foldedText(QStringView text)
{
    std::string s, buffer;
    s.reserve(std::size_t(text.size()));
    forEachWord(text, buffer, [&s](std::string_view w, int, int) {
        if (!s.empty()) s.push_back(' ');
        s.append(w);
    });
    return s;
}

bool isStopword(std::string_view w)
{
    // Sorted, for the binary search below.
    static constexpr std::string_view list[] = {
        "a", "ad", "agli", "ai", "al", "all", "alla", "alle", "allo", "anche", "c", "che", "chi", "ci", "coi", "col",
        "come", "con", "cui", "d", "da", "dagli", "dai", "dal", "dall", "dalla", "dalle", "dallo", "degli", "dei", "del",
        "dell", "della", "delle", "dello", "di", "e", "ed", "essa", "esso", "fra", "gli", "ha", "hanno", "i", "il", "in",
        "l", "la", "le", "lo", "ma", "ne", "negli", "nei", "nel", "nell", "nella", "nelle", "nello", "non", "o", "od",
        "per", "quale", "quali", "quella", "quello", "questa", "questo", "s", "se", "si", "sono", "su", "sugli", "sui",
        "sul", "sull", "sulla", "sulle", "sullo", "tra", "un", "una", "uno"};
    static_assert(std::is_sorted(std::begin(list), std::end(list)));
    return std::binary_search(std::begin(list), std::end(list), w);
}

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o'; }
// "-ch"/"-gh" left by an ending read as "-c"/"-g": "revoche" and "revoca" are one word.
void hardenEnd(std::string& s)
{
    const std::size_t n = s.size();
    if (n >= 3 && s[n - 1] == 'h' && (s[n - 2] == 'c' || s[n - 2] == 'g')) s.pop_back();
}
} // namespace

std::string inflectionKey(std::string_view w)
{
    std::string s(w);
    if (s.size() < 4 || std::any_of(s.begin(), s.end(), isDigit) || !isVowel(s.back())) return s;
    s.pop_back();
    if (s.size() >= 4 && s.back() == 'i') s.pop_back();
    hardenEnd(s);
    return s.size() >= 3 ? s : std::string(w);
}

VerbForm verbForm(std::string_view w)
{
    struct Ending {
        std::string_view text;
        char conjugation;
        bool telling;
    };
    // Longest first, so that "-avano" is not read as "-ano".
    static constexpr Ending endings[] = {
        {"avano", 'a', false}, {"evano", 'e', false}, {"ivano", 'i', false}, {"ando", 'a', true},  {"endo", 'e', true},
        {"are", 'a', true},    {"ato", 'a', true},    {"ata", 'a', true},    {"ati", 'a', true},   {"ate", 'a', true},
        {"ere", 'e', true},    {"uto", 'e', true},    {"uta", 'e', true},    {"uti", 'e', true},   {"ute", 'e', true},
        {"ire", 'i', true},    {"ito", 'i', true},    {"ita", 'i', true},    {"iti", 'i', true},   {"ite", 'i', true},
        {"ano", 'a', false},   {"ava", 'a', false},   {"ono", 'e', false},   {"eva", 'e', false},  {"iva", 'i', false},
    };
    VerbForm f;
    if (std::any_of(w.begin(), w.end(), isDigit)) return f;
    for (const Ending& e : endings) {
        if (w.size() < e.text.size() + 3 || !w.ends_with(e.text)) continue;
        f.stem.assign(w.substr(0, w.size() - e.text.size()));
        hardenEnd(f.stem);
        f.conjugation = e.conjugation;
        f.telling = e.telling;
        return f;
    }
    return f;
}

} // namespace TextFold

Stemmer::Stemmer() : stemmer_(sb_stemmer_new("italian", "UTF_8")) {}

Stemmer::~Stemmer()
{
    if (stemmer_) sb_stemmer_delete(stemmer_);
}

const std::string& Stemmer::stem(std::string_view folded)
{
    auto it = cache_.find(folded);
    if (it != cache_.end()) return it->second;
    std::string s(folded);
    // Numbers are kept whole: "1117" is an article, not a word with an ending.
    const bool digits = std::all_of(folded.begin(), folded.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (stemmer_ && !digits) {
        const sb_symbol* r = sb_stemmer_stem(stemmer_, reinterpret_cast<const sb_symbol*>(folded.data()), int(folded.size()));
        if (r) s.assign(reinterpret_cast<const char*>(r), std::size_t(sb_stemmer_length(stemmer_)));
    }
    return cache_.emplace(std::string(folded), std::move(s)).first->second;
}
