#include "protocol/LnbTuning.h"

#include "protocol/InputError.h"
#include "protocol/IntegerInput.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

// MHz above 0.
std::optional<double> parseMHz(std::string_view text)
{
    const std::optional<double> value = parsePlainDecimal(text);
    return value && *value > 0 ? value : std::nullopt;
}

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// Satellite frequencies stay below 100 GHz: anything above is a typing slip.
constexpr double HighestSatelliteMHz = 100000;

// Only C-band LNBs mix from above, their oscillator over the band (5150 MHz for 3400-4800):
// a Ku or Ka transponder below its oscillator is a wrong LNB or a typing slip.
constexpr double HighestCBandMHz = 4800;

// The transponders an oscillator brings into the cable's range, from below.
std::string bandOf(double oscillatorMHz)
{
    return formatMHz(oscillatorMHz + LowestIntermediateMHz) + "-" + formatMHz(oscillatorMHz + HighestIntermediateMHz);
}

bool inBand(double frequencyMHz, double oscillatorMHz)
{
    return frequencyMHz >= oscillatorMHz + LowestIntermediateMHz && frequencyMHz <= oscillatorMHz + HighestIntermediateMHz;
}

} // namespace

Transponder parseTransponder(std::string_view text)
{
    text = trimControls(text);
    const std::string problem = quoted(text) + " is not a transponder: give its MHz and polarisation (11362H, 12603V)";
    if (text.empty())
        throw InputError(problem);
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    Polarisation polarisation;
    if (letter == 'H' || letter == 'L')
        polarisation = Polarisation::Horizontal;
    else if (letter == 'V' || letter == 'R')
        polarisation = Polarisation::Vertical;
    else
        throw InputError(problem);
    const std::optional<double> frequency = parseMHz(text.substr(0, text.size() - 1));
    if (!frequency || *frequency > HighestSatelliteMHz)
        throw InputError(problem);
    return {*frequency, letter, polarisation, std::string(text)};
}

Lnb parseLnb(std::string_view text)
{
    const std::string problem =
        quoted(text) + " is not an LNB: give LOW,HIGH,SWITCH in MHz (9750,10600,11700) or one oscillator (10750)";
    std::optional<double> figures[3];
    std::size_t count = 0;
    for (std::string_view rest = text;; ++count) {
        const std::size_t comma = rest.find(',');
        if (count == 3)
            throw InputError(problem);
        figures[count] = parseMHz(trimControls(rest.substr(0, comma)));
        if (!figures[count] || *figures[count] > HighestSatelliteMHz)
            throw InputError(problem);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    if (count == 0)
        return {*figures[0], std::nullopt, 0};
    if (count != 2)
        throw InputError(problem);
    return switchedLnb(*figures[0], *figures[1], *figures[2]);
}

Lnb switchedLnb(double lowOscillatorMHz, double highOscillatorMHz, double switchMHz)
{
    if (lowOscillatorMHz >= highOscillatorMHz)
        throw InputError("an LNB's low oscillator (" + formatMHz(lowOscillatorMHz) + " MHz) must lie below its high one ("
                         + formatMHz(highOscillatorMHz) + " MHz)");
    if (!inBand(switchMHz, lowOscillatorMHz) && !inBand(switchMHz, highOscillatorMHz))
        throw InputError("the switch frequency " + formatMHz(switchMHz) + " MHz lies outside both bands of the LNB ("
                         + bandOf(lowOscillatorMHz) + " and " + bandOf(highOscillatorMHz) + " MHz)");
    return {lowOscillatorMHz, highOscillatorMHz, switchMHz};
}

std::string lnbCaption(const Lnb& lnb)
{
    if (!lnb.highOscillatorMHz)
        return formatMHz(lnb.lowOscillatorMHz) + " MHz";
    return formatMHz(lnb.lowOscillatorMHz) + "/" + formatMHz(*lnb.highOscillatorMHz) + " MHz, switch at "
        + formatMHz(lnb.switchMHz);
}

LnbTuning tuneLnb(const Lnb& lnb, const Transponder& transponder)
{
    const bool high = lnb.highOscillatorMHz && transponder.frequencyMHz >= lnb.switchMHz;
    const double oscillator = high ? *lnb.highOscillatorMHz : lnb.lowOscillatorMHz;
    if (transponder.frequencyMHz < oscillator && transponder.frequencyMHz > HighestCBandMHz)
        throw InputError(transponder.typed + " lies below the LNB's " + formatMHz(oscillator)
                         + " MHz oscillator: only a C-band LNB (up to " + formatMHz(HighestCBandMHz)
                         + " MHz) has its oscillator above the transponders");
    // A C-band LNB's oscillator lies above the transponder: the difference is what counts.
    const double intermediate = std::fabs(transponder.frequencyMHz - oscillator);
    if (intermediate < LowestIntermediateMHz || intermediate > HighestIntermediateMHz)
        throw InputError(transponder.typed + " comes down the cable at " + formatMHz(intermediate)
                         + " MHz on this LNB, outside the " + std::to_string(LowestIntermediateMHz) + "-"
                         + std::to_string(HighestIntermediateMHz) + " MHz a receiver tunes");
    return {high, transponder.polarisation, intermediate};
}

std::string formatMHz(double mhz)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", mhz);
    std::string digits = text;
    digits.erase(digits.find_last_not_of('0') + 1);
    if (digits.back() == '.')
        digits.pop_back();
    return digits;
}

std::string formatTransponder(const Transponder& transponder)
{
    return formatMHz(transponder.frequencyMHz) + transponder.letter;
}
