// Loads on a second thread two things start-up would otherwise load on the GUI thread the
// first time it needs them, while the GUI thread does other work:
// - the system's font configuration, which the first text measurement parses; it is loaded
//   before the application object exists, while that object connects to the display;
// - the image-format plugins, which the first image read loads and asks in turn whether they
//   read it (the menu bar's own icons and the window icon are the first); they are loaded once
//   the application exists, while the GUI thread builds the windows.
// Both are process-wide and thread-safe, so the GUI thread finds them ready.
#pragma once

#include <QString>

#include <future>
#include <thread>

class StartUpWarmUp {
public:
    // Starts loading the font configuration.
    StartUpWarmUp();
    // Joins the thread.
    ~StartUpWarmUp();

    StartUpWarmUp(const StartUpWarmUp&) = delete;
    StartUpWarmUp& operator=(const StartUpWarmUp&) = delete;

    // Once the application object exists: loads the image-format plugins by asking them
    // about the image in `sampleFile`.
    void loadImageReaders(const QString& sampleFile);

    // Waits until the thread is done; to be called while the application object exists.
    void finish();

private:
    std::promise<QString> sample_;
    std::thread loader_;
    bool sampleHandedOver_ = false;
};
