// The MIDI file reader that stands before the synthesiser, on arbitrary bytes.
#include "platform/MidiFile.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MidiFileInfo info;
    QString error;
    if (MidiFile::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), &info, &error)) {
        if (info.trackCount < 1 || info.division <= 0 || info.lengthTicks < 0) __builtin_trap();
    }
    return 0;
}
