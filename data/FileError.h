#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

namespace qaveq::data {

// Error numbers of the file layer, as the suite's messages quote them.
namespace FileErrorCode {
constexpr int FileLocked = 32;         // "File Is Already Locked": a transaction not begun in time
constexpr int RecordNotAvailable = 33; // read past the end
constexpr int RecordNotFound = 35;
constexpr int DuplicateKey = 40;    // "Creates Duplicate Key"
constexpr int RecordChanged = 89;   // "Record Changed By Another Station"
constexpr int FileSystemError = 90; // the driver's own error, in driverMessage
} // namespace FileErrorCode

struct FileError
{
    int code = 0;
    QString message;       // "Creates Duplicate Key"
    QString driverMessage; // for code 90: what the database said
    QString driverCode;
    QString file;

    static FileError make(int code, const QString &file);
    static FileError driver(const QString &driverMessage, const QString &driverCode,
                            const QString &file);

    // The text a failed process shows before " Saving GLDepr" and the like:
    // the driver's own words for code 90, the error's message otherwise.
    QString text() const;
    // The cause shown in the numbered warnings: "text (code)".
    QString cause() const;
};

// The outcome of one file operation.
class [[nodiscard]] FileStatus
{
public:
    FileStatus() = default;
    FileStatus(FileError error)
        : m_error(std::move(error))
    {} // NOLINT: a failure converts

    bool isOk() const { return !m_error; }
    explicit operator bool() const { return isOk(); }
    const FileError &error() const { return *m_error; }

private:
    std::optional<FileError> m_error;
};

// A failure to open or lay out a company's database: nothing can go on.
class DataError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace qaveq::data
