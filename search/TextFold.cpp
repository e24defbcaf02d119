#include "TextFold.h"
#include <libstemmer.h>
#include <algorithm>
#include <iterator>

namespace TextFold {

namespace {
// Latin-1 letters from U+00C0 to U+00FF, folded; 0 marks the two signs of that block (× and ÷).
constexpr char latin1[64 + 1] = "aaaaaaaceeeeiiiidnooooo\0ouuuuyts"
                                 "aaaaaaaceeeeiiiidnooooo\0ouuuuyty";
} // namespace

char16_t foldChar(char16_t c)
{
    if (c < 0x80) {
        if (c >= 'a' && c <= 'z') return c;
        if (c >= 'A' && c <= 'Z') return char16_t(c + 32);
        if (c >= '0' && c <= '9') return c;
        return 0;
    }
    if (c >= 0xC0 && c <= 0xFF) return char16_t(latin1[c - 0xC0]);
    switch (c) {
    case 0x0152: case 0x0153: return 'o';   // œ, folded to its first letter: one unit for one unit
    case 0x0160: case 0x0161: return 's';
    case 0x017D: case 0x017E: return 'z';
    case 0x0178: return 'y';
    default: break;
    }
    const QChar q(c);
    if (!q.isLetterOrNumber()) return 0;
    const QString d = q.toLower().decomposition();
    if (!d.isEmpty() && d.at(0).unicode() < 0x80) return foldChar(d.at(0).unicode());
    return q.toLower().unicode();
}

void words(QStringView text, std::vector<Word>& out)
{
    out.clear();
    const qsizetype n = text.size();
    const char16_t* p = reinterpret_cast<const char16_t*>(text.data());
    qsizetype i = 0;
    while (i < n) {
        char16_t f = foldChar(p[i]);
        if (!f) {
            ++i;
            continue;
        }
        Word w;
        w.start = int(i);
        while (i < n && (f = foldChar(p[i])) != 0) {
            if (f < 0x80) {
                w.folded.push_back(char(f));
            } else {
                const QByteArray u = QString(QChar(f)).toUtf8();
                w.folded.append(u.constData(), std::size_t(u.size()));
            }
            ++i;
        }
        w.length = int(i) - w.start;
        out.push_back(std::move(w));
    }
}

std::vector<Word> words(QStringView text)
{
    std::vector<Word> out;
    words(text, out);
    return out;
}

std::string foldedText(QStringView text)
{
    std::string s;
    s.reserve(std::size_t(text.size()));
    const char16_t* p = reinterpret_cast<const char16_t*>(text.data());
    bool inWord = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t f = foldChar(p[i]);
        if (!f) {
            inWord = false;
            continue;
        }
        if (!inWord && !s.empty()) s.push_back(' ');
        inWord = true;
        if (f < 0x80) {
            s.push_back(char(f));
        } else {
            const QByteArray u = QString(QChar(f)).toUtf8();
            s.append(u.constData(), std::size_t(u.size()));
        }
    }
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

} // namespace TextFold

Stemmer::Stemmer() : stemmer_(sb_stemmer_new("italian", "UTF_8")) {}

Stemmer::~Stemmer()
{
    if (stemmer_) sb_stemmer_delete(stemmer_);
}

const std::string& Stemmer::stem(const std::string& folded)
{
    auto it = cache_.find(folded);
    if (it != cache_.end()) return it->second;
    std::string s = folded;
    // Numbers are kept whole: "1117" is an article, not a word with an ending.
    const bool digits = std::all_of(folded.begin(), folded.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (stemmer_ && !digits) {
        const sb_symbol* r = sb_stemmer_stem(stemmer_, reinterpret_cast<const sb_symbol*>(folded.data()), int(folded.size()));
        if (r) s.assign(reinterpret_cast<const char*>(r), std::size_t(sb_stemmer_length(stemmer_)));
    }
    return cache_.emplace(folded, std::move(s)).first->second;
}
