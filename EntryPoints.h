// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the program's entry and its windows module share. The windows live in a module of their
// own, beside the binary, that the entry loads only to open them: a job without a window then
// needs QtCore alone and starts as fast as a small command.
#include <QString>
#include <QStringList>

#include <cstdio>

struct CommandLine;

// int GlRunWindows(int argc, char **argv, const QStringList *arguments, const CommandLine *options)
// Hands the command line to the running program, or opens the windows and runs until the main
// window closes; returns the exit status.
using RunWindowsFunction = int (*)(int, char **, const QStringList *, const CommandLine *);
inline constexpr char kWindowsModule[] = "libglwindows.so";
inline constexpr char kRunWindowsSymbol[] = "GlRunWindows";

// int GlRunMatrix(const CommandLine *options)
// The --matrix job, in a module of its own: it is the one job that needs Qt Network, whose
// libraries a start of any other kind should not load. Returns the exit status.
using RunMatrixFunction = int (*)(const CommandLine *);
inline constexpr char kMatrixModule[] = "libglmatrix.so";
inline constexpr char kRunMatrixSymbol[] = "GlRunMatrix";
// int GlRunRerun(const CommandLine *options)
// The --rerun-case job, in the same module: it loads pages as the matrix does.
inline constexpr char kRunRerunSymbol[] = "GlRunRerun";
// PageLoader *GlNewPageLoader(const ProxySetting *proxy)
// The same module's loader of pages over Qt Network, for the window's result matrix: the
// windows then load Qt Network only when a matrix opens. Its pages go through the proxy (none
// when null). The caller owns the loader.
class PageLoader;
struct ProxySetting;
using NewPageLoaderFunction = PageLoader *(*)(const ProxySetting *);
inline constexpr char kNewPageLoaderSymbol[] = "GlNewPageLoader";

// int GlRunStampCase(const CommandLine *options)
// The --stamp-case job, in a module of its own for the same reason: it asks a time-stamp
// authority over Qt Network. Returns the exit status.
using RunStampCaseFunction = int (*)(const CommandLine *);
inline constexpr char kStampModule[] = "libglstamp.so";
inline constexpr char kRunStampCaseSymbol[] = "GlRunStampCase";
// StampSender *GlNewStampSender(const ProxySetting *proxy)
// The same module's sender of time-stamp queries, for the window's stamps: the windows then
// load Qt Network only when a case is stamped. Its queries go through the proxy (none when
// null). The caller owns the sender.
class StampSender;
using NewStampSenderFunction = StampSender *(*)(const ProxySetting *);
inline constexpr char kNewStampSenderSymbol[] = "GlNewStampSender";

inline void WriteText(FILE *to, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}

// One line on standard error, and the exit status to end with.
inline int Fail(const QString &message, int status)
{
    WriteText(stderr, QStringLiteral("glenlantern: %1\n").arg(message));
    return status;
}
