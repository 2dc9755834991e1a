// Text that crosses between Qt and the program's Qt-free layers: paths and system messages.
// On Windows those layers hold UTF-8, as they call the wide API; elsewhere a path is the file
// system's bytes (QFile's encoding) and a system message comes in the locale's encoding.
#pragma once

#include <QFile>
#include <QString>

#include <string>

inline QString fromSystem(const std::string& text)
{
#ifdef _WIN32
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
#else
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
#endif
}

inline QString fromSystemPath(const std::string& path)
{
#ifdef _WIN32
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
#else
    return QFile::decodeName(path.c_str());
#endif
}

inline std::string toSystemPath(const QString& path)
{
#ifdef _WIN32
    return path.toUtf8().toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}
