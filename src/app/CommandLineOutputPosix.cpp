#include "app/CommandLineOutput.h"

#include <cstdio>

void tellCommandLineUser(const QString& text, CommandLineAnswer kind)
{
    std::fputs(text.toLocal8Bit().constData(), kind == CommandLineAnswer::Error ? stderr : stdout);
}
