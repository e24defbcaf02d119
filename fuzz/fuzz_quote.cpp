// Quoting a maxim on arbitrary text: the citation at its end is read, shortened and written back
// without fault, the quote always holds the text before the citation, and a citation that reads
// shortens to a form that starts with a known authority.
#include "raccolte/ShortCitation.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const auto form : {ShortCitation::Form::Short, ShortCitation::Form::Long}) {
        const QString quote = ShortCitation::quote(text, form);
        if (!quote.contains(ShortCitation::body(text))) std::abort();
        (void)ShortCitation::quoteHtml(text, form);
    }
    if (const auto c = Citations::parse(Citations::text(text))) {
        const QString s = ShortCitation::of(*c);
        static const char* const starts[] = {"Cass. ", "Cons. Stato", "T.A.R. ", "Trib. ", "App. ", "Pret. ", "Corte cost.", "Corte conti"};
        bool known = false;
        for (const char* k : starts) known = known || s.startsWith(QLatin1String(k));
        if (!known) std::abort();
    }
    return 0;
}
