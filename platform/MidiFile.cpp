#include "MidiFile.h"
#include <algorithm>
#include <cstring>

namespace {
struct Reader {
    const unsigned char* p;
    const unsigned char* end;
    bool need(std::size_t n) const { return std::size_t(end - p) >= n; }
    std::uint32_t be(int n)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | *p++;
        return v;
    }
    bool varLen(std::uint32_t& v)
    {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            if (p >= end) return false;
            const unsigned char b = *p++;
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;   // a variable-length quantity has at most four bytes
    }
};

bool fail(QString* error, const char* what)
{
    if (error) *error = QString::fromLatin1(what);
    return false;
}

int dataBytes(unsigned char status)
{
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0: return 1;
    default: return 2;
    }
}
} // namespace

bool MidiFile::parse(const QByteArray& bytes, MidiFileInfo* info, QString* error)
{
    Reader r{reinterpret_cast<const unsigned char*>(bytes.constData()),
             reinterpret_cast<const unsigned char*>(bytes.constData()) + bytes.size()};
    if (!r.need(14) || std::memcmp(r.p, "MThd", 4) != 0) return fail(error, "no MIDI header");
    r.p += 4;
    const std::uint32_t headerLength = r.be(4);
    if (headerLength < 6 || !r.need(headerLength)) return fail(error, "bad header length");
    MidiFileInfo out;
    out.format = int(r.be(2));
    const int declaredTracks = int(r.be(2));
    out.division = int(r.be(2));
    r.p += headerLength - 6;
    if (out.format > 2) return fail(error, "unknown format");
    if (declaredTracks < 1) return fail(error, "no tracks");
    if (out.division == 0 || (out.division & 0x8000)) return fail(error, "unsupported time division");
    if (out.format == 0 && declaredTracks != 1) return fail(error, "format 0 with several tracks");

    for (int t = 0; t < declaredTracks; ++t) {
        if (!r.need(8)) return fail(error, "missing track");
        const bool isTrack = std::memcmp(r.p, "MTrk", 4) == 0;
        r.p += 4;
        const std::uint32_t length = r.be(4);
        if (!r.need(length)) return fail(error, "track runs past the end of the file");
        if (!isTrack) { r.p += length; --t; continue; }   // alien chunks are skipped
        Reader tr{r.p, r.p + length};
        r.p += length;
        std::int64_t ticks = 0;
        unsigned char running = 0;
        bool ended = false;
        while (tr.p < tr.end) {
            std::uint32_t delta;
            if (!tr.varLen(delta)) return fail(error, "bad delta time");
            ticks += delta;
            if (tr.p >= tr.end) return fail(error, "event missing");
            unsigned char status = *tr.p;
            if (status & 0x80) ++tr.p;
            else if (running) status = running;
            else return fail(error, "data byte without status");
            if (status == 0xFF) {
                if (!tr.need(1)) return fail(error, "meta event cut short");
                const unsigned char type = *tr.p++;
                std::uint32_t len;
                if (!tr.varLen(len) || !tr.need(len)) return fail(error, "meta event cut short");
                tr.p += len;
                running = 0;
                if (type == 0x2F) { ended = true; break; }
            } else if (status == 0xF0 || status == 0xF7) {
                std::uint32_t len;
                if (!tr.varLen(len) || !tr.need(len)) return fail(error, "system exclusive cut short");
                tr.p += len;
                running = 0;
            } else if (status >= 0xF0) {
                return fail(error, "system message inside a track");
            } else {
                const int n = dataBytes(status);
                if (!tr.need(std::size_t(n))) return fail(error, "channel event cut short");
                for (int i = 0; i < n; ++i)
                    if (tr.p[i] & 0x80) return fail(error, "channel event with a status byte as data");
                if ((status & 0xF0) == 0x90 && tr.p[1] != 0) ++out.noteOnCount;
                tr.p += n;
                running = status;
            }
        }
        if (!ended) return fail(error, "track without end marker");
        out.lengthTicks = std::max(out.lengthTicks, ticks);
        ++out.trackCount;
    }
    if (info) *info = out;
    return true;
}
