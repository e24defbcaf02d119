// The thesaurus reader on arbitrary bytes: every group it keeps can be matched in a query, and the
// queries it expands still reach the text engine as an expression it accepts.
#include "EngineCheck.h"
#include "search/QueryTranslator.h"
#include "search/TextFold.h"
#include "search/Thesaurus.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Stemmer stemmer;
    const ParsedThesaurus t = Thesaurus::parse(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const ThesaurusGroup& g : t.groups) {
        if (g.today.empty() || g.edition.empty() || !g.date.isValid() || g.line < 1) __builtin_trap();
        for (const ThesaurusTerm& term : g.today)
            if (term.keys.empty()) __builtin_trap();   // a term of today no query could spell
    }
    // Each group's first term of today, typed as a query, expands into an expression the engine takes.
    for (std::size_t k = 0; k < t.groups.size() && k < 8; ++k) {
        const ParsedQuery q = QueryTranslator::parse(t.groups[k].today.front().text, {}, stemmer, &t);
        const std::string expr = QueryTranslator::expression(q);
        if (expr.empty()) continue;
        mustBeAccepted(expr);
    }
    return 0;
}
