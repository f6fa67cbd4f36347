#ifndef PROGRAMRUNNER_H
#define PROGRAMRUNNER_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs a helper program (jpegtran) to its end from a worker thread. On POSIX
// systems it is started with posix_spawn, which does not copy this process:
// QProcess forks, and a fork of a process that holds large pictures makes the
// kernel copy its page tables and fault in again every page that any of its
// threads writes afterwards, which for a photo import costs more than the
// work of the helper itself.
class ProgramRunner
{
public:
    struct Result {
        bool started = false;
        // Ended by itself within the time, with its exit code.
        bool exited = false;
        int exitCode = -1;
        QByteArray standardError;
    };

    // The program gets the arguments as given, no standard input and no
    // standard output; its standard error is kept. A program still running
    // after `runMsecs` is killed.
    static Result run(const QString& program, const QStringList& arguments, int startMsecs, int runMsecs);
};

#endif
