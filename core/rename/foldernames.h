#pragma once

#include <QSet>
#include <QString>

#include "exif/steperror.h"

// The names of one folder as a renaming run changes them. A rename never replaces anything
// that has the target name (a file, a folder, a broken link), also when it appears just
// before the rename: a taken name fails with EEXIST.
class FolderNames
{
  public:
    explicit FolderNames(const QString &folder) : m_folder(folder) {} // ending in "/"
    virtual ~FolderNames() = default;
    FolderNames(const FolderNames &) = delete;
    FolderNames &operator=(const FolderNames &) = delete;

    // Renames the entry `from` of the folder to `to`.
    virtual StepError rename(const QString &from, const QString &to);

  protected:
    QString pathOf(const QString &name) const { return m_folder + name; }

  private:
    QString m_folder;
};

// A dry run: renames succeed or fail as they would on disk, given the renames before them,
// but nothing on disk changes.
class PlannedFolderNames : public FolderNames
{
  public:
    using FolderNames::FolderNames;

    StepError rename(const QString &from, const QString &to) override;

  private:
    bool isTaken(const QString &name) const;

    QSet<QString> m_freed; // names the plan has renamed away
    QSet<QString> m_taken; // names the plan has given
};
