#pragma once
#include "search/Citation.h"
#include <QString>

// How a maxim is quoted in a brief: «text» (Cass. civ., sez. II, 16 luglio 1999, n. 7547). The
// citation's short form is the one lawyers write, made from the parsed citation; the long form is the
// edition's own words. A citation that cannot be read is quoted as it stands.
namespace ShortCitation {
enum class Form { Short, Long };

// "Cass. civ., sez. II, 16 luglio 1999, n. 7547", "T.A.R. Lombardia, sez. II, ...", "Trib. Milano, ...".
QString of(const Citation& c);
// The authority alone in its short form: "Cass. sez. un.", "Cons. Stato, sez. V", "App. Roma".
QString authority(const Citation& c);
// The maxim's text without its citation.
QString body(const QString& maxim);
// The citation of a maxim in the form asked; the edition's text when it cannot be read.
QString citation(const QString& maxim, Form form);
// «text» (citation), as plain text and as an HTML fragment (one paragraph).
QString quote(const QString& maxim, Form form);
QString quoteHtml(const QString& maxim, Form form);
} // namespace ShortCitation
