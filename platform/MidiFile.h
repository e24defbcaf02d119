#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// A reader of Standard MIDI Files, strict enough to refuse a damaged file before it reaches the synthesiser.
// It checks the header, every track chunk and every event of every track, and measures the tune.
struct MidiFileInfo {
    int format = 0;
    int trackCount = 0;
    int division = 0;            // ticks per quarter note
    std::int64_t lengthTicks = 0;
    int noteOnCount = 0;
};

namespace MidiFile {
// Returns false and sets error (when given) if the bytes are not a well-formed Standard MIDI File.
bool parse(const QByteArray& bytes, MidiFileInfo* info = nullptr, QString* error = nullptr);
} // namespace MidiFile
