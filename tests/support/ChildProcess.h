// Running a piece of a test in a forked child with fewer rights than the test (another user,
// a file size limit), for the failures that only show there.
#pragma once

#include <QString>

#include <functional>

// What runInChild brings back: the body's text, or why the child could not be set up.
struct ChildOutcome {
    QString text;
    QString notPrepared;
};

// Runs `body` in a forked child once `prepare` has changed what the child may do (an empty
// answer from `prepare` means it did); the parent is left as it was.
ChildOutcome runInChild(const std::function<QString()>& prepare, const std::function<QString()>& body);

// Root may open any file for writing, so permission checks only show for another user:
// the child becomes user nobody.
QString becomeUnprivileged();

// A file size limit makes the next write come up short, as a full disk does.
QString limitFileSize();

// A folder the unprivileged child may enter (QTemporaryDir makes its own private).
void openToEveryone(const QString& folder);

// Hands a file or folder to the unprivileged user; a no-op for an unprivileged test run.
void giveToNobody(const QString& path);
