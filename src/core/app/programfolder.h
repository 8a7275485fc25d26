#pragma once
// The one folder that holds the settings file, the "Data" pictures and the databases.

#include <QString>

namespace tork {

class ProgramFolder {
public:
    // An empty path means the per-user default ($XDG_DATA_HOME/tork, usually ~/.local/share/tork).
    explicit ProgramFolder(const QString& path = {});

    static QString defaultPath();

    // Creates the folder and its "Data" subfolder when missing; returns an error text or empty.
    QString ensureExists() const;

    QString path() const { return path_; }
    QString dataPath() const;  // the "Data" subfolder of the pictures
    // Path of a file in the folder; an existing file whose name differs only in letter case
    // is found under its stored name.
    QString filePath(const QString& name) const;
    QString dataFilePath(const QString& name) const;
    QString settingsFilePath() const;

private:
    QString path_;
};

// Folder of the files delivered with the program (templates, reference databases, pictures,
// patient profiles): beside the installed program, or in the build tree when run from there.
QString deliveredDataPath();

// Finds NAME in DIR ignoring letter case; returns the full path of the match or DIR/NAME.
QString findFileIgnoringCase(const QString& dir, const QString& name);

}  // namespace tork
