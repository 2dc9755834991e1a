#include "app/RememberedDish.h"

#include "app/IniProfile.h"
#include "app/SiteFiles.h"
#include "protocol/InputError.h"
#include "protocol/IntegerInput.h"
#include "protocol/MotorEstimate.h"

#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>
#include <system_error>

namespace {

constexpr int HighestSlot = 255;

std::string rememberedDishPath(const std::string& settingsFile)
{
    return besideSettings(settingsFile, "last-dish.ini");
}

// Signed degrees, east positive, as the file writes them; none for "unknown" or a bad value.
std::optional<double> parseAngle(std::string_view text)
{
    const bool west = !text.empty() && text[0] == '-';
    const std::optional<double> degrees = parsePlainDecimal(west ? text.substr(1) : text);
    if (!degrees)
        return std::nullopt;
    return west ? -*degrees : *degrees;
}

std::string angleLine(const std::string& key, double angle)
{
    std::ostringstream line;
    line.imbue(std::locale::classic());
    line.precision(10);
    line << key << '=' << angle << '\n';
    return line.str();
}

} // namespace

RememberedDish readRememberedDish(const std::string& settingsFile, std::string& problem)
{
    const std::string path = rememberedDishPath(settingsFile);
    const std::filesystem::path file = std::filesystem::u8path(path);
    RememberedDish dish;
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return dish;
    if (!std::filesystem::is_regular_file(file, error) || !std::ifstream(file)) {
        problem = "cannot read " + path + ": the dish's last angle is unknown";
        return dish;
    }
    const IniProfile profile = IniProfile::load(path);
    const std::string speed = profile.readString("motor", "speed", "");
    try {
        if (!speed.empty())
            dish.speed = parseMotorSpeed(speed);
    } catch (const InputError& bad) {
        problem = std::string(bad.what()) + " in " + path;
    }
    // A file the next message cannot update would keep an angle the dish has left.
    if (!std::ofstream(file, std::ios::app)) {
        problem = "cannot write " + path + ": the dish's last angle is unknown";
        return dish;
    }
    const std::string angle = profile.readString("motor", "angle", "unknown");
    if (angle != "unknown") {
        dish.motor.angle = parseAngle(angle);
        if (!dish.motor.angle)
            problem = "'" + angle + "' in " + path + " is no angle: the dish's last angle is unknown";
    }
    for (int slot = 1; slot <= HighestSlot; ++slot) {
        if (const std::optional<double> stored = parseAngle(profile.readString("stored", std::to_string(slot), "")))
            dish.motor.storedAngles[slot] = *stored;
    }
    return dish;
}

std::string writeRememberedDish(const std::string& settingsFile, const RememberedDish& dish)
{
    const std::filesystem::path path = std::filesystem::u8path(rememberedDishPath(settingsFile));
    std::error_code error;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << "; Where Vantorel last sent the dish's motor, in degrees from its reference (east positive),\n"
            "; the stored positions whose angle it knows, and the motor's speed in degrees/s.\n[motor]\n";
    if (dish.motor.angle)
        file << angleLine("angle", *dish.motor.angle);
    else
        file << "angle=unknown\n";
    if (dish.speed)
        file << angleLine("speed", *dish.speed);
    file << "[stored]\n";
    for (const auto& [slot, angle] : dish.motor.storedAngles)
        file << angleLine(std::to_string(slot), angle);
    file.close();
    if (file.fail())
        return "cannot write " + rememberedDishPath(settingsFile) + ": the dish's angle is not remembered";
    return "";
}

std::string rememberMotorSpeed(const std::string& settingsFile, double speed)
{
    std::string problem;
    RememberedDish dish = readRememberedDish(settingsFile, problem);
    dish.speed = speed;
    return writeRememberedDish(settingsFile, dish);
}

DishNote noteSentToDish(const std::string& settingsFile, const BoxRequest& request, bool replied)
{
    MotorMemory untouched;
    if (applySentRequest(request, untouched, replied).change == MotorChange::None)
        return {};
    DishNote note;
    RememberedDish dish = readRememberedDish(settingsFile, note.problem);
    const MotorMemory before = dish.motor;
    note.effect = applySentRequest(request, dish.motor, replied);
    if (!(dish.motor == before)) {
        if (std::string written = writeRememberedDish(settingsFile, dish); !written.empty())
            note.problem = written;
    }
    return note;
}

double motorSpeedFor(const std::string& settingsFile, std::optional<double> given, std::string& problem)
{
    if (given)
        return *given;
    const std::string configured = IniProfile::load(settingsFile).readString("motor", "speed", "");
    try {
        if (!configured.empty())
            return parseMotorSpeed(configured);
    } catch (const InputError& bad) {
        problem = std::string(bad.what()) + " in " + settingsFile;
    }
    return readRememberedDish(settingsFile, problem).speed.value_or(MotorSpeed::Default);
}
