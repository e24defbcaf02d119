#pragma once
#include <QString>
#include <QStringView>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sb_stemmer;

// One way of cutting Italian text into words, shared by the index and the queries so that both sides
// meet: lower case, accents dropped, every apostrophe a break. Dropping the accent makes "perche'",
// "perché" and "perche" one word, and the apostrophe of an elision ("dell'edificio") splits the article
// from its noun. Folded words are plain ASCII wherever the text is Western European.
namespace TextFold {
void appendUtf8(std::string& out, char16_t c);

struct Word {
    int start = 0;    // in the original text, UTF-16 units
    int length = 0;
    std::string folded;
};

// Every word of text, in order.
void words(QStringView text, std::vector<Word>& out);
std::vector<Word> words(QStringView text);
// The text's words folded and joined by single blanks, as the index stores them.
std::string foldedText(QStringView text);
// A single character folded: its lower-case unaccented letter or digit, or 0 for anything that
// separates words. The first 256 characters come from a table: nearly every character of the texts.
char16_t foldOther(char16_t c);
namespace detail {
constexpr std::array<char, 256> makeFoldTable()
{
    // Latin-1 letters from U+00C0 on, folded; 0 marks the two signs of that block (× and ÷).
    constexpr char latin1[64 + 1] = "aaaaaaaceeeeiiiidnooooo\0ouuuuyts"
                                     "aaaaaaaceeeeiiiidnooooo\0ouuuuyty";
    std::array<char, 256> t{};
    for (int c = 0; c < 256; ++c) {
        if (c >= 'a' && c <= 'z') t[std::size_t(c)] = char(c);
        else if (c >= 'A' && c <= 'Z') t[std::size_t(c)] = char(c + 32);
        else if (c >= '0' && c <= '9') t[std::size_t(c)] = char(c);
        else if (c >= 0xC0) t[std::size_t(c)] = latin1[c - 0xC0];
        else if (c == 0xAA) t[std::size_t(c)] = 'a';   // ª and º, the ordinal letters
        else if (c == 0xBA) t[std::size_t(c)] = 'o';
    }
    return t;
}
} // namespace detail
inline constexpr std::array<char, 256> foldTable = detail::makeFoldTable();
inline char16_t foldChar(char16_t c)
{
    return c < 256 ? char16_t(static_cast<unsigned char>(foldTable[c])) : foldOther(c);
}

// Calls f(folded, start, length) for every word of text, the folded word as a view valid during the call.
template <class F>
void forEachWord(QStringView text, std::string& buffer, F&& f)
{
    const char16_t* p = reinterpret_cast<const char16_t*>(text.data());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        char16_t c = foldChar(p[i]);
        if (!c) {
            ++i;
            continue;
        }
        buffer.clear();
        const qsizetype start = i;
        while (i < n && (c = foldChar(p[i])) != 0) {
            if (c < 0x80) buffer.push_back(char(c));
            else appendUtf8(buffer, c);
            ++i;
        }
        f(std::string_view(buffer), int(start), int(i - start));
    }
}
// Italian function words that a search ignores outside quoted phrases.
bool isStopword(std::string_view folded);

// The key shared by the inflections of a noun or adjective: the final vowel that tells gender and
// number goes, with the "i" of "-io/-ia" and the "h" that keeps "-che/-ghi" hard, so that "distanza" and
// "distanze", "edificio" and "edifici", "revoca" and "revoche" meet while "solare" ("solar") stays apart
// from "sola" and "solo" ("sol") and "amministratore" from "amministrazione". Words with digits, and
// words that would be left with fewer than three letters, are their own key.
std::string inflectionKey(std::string_view folded);

// A form of a verb read off its ending: the stem, the conjugation's vowel ('a' for -are, 'e' for -ere,
// 'i' for -ire) and whether the ending is one that only a verb has (infinitive, participles, gerund),
// which is what tells "revocare" from an adjective like "solare" once the archives show a second such
// form. No ending: an empty stem.
struct VerbForm {
    std::string stem;
    char conjugation = 0;
    bool telling = false;
};
VerbForm verbForm(std::string_view folded);

} // namespace TextFold

// Snowball's Italian stemmer over folded words, with a cache: the archives have some 20,000 distinct
// words and each is stemmed once. Not shareable between threads, like the stemmer itself.
class Stemmer {
public:
    Stemmer();
    ~Stemmer();
    Stemmer(const Stemmer&) = delete;
    Stemmer& operator=(const Stemmer&) = delete;
    const std::string& stem(std::string_view folded);

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    sb_stemmer* stemmer_;
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> cache_;
};
