// What the command line prints: the log pane's "S: " and "R: " lines on standard output,
// oldest first, and every error on standard error. The reader thread and the main thread
// both print, one whole line at a time.
#pragma once

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

struct LineForm {
    bool timestamps = false; // "dd.mm.yy hh:mm:ss " before each line, as the log pane's
    bool quiet = false;      // only the reply's content: no "S: " lines, no "R: " prefix
};

class ConsoleOutput {
public:
    explicit ConsoleOutput(LineForm form);
    // Prints nothing; the last error line is kept for the caller to show its own way.
    struct Silent {};
    explicit ConsoleOutput(Silent);

    // The log lines go to standard error instead, while standard output carries a table.
    void moveLinesToStandardError();

    bool quiet() const { return m_form.quiet; }

    void sent(const std::string& packetDump);
    // A read as the reader formatted it: a "R: " line, or only its text under --quiet.
    void received(const std::string& text);
    // A whole reply's text, printed once under --quiet.
    void reply(const std::string& text);
    void error(const std::string& text);

    // The command's exit status once its lines are out: a Done whose lines could not all be
    // written (a full disk) becomes OutputFailed, with why on standard error where it can
    // take it. A reader that closed its pipe early (| head -1) wanted no more: that ends quietly.
    int finish(int status);
    // A line on standard error that counts down, written over itself, when standard error is
    // a terminal (nothing otherwise); any other line clears it first.
    void countdown(const std::string& text);
    void endCountdown();

    // The last error line of a silent output.
    std::string lastError() const;

private:
    void logLine(const std::string& text);
    // One whole line to `stream`, or to where the log lines go when it is null.
    void print(std::FILE* stream, std::string line);
    // Blanks the countdown line, under m_mutex.
    void clearCountdown();

    const LineForm m_form;
    const bool m_silent = false;
    std::FILE* m_lines = stdout;
    mutable std::mutex m_mutex;
    std::string m_lastError; // silent only
    std::atomic<bool> m_writeFailed{false};
    int m_writeError = 0; // errno of the first line that failed; guarded by m_mutex
    const bool m_countsDown;            // standard error is a terminal
    std::size_t m_countdownWidth = 0;   // the countdown line shown; guarded by m_mutex
};
