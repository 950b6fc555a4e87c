// Turns a tune written as a note list (data/music/*.txt) into a standard MIDI file.
//
//   mkmusic <tune.txt> <tune.mid>
//
// The note list, one statement per line; "#" at the start of a word begins a comment:
//
//   tempo 96             quarter notes per minute, from this point of the current track on
//                        (before the first track: from the start)
//   track Gusli          a new track and its name; the settings below belong to it
//   channel 2            MIDI channel 1..16 (10 is the drum kit)
//   program 47           General MIDI instrument 1..128, from this point on
//   volume 90            channel volume 0..127;  pan 64: 0 left .. 127 right;  reverb 40
//   velocity 80          loudness of the following notes, 1..127
//   legato 90            how much of its written length a note sounds, in per cent
//   repeat 4 ... end     the lines between, four times (nests)
//
// and notes, separated by blanks ("|" bar lines are for the reader and ignored):
//
//   D4/8  C#5/4.  Bb3/2+8  D3+A3+F4/1  r/4  n36/8  A4@110  E4/8t
//
// a pitch (letter, optional # or b, octave; C4 is middle C), several joined by "+" for a
// chord, "r" for a rest, "n" + a number for a raw note (drums); after "/" the length as note
// values (1 whole, 2, 4, 8, 16, 32, 64; "." dotted, "t" triplet; "+" adds values); after "@"
// the velocity of this one note. A note without "/" takes the length of the one before it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files.h"

using namespace morvath;

