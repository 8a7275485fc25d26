#pragma once
// Starts a program, document or web address for the launch buttons, the about box's link
// and the protocols, through the desktop's default handlers.

#include <QString>
#include <functional>

namespace tork {

// Resolves a stored Windows-style path ("D:\...") whose drive does not hold the file by
// trying the drive letters C to Q in turn. Returns the path that exists, or an empty text
// when the text names a drive and no letter gives an existing file. A text without a drive
// (no ':' at position 2 or 3) or one that exists comes back unchanged.
QString searchDriveLetters(const QString& path, const std::function<bool(const QString&)>& exists);

// What the launcher asks the desktop to do.
struct LaunchAction {
    QString program;   // empty: open `target` with its default handler
    QString target;    // a document or web address, or the program's parameters
};

// Plans the launch of `program` with `parameters`; returns false when nothing is to be
// launched (a drive-letter program that exists on no drive, or both texts empty).
bool planLaunch(const QString& program, const QString& parameters,
                const std::function<bool(const QString&)>& exists, LaunchAction* action);

// Carries out a planned launch. Replaceable so that tests record instead of starting programs.
using LaunchOpener = std::function<void(const LaunchAction&)>;
LaunchOpener installLaunchOpener(LaunchOpener opener);

// Plans with the real file system and opens through the installed opener.
void launch(const QString& program, const QString& parameters);

}  // namespace tork
