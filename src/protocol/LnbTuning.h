// What an LNB makes of a transponder: the band it switches to, the polarisation it is told, and
// the intermediate frequency it puts on the cable. Transponders and LNBs as a user types them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class Polarisation { Horizontal, Vertical };

// "11362H", "12603v", "10744.5H": MHz and the polarisation letter. Circular left signals as
// horizontal, circular right as vertical.
struct Transponder {
    double frequencyMHz;
    char letter; // H, V, L or R as typed, upper case
    Polarisation polarisation;
};

// A universal LNB switches to its high oscillator at and above the switch frequency; an LNB
// with one oscillator has no band switch.
struct Lnb {
    double lowOscillatorMHz;
    std::optional<double> highOscillatorMHz;
    double switchMHz = 0; // with a high oscillator only
};

constexpr Lnb UniversalLnb{9750, 10600, 11700};

// The cable's range of intermediate frequencies, which receivers, switches and single-cable
// user bands share.
constexpr int LowestIntermediateMHz = 950;
constexpr int HighestIntermediateMHz = 2150;

struct LnbTuning {
    bool highBand;
    Polarisation polarisation;
    int intermediateMHz; // rounded to whole MHz, halves up
};

// Throw InputError naming the text.
Transponder parseTransponder(std::string_view text);
// "9750,10600,11700" (low and high oscillator, switch frequency) or "10750".
Lnb parseLnb(std::string_view text);

// Throws InputError when the intermediate frequency falls outside the cable's range.
LnbTuning tuneLnb(const Lnb& lnb, const Transponder& transponder);

// "11362H", "10744.5H".
std::string formatTransponder(const Transponder& transponder);
