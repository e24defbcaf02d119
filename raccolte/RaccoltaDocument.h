#pragma once
#include "MaximLocator.h"
#include "ShortCitation.h"
#include <QDate>
#include <vector>

class WordSelection;

// A raccolta as the user reads, copies and exports it: each stored maxim with the maxim it is now
// in the archives (or none), and the texts made of them: the quotes for the clipboard, the citations
// one a line, and the exported document (title, numbered index of the citations, then the maxims one
// after another, with the page numbers at the foot of every page).
struct RaccoltaEntry {
    StoredMaxim stored;
    const MaximEntry* current = nullptr;   // null: no longer in the archives
    bool moved = false;
    bool gone() const { return current == nullptr; }
    // The current text, or the one kept when the archives no longer hold the maxim.
    const QString& text() const { return current ? current->text : stored.text; }
};

namespace RaccoltaDocument {
std::vector<RaccoltaEntry> entries(const std::vector<StoredMaxim>& stored, const MaximLocator& locator);
// "Massime sul condominio: Assemblea    n.7", with " (non più presente nell'archivio)" after a gone one.
QString heading(const RaccoltaEntry& e);
// The quotes, one paragraph each, as plain text and HTML.
QString copyText(const std::vector<RaccoltaEntry>& list, ShortCitation::Form form);
QString copyHtml(const std::vector<RaccoltaEntry>& list, ShortCitation::Form form);
// The citations alone, one a line.
QString citations(const std::vector<RaccoltaEntry>& list, ShortCitation::Form form);
// "10 dicembre 2026"
QString longDate(const QDate& date);
// Types the document at the selection's insertion point and sets its page footer.
void type(WordSelection& sel, const QString& name, const QDate& date, const std::vector<RaccoltaEntry>& list,
          ShortCitation::Form form);
// The footer of an exported raccolta: "pag. %1 di %2".
QString footerPattern();

// The form the user chose for copies and exports (a setting kept between runs).
ShortCitation::Form preferredForm();
void setPreferredForm(ShortCitation::Form form);
} // namespace RaccoltaDocument
