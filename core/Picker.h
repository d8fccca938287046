#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace qaveq {

// Picking one entry from a list of another file (a category, an account, a
// job): a window shows the list, tests answer from a script.
class Picker
{
public:
    virtual ~Picker() = default;
    // Opens the list `lookup` ("BROWSEEQCODE") positioned at `current`; the
    // chosen entry's code, or nothing when the user cancelled.
    virtual std::optional<QString> pick(const QString &lookup, const QString &current) = 0;
};

// Choosing a file to read or write: a window shows the desktop's file dialog,
// tests answer from a script.
class FileChooser
{
public:
    enum class Purpose { Open, Save };

    virtual ~FileChooser() = default;
    // `path` is the folder (or file) to start in, `filter` as "CSV files (*.csv)";
    // the chosen path, or empty when the user cancelled.
    virtual QString choose(Purpose purpose, const QString &caption, const QString &path,
                           const QString &filter) = 0;
    // Several files to read at once; none when the user cancelled.
    virtual QStringList chooseSeveral(const QString &caption, const QString &path,
                                      const QString &filter) = 0;
};

} // namespace qaveq
