#pragma once

#include <QString>

// Where a file or directory chooser opens: the directory the user chose last, or else the user's
// documents directory (the home directory when there is none), never the program's own directory.
class StartDirectory {
public:
    // `asked` is what the caller suggests: empty (no preference), a bare file name (a name to offer
    // in the directory above) or a path (kept when its directory exists).
    QString forRequest(const QString& asked) const;
    // Remembers the directory of a chosen file, or a chosen directory.
    void chosen(const QString& path);

    // The user's documents directory, or home when it does not exist.
    static QString documents();

private:
    QString base() const;

    QString last_;
};
