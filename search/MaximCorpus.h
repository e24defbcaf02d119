#pragma once
#include "Citation.h"
#include <QString>
#include <vector>

// Every maxim of the seven archives as one list, in archive order (archive, topic, place), read from the
// same data the archive windows read, with its citation taken apart.
struct MaximEntry {
    int archive = 0;   // 0..6, in window order
    int topic = 0;
    int maxim = 0;     // the place in the topic, as the window's counter shows it
    QString text;      // the whole maxim, citation included
    Citation citation;
    bool cited = false;   // the text ends with a citation that could be read
};

namespace MaximCorpus {
std::vector<MaximEntry> load();
// The base repeated times over, each copy's rulings renumbered so that no two copies share a citation:
// for measuring how the search grows with the content.
std::vector<MaximEntry> enlarged(const std::vector<MaximEntry>& base, int times);
QString archiveName(const MaximEntry& e);     // "condominio"
QString archiveTitle(const MaximEntry& e);    // "Condominio"
QString topicTitle(const MaximEntry& e);
// The line above a maxim in prints and copies: "Massime sul condominio: Assemblea    n.7".
QString headingLine(const MaximEntry& e);
// The maxim as plain text for the clipboard: its heading line, then its text.
QString plainCopy(const MaximEntry& e);
} // namespace MaximCorpus
