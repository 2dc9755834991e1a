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
    std::string typed; // as the user typed it, for the messages that name it
};

// A universal LNB switches to its high oscillator at and above the switch frequency; an LNB
// with one oscillator has no band switch.
struct Lnb {
    double lowOscillatorMHz;
    std::optional<double> highOscillatorMHz;
    double switchMHz = 0; // with a high oscillator only
};

constexpr Lnb UniversalLnb{9750, 10600, 11700};

// "9750/10600 MHz, switch at 11700", "10750 MHz".
std::string lnbCaption(const Lnb& lnb);

// The cable's range of intermediate frequencies, which receivers, switches and single-cable
// user bands share.
constexpr int LowestIntermediateMHz = 950;
constexpr int HighestIntermediateMHz = 2150;

struct LnbTuning {
    bool highBand;
    Polarisation polarisation;
    double intermediateMHz; // exact: each message rounds it once, to its own step
};

// Throw InputError naming the text.
Transponder parseTransponder(std::string_view text);
// "9750,10600,11700" (low and high oscillator, switch frequency) or "10750".
Lnb parseLnb(std::string_view text);
// An LNB with two oscillators; throws InputError, naming the figure, unless the low one lies
// below the high one and the switch frequency within one of the two bands they receive.
Lnb switchedLnb(double lowOscillatorMHz, double highOscillatorMHz, double switchMHz);

// Throws InputError when the intermediate frequency falls outside the cable's range, or the
// transponder lies below the oscillator outside the C band.
LnbTuning tuneLnb(const Lnb& lnb, const Transponder& transponder);

// "11362", "1397.5": whole MHz without a fraction, up to three decimals otherwise.
std::string formatMHz(double mhz);
// "11362H", "10744.5H".
std::string formatTransponder(const Transponder& transponder);
