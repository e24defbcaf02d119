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