namespace {

constexpr int kDivision = 480;  // ticks per quarter note
constexpr int kWhole = 4 * kDivision;

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Event {
    std::uint32_t tick;
    int order;  // at one tick: notes end, then settings change, then notes start
    std::string bytes;
};

struct Track {
    std::string name;
    std::vector<Event> events;
    std::uint32_t now = 0;
    int channel = 0;
    int velocity = 80;
    int legato = 92;
    int length = kDivision;
};

struct Line {
    int number;
    std::vector<std::string> words;
};

int Number(const std::string& s, int lo, int hi, const char* what) {
    std::size_t used = 0;
    int v = 0;
    try {
        v = std::stoi(s, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != s.size() || used == 0) throw Error(std::string("bad ") + what + " \"" + s + "\"");
    if (v < lo || v > hi)
        throw Error(std::string(what) + " " + s + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
    return v;
}

// Every part between the separators, empty ones included, so that "C4+" is an error.
std::vector<std::string> Split(const std::string& s, char separator) {
    std::vector<std::string> parts(1);
    for (char c : s) {
        if (c == separator) parts.emplace_back();
        else parts.back().push_back(c);
    }
    return parts;
}

int Pitch(const std::string& s) {
    if (s.size() >= 2 && s[0] == 'n') return Number(s.substr(1), 0, 127, "note number");
    static const std::map<char, int> steps = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
    auto step = s.empty() ? steps.end() : steps.find(s[0]);
    if (step == steps.end()) throw Error("bad pitch \"" + s + "\"");
    std::size_t i = 1;
    int pc = step->second;
    if (i < s.size() && s[i] == '#') ++pc, ++i;
    else if (i < s.size() && s[i] == 'b') --pc, ++i;
    int octave = Number(s.substr(i), -1, 9, "octave");
    int note = 12 * (octave + 1) + pc;
    if (note < 0 || note > 127) throw Error("pitch \"" + s + "\" is outside the MIDI range");
    return note;
}

int Length(const std::string& s) {
    int total = 0;
    for (std::string term : Split(s, '+')) {
        bool triplet = !term.empty() && term.back() == 't';
        if (triplet) term.pop_back();
        int dots = 0;
        while (!term.empty() && term.back() == '.') ++dots, term.pop_back();
        int value = Number(term, 1, 64, "note value");
        if ((value & (value - 1)) != 0) throw Error("note value " + term + " is not a power of two");
        int ticks = kWhole / value, add = ticks;
        for (int d = 0; d < dots; ++d) {
            if (add % 2) throw Error("too many dots on \"" + s + "\"");
            add /= 2;
            ticks += add;
        }
        if (triplet) {
            if (ticks * 2 % 3) throw Error("\"" + s + "\" cannot be a triplet");
            ticks = ticks * 2 / 3;
        }
        total += ticks;
    }
    if (total <= 0) throw Error("bad length \"" + s + "\"");
    return total;
}

std::string ChannelMessage(int status, int channel, int a, int b) {
    return {static_cast<char>(status | channel), static_cast<char>(a), static_cast<char>(b)};
}

std::string Meta(int type, const std::string& data) {
    return std::string{'\xFF', static_cast<char>(type), static_cast<char>(data.size())} + data;
}

std::string Tempo(int bpm) {
    std::uint32_t us = 60000000u / static_cast<std::uint32_t>(bpm);
    return Meta(0x51, {static_cast<char>(us >> 16), static_cast<char>(us >> 8), static_cast<char>(us)});
}

class Compiler {
public:
    void Run(const std::vector<Line>& lines, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            const Line& line = lines[i];
            try {
                if (line.words[0] == "repeat") {
                    int times = Number(Arg(line, 1), 1, 64, "repeat count");
                    std::size_t end = MatchingEnd(lines, i);
                    for (int t = 0; t < times; ++t) Run(lines, i + 1, end);
                    i = end;
                } else if (line.words[0] == "end") {
                    throw Error("\"end\" without \"repeat\"");
                } else {
                    Statement(line);
                }
            } catch (const Error& e) {
                throw Error("line " + std::to_string(line.number) + ": " + e.what());
            }
        }
    }

    std::string Smf() {
        std::vector<Track> all;
        all.push_back(conductor_);
        all.insert(all.end(), tracks_.begin(), tracks_.end());
        std::string out = "MThd";
        Be(out, 6, 4);
        Be(out, 1, 2);
        Be(out, all.size(), 2);
        Be(out, kDivision, 2);
        for (Track& t : all) {
            std::stable_sort(t.events.begin(), t.events.end(), [](const Event& a, const Event& b) {
                return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
            });
            std::string body;
            std::uint32_t last = 0;
            for (const Event& e : t.events) {
                Vlq(body, e.tick - last);
                body += e.bytes;
                last = e.tick;
            }
            Vlq(body, 0);
            body += Meta(0x2F, "");
            out += "MTrk";
            Be(out, body.size(), 4);
            out += body;
        }
        return out;
    }

private:
    static const std::string& Arg(const Line& line, std::size_t i) {
        if (i >= line.words.size()) throw Error("\"" + line.words[0] + "\" needs a value");
        return line.words[i];
    }

    static std::size_t MatchingEnd(const std::vector<Line>& lines, std::size_t start) {
        int depth = 0;
        for (std::size_t j = start; j < lines.size(); ++j) {
            if (lines[j].words[0] == "repeat") ++depth;
            if (lines[j].words[0] == "end" && --depth == 0) return j;
        }
        throw Error("\"repeat\" without \"end\"");
    }

    Track& Current() {
        if (tracks_.empty()) throw Error("notes and settings belong to a track");
        return tracks_.back();
    }

    void Controller(int number, int value) {
        Track& t = Current();
        t.events.push_back({t.now, 1, ChannelMessage(0xB0, t.channel, number, value)});
    }

    void Statement(const Line& line) {
        const std::string& w = line.words[0];
        if (w == "tempo") {
            std::uint32_t at = tracks_.empty() ? 0 : tracks_.back().now;
            conductor_.events.push_back({at, 1, Tempo(Number(Arg(line, 1), 20, 400, "tempo"))});
        } else if (w == "track") {
            std::string name;
            for (std::size_t i = 1; i < line.words.size(); ++i) name += (i > 1 ? " " : "") + line.words[i];
            tracks_.push_back(Track{});
            tracks_.back().name = name;
            tracks_.back().events.push_back({0, 0, Meta(0x03, name)});
        } else if (w == "channel") {
            Current().channel = Number(Arg(line, 1), 1, 16, "channel") - 1;
        } else if (w == "program") {
            Track& t = Current();
            int program = Number(Arg(line, 1), 1, 128, "program") - 1;
            t.events.push_back({t.now, 1, std::string{static_cast<char>(0xC0 | t.channel), static_cast<char>(program)}});
        } else if (w == "volume") {
            Controller(7, Number(Arg(line, 1), 0, 127, "volume"));
        } else if (w == "pan") {
            Controller(10, Number(Arg(line, 1), 0, 127, "pan"));
        } else if (w == "reverb") {
            Controller(91, Number(Arg(line, 1), 0, 127, "reverb"));
        } else if (w == "velocity") {
            Current().velocity = Number(Arg(line, 1), 1, 127, "velocity");
        } else if (w == "legato") {
            Current().legato = Number(Arg(line, 1), 10, 100, "legato");
        } else {
            // Anything else is a line of notes; a misspelt statement fails there as a pitch.
            for (const std::string& word : line.words) {
                if (word != "|") Note(word);
            }
        }
    }

    void Note(const std::string& word) {
        Track& t = Current();
        std::string pitches = word, length, velocity;
        if (auto at = pitches.find('@'); at != std::string::npos) {
            velocity = pitches.substr(at + 1);
            pitches.resize(at);
        }
        if (auto slash = pitches.find('/'); slash != std::string::npos) {
            length = pitches.substr(slash + 1);
            pitches.resize(slash);
        }
        if (!length.empty()) t.length = Length(length);
        int vel = velocity.empty() ? t.velocity : Number(velocity, 1, 127, "velocity");
        if (pitches != "r") {
            std::uint32_t sounding = std::max<std::uint32_t>(1, static_cast<std::uint32_t>(t.length * t.legato / 100));
            for (const std::string& part : Split(pitches, '+')) {
                int note = Pitch(part);
                t.events.push_back({t.now, 2, ChannelMessage(0x90, t.channel, note, vel)});
                t.events.push_back({t.now + sounding, 0, ChannelMessage(0x80, t.channel, note, 0)});
            }
        }
        t.now += static_cast<std::uint32_t>(t.length);
    }

    static void Be(std::string& out, std::size_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }

    static void Vlq(std::string& out, std::uint32_t v) {
        char buf[5];
        int n = 0;
        buf[n++] = static_cast<char>(v & 0x7F);
        while (v >>= 7) buf[n++] = static_cast<char>((v & 0x7F) | 0x80);
        while (n) out.push_back(buf[--n]);
    }

    Track conductor_;
    std::vector<Track> tracks_;
};

std::vector<Line> ReadLines(std::istream& in) {
    std::vector<Line> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        std::stringstream words(text);
        std::string w;
        Line line{number, {}};
        while (words >> w && w[0] != '#') line.words.push_back(w);
        if (!line.words.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkmusic <tune.txt> <tune.mid>\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "mkmusic: cannot read %s\n", argv[1]);
        return 1;
    }
    Compiler compiler;
    try {
        std::vector<Line> lines = ReadLines(in);
        compiler.Run(lines, 0, lines.size());
    } catch (const Error& e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        return 1;
    }
    if (!WriteFileAtomic(argv[2], compiler.Smf())) {
        std::fprintf(stderr, "mkmusic: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
