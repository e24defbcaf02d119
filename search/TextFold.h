#pragma once
#include <QString>
#include <QStringView>
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
// separates words.
char16_t foldChar(char16_t c);
// Italian function words that a search ignores outside quoted phrases.
bool isStopword(std::string_view folded);

} // namespace TextFold

// Snowball's Italian stemmer over folded words, with a cache: the archives have some 20,000 distinct
// words and each is stemmed once. Not shareable between threads, like the stemmer itself.
class Stemmer {
public:
    Stemmer();
    ~Stemmer();
    Stemmer(const Stemmer&) = delete;
    Stemmer& operator=(const Stemmer&) = delete;
    const std::string& stem(const std::string& folded);

private:
    sb_stemmer* stemmer_;
    std::unordered_map<std::string, std::string> cache_;
};
