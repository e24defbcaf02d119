#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// The raccolte from the command line, answered without any window: "--raccolte" lists them,
// "--raccolta NOME [--formato tsv|json]" prints one, "--aggiungi NOME ARCHIVIO:ARGOMENTO:MASSIMA
// [--nota TESTO]" adds a maxim (making the raccolta when it is new), "--esporta NOME FILE" writes the
// document in the format of FILE's extension (.odt, .pdf, .doc).
namespace RaccolteCommands {
// Nothing when the arguments hold none of these options; otherwise the exit code (0, or 2 with an
// Italian message on err).
std::optional<int> run(const QStringList& arguments, QString& out, QString& err);
// The lines of the help that describe these options.
QString usage();
} // namespace RaccolteCommands
