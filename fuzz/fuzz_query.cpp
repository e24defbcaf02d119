// The query translator on arbitrary text: whatever is typed, the expression handed to the text engine
// is one it accepts, and a query never grows past the limits the translator sets.
#include "EngineCheck.h"
#include "search/QueryTranslator.h"
#include "search/TextFold.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Stemmer stemmer;
    static const std::vector<QString> places{QStringLiteral("milano"), QStringLiteral("emilia romagna")};
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const ParsedQuery q = QueryTranslator::parse(text, places, stemmer);
    int terms = int(q.excluded.size());
    for (const QueryGroup& g : q.groups) terms += int(g.alternatives.size());
    if (terms > QueryTranslator::MaxTerms) __builtin_trap();
    const std::string expr = QueryTranslator::expression(q);
    if (expr.empty()) return 0;
    mustBeAccepted(expr);
    return 0;
}
