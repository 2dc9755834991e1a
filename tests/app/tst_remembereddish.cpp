// The dish's last angle and the motor's speed in last-dish.ini beside the settings file: kept
// across runs, only when a message concerns the motor, and said in words when the file fails.
#include "app/RememberedDish.h"

#include "doctest.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A folder of the test's own, with a settings file in it holding `settings`.
struct Folder {
    explicit Folder(const std::string& name, const std::string& settings = "[init]\n")
        : path(std::filesystem::temp_directory_path() / ("tst_remembereddish-" + name))
    {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        write("vantorel.ini", settings);
    }
    ~Folder() { std::filesystem::remove_all(path); }

    void write(const std::string& name, const std::string& text) const { std::ofstream(path / name) << text; }
    std::string settings() const { return (path / "vantorel.ini").string(); }
    bool has(const std::string& name) const { return std::filesystem::exists(path / name); }

    std::filesystem::path path;
};

// The box's request carrying the DiSEqC message: 03, its length, its bytes.
BoxRequest onBus(const std::string& message)
{
    return {std::string{'\x03', static_cast<char>(message.size())} + message, 2};
}

const BoxRequest DriveToZero = onBus(std::string("\xE0\x31\x6E\x00", 4));
const BoxRequest GotoBerlinAstra = onBus("\xE0\x31\x6E\xE0\x66"); // 102 sixteenths east
const BoxRequest StoreThree = onBus("\xE0\x31\x6A\x03");

} // namespace

TEST_CASE("the angle sent last and the storedAngles stored are kept for the next run")
{
    Folder folder("kept");
    CHECK(noteSentToDish(folder.settings(), onBus("\xE0\x10\x38\xF6"), true).effect.change == MotorChange::None);
    CHECK_FALSE(folder.has("last-dish.ini")); // a switch's message touches no file
    CHECK(noteSentToDish(folder.settings(), DriveToZero, true).problem.empty());
    const DishNote note = noteSentToDish(folder.settings(), GotoBerlinAstra, true);
    REQUIRE(note.effect.move);
    CHECK(note.effect.move->from == 0.0);
    noteSentToDish(folder.settings(), StoreThree, true);

    std::string problem;
    const RememberedDish dish = readRememberedDish(folder.settings(), problem);
    CHECK(problem.empty());
    CHECK(dish.motor.angle == 6.375);
    CHECK(dish.motor.storedAngles.at(3) == 6.375);
    CHECK_FALSE(dish.speed);
}

TEST_CASE("a remembered file that cannot be read or written is said, and the angle is unknown")
{
    Folder folder("broken");
    folder.write("last-dish.ini", "[motor]\nangle=north\nspeed=fast\n");
    std::string problem;
    CHECK_FALSE(readRememberedDish(folder.settings(), problem).motor.angle);
    CHECK(problem.find("'north'") != std::string::npos);
    problem.clear();
    folder.write("last-dish.ini", "[motor]\nangle=6.375\nspeed=fast\n");
    CHECK(readRememberedDish(folder.settings(), problem).motor.angle == 6.375);
    CHECK(problem.find("'fast'") != std::string::npos);

    std::filesystem::remove(folder.path / "last-dish.ini");
    std::filesystem::create_directory(folder.path / "last-dish.ini"); // neither read nor written as a file
    problem.clear();
    CHECK_FALSE(readRememberedDish(folder.settings(), problem).motor.angle);
    CHECK(problem.find("cannot read") != std::string::npos);
    const DishNote note = noteSentToDish(folder.settings(), GotoBerlinAstra, true);
    CHECK(note.effect.change == MotorChange::Turned);
    CHECK(note.problem.find("cannot write") != std::string::npos);
}

TEST_CASE("the speed: --speed, else the settings' [motor] speed, else the remembered one, else 1.5")
{
    Folder plain("speed");
    std::string problem;
    CHECK(motorSpeedFor(plain.settings(), std::nullopt, problem) == 1.5);
    RememberedDish dish;
    dish.speed = 2.3;
    CHECK(writeRememberedDish(plain.settings(), dish).empty());
    CHECK(motorSpeedFor(plain.settings(), std::nullopt, problem) == 2.3);
    CHECK(motorSpeedFor(plain.settings(), 8.0, problem) == 8.0);
    CHECK(problem.empty());

    Folder configured("configured", "[motor]\nspeed=1.8\n");
    writeRememberedDish(configured.settings(), dish);
    CHECK(motorSpeedFor(configured.settings(), std::nullopt, problem) == 1.8);

    Folder wrong("wrong", "[motor]\nspeed=0\n");
    writeRememberedDish(wrong.settings(), dish);
    CHECK(motorSpeedFor(wrong.settings(), std::nullopt, problem) == 2.3);
    CHECK(problem.find("'0' in ") != std::string::npos);
}
