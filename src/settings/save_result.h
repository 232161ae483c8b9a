#pragma once

#include <QString>

namespace tintavo {

// What became of a save: on failure, why, in words for the user, and where.
struct SaveResult
{
    bool ok = true;
    QString reason;
    QString path;

    explicit operator bool() const { return ok; }
    static SaveResult failure(const QString &path, const QString &reason);
    // The one line the user is shown and standard error receives.
    QString message() const;
};

// Why a system call failed, in words for the user.
QString reasonForError(int error);

// Writes result's message() to standard error, for a failure the user is
// also shown.
void printSaveFailure(const SaveResult &result);

} // namespace tintavo
