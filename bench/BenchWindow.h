// The main window as a benchmark runs it: program paths in a folder of their own with a
// settings file naming the port, every prompt printed instead of shown, and the window
// shown (offscreen) so that the log pane paints as it would on a desktop.
#pragma once

#include "ui/main/Unit1.h"

#include <QTemporaryDir>

#include <memory>
#include <string>

class LogView;
class PrintedPrompts;

class BenchWindow {
public:
    // With an empty `portPath` no port is ever opened; otherwise the first activation opens it.
    explicit BenchWindow(const std::string& portPath);
    ~BenchWindow();
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

    // Shows the window and waits until it is active (and its port open, if it has one).
    void show();

    TForm1& form() { return *m_form; }
    LogView& log();
    // Message boxes shown so far; a benchmark whose run raised one reports it.
    int boxesShown() const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<PrintedPrompts> m_prompts;
    std::unique_ptr<TForm1> m_form;
};
