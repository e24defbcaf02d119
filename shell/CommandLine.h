#pragma once
#include <QString>
#include <QStringList>

// The program's options for scripts and checks, answered without any window, tune or display:
// "--cerca TEXT [--limite N] [--formato tsv|json]" prints the maxims found, "--affini PLACE" the maxims
// related to one, with the reason, "--help", "--version".
namespace CommandLine {
// True when the arguments ask for the command line rather than the windows.
bool wanted(const QStringList& arguments);
// Runs the options; out and err receive what is printed. Returns the exit code: 0, or 2 for a bad
// option (with a message on err).
int run(const QStringList& arguments, QString& out, QString& err);
} // namespace CommandLine
