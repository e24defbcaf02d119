// Writes the splash tune, "Internet.mid": an original short piece in C major for piano, strings and
// bass, about twenty seconds long. The score is the note tables below; run
//   maketune resources/Internet.mid
// after changing them. A test checks that the committed file is what this program writes.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {
constexpr int Quarter = 480;
constexpr int Eighth = Quarter / 2;

struct Note {
    int pitch;   // MIDI note number, 0 for a rest
    int length;  // in eighths
};

// Melody: two phrases, the second answering the first, then a closing line.
const std::vector<Note> melody = {
    {76, 2}, {79, 1}, {81, 1}, {79, 2}, {76, 2},   {74, 2}, {76, 1}, {79, 1}, {72, 4},
    {69, 2}, {72, 1}, {74, 1}, {76, 2}, {74, 1}, {72, 1}, {74, 6}, {0, 2},
    {76, 2}, {79, 1}, {81, 1}, {84, 2}, {83, 1}, {81, 1}, {79, 2}, {76, 1}, {74, 1}, {72, 4},
    {77, 2}, {76, 1}, {74, 1}, {72, 2}, {71, 2}, {72, 8},
};

// One chord per bar (four quarters): C, G, Am, G, C, Em, F, G -> C.
const std::vector<std::vector<int>> chords = {
    {48, 55, 64}, {43, 55, 62}, {45, 52, 60}, {43, 50, 59},
    {48, 55, 64}, {40, 52, 59}, {41, 53, 57}, {43, 50, 59}, {48, 55, 64},
};

void be32(std::string& s, std::uint32_t v) { for (int i = 3; i >= 0; --i) s += char((v >> (8 * i)) & 0xFF); }
void be16(std::string& s, std::uint16_t v) { s += char(v >> 8); s += char(v & 0xFF); }
void varLen(std::string& s, std::uint32_t v)
{
    unsigned char buf[4];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7) buf[n++] = 0x80 | (v & 0x7F);
    while (n) s += char(buf[--n]);
}

struct Track {
    std::string data;
    void event(std::uint32_t delta, std::initializer_list<int> bytes)
    {
        varLen(data, delta);
        for (int b : bytes) data += char(b);
    }
    void meta(std::uint32_t delta, int type, const std::string& payload)
    {
        varLen(data, delta);
        data += char(0xFF);
        data += char(type);
        varLen(data, std::uint32_t(payload.size()));
        data += payload;
    }
    std::string chunk() const
    {
        std::string s = "MTrk";
        be32(s, std::uint32_t(data.size() + 4));
        return s + data + std::string("\x00\xFF\x2F\x00", 4);
    }
};

Track tempoTrack()
{
    Track t;
    t.meta(0, 0x03, "Internet");
    const std::uint32_t usPerQuarter = 600000;   // 100 beats per minute
    t.meta(0, 0x51, std::string{char(usPerQuarter >> 16), char((usPerQuarter >> 8) & 0xFF), char(usPerQuarter & 0xFF)});
    t.meta(0, 0x58, std::string("\x04\x02\x18\x08", 4));
    return t;
}

Track melodyTrack()
{
    Track t;
    t.event(0, {0xC0, 0});    // acoustic grand piano
    t.event(0, {0xB0, 7, 100});
    std::uint32_t pending = 0;
    for (const Note& n : melody) {
        const std::uint32_t len = std::uint32_t(n.length * Eighth);
        if (n.pitch == 0) { pending += len; continue; }
        t.event(pending, {0x90, n.pitch, 92});
        t.event(len - 20, {0x80, n.pitch, 0});
        pending = 20;
    }
    return t;
}

Track chordTrack()
{
    Track t;
    t.event(0, {0xC1, 48});   // string ensemble
    t.event(0, {0xB1, 7, 70});
    t.event(0, {0xC2, 32});   // acoustic bass
    t.event(0, {0xB2, 7, 90});
    const std::uint32_t bar = 4 * Quarter;
    for (std::size_t i = 0; i < chords.size(); ++i) {
        const auto& c = chords[i];
        const std::uint32_t len = i + 1 == chords.size() ? 2 * bar : bar;
        t.event(0, {0x92, c[0] - 12, 96});
        t.event(0, {0x91, c[1], 64});
        t.event(0, {0x91, c[2], 60});
        t.event(len - 30, {0x82, c[0] - 12, 0});
        t.event(0, {0x81, c[1], 0});
        t.event(0, {0x81, c[2], 0});
        t.event(30, {0xB1, 64, 0});   // a breath between chords
    }
    return t;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: maketune OUTPUT.mid\n");
        return 2;
    }
    std::string file = "MThd";
    be32(file, 6);
    be16(file, 1);   // several tracks played together
    be16(file, 3);
    be16(file, Quarter);
    file += tempoTrack().chunk();
    file += melodyTrack().chunk();
    file += chordTrack().chunk();
    std::ofstream out(argv[1], std::ios::binary);
    out.write(file.data(), std::streamsize(file.size()));
    return out ? 0 : 1;
}
