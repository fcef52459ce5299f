#pragma once

#include <QString>

namespace MTools {

// A folder that only this user can reach, under a base that others share
// (such as /tmp, whose sticky bit keeps others from renaming or removing
// what is ours): nobody else can plant a link, a pipe or a file in it, nor
// read what lies there.
//
// base/name serves when lstat shows a real folder (not a link) of this
// user's (the effective user) whose mode gives others nothing: 0700. It is
// made, 0700, when missing (the base too, when that is missing); an own
// folder that others could reach is narrowed to 0700 through a descriptor
// that follows no link. Where the name is taken (another user's folder, a
// link, a file) base/name-<uid> is tried under the same rule. Where neither
// serves, path() is empty and errorString() says why: the caller then goes
// on without the folder, with a warning.
//
// What is found inside is not vouched for: a folder narrowed here may hold
// what others put there before.
class PrivateFolder
{
public:
    PrivateFolder(const QString& base, const QString& name);

    bool isValid() const;
    // The folder, without a trailing '/'; empty when there is none.
    QString path() const;
    // Why there is no folder; empty when there is one.
    QString errorString() const;

    // true when path is, as it stands, a real folder of this user's of mode
    // 0700; changes nothing. Otherwise false, and *reason (when given) says
    // why.
    static bool isPrivate(const QString& path, QString* reason = nullptr);

private:
    QString m_strPath;
    QString m_strError;
};

}  // namespace MTools
